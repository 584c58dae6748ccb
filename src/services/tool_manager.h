// Finds the encoder tools in the application's resource folder:
// <directory of the executable>/../share/quorvane/bin, the same in the build
// tree and after installation. Tests point it at a folder of fake tools.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

#include "services/conversion_errors.h"

namespace quorvane::core {

class ToolManager {
 public:
  class ToolError final : public ConversionFailure {
   public:
    enum class Kind { ToolNotFound, BundleResourceNotFound };
    static ToolError toolNotFound(QString name, std::filesystem::path folder);
    static ToolError bundleResourceNotFound();

    Kind kind() const { return m_kind; }
    const QString& toolName() const { return m_name; }
    QString description() const override;

   private:
    explicit ToolError(Kind kind) : m_kind(kind) {}
    Kind m_kind;
    QString m_name;
    std::filesystem::path m_folder;
  };

  // Tools in the resource folder of the running executable.
  static ToolManager forApplication();
  // Tools in `resourceFolder`/bin; an absent folder has no tools at all.
  explicit ToolManager(std::optional<std::filesystem::path> resourceFolder);

  // The executable tool `name` in bin/; throws ToolError when the name holds a
  // path separator, there is no resource folder, or the file is missing or
  // not executable.
  std::filesystem::path toolPath(const QString& name) const;
  // Whether toolPath would succeed. Never throws.
  bool isToolAvailable(const QString& name) const;

  const std::optional<std::filesystem::path>& resourceFolder() const { return m_resourceFolder; }

 private:
  std::optional<std::filesystem::path> m_resourceFolder;
};

}  // namespace quorvane::core
