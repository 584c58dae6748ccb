// Keeps the conversion settings (all but the output folder) in the settings
// store, one key per field, written the moment a field changes. Main thread.
// Keys are relative to the store's current group.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

#include "models/conversion_settings.h"

namespace quorvane::core {

class SettingsPersistence {
 public:
  // Keys of the store; the spelling is part of every user's saved file.
  static constexpr const char* kFormatKey = "outputFormat";
  static constexpr const char* kAutoFormatValue = "auto";
  static constexpr const char* kSameFormatValue = "same";
  static constexpr const char* kQualityKey = "quality";
  static constexpr const char* kResizeEnabledKey = "resizeEnabled";
  static constexpr const char* kMaxWidthKey = "resizeMaxWidth";
  static constexpr const char* kMaxHeightKey = "resizeMaxHeight";
  static constexpr const char* kNamingModeKey = "namingMode";
  static constexpr const char* kNamePrefixKey = "namePrefix";
  static constexpr const char* kNameStartNumberKey = "nameStartNumber";
  static constexpr const char* kMinSavingKey = "minSaving";  // -1: off
  static constexpr const char* kKeepMetadataKey = "keepMetadata";
  static constexpr const char* kKeepColorProfileKey = "keepColorProfile";
  static constexpr const char* kKeepFileDatesKey = "keepFileDates";
  static constexpr const char* kKeepFolderStructureKey = "keepFolderStructure";
  static constexpr const char* kSkipConvertedKey = "skipConverted";
  static constexpr const char* kCheckQualityKey = "checkQuality";
  static constexpr const char* kKeepAlphaKey = "keepAlpha";
  static constexpr const char* kLosslessKey = "lossless";
  static constexpr const char* kAutoJpegXlKey = "autoJpegXl";
  static constexpr const char* kAutoBestEffortKey = "autoBestEffort";
  static constexpr const char* kIfLargerKey = "ifLarger";        // keep-original, skip, write
  static constexpr const char* kMaxFileSizeKey = "maxFileSize";  // bytes; 0: no limit

  explicit SettingsPersistence(std::shared_ptr<QSettings> store);

  // Every field from the store; missing keys and values of the wrong type
  // read as the field's default. The output folder is left absent.
  ConversionSettings load() const;

  // Every field but the output folder, with the saves below; load() gives
  // them back. A preset is this set of keys in a group of its own.
  void save(const ConversionSettings& settings);

  // Each writes exactly one key. Absent maximum sizes are saved as 0.
  void saveOutputFormat(OutputFormat format);
  void saveAutoFormat();  // stored as the format "auto"
  void saveSameFormat();  // stored as the format "same"
  void saveQuality(int quality);
  void saveResizeEnabled(bool enabled);
  void saveMaxWidth(std::optional<int> width);
  void saveMaxHeight(std::optional<int> height);
  void saveNamingMode(NamingMode mode);
  void saveNamePrefix(const QString& prefix);
  void saveNameStartNumber(const QString& startNumber);
  // The option keys, together (one of them changed).
  void saveOptions(const OutputOptions& options);

  // The typed reads behind load(). The store on Linux keeps text, so a value
  // counts as an integer or boolean when it is one or is the text form the
  // store writes for one ("42", "true"); anything else reads as the default.
  static int readInteger(const QVariant& value, int fallback);
  static bool readBoolean(const QVariant& value, bool fallback);
  static QString readText(const QVariant& value, const QString& fallback);

  // The store the keys are in, for what is kept beside the settings.
  const std::shared_ptr<QSettings>& store() const { return m_store; }

 private:
  void write(const char* key, const QVariant& value);

  std::shared_ptr<QSettings> m_store;
};

}  // namespace quorvane::core
