#include "services/tool_manager.h"

#include <QCoreApplication>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

#include "services/file_service.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> executableDirectory() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error || self.empty()) return std::nullopt;
  return self.parent_path();
}

bool isExecutableFile(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

ToolManager::ToolError ToolManager::ToolError::toolNotFound(QString name, fs::path folder) {
  ToolError error(Kind::ToolNotFound);
  error.m_name = std::move(name);
  error.m_folder = std::move(folder);
  return error;
}

ToolManager::ToolError ToolManager::ToolError::bundleResourceNotFound() {
  return ToolError(Kind::BundleResourceNotFound);
}

QString ToolManager::ToolError::description() const {
  if (m_kind == Kind::BundleResourceNotFound) {
    return QCoreApplication::translate("ToolError", "App bundle resource path not found.");
  }
  //: %1 is a program name such as cwebp, %2 the folder searched for it
  return QCoreApplication::translate("ToolError", "CLI tool '%1' not found. Place binaries in %2/.")
      .arg(m_name, FileService::displayPath(m_folder));
}

ToolManager ToolManager::forApplication() {
  const auto directory = executableDirectory();
  if (!directory) return ToolManager(std::nullopt);
  return ToolManager((*directory / ".." / "share" / "quorvane").lexically_normal());
}

ToolManager::ToolManager(std::optional<fs::path> resourceFolder)
    : m_resourceFolder(std::move(resourceFolder)) {}

fs::path ToolManager::toolPath(const QString& name) const {
  const fs::path folder = m_resourceFolder ? *m_resourceFolder / "bin" : fs::path();
  if (name.contains(u'/') || name.contains(u'\\')) throw ToolError::toolNotFound(name, folder);
  if (!m_resourceFolder) throw ToolError::bundleResourceNotFound();
  const fs::path candidate = folder / QFile::encodeName(name).toStdString();
  if (name.isEmpty() || !isExecutableFile(candidate)) throw ToolError::toolNotFound(name, folder);
  return candidate;
}

bool ToolManager::isToolAvailable(const QString& name) const {
  try {
    toolPath(name);
    return true;
  } catch (const ToolError&) {
    return false;
  }
}

}  // namespace quorvane::core
