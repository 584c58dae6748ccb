#include "services/temporary_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QUuid>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "services/conversion_errors.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFolderPrefix = "quorvane-";

// Where private folders may go: $TMPDIR when set, then /tmp, so a $TMPDIR
// that is missing, a file or read-only does not stop the conversions.
std::vector<fs::path> systemTemporaryFolders() {
  std::vector<fs::path> folders;
  const char* tmp = std::getenv("TMPDIR");
  if (tmp && *tmp) folders.emplace_back(tmp);
  if (folders.empty() || folders.front() != "/tmp") folders.emplace_back("/tmp");
  return folders;
}

// Removes "quorvane-<pid>-XXXXXX" folders of ours whose process is gone.
void sweepAbandonedFolders(const fs::path& parent) {
  std::error_code error;
  for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().native();
    if (!name.starts_with(kFolderPrefix)) continue;
    const std::string rest = name.substr(kFolderPrefix.size());
    const auto dash = rest.find('-');
    if (dash == std::string::npos) continue;
    char* end_ = nullptr;
    const long pid = std::strtol(rest.c_str(), &end_, 10);
    if (end_ != rest.c_str() + dash || pid <= 0) continue;
    struct stat info {};
    if (::lstat(it->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid()) {
      continue;
    }
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM) continue;
    std::error_code ignored;
    fs::remove_all(it->path(), ignored);
  }
}

struct PrivateFolder {
  fs::path path;
  ~PrivateFolder() {
    std::error_code ignored;
    if (!path.empty()) fs::remove_all(path, ignored);
  }
};

}  // namespace

const fs::path& privateTemporaryFolder() {
  static PrivateFolder folder;
  static std::once_flag once;
  // A failure leaves the flag unset, so the next conversion tries again
  // (a full disk may have room by then).
  std::call_once(once, [] {
    std::error_code error;
    for (const fs::path& parent : systemTemporaryFolders()) {
      std::string pattern =
          (parent / (std::string(kFolderPrefix) + std::to_string(::getpid()) + "-XXXXXX")).native();
      if (::mkdtemp(pattern.data()) != nullptr) {
        sweepAbandonedFolders(parent);
        folder.path = pattern;
        return;
      }
      if (!error) error = std::error_code(errno, std::generic_category());
    }
    throw FileSystemError(
        QCoreApplication::translate("ConversionError", "Cannot create a temporary folder"), error);
  });
  return folder.path;
}

void removeAbandonedTemporaryFolders() {
  for (const fs::path& parent : systemTemporaryFolders()) sweepAbandonedFolders(parent);
}

TemporaryFile::TemporaryFile(const QString& ext) {
  const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
  m_path = privateTemporaryFolder() / (uuid + u'.' + ext).toStdString();
  const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    const std::error_code error(errno, std::generic_category());
    m_path.clear();
    throw FileSystemError(
        QCoreApplication::translate("ConversionError", "Cannot create a temporary file"), error);
  }
  ::close(fd);
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : m_path(std::exchange(other.m_path, {})) {}

TemporaryFile::~TemporaryFile() {
  if (m_path.empty()) return;
  std::error_code ignored;
  fs::remove(m_path, ignored);
}

}  // namespace quorvane::core
