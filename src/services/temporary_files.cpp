#include "services/temporary_files.h"

#include <QUuid>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>

#include "services/conversion_errors.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFolderPrefix = "quorvane-";

fs::path systemTemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return (tmp && *tmp) ? fs::path(tmp) : fs::path("/tmp");
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
  std::call_once(once, [] {
    const fs::path parent = systemTemporaryFolder();
    sweepAbandonedFolders(parent);
    std::string pattern =
        (parent / (std::string(kFolderPrefix) + std::to_string(::getpid()) + "-XXXXXX")).native();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw FileSystemError(QStringLiteral("temporary folder"),
                            std::error_code(errno, std::generic_category()));
    }
    folder.path = pattern;
  });
  if (folder.path.empty()) {
    throw FileSystemError(QStringLiteral("temporary folder"),
                          std::make_error_code(std::errc::no_such_file_or_directory));
  }
  return folder.path;
}

TemporaryFile::TemporaryFile(const QString& ext) {
  const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
  m_path = privateTemporaryFolder() / (uuid + u'.' + ext).toStdString();
  const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    const std::error_code error(errno, std::generic_category());
    m_path.clear();
    throw FileSystemError(QStringLiteral("temporary file"), error);
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
