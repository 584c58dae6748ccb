#include "services/preset_store.h"

#include <algorithm>

#include "services/settings_persistence.h"

namespace quorvane::core {

namespace {

PresetStore::Outcome outcomeOf(PresetNameProblem problem) {
  return problem == PresetNameProblem::BuiltIn ? PresetStore::Outcome::NameTaken
                                               : PresetStore::Outcome::BadName;
}

}  // namespace

PresetStore::PresetStore(std::shared_ptr<QSettings> store) : m_store(std::move(store)) {
  Q_ASSERT(m_store);
}

std::vector<Preset> PresetStore::userPresets() const {
  // The numbered groups there are, in number order: a count that was
  // damaged reads nothing that is not there.
  m_store->beginGroup(QLatin1String(kGroup));
  std::vector<std::pair<int, QString>> entries;
  for (const QString& group : m_store->childGroups()) {
    const int number = SettingsPersistence::readInteger(group, -1);
    if (number > 0) entries.emplace_back(number, group);
  }
  std::sort(entries.begin(), entries.end());
  std::vector<Preset> presets;
  const ConversionSettings defaults;
  for (const auto& [number, group] : entries) {
    m_store->beginGroup(group);
    Preset preset;
    preset.name =
        cleanPresetName(SettingsPersistence::readText(m_store->value(QLatin1String(kNameKey)), {}));
    preset.settings = SettingsPersistence(m_store).load();
    m_store->endGroup();
    if (preset.settings.quality < 0 || preset.settings.quality > 100) {
      preset.settings.quality = defaults.quality;
    }
    // The names a preset gives are cleaned as the window cleans what is typed.
    preset.settings.namePrefix = sanitizedNamePrefix(preset.settings.namePrefix);
    preset.settings.nameStartNumber = numericPrefix(preset.settings.nameStartNumber, 6);
    if (preset.settings.nameStartNumber.isEmpty()) {
      preset.settings.nameStartNumber = defaults.nameStartNumber;
    }
    const bool taken = std::any_of(presets.begin(), presets.end(), [&](const Preset& other) {
      return samePresetName(other.name, preset.name);
    });
    if (!taken && !presetNameProblem(preset.name)) presets.push_back(std::move(preset));
  }
  m_store->endGroup();
  return presets;
}

std::vector<Preset> PresetStore::all() const {
  std::vector<Preset> presets = builtInPresets();
  for (Preset& preset : userPresets()) presets.push_back(std::move(preset));
  return presets;
}

std::optional<Preset> PresetStore::find(const QString& name) const {
  for (const Preset& preset : all()) {
    if (samePresetName(name, preset.name) || samePresetName(name, displayName(preset)) ||
        (preset.isBuiltIn() && samePresetName(name, preset.key))) {
      return preset;
    }
  }
  return std::nullopt;
}

PresetStore::Outcome PresetStore::save(const QString& name, const ConversionSettings& settings) {
  if (const auto problem = presetNameProblem(name)) return outcomeOf(*problem);
  std::vector<Preset> presets = userPresets();
  Preset saved{{}, cleanPresetName(name), settings};
  saved.settings.outputDirectory.reset();
  const auto same = std::find_if(presets.begin(), presets.end(), [&](const Preset& preset) {
    return samePresetName(preset.name, name);
  });
  if (same != presets.end()) {
    *same = std::move(saved);
  } else {
    presets.push_back(std::move(saved));
  }
  write(presets);
  return Outcome::Done;
}

PresetStore::Outcome PresetStore::rename(const QString& from, const QString& to) {
  std::vector<Preset> presets = userPresets();
  const auto renamed = std::find_if(presets.begin(), presets.end(), [&](const Preset& preset) {
    return samePresetName(preset.name, from);
  });
  if (renamed == presets.end()) return find(from) ? Outcome::BuiltIn : Outcome::NotFound;
  if (const auto problem = presetNameProblem(to)) return outcomeOf(*problem);
  const bool taken = std::any_of(presets.begin(), presets.end(), [&](const Preset& preset) {
    return &preset != &*renamed && samePresetName(preset.name, to);
  });
  if (taken) return Outcome::NameTaken;
  renamed->name = cleanPresetName(to);
  write(presets);
  return Outcome::Done;
}

PresetStore::Outcome PresetStore::remove(const QString& name) {
  std::vector<Preset> presets = userPresets();
  const auto removed = std::find_if(presets.begin(), presets.end(), [&](const Preset& preset) {
    return samePresetName(preset.name, name);
  });
  if (removed == presets.end()) return find(name) ? Outcome::BuiltIn : Outcome::NotFound;
  presets.erase(removed);
  write(presets);
  return Outcome::Done;
}

void PresetStore::write(const std::vector<Preset>& presets) {
  // Written whole: the numbers stay 1..n in the order shown.
  m_store->remove(QLatin1String(kGroup));
  m_store->beginWriteArray(QLatin1String(kGroup), static_cast<int>(presets.size()));
  for (std::size_t i = 0; i < presets.size(); ++i) {
    m_store->setArrayIndex(static_cast<int>(i));
    m_store->setValue(QLatin1String(kNameKey), presets[i].name);
    SettingsPersistence(m_store).save(presets[i].settings);
  }
  m_store->endArray();
  m_store->sync();
}

}  // namespace quorvane::core
