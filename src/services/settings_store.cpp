#include "services/settings_store.h"

namespace quorvane::core {

std::shared_ptr<QSettings> standardSettingsStore() {
  return std::make_shared<QSettings>(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
}

std::shared_ptr<QSettings> settingsStoreAt(const QString& filePath) {
  return std::make_shared<QSettings>(filePath, QSettings::IniFormat);
}

}  // namespace quorvane::core
