#include "services/ledger_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace quorvane::core {

namespace {

std::error_code lastError() {
  return {errno, std::generic_category()};
}

}  // namespace

LedgerFile openLedgerFile(const std::filesystem::path& file, int access, std::int64_t maxBytes) {
  LedgerFile opened;
  // O_NONBLOCK: opening a pipe for reading would wait for a writer.
  opened.fd.reset(::open(file.c_str(), access | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
  struct stat info {};
  if (!opened.fd.valid() || ::fstat(opened.fd.get(), &info) != 0) {
    opened.state = errno == ENOENT  ? LedgerFile::State::Absent
                   : errno == ELOOP ? LedgerFile::State::NotRegular
                                    : LedgerFile::State::Unreadable;
    opened.error = lastError();
    opened.fd.reset();
    return opened;
  }
  opened.identity = {info.st_dev, info.st_ino, info.st_size,
                     std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec};
  if (!S_ISREG(info.st_mode)) {
    opened.state = LedgerFile::State::NotRegular;
  } else if (info.st_size > maxBytes) {
    opened.state = LedgerFile::State::TooLarge;
  } else {
    opened.state = LedgerFile::State::Regular;
    return opened;
  }
  opened.fd.reset();
  return opened;
}

std::optional<std::string> readLedgerFile(int fd, std::int64_t size, std::error_code& error) {
  std::string text(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::pread(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = lastError();
      return std::nullopt;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  text.resize(done);  // shortened meanwhile: its last line reads as torn
  return text;
}

std::error_code appendToLedgerFile(int fd, off_t size, std::string_view text) {
  std::error_code error;
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = lastError();
      break;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  if (!error && ::fsync(fd) != 0) error = lastError();
  // No torn line is left for the next reader to warn about.
  if (error && ::ftruncate(fd, size) != 0) return error;
  return error;
}

FolderLock lockFolder(int folder, int operation, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(folder, operation | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return FolderLock::Failed;
    if (std::chrono::steady_clock::now() >= deadline) return FolderLock::Busy;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return FolderLock::Taken;
}

std::optional<std::unordered_set<std::string>> namesIn(int folder) {
  const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  DIR* listing = ::fdopendir(fd);
  if (!listing) {
    ::close(fd);
    return std::nullopt;
  }
  std::unordered_set<std::string> names;
  while (const dirent* entry = ::readdir(listing)) names.emplace(entry->d_name);
  ::closedir(listing);
  return names;
}

}  // namespace quorvane::core
