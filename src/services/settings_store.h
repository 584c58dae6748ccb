// The per-user settings store shared by the settings and the remembered output
// folder: QSettings for organisation and application "Quorvane"
// (~/.config/Quorvane/Quorvane.conf), or an explicit file for tests and tools.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace quorvane::core {

// The user's standard store.
std::shared_ptr<QSettings> standardSettingsStore();
// A store kept in the INI file at filePath.
std::shared_ptr<QSettings> settingsStoreAt(const QString& filePath);

}  // namespace quorvane::core
