// The settings side of ConversionViewModel: each update stores one value and
// saves it at once.
#include <QThread>
#include <algorithm>

#include "models/byte_size.h"
#include "viewmodels/conversion_view_model.h"

namespace quorvane::core {

namespace fs = std::filesystem;

void ConversionViewModel::updateOutputFormat(OutputFormat format) {
  changeSetting(&ConversionSettings::autoFormat, false);
  changeSetting(&ConversionSettings::sameFormat, false);
  changeSetting(&ConversionSettings::outputFormat, format);
  if (m_persistence) m_persistence->saveOutputFormat(format);
}

void ConversionViewModel::updateAutoFormat() {
  changeSetting(&ConversionSettings::sameFormat, false);
  changeSetting(&ConversionSettings::autoFormat, true);
  if (m_persistence) m_persistence->saveAutoFormat();
}

void ConversionViewModel::updateSameFormat() {
  changeSetting(&ConversionSettings::autoFormat, false);
  changeSetting(&ConversionSettings::sameFormat, true);
  if (m_persistence) m_persistence->saveSameFormat();
}

void ConversionViewModel::updateQuality(int quality) {
  changeSetting(&ConversionSettings::quality, quality);
  if (m_persistence) m_persistence->saveQuality(quality);
}

void ConversionViewModel::updateResizeEnabled(bool enabled) {
  changeSetting(&ConversionSettings::resizeEnabled, enabled);
  if (m_persistence) m_persistence->saveResizeEnabled(enabled);
  if (!enabled || m_items.empty()) return;
  // Width and height are taken independently, so they may come from two
  // different images.
  int widest = 0;
  int tallest = 0;
  for (const auto& item : m_items) {
    widest = std::max(widest, item.pixelWidth());
    tallest = std::max(tallest, item.pixelHeight());
  }
  if (widest > 0) updateMaxWidth(widest);
  if (tallest > 0) updateMaxHeight(tallest);
}

void ConversionViewModel::updateMaxWidth(std::optional<int> width) {
  changeSetting(&ConversionSettings::maxWidth, width);
  if (m_persistence) m_persistence->saveMaxWidth(width);
}

void ConversionViewModel::updateMaxHeight(std::optional<int> height) {
  changeSetting(&ConversionSettings::maxHeight, height);
  if (m_persistence) m_persistence->saveMaxHeight(height);
}

void ConversionViewModel::updateNamingMode(NamingMode mode) {
  changeSetting(&ConversionSettings::namingMode, mode);
  if (m_persistence) m_persistence->saveNamingMode(mode);
}

QString ConversionViewModel::sanitizedNamePrefix(const QString& prefix) {
  return core::sanitizedNamePrefix(prefix);
}

QString ConversionViewModel::numericPrefix(const QString& text, int maxCharacters) {
  return core::numericPrefix(text, maxCharacters);
}

void ConversionViewModel::updateNamePrefix(const QString& prefix) {
  const QString safe = sanitizedNamePrefix(prefix);
  changeSetting(&ConversionSettings::namePrefix, safe);
  if (m_persistence) m_persistence->saveNamePrefix(safe);
}

void ConversionViewModel::updateNameStartNumber(const QString& text) {
  const QString digits = numericPrefix(text, 6);
  if (digits.isEmpty()) return;
  changeSetting(&ConversionSettings::nameStartNumber, digits);
  if (m_persistence) m_persistence->saveNameStartNumber(digits);
}

void ConversionViewModel::updateOptions(const OutputOptions& options) {
  OutputOptions checked = options;
  if (checked.minSaving) checked.minSaving = std::clamp(*checked.minSaving, 0, 99);
  if (checked.maxFileSize && (*checked.maxFileSize < 1 || *checked.maxFileSize > kMaxByteSize)) {
    checked.maxFileSize.reset();
  }
  changeSetting(&ConversionSettings::options, checked);
  if (m_persistence) m_persistence->saveOptions(checked);
}

void ConversionViewModel::loadSavedSettings() {
  if (!m_persistence || !m_bookmarks) return;
  ConversionSettings loaded = m_persistence->load();
  // A remembered folder that cannot be opened now stays the choice: a start
  // says what is wrong with it rather than writing somewhere else.
  loaded.outputDirectory = m_bookmarks->activate();
  if (!loaded.outputDirectory) loaded.outputDirectory = m_bookmarks->rememberedFolder();
  setSettings(std::move(loaded));
}

void ConversionViewModel::setOutputDirectory(const fs::path& folder) {
  std::optional<fs::path> chosen = folder;
  if (m_bookmarks) {
    chosen = m_bookmarks->setDirectory(folder);
    if (!chosen) chosen = m_bookmarks->rememberedFolder();
  }
  changeSetting(&ConversionSettings::outputDirectory, chosen);
}

void ConversionViewModel::resetOutputDirectory() {
  if (m_bookmarks) m_bookmarks->clear();
  changeSetting(&ConversionSettings::outputDirectory, std::optional<fs::path>());
}

void ConversionViewModel::setIsConverting(bool converting) {
  if (converting == m_isConverting) return;
  m_isConverting = converting;
  emit isConvertingChanged(converting);
}

void ConversionViewModel::setIsCancelling(bool cancelling) {
  if (cancelling == m_isCancelling) return;
  m_isCancelling = cancelling;
  emit isCancellingChanged(cancelling);
}

void ConversionViewModel::setSettings(ConversionSettings settings) {
  Q_ASSERT(QThread::currentThread() == thread());
  if (settings == m_settings) return;
  m_settings = std::move(settings);
  emit settingsChanged();
}

}  // namespace quorvane::core
