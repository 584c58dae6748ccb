#include "models/preset.h"

#include <QCoreApplication>

namespace quorvane::core {

namespace {

ConversionSettings webSettings() {
  ConversionSettings settings;
  settings.outputFormat = OutputFormat::Webp;
  settings.quality = 80;
  settings.resizeEnabled = true;
  settings.maxWidth = 1920;
  settings.maxHeight = 1920;
  return settings;
}

ConversionSettings emailSettings() {
  ConversionSettings settings;
  settings.outputFormat = OutputFormat::Jpeg;
  settings.quality = 75;
  settings.resizeEnabled = true;
  settings.maxWidth = 1280;
  settings.maxHeight = 1280;
  settings.options.maxFileSize = 500'000;
  return settings;
}

ConversionSettings archiveSettings() {
  ConversionSettings settings;
  settings.sameFormat = true;
  settings.options.lossless = true;
  settings.options.keepMetadata = true;
  settings.options.keepColorProfile = true;
  settings.options.keepAlpha = true;
  settings.options.keepFileDates = true;
  return settings;
}

}  // namespace

const std::vector<Preset>& builtInPresets() {
  static const std::vector<Preset> presets = {
      {QStringLiteral("web"), QStringLiteral(QT_TRANSLATE_NOOP("Preset", "Web: WebP, 1920 px")),
       webSettings()},
      {QStringLiteral("email"),
       QStringLiteral(QT_TRANSLATE_NOOP("Preset", "Email: JPEG, 1280 px, under 500 kB")),
       emailSettings()},
      {QStringLiteral("archive"), QStringLiteral(QT_TRANSLATE_NOOP("Preset", "Archive: lossless")),
       archiveSettings()},
  };
  return presets;
}

QString displayName(const Preset& preset) {
  if (!preset.isBuiltIn()) return preset.name;
  return QCoreApplication::translate("Preset", preset.name.toUtf8().constData());
}

bool matchesPreset(const ConversionSettings& current, const ConversionSettings& preset) {
  const auto inForce = [](ConversionSettings settings) {
    settings.outputDirectory.reset();
    if (settings.autoFormat || settings.sameFormat) settings.outputFormat = OutputFormat::Webp;
    if (!settings.resizeEnabled) {
      settings.maxWidth.reset();
      settings.maxHeight.reset();
    }
    if (settings.namingMode == NamingMode::Original) {
      settings.namePrefix.clear();
      settings.nameStartNumber.clear();
    }
    return settings;
  };
  return inForce(current) == inForce(preset);
}

QString cleanPresetName(const QString& name) {
  return name.trimmed();
}

bool samePresetName(const QString& a, const QString& b) {
  return cleanPresetName(a).compare(cleanPresetName(b), Qt::CaseInsensitive) == 0;
}

std::optional<PresetNameProblem> presetNameProblem(const QString& name) {
  const QString clean = cleanPresetName(name);
  if (clean.isEmpty()) return PresetNameProblem::Empty;
  if (clean.toUcs4().size() > kMaxPresetNameLength) return PresetNameProblem::TooLong;
  for (char32_t c : clean.toUcs4()) {
    if (QChar::category(c) == QChar::Other_Control || c == 0x2028 || c == 0x2029) {
      return PresetNameProblem::ControlCharacter;
    }
  }
  for (const Preset& builtIn : builtInPresets()) {
    if (samePresetName(clean, builtIn.key) || samePresetName(clean, builtIn.name) ||
        samePresetName(clean, displayName(builtIn))) {
      return PresetNameProblem::BuiltIn;
    }
  }
  return std::nullopt;
}

}  // namespace quorvane::core
