#include "services/settings_persistence.h"

#include <QRegularExpression>
#include <limits>

#include "models/byte_size.h"

namespace quorvane::core {

SettingsPersistence::SettingsPersistence(std::shared_ptr<QSettings> store)
    : m_store(std::move(store)) {
  Q_ASSERT(m_store);
}

int SettingsPersistence::readInteger(const QVariant& value, int fallback) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong: {
      bool ok = false;
      const qlonglong number = value.toLongLong(&ok);
      if (!ok || number < std::numeric_limits<int>::min() ||
          number > std::numeric_limits<int>::max()) {
        return fallback;
      }
      return static_cast<int>(number);
    }
    case QMetaType::QString: {
      static const QRegularExpression integerText(QStringLiteral("^[+-]?[0-9]+$"));
      const QString text = value.toString();
      if (!integerText.match(text).hasMatch()) return fallback;
      bool ok = false;
      const int number = text.toInt(&ok, 10);
      return ok ? number : fallback;
    }
    default:
      return fallback;
  }
}

bool SettingsPersistence::readBoolean(const QVariant& value, bool fallback) {
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  if (value.typeId() == QMetaType::QString) {
    const QString text = value.toString();
    if (text == u"true") return true;
    if (text == u"false") return false;
  }
  return fallback;
}

QString SettingsPersistence::readText(const QVariant& value, const QString& fallback) {
  return value.typeId() == QMetaType::QString ? value.toString() : fallback;
}

ConversionSettings SettingsPersistence::load() const {
  const ConversionSettings defaults;
  ConversionSettings settings;
  const QString format = readText(m_store->value(kFormatKey), rawValue(defaults.outputFormat));
  settings.outputFormat = outputFormatFromRawValue(format).value_or(defaults.outputFormat);
  settings.autoFormat = format == QLatin1String(kAutoFormatValue);
  settings.sameFormat = format == QLatin1String(kSameFormatValue);
  settings.quality = readInteger(m_store->value(kQualityKey), defaults.quality);
  settings.resizeEnabled = readBoolean(m_store->value(kResizeEnabledKey), defaults.resizeEnabled);
  const int maxWidth = readInteger(m_store->value(kMaxWidthKey), 0);
  const int maxHeight = readInteger(m_store->value(kMaxHeightKey), 0);
  if (maxWidth > 0) settings.maxWidth = maxWidth;
  if (maxHeight > 0) settings.maxHeight = maxHeight;
  settings.namingMode = readText(m_store->value(kNamingModeKey), {}) == rawValue(NamingMode::Custom)
                            ? NamingMode::Custom
                            : NamingMode::Original;
  settings.namePrefix = readText(m_store->value(kNamePrefixKey), defaults.namePrefix);
  settings.nameStartNumber =
      readText(m_store->value(kNameStartNumberKey), defaults.nameStartNumber);
  const int minSaving = readInteger(m_store->value(kMinSavingKey), -1);
  if (minSaving >= 0 && minSaving <= 99) settings.options.minSaving = minSaving;
  const auto flag = [this](const char* key) { return readBoolean(m_store->value(key), false); };
  settings.options.keepMetadata = flag(kKeepMetadataKey);
  settings.options.keepColorProfile = flag(kKeepColorProfileKey);
  settings.options.keepFileDates = flag(kKeepFileDatesKey);
  settings.options.keepFolderStructure = flag(kKeepFolderStructureKey);
  settings.options.skipConverted = flag(kSkipConvertedKey);
  settings.options.keepAlpha = flag(kKeepAlphaKey);
  settings.options.lossless = flag(kLosslessKey);
  settings.options.autoJpegXl = flag(kAutoJpegXlKey);
  settings.options.autoBestEffort = flag(kAutoBestEffortKey);
  settings.options.checkQuality =
      readBoolean(m_store->value(kCheckQualityKey), defaults.options.checkQuality);
  settings.options.ifLarger = ifLargerFromRawValue(readText(m_store->value(kIfLargerKey), {}))
                                  .value_or(defaults.options.ifLarger);
  const int maxFileSize = readInteger(m_store->value(kMaxFileSizeKey), 0);
  if (maxFileSize > 0 && maxFileSize <= kMaxByteSize) settings.options.maxFileSize = maxFileSize;
  return settings;
}

void SettingsPersistence::save(const ConversionSettings& settings) {
  // Names every field: a field added to the settings stops this compiling
  // until it is saved here too (and read in load()).
  const auto& [outputFormat, autoFormat, sameFormat, quality, outputDirectory, resizeEnabled,
               maxWidth, maxHeight, namingMode, namePrefix, nameStartNumber, options] = settings;
  (void)outputDirectory;  // remembered apart, by the bookmark holder
  if (autoFormat) {
    saveAutoFormat();
  } else if (sameFormat) {
    saveSameFormat();
  } else {
    saveOutputFormat(outputFormat);
  }
  saveQuality(quality);
  saveResizeEnabled(resizeEnabled);
  saveMaxWidth(maxWidth);
  saveMaxHeight(maxHeight);
  saveNamingMode(namingMode);
  saveNamePrefix(namePrefix);
  saveNameStartNumber(nameStartNumber);
  saveOptions(options);
}

void SettingsPersistence::saveOptions(const OutputOptions& options) {
  write(kMinSavingKey, options.minSaving.value_or(-1));
  write(kKeepMetadataKey, options.keepMetadata);
  write(kKeepColorProfileKey, options.keepColorProfile);
  write(kKeepFileDatesKey, options.keepFileDates);
  write(kKeepFolderStructureKey, options.keepFolderStructure);
  write(kSkipConvertedKey, options.skipConverted);
  write(kCheckQualityKey, options.checkQuality);
  write(kKeepAlphaKey, options.keepAlpha);
  write(kLosslessKey, options.lossless);
  write(kAutoJpegXlKey, options.autoJpegXl);
  write(kAutoBestEffortKey, options.autoBestEffort);
  write(kIfLargerKey, rawValue(options.ifLarger));
  write(kMaxFileSizeKey, static_cast<qlonglong>(options.maxFileSize.value_or(0)));
}

void SettingsPersistence::write(const char* key, const QVariant& value) {
  m_store->setValue(QLatin1String(key), value);
}

void SettingsPersistence::saveOutputFormat(OutputFormat format) {
  write(kFormatKey, rawValue(format));
}
void SettingsPersistence::saveAutoFormat() {
  write(kFormatKey, QLatin1String(kAutoFormatValue));
}
void SettingsPersistence::saveSameFormat() {
  write(kFormatKey, QLatin1String(kSameFormatValue));
}
void SettingsPersistence::saveQuality(int quality) {
  write(kQualityKey, quality);
}
void SettingsPersistence::saveResizeEnabled(bool enabled) {
  write(kResizeEnabledKey, enabled);
}
void SettingsPersistence::saveMaxWidth(std::optional<int> width) {
  write(kMaxWidthKey, width.value_or(0));
}
void SettingsPersistence::saveMaxHeight(std::optional<int> height) {
  write(kMaxHeightKey, height.value_or(0));
}
void SettingsPersistence::saveNamingMode(NamingMode mode) {
  write(kNamingModeKey, rawValue(mode));
}
void SettingsPersistence::saveNamePrefix(const QString& prefix) {
  write(kNamePrefixKey, prefix);
}
void SettingsPersistence::saveNameStartNumber(const QString& startNumber) {
  write(kNameStartNumberKey, startNumber);
}

}  // namespace quorvane::core
