#include "viewmodels/conversion_view_model.h"

#include <sched.h>

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <unordered_set>

#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/memory_budget.h"

namespace quorvane::core {

namespace fs = std::filesystem;

// The state of one running batch; main thread only, apart from what the
// conversions share (the token and the name reservations).
struct ConversionViewModel::Batch {
  CancellationToken token;
  std::shared_ptr<OutputNameReservations> reservations = std::make_shared<OutputNameReservations>();
  fs::path folder;
  ConversionSettings snapshot;  // maxima already cleared when resizing was off
  int parallelLimit = 1;
  qint64 memoryBudget = 0;  // 0: none
  qint64 memoryInUse = 0;   // estimates of the conversions running
  std::size_t position = 0;
  int running = 0;
  qint64 scheduled = 0;
  bool schedulingDone = false;
};

// What a conversion hands back to the main thread.
struct ConversionViewModel::Outcome {
  enum class Kind { Completed, Failed, Cancelled } kind = Kind::Failed;
  fs::path output;
  qint64 size = 0;
  QString message;
  QString detail;
  qint64 memory = 0;  // the estimate it was started with
};

ConversionViewModel::ConversionViewModel(std::unique_ptr<SettingsPersistence> persistence,
                                         std::unique_ptr<BookmarkService> bookmarks,
                                         DesktopIntegration& desktop, ImageConverter converter,
                                         QObject* parent)
    : QObject(parent),
      m_persistence(std::move(persistence)),
      m_bookmarks(std::move(bookmarks)),
      m_desktop(desktop),
      m_converter(std::move(converter)) {}

ConversionViewModel::~ConversionViewModel() {
  if (m_batch) m_batch->token.cancel();
  // Conversions post their results to this object: wait for them before it
  // goes (posted results die with it).
  m_pool.waitForDone();
}

int ConversionViewModel::availableCpuCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  return std::max(1, CPU_COUNT(&set));
}

void ConversionViewModel::startConversion() {
  Q_ASSERT(QThread::currentThread() == thread());
  if (!canStartConversion() || m_batch) return;
  performConversion();
}

void ConversionViewModel::cancelConversion() {
  if (!m_isConverting) return;
  setIsCancelling(true);
  m_desktop.announce(tr("Cancelling conversion"));
  if (m_batch) m_batch->token.cancel();
}

void ConversionViewModel::performConversion() {
  setIsCancelling(false);
  // What the last run did not finish gets another attempt; completed items
  // are never converted again.
  for (const auto& item : m_items) {
    const auto kind = item->status().kind;
    if (kind == ConversionStatus::Kind::Cancelled || kind == ConversionStatus::Kind::Error) {
      item->setStatus(ConversionStatus::waiting());
      item->setErrorMessage(std::nullopt);
    }
  }
  setIsConverting(true);

  auto batch = std::make_unique<Batch>();
  if (m_settings.outputDirectory) {
    batch->folder = *m_settings.outputDirectory;
  } else if (!m_items.empty()) {
    batch->folder = fs::absolute(m_items.front()->url()).parent_path() / "compressed";
  }
  batch->snapshot = m_settings;
  if (!m_settings.resizeEnabled) {
    batch->snapshot.maxWidth.reset();
    batch->snapshot.maxHeight.reset();
  }
  batch->parallelLimit = std::max(1, m_parallelLimitOverride.value_or(availableCpuCount()));
  batch->memoryBudget = std::max<qint64>(0, m_memoryBudgetOverride.value_or(defaultMemoryBudget()));
  m_pool.setMaxThreadCount(std::max(m_pool.maxThreadCount(), batch->parallelLimit));
  m_batch = std::move(batch);
  scheduleConversions();
}

