#include "services/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QUuid>
#include <cerrno>
#include <optional>
#include <string>

#include "codec/unique_fd.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

std::error_code lastError() {
  return {errno, std::generic_category()};
}

std::error_code writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return lastError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

// A device or a pipe: there is nothing to replace, only to write to.
std::error_code writeInPlace(const fs::path& file, std::string_view bytes) {
  codec::UniqueFd fd(::open(file.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return lastError();
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
  if (const auto error = writeAll(fd.get(), bytes)) return error;
  return fd.close() ? std::error_code() : lastError();
}

// Writes a hidden file beside `target` and renames it over `target`. The
// mode bits of the file replaced, when given, carry over.
std::error_code replaceName(const fs::path& target, std::string_view bytes,
                            std::optional<mode_t> mode) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string name(".quorvane-");
  name.append(std::to_string(::getpid()))
      .append("-")
      .append(QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString())
      .append(".tmp");
  const fs::path temporary = folder / name;
  codec::UniqueFd fd(
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
  if (!fd.valid()) return lastError();
  std::error_code error;
  if (mode && ::fchmod(fd.get(), *mode & 07777) != 0) error = lastError();
  if (!error) error = writeAll(fd.get(), bytes);
  // The data reaches the disk before the name does: after a crash the file
  // is the old one or the whole new one.
  if (!error && ::fsync(fd.get()) != 0) error = lastError();
  if (!error && !fd.close()) error = lastError();
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = lastError();
  if (error) {
    ::unlink(temporary.c_str());
    return error;
  }
  codec::UniqueFd directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.valid()) ::fsync(directory.get());
  return {};
}

}  // namespace

std::error_code writeFileAtomically(const fs::path& file, std::string_view bytes) {
  struct stat existing {};
  if (::stat(file.c_str(), &existing) != 0) {
    if (errno != ENOENT) return lastError();
    return replaceName(file, bytes, std::nullopt);
  }
  if (!S_ISREG(existing.st_mode)) return writeInPlace(file, bytes);
  struct stat link {};
  if (::lstat(file.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    std::error_code error;
    const fs::path target = fs::canonical(file, error);
    if (error) return error;
    return replaceName(target, bytes, existing.st_mode);
  }
  return replaceName(file, bytes, existing.st_mode);
}

std::error_code replaceFileAtomically(const fs::path& file, std::string_view bytes) {
  struct stat existing {};
  const bool regular = ::lstat(file.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
  return replaceName(file, bytes, regular ? std::optional<mode_t>(existing.st_mode) : std::nullopt);
}

}  // namespace quorvane::core
