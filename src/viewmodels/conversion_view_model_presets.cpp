// The presets side of ConversionViewModel.
#include "viewmodels/conversion_view_model.h"

namespace quorvane::core {

std::vector<Preset> ConversionViewModel::presets() const {
  return m_presets ? m_presets->all() : builtInPresets();
}

std::optional<Preset> ConversionViewModel::matchingPreset() const {
  for (const Preset& preset : presets()) {
    if (matchesPreset(m_settings, preset.settings)) return preset;
  }
  return std::nullopt;
}

void ConversionViewModel::applyPreset(const Preset& preset) {
  ConversionSettings settings = preset.settings;
  settings.outputDirectory = m_settings.outputDirectory;
  if (m_persistence) m_persistence->save(settings);
  setSettings(std::move(settings));
}

PresetStore::Outcome ConversionViewModel::saveCurrentAsPreset(const QString& name) {
  if (!m_presets) return PresetStore::Outcome::NotFound;
  const PresetStore::Outcome outcome = m_presets->save(name, m_settings);
  if (outcome == PresetStore::Outcome::Done) emit presetsChanged();
  return outcome;
}

PresetStore::Outcome ConversionViewModel::renamePreset(const QString& from, const QString& to) {
  if (!m_presets) return PresetStore::Outcome::NotFound;
  const PresetStore::Outcome outcome = m_presets->rename(from, to);
  if (outcome == PresetStore::Outcome::Done) emit presetsChanged();
  return outcome;
}

PresetStore::Outcome ConversionViewModel::deletePreset(const QString& name) {
  if (!m_presets) return PresetStore::Outcome::NotFound;
  const PresetStore::Outcome outcome = m_presets->remove(name);
  if (outcome == PresetStore::Outcome::Done) emit presetsChanged();
  return outcome;
}

}  // namespace quorvane::core
