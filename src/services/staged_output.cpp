#include "services/staged_output.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QUuid>
#include <cerrno>
#include <string>

#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/output_name_reservations.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

std::error_code lastError() {
  return {errno, std::generic_category()};
}

FileSystemError writeError(std::error_code error) {
  return FileSystemError(
      QCoreApplication::translate("ConversionError", "Cannot write the output file"), error);
}

constexpr std::string_view kStagingPrefix = ".quorvane-";

// The process that wrote a staging name ".quorvane-<pid>-<uuid>.<ext>", or 0
// when the name is not of that pattern.
pid_t stagingOwner(const std::string& name) {
  if (!name.starts_with(kStagingPrefix)) return 0;
  const std::string rest = name.substr(kStagingPrefix.size());
  const auto dash = rest.find('-');
  if (dash == 0 || dash == std::string::npos || dash > 9) return 0;
  pid_t pid = 0;
  for (std::size_t i = 0; i < dash; ++i) {
    if (rest[i] < '0' || rest[i] > '9') return 0;
    pid = pid * 10 + (rest[i] - '0');
  }
  return pid;
}

bool processIsGone(pid_t pid) {
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

enum class MoveResult { Done, Taken };

// Moves `from` to `to` without ever replacing a file at `to`.
MoveResult moveWithoutReplacing(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return MoveResult::Done;
  }
  if (errno == EEXIST) return MoveResult::Taken;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) throw writeError(lastError());
  // File systems without the no-replace rename: a hard link fails on an
  // existing name just the same.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return MoveResult::Done;
  }
  if (errno == EEXIST) return MoveResult::Taken;
  if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) throw writeError(lastError());
  // No hard links either (FAT, exFAT): claim the name exclusively, then move
  // over our own empty claim.
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return MoveResult::Taken;
    throw writeError(lastError());
  }
  ::close(fd);
  if (::rename(from.c_str(), to.c_str()) != 0) {
    const auto error = lastError();
    ::unlink(to.c_str());
    throw writeError(error);
  }
  return MoveResult::Done;
}

}  // namespace

int removeAbandonedStagingFiles(const fs::path& directory) {
  int removed = 0;
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const pid_t owner = stagingOwner(it->path().filename().native());
    if (owner <= 0 || !processIsGone(owner)) continue;
    struct stat info {};
    if (::lstat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::getuid()) {
      continue;
    }
    if (::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

StagedOutput::StagedOutput(const fs::path& directory, const QString& ext) : m_ext(ext) {
  m_name = std::string(kStagingPrefix) + std::to_string(::getpid()) + "-" +
           QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString() + "." +
           ext.toStdString();
  m_folder.reset(::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  const int fd = m_folder.valid() ? ::openat(m_folder.get(), m_name.c_str(),
                                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)
                                  : -1;
  if (fd < 0) throw writeError(lastError());
  ::close(fd);
  m_path = directory / m_name;
}

StagedOutput::~StagedOutput() {
  if (m_path.empty()) return;
  // The name is this process's alone: whatever carries it is ours. After a
  // publish it is gone from the folder, unless the folder moved before the
  // encoder wrote, so that our empty claim stayed behind in it.
  ::unlinkat(m_folder.get(), m_name.c_str(), 0);
  if (!m_published) ::unlink(m_path.c_str());
}

fs::path StagedOutput::publish(const fs::path& desired, OutputNameReservations* reservations) {
  fs::path target = desired;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    if (moveWithoutReplacing(m_path, target) == MoveResult::Done) {
      m_published = true;
      return target;
    }
    // Something appeared at the name since it was chosen: take the next one.
    if (reservations) {
      target = reservations->reserveUnique(desired.parent_path(), desired.stem(), m_ext);
    } else {
      target = FileService::uniqueOutputURL(desired.parent_path(), desired.stem(), m_ext);
    }
  }
  throw writeError(std::make_error_code(std::errc::file_exists));
}

}  // namespace quorvane::core
