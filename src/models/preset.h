// A named set of every batch setting but the output folder, and the three
// presets every installation has.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "models/conversion_settings.h"

namespace quorvane::core {

struct Preset {
  // Built-in presets: a stable key ("web", "email", "archive") and their
  // English name; the user's: no key, the name given.
  QString key;
  QString name;
  ConversionSettings settings;  // its output folder is always absent

  bool isBuiltIn() const { return !key.isEmpty(); }
};

// Web, Email and Archive, in that order.
const std::vector<Preset>& builtInPresets();

// The name shown: a built-in one in the interface language.
QString displayName(const Preset& preset);

// Whether a batch started with `current` would run as one started with
// `preset`: the output folder does not count, nor what only waits unused
// (the format behind Auto and Same as Original, the sizes while resizing is
// off, the prefix and start number of original names).
bool matchesPreset(const ConversionSettings& current, const ConversionSettings& preset);

// Why a name cannot be given to a preset. Names are compared trimmed and
// case-insensitively.
enum class PresetNameProblem {
  Empty,
  TooLong,  // more than kMaxPresetNameLength characters
  ControlCharacter,
  BuiltIn,  // a built-in preset's name or key
};
inline constexpr int kMaxPresetNameLength = 60;
std::optional<PresetNameProblem> presetNameProblem(const QString& name);
// The name as it is kept: without white space at either end.
QString cleanPresetName(const QString& name);
bool samePresetName(const QString& a, const QString& b);

}  // namespace quorvane::core
