#include "viewmodels/conversion_view_model.h"

#include <QThread>
#include <algorithm>
#include <unordered_set>

#include "services/file_service.h"

namespace quorvane::core {

namespace fs = std::filesystem;

ConversionViewModel::ConversionViewModel(std::unique_ptr<SettingsPersistence> persistence,
                                         std::unique_ptr<BookmarkService> bookmarks,
                                         DesktopIntegration& desktop, QObject* parent)
    : QObject(parent),
      m_persistence(std::move(persistence)),
      m_bookmarks(std::move(bookmarks)),
      m_desktop(desktop) {
  Q_ASSERT(m_persistence && m_bookmarks);
}

ConversionViewModel::~ConversionViewModel() = default;

int ConversionViewModel::completedCount() const {
  return static_cast<int>(std::count_if(m_items.begin(), m_items.end(), [](const auto& item) {
    return item->status().kind == ConversionStatus::Kind::Completed;
  }));
}

qint64 ConversionViewModel::totalOriginalSize() const {
  qint64 total = 0;
  for (const auto& item : m_items) total += item->originalSize();
  return total;
}

qint64 ConversionViewModel::totalCompressedSize() const {
  qint64 total = 0;
  for (const auto& item : m_items) total += item->compressedSize().value_or(0);
  return total;
}

void ConversionViewModel::addFiles(const std::vector<fs::path>& locations) {
  Q_ASSERT(QThread::currentThread() == thread());
  const std::vector<fs::path> found = FileService::collectImageFiles(locations);
  std::unordered_set<std::string> listed;
  listed.reserve(m_items.size());
  for (const auto& item : m_items) listed.insert(item->url().native());
  // The set is not extended while filtering: a file named twice in one call
  // (alone and inside its folder) is listed twice, as asked.
  ItemList added;
  for (const fs::path& file : found) {
    if (listed.count(file.native())) continue;
    added.push_back(std::make_shared<ImageItem>(file));
  }
  if (added.empty()) return;
  m_items.insert(m_items.end(), std::make_move_iterator(added.begin()),
                 std::make_move_iterator(added.end()));
  emit itemsChanged();
}

void ConversionViewModel::removeItem(const ImageItem& item) {
  const QUuid id = item.id();
  const auto removed = std::remove_if(m_items.begin(), m_items.end(),
                                      [&](const auto& listed) { return listed->id() == id; });
  if (removed == m_items.end()) return;
  m_items.erase(removed, m_items.end());
  emit itemsChanged();
}

void ConversionViewModel::clearItems() { setItems({}); }

void ConversionViewModel::openOutputFolder() {
  std::optional<fs::path> folder = m_settings.outputDirectory;
  if (!folder) {
    for (const auto& item : m_items) {
      if (item->outputURL()) {
        folder = item->outputURL()->parent_path();
        break;
      }
    }
  }
  if (folder) m_desktop.openFolder(*folder);
}

void ConversionViewModel::updateOutputFormat(OutputFormat format) {
  changeSetting(&ConversionSettings::outputFormat, format);
  m_persistence->saveOutputFormat(format);
}

void ConversionViewModel::updateQuality(int quality) {
  changeSetting(&ConversionSettings::quality, quality);
  m_persistence->saveQuality(quality);
}

void ConversionViewModel::updateResizeEnabled(bool enabled) {
  changeSetting(&ConversionSettings::resizeEnabled, enabled);
  m_persistence->saveResizeEnabled(enabled);
  if (!enabled || m_items.empty()) return;
  // Width and height are taken independently, so they may come from two
  // different images.
  int widest = 0;
  int tallest = 0;
  for (const auto& item : m_items) {
    widest = std::max(widest, item->pixelWidth());
    tallest = std::max(tallest, item->pixelHeight());
  }
  if (widest > 0) updateMaxWidth(widest);
  if (tallest > 0) updateMaxHeight(tallest);
}

void ConversionViewModel::updateMaxWidth(std::optional<int> width) {
  changeSetting(&ConversionSettings::maxWidth, width);
  m_persistence->saveMaxWidth(width);
}

void ConversionViewModel::updateMaxHeight(std::optional<int> height) {
  changeSetting(&ConversionSettings::maxHeight, height);
  m_persistence->saveMaxHeight(height);
}

void ConversionViewModel::updateNamingMode(NamingMode mode) {
  changeSetting(&ConversionSettings::namingMode, mode);
  m_persistence->saveNamingMode(mode);
}

QString ConversionViewModel::sanitizedNamePrefix(const QString& prefix) {
  QString safe = prefix;
  safe.replace(u'/', u'_');
  safe.replace(u'\\', u'_');
  safe.replace(QStringLiteral(".."), QStringLiteral("_"));
  return safe;
}

QString ConversionViewModel::numericPrefix(const QString& text, int maxCharacters) {
  // By code point, so digits outside the Basic Multilingual Plane count once.
  QList<char32_t> kept;
  for (char32_t c : text.toUcs4()) {
    if (kept.size() == maxCharacters) break;
    if (QChar::isNumber(c)) kept.append(c);
  }
  return QString::fromUcs4(kept.constData(), kept.size());
}

void ConversionViewModel::updateNamePrefix(const QString& prefix) {
  const QString safe = sanitizedNamePrefix(prefix);
  changeSetting(&ConversionSettings::namePrefix, safe);
  m_persistence->saveNamePrefix(safe);
}

void ConversionViewModel::updateNameStartNumber(const QString& text) {
  const QString digits = numericPrefix(text, 6);
  if (digits.isEmpty()) return;
  changeSetting(&ConversionSettings::nameStartNumber, digits);
  m_persistence->saveNameStartNumber(digits);
}

void ConversionViewModel::loadSavedSettings() {
  ConversionSettings loaded = m_persistence->load();
  loaded.outputDirectory = m_bookmarks->activate();
  setSettings(std::move(loaded));
}

void ConversionViewModel::setOutputDirectory(const fs::path& folder) {
  changeSetting(&ConversionSettings::outputDirectory, m_bookmarks->setDirectory(folder));
}

void ConversionViewModel::resetOutputDirectory() {
  m_bookmarks->clear();
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

void ConversionViewModel::setItems(ItemList items) {
  if (items == m_items) return;
  m_items = std::move(items);
  emit itemsChanged();
}

}  // namespace quorvane::core