void ConversionViewModel::scheduleConversions() {
  Batch& batch = *m_batch;
  // The list length is read anew each round, so files added while a batch
  // runs join it; removals keep the position on the same item.
  while (!batch.schedulingDone) {
    if (batch.position >= m_items.size() || batch.token.isCancelled()) {
      batch.schedulingDone = true;
      break;
    }
    const auto item = m_items[batch.position];
    const auto kind = item->status().kind;
    if (kind == ConversionStatus::Kind::Completed || kind == ConversionStatus::Kind::Cancelled ||
        kind == ConversionStatus::Kind::Error) {
      ++batch.position;
      continue;
    }
    // Resumed by conversionEnded() when a conversion frees its slot, or
    // its memory: a large image waits until it fits beside the others, or
    // runs alone.
    if (batch.running >= batch.parallelLimit) return;
    const qint64 memory = estimatedConversionBytes(batch.snapshot.outputFormat, item->pixelWidth(),
                                                   item->pixelHeight());
    if (batch.running > 0 && batch.memoryBudget > 0 &&
        batch.memoryInUse + memory > batch.memoryBudget) {
      return;
    }
    std::optional<fs::path> customOutputURL;
    if (batch.snapshot.namingMode == NamingMode::Custom) {
      const auto reservations = batch.reservations;
      try {
        customOutputURL = FileService::sequentialOutputURL(
            batch.folder, batch.snapshot.namePrefix, batch.scheduled,
            batch.snapshot.nameStartNumber, fileExtension(batch.snapshot.outputFormat),
            [&](const fs::path& p) { return reservations->isReserved(p); });
      } catch (const ConversionFailure& failure) {
        // The folder cannot be looked into: this item fails, the rest try.
        item->setStatus(ConversionStatus::error(failure.description()));
        item->setErrorMessage(failure.description());
        ++batch.position;
        emit itemFinished(item);
        continue;
      }
      reservations->reserve(*customOutputURL);
    }
    item->setStatus(ConversionStatus::processing());
    ++batch.scheduled;
    ++batch.running;
    ++batch.position;
    batch.memoryInUse += memory;
    launchConversion(item, std::move(customOutputURL), memory);
  }
  if (batch.running == 0) finishBatch();
}

void ConversionViewModel::launchConversion(const std::shared_ptr<ImageItem>& item,
                                           std::optional<fs::path> customOutputURL, qint64 memory) {
  const Batch& batch = *m_batch;
  ConversionJob job{item->url(),
                    batch.folder,
                    batch.snapshot.outputFormat,
                    batch.snapshot.quality,
                    batch.snapshot.maxWidth,
                    batch.snapshot.maxHeight,
                    std::move(customOutputURL)};
  std::weak_ptr<ImageItem> weakItem = item;
  m_pool.start([this, job = std::move(job), token = batch.token, reservations = batch.reservations,
                weakItem, memory] {
    Outcome outcome;
    outcome.memory = memory;
    try {
      outcome.output = m_converter.convert(job, token, reservations.get());
      std::error_code error;
      const auto size = fs::file_size(outcome.output, error);
      outcome.size = error ? 0 : static_cast<qint64>(size);
      outcome.kind = Outcome::Kind::Completed;
    } catch (const CancellationError&) {
      outcome.kind = Outcome::Kind::Cancelled;
    } catch (const ConversionFailure& failure) {
      // Any failure of a cancelled conversion counts as its cancellation.
      outcome.kind = token.isCancelled() ? Outcome::Kind::Cancelled : Outcome::Kind::Failed;
      outcome.message = failure.description();
      outcome.detail = failure.detail();
    } catch (const std::bad_alloc&) {
      outcome.kind = Outcome::Kind::Failed;
      outcome.message = QCoreApplication::translate("ConversionError", "Not enough memory");
    } catch (const std::exception& failure) {
      outcome.kind = token.isCancelled() ? Outcome::Kind::Cancelled : Outcome::Kind::Failed;
      outcome.message = QString::fromLocal8Bit(failure.what());
    } catch (...) {
      // Nothing may leave a pool thread: an escaped exception ends the process.
      outcome.kind = Outcome::Kind::Failed;
      outcome.message = QCoreApplication::translate("ConversionError", "Conversion failed");
    }
    QMetaObject::invokeMethod(
        this, [this, weakItem, outcome] { conversionEnded(weakItem, outcome); },
        Qt::QueuedConnection);
  });
}

