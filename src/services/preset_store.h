// The user's presets, kept in the settings store beside the settings (group
// "presets", one numbered group per preset holding its name and the very
// keys SettingsPersistence keeps the settings under), and the built-in ones.
// Main thread; the window saves, the command line reads.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "models/preset.h"

namespace quorvane::core {

class PresetStore {
 public:
  static constexpr const char* kGroup = "presets";
  static constexpr const char* kNameKey = "name";

  explicit PresetStore(std::shared_ptr<QSettings> store);

  // The user's presets in the order saved. Values that cannot be read are
  // their defaults (a quality outside 0..100 too); a prefix is made safe for
  // file names and a start number keeps its first six digits, as the window
  // cleans them. An entry whose name is unusable or repeats one before it is
  // left out.
  std::vector<Preset> userPresets() const;
  // The built-in presets, then the user's.
  std::vector<Preset> all() const;
  // By name (trimmed, any case; a built-in one also by its key or its
  // translated name).
  std::optional<Preset> find(const QString& name) const;

  enum class Outcome { Done, BadName, NameTaken, NotFound, BuiltIn };
  // Saves `settings` (without the output folder) under `name`; a user preset
  // of that name is replaced in place. A built-in preset's name is taken.
  Outcome save(const QString& name, const ConversionSettings& settings);
  // Refused for built-in presets and for a new name another preset has.
  Outcome rename(const QString& from, const QString& to);
  // Refused for built-in presets.
  Outcome remove(const QString& name);

 private:
  void write(const std::vector<Preset>& presets);

  std::shared_ptr<QSettings> m_store;
};

}  // namespace quorvane::core