bool ConversionViewModel::isListed(const ImageItem* item) const {
  return std::any_of(m_items.begin(), m_items.end(),
                     [item](const auto& listed) { return listed.get() == item; });
}

void ConversionViewModel::conversionEnded(const std::weak_ptr<ImageItem>& weakItem,
                                          const Outcome& outcome) {
  Q_ASSERT(m_batch);
  --m_batch->running;
  m_batch->memoryInUse -= outcome.memory;
  const auto item = weakItem.lock();
  // An item removed from the list while it converted is left alone.
  if (item && isListed(item.get())) {
    switch (outcome.kind) {
      case Outcome::Kind::Completed:
        item->setOutputURL(outcome.output);
        item->setCompressedSize(outcome.size);
        item->setStatus(ConversionStatus::completed());
        break;
      case Outcome::Kind::Cancelled:
        item->setStatus(ConversionStatus::cancelled());
        break;
      case Outcome::Kind::Failed:
        item->setStatus(ConversionStatus::error(outcome.message, outcome.detail));
        item->setErrorMessage(outcome.message);
        break;
    }
    emit itemFinished(item);
  }
  scheduleConversions();
}

void ConversionViewModel::finishBatch() {
  const bool cancelled = m_batch->token.isCancelled();
  if (cancelled) {
    for (const auto& item : m_items) {
      if (item->status().kind == ConversionStatus::Kind::Waiting) {
        item->setStatus(ConversionStatus::cancelled());
      }
    }
  }
  setIsConverting(false);
  if (!cancelled && !m_desktop.isApplicationActive()) {
    m_desktop.playCompletionSound();
    m_desktop.requestAttention();
  }
  setIsCancelling(false);
  m_batch.reset();
  emit conversionFinished(cancelled);
}

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
  const auto matches = [&](const auto& listed) { return listed->id() == id; };
  // A running batch walks the list by position: rows removed before that
  // position move it back, so the item it was about to look at stays next.
  if (m_batch) {
    const auto end =
        m_items.begin() + static_cast<std::ptrdiff_t>(std::min(m_batch->position, m_items.size()));
    m_batch->position -= static_cast<std::size_t>(std::count_if(m_items.begin(), end, matches));
  }
  const auto removed = std::remove_if(m_items.begin(), m_items.end(), matches);
  if (removed == m_items.end()) return;
  m_items.erase(removed, m_items.end());
  emit itemsChanged();
}

void ConversionViewModel::clearItems() {
  // Files added after clearing during a batch are the new list's first ones.
  if (m_batch) m_batch->position = 0;
  setItems({});
}

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
  if (m_persistence) m_persistence->saveOutputFormat(format);
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
    widest = std::max(widest, item->pixelWidth());
    tallest = std::max(tallest, item->pixelHeight());
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
  if (m_persistence) m_persistence->saveNamePrefix(safe);
}

void ConversionViewModel::updateNameStartNumber(const QString& text) {
  const QString digits = numericPrefix(text, 6);
  if (digits.isEmpty()) return;
  changeSetting(&ConversionSettings::nameStartNumber, digits);
  if (m_persistence) m_persistence->saveNameStartNumber(digits);
}

void ConversionViewModel::loadSavedSettings() {
  if (!m_persistence || !m_bookmarks) return;
  ConversionSettings loaded = m_persistence->load();
  loaded.outputDirectory = m_bookmarks->activate();
  setSettings(std::move(loaded));
}

void ConversionViewModel::setOutputDirectory(const fs::path& folder) {
  changeSetting(&ConversionSettings::outputDirectory,
                m_bookmarks ? m_bookmarks->setDirectory(folder) : std::optional<fs::path>(folder));
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

void ConversionViewModel::setItems(ItemList items) {
  if (items == m_items) return;
  m_items = std::move(items);
  emit itemsChanged();
}

}  // namespace quorvane::core
