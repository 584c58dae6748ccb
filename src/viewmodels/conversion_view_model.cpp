#include "viewmodels/conversion_view_model.h"

#include <sched.h>

#include <QThread>
#include <algorithm>

#include "services/file_service.h"
#include "services/lossless_error.h"
#include "services/memory_budget.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

// Whether any of the changes took; every one of them was made (they are the
// arguments), unlike a chain of ||.
template <typename... Changed>
bool anyOf(Changed... changed) {
  return (false || ... || changed);
}

}  // namespace

void ConversionViewModel::Totals::count(const ImageItem& item, int sign) {
  original += sign * item.originalSize();
  compressed += sign * item.compressedSize().value_or(0);
  if (item.status().kind == ConversionStatus::Kind::Completed) {
    completed += sign;
    convertedOriginal += sign * item.originalSize();
  } else if (item.status().kind == ConversionStatus::Kind::KeptOriginal) {
    keptOriginal += sign;
    convertedOriginal += sign * item.originalSize();
  } else if (item.status().kind == ConversionStatus::Kind::Error) {
    failed += sign;
  } else if (item.status().kind == ConversionStatus::Kind::Skipped) {
    skipped += sign;
  }
}

ConversionViewModel::ConversionViewModel(std::unique_ptr<SettingsPersistence> persistence,
                                         std::unique_ptr<BookmarkService> bookmarks,
                                         DesktopIntegration& desktop, const Converter* converter,
                                         QObject* parent)
    : QObject(parent),
      m_persistence(std::move(persistence)),
      m_bookmarks(std::move(bookmarks)),
      m_desktop(desktop),
      m_ownConverter(converter ? nullptr : std::make_unique<ImageConverter>()),
      m_converter(converter ? *converter : *m_ownConverter) {
  connect(&m_intake, &ImageIntake::found, this, &ConversionViewModel::imagesFound);
  connect(&m_intake, &ImageIntake::unreadable, this, &ConversionViewModel::unreadableFound);
  connect(&m_intake, &ImageIntake::requestFinished, this, [this] { m_addedByThisRequest.clear(); });
  connect(&m_intake, &ImageIntake::busyChanged, this, &ConversionViewModel::isAddingFilesChanged);
  connect(&m_intake, &ImageIntake::skipped, this, &ConversionViewModel::outputImagesSkipped);
}

ConversionViewModel::~ConversionViewModel() {
  // The batch first: its results would otherwise reach a half-destroyed
  // controller.
  m_batch.reset();
  m_finishedBatch.reset();
}

int ConversionViewModel::availableCpuCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  return std::max(1, CPU_COUNT(&set));
}

template <typename Change>
void ConversionViewModel::updateItem(std::size_t row, Change&& change) {
  ImageItem& item = m_items[row];
  const Totals before = m_totals;
  m_totals.count(item, -1);
  const bool changed = change(item);
  m_totals.count(item, +1);
  if (changed) emit itemChanged(static_cast<int>(row));
  if (!(m_totals == before)) emit totalsChanged();
}

std::optional<std::size_t> ConversionViewModel::rowOf(const QUuid& id) const {
  const auto found = m_rowOf.constFind(id);
  if (found == m_rowOf.constEnd()) return std::nullopt;
  return *found;
}

BatchEntry ConversionViewModel::entryFor(const ImageItem& item) const {
  return {
      item.id(),          item.url(), item.pixelWidth(), item.pixelHeight(), item.relativeFolder(),
      item.qualityBoost()};
}

std::optional<QString> ConversionViewModel::exportReport(const fs::path& file) const {
  return writeReport(file, m_report);
}

// --- The list ---------------------------------------------------------------

fs::path ConversionViewModel::outputFolder() const {
  if (m_settings.outputDirectory) return *m_settings.outputDirectory;
  if (m_items.empty()) return {};
  const ImageItem& first = m_items.front();
  return FileService::defaultOutputFolder(fs::absolute(first.url()), first.root(),
                                          m_settings.options.keepFolderStructure);
}

void ConversionViewModel::addFiles(const std::vector<fs::path>& locations) {
  Q_ASSERT(QThread::currentThread() == thread());
  if (locations.empty()) return;
  // A folder dropped again after a batch must not bring back its own
  // outputs: folders this program writes into are not walked. (A folder
  // named directly is always walked.) Runs on the walking thread: a copy.
  auto outputFolders = m_outputFolders;
  if (m_settings.outputDirectory) outputFolders.insert(*m_settings.outputDirectory);
  m_intake.enqueue(locations, [outputFolders = std::move(outputFolders)](const fs::path& folder) {
    return folder.filename() == "compressed" || outputFolders.count(folder) > 0;
  });
}

void ConversionViewModel::imagesFound(const std::vector<ImageFacts>& images) {
  const std::size_t first = m_items.size();
  std::vector<BatchEntry> joining;
  for (const ImageFacts& facts : images) {
    const std::string& key = facts.url.native();
    // Listed before this call: skipped. Named twice within it: listed twice.
    const auto listed = m_listed.find(key);
    const auto addedNow = m_addedByThisRequest.find(key);
    const int before = (listed == m_listed.end() ? 0 : listed->second) -
                       (addedNow == m_addedByThisRequest.end() ? 0 : addedNow->second);
    if (before > 0) continue;
    ++m_listed[key];
    ++m_addedByThisRequest[key];
    m_items.emplace_back(facts);
    m_rowOf.insert(m_items.back().id(), m_items.size() - 1);
    m_totals.count(m_items.back(), +1);
    // A running batch takes files added meanwhile into the same run.
    if (m_batch) joining.push_back(entryFor(m_items.back()));
  }
  if (m_items.size() == first) return;
  emit itemsInserted(static_cast<int>(first), static_cast<int>(m_items.size() - first));
  emit totalsChanged();
  if (m_batch && !joining.empty()) {
    Progress progress = m_progress;
    progress.total += static_cast<int>(joining.size());
    m_batch->append(std::move(joining));
    setProgress(progress);
  }
}

void ConversionViewModel::removeItem(const QUuid& id) {
  const auto row = rowOf(id);
  if (!row) return;
  if (m_batch && m_batch->remove(id)) {
    Progress progress = m_progress;
    --progress.total;
    setProgress(progress);
  }
  emit itemsAboutToBeRemoved(static_cast<int>(*row), 1);
  const ImageItem& item = m_items[*row];
  m_totals.count(item, -1);
  if (--m_listed[item.url().native()] == 0) m_listed.erase(item.url().native());
  m_rowOf.remove(id);
  m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(*row));
  for (std::size_t i = *row; i < m_items.size(); ++i) m_rowOf[m_items[i].id()] = i;
  emit itemsRemoved(static_cast<int>(*row), 1);
  emit totalsChanged();
}

void ConversionViewModel::clearItems() {
  m_intake.cancel();
  if (m_batch) {
    m_batch->removeAll();
    // What still converts stays counted until it ends.
    setProgress({m_progress.done, m_progress.done + m_batch->running(), m_progress.elapsedMs});
  }
  if (m_items.empty()) return;
  emit itemsAboutToBeCleared();
  m_items.clear();
  m_rowOf.clear();
  m_listed.clear();
  m_addedByThisRequest.clear();
  m_totals = {};
  emit itemsCleared();
  emit totalsChanged();
}

void ConversionViewModel::removeFinished() {
  std::vector<QUuid> finished;
  for (const ImageItem& item : m_items) {
    const auto kind = item.status().kind;
    if (kind == ConversionStatus::Kind::Completed || kind == ConversionStatus::Kind::KeptOriginal) {
      finished.push_back(item.id());
    }
  }
  for (const QUuid& id : finished) removeItem(id);
}

void ConversionViewModel::openOutput(const QUuid& id) {
  const auto row = rowOf(id);
  if (row && m_items[*row].outputURL()) m_desktop.openFile(*m_items[*row].outputURL());
}

void ConversionViewModel::showOutputInFileManager(const QUuid& id) {
  const auto row = rowOf(id);
  if (row && m_items[*row].outputURL()) m_desktop.showInFileManager(*m_items[*row].outputURL());
}

void ConversionViewModel::openOutputFolder() {
  std::optional<fs::path> folder = m_settings.outputDirectory;
  if (!folder) {
    for (const auto& item : m_items) {
      if (item.outputURL()) {
        folder = item.outputURL()->parent_path();
        break;
      }
    }
  }
  if (folder) m_desktop.openFolder(*folder);
}

// --- The batch --------------------------------------------------------------

std::optional<QString> ConversionViewModel::startRefusal() const {
  return losslessUnavailable(encodeSettingsOf(m_settings));
}

void ConversionViewModel::startConversion() {
  Q_ASSERT(QThread::currentThread() == thread());
  if (!canStartConversion() || m_batch || startRefusal()) return;
  // The last batch may be the one whose end called us.
  if (m_finishedBatch) m_finishedBatch.release()->deleteLater();
  setIsCancelling(false);
  // What the last run did not finish gets another attempt; completed items
  // are never converted again.
  for (std::size_t row = 0; row < m_items.size(); ++row) {
    const auto kind = m_items[row].status().kind;
    if (kind == ConversionStatus::Kind::Cancelled || kind == ConversionStatus::Kind::Error ||
        kind == ConversionStatus::Kind::Skipped) {
      updateItem(row, [](ImageItem& item) -> bool {
        return anyOf(item.setStatus(ConversionStatus::waiting()),
                     item.setErrorMessage(std::nullopt), item.setOutputURL(std::nullopt),
                     item.setNote({}));
      });
    }
  }
  setIsConverting(true);

  BatchSettings batch{.encode = encodeSettingsOf(m_settings),
                      .naming = m_settings.namingMode,
                      .namePrefix = m_settings.namePrefix,
                      .nameStartNumber = m_settings.nameStartNumber,
                      .folder = outputFolder()};
  const BatchRunner::Limits limits{m_parallelLimitOverride.value_or(availableCpuCount()),
                                   m_memoryBudgetOverride.value_or(defaultMemoryBudget())};
  m_batch = std::make_unique<BatchRunner>(m_converter, std::move(batch), limits);
  connect(m_batch.get(), &BatchRunner::started, this, &ConversionViewModel::conversionStarted);
  connect(m_batch.get(), &BatchRunner::finished, this, &ConversionViewModel::conversionEnded);
  connect(m_batch.get(), &BatchRunner::done, this, &ConversionViewModel::finishBatch);
  connect(m_batch.get(), &BatchRunner::notice, this, &ConversionViewModel::batchNotice);
  m_report.clear();
  m_outputFolders.insert(m_batch->settings().folder);
  std::vector<BatchEntry> entries;
  for (const ImageItem& item : m_items) {
    if (item.status().kind == ConversionStatus::Kind::Waiting) entries.push_back(entryFor(item));
  }
  m_batchClock.start();
  setProgress({0, static_cast<int>(entries.size()), 0});
  m_batch->append(std::move(entries));
  m_batch->start();
}

void ConversionViewModel::convertAgain() {
  if (m_batch) return;
  for (std::size_t row = 0; row < m_items.size(); ++row) {
    const auto kind = m_items[row].status().kind;
    if (kind != ConversionStatus::Kind::Completed && kind != ConversionStatus::Kind::Skipped &&
        kind != ConversionStatus::Kind::KeptOriginal) {
      continue;
    }
    updateItem(row, [](ImageItem& item) -> bool {
      return anyOf(item.setStatus(ConversionStatus::waiting()), item.setOutputURL(std::nullopt),
                   item.setCompressedSize(std::nullopt));
    });
  }
  startConversion();
}

void ConversionViewModel::convertAgainAtHigherQuality(const QUuid& id) {
  if (m_batch) return;
  const auto row = rowOf(id);
  if (!row) return;
  const int quality = m_settings.quality;
  updateItem(*row, [quality](ImageItem& item) -> bool {
    const int boost = std::min(item.qualityBoost() + kHigherQualityStep, 100 - quality);
    return anyOf(item.setQualityBoost(std::max(0, boost)),
                 item.setStatus(ConversionStatus::waiting()), item.setOutputURL(std::nullopt),
                 item.setCompressedSize(std::nullopt), item.setScore(std::nullopt),
                 item.setErrorMessage(std::nullopt), item.setNote({}));
  });
  startConversion();
}

ConversionViewModel::Progress ConversionViewModel::batchProgress() const {
  Progress progress = m_progress;
  if (m_batch) progress.elapsedMs = m_batchClock.elapsed();
  return progress;
}

void ConversionViewModel::setProgress(Progress progress) {
  if (progress.done == m_progress.done && progress.total == m_progress.total) return;
  m_progress = progress;
  m_desktop.setTaskbarProgress(
      m_batch && progress.total > 0
          ? std::optional<double>(static_cast<double>(progress.done) / progress.total)
          : std::nullopt);
  emit batchProgressChanged();
}

void ConversionViewModel::cancelConversion() {
  if (!m_isConverting || !m_batch) return;
  setIsCancelling(true);
  m_desktop.announce(tr("Cancelling conversion"));
  m_batch->cancel();
}

void ConversionViewModel::conversionStarted(const QUuid& id) {
  const auto row = rowOf(id);
  if (!row) return;
  // Auto's rows learn their format when it is chosen.
  const EncodeSettings& encode = m_batch->settings().encode;
  const bool isAuto = encode.autoFormat;
  // Same as Original: what the name says, until the conversion tells.
  const std::optional<OutputFormat> format =
      isAuto ? std::nullopt
             : std::optional(encode.sameFormat ? sameFormatFor(m_items[*row].inputFormat())
                                               : encode.format);
  updateItem(*row, [format, isAuto](ImageItem& item) -> bool {
    return anyOf(item.setStatus(ConversionStatus::processing()), item.setBatchFormat(format),
                 item.setBatchAuto(isAuto));
  });
}

void ConversionViewModel::conversionEnded(const QUuid& id, const ConversionOutcome& outcome) {
  setProgress({m_progress.done + 1, m_progress.total, m_progress.elapsedMs});
  // An item removed from the list while it converted is left alone.
  const auto row = rowOf(id);
  if (!row) return;
  m_report.push_back(reportRowFor(m_items[*row].url(), m_items[*row].originalSize(), outcome,
                                  m_batch->settings()));
  updateItem(*row, [&outcome](ImageItem& item) -> bool {
    const bool timed = anyOf(item.setDurationMs(outcome.durationMs), item.setScore(outcome.score),
                             outcome.chosenFormat && item.setBatchFormat(outcome.chosenFormat));
    switch (outcome.kind) {
      case ConversionOutcome::Kind::Completed:
        return anyOf(timed, item.setOutputURL(outcome.output), item.setCompressedSize(outcome.size),
                     item.setNote(outcome.message), item.setStatus(ConversionStatus::completed()));
      case ConversionOutcome::Kind::Skipped:
        return anyOf(timed, item.setOutputURL(std::nullopt), item.setCompressedSize(std::nullopt),
                     item.setStatus(ConversionStatus::skipped(outcome.message)));
      case ConversionOutcome::Kind::KeptOriginal:
        return anyOf(timed, item.setOutputURL(outcome.output), item.setCompressedSize(outcome.size),
                     item.setNote({}),
                     item.setStatus(ConversionStatus::keptOriginal(outcome.message)));
      case ConversionOutcome::Kind::AlreadyConverted:
        // The earlier output, to open; its size is not this batch's saving.
        return anyOf(timed, item.setOutputURL(outcome.output), item.setCompressedSize(std::nullopt),
                     item.setStatus(ConversionStatus::skipped(tr("Already converted"))));
      case ConversionOutcome::Kind::Cancelled:
        return item.setStatus(ConversionStatus::cancelled());
      case ConversionOutcome::Kind::Failed:
        return anyOf(item.setStatus(ConversionStatus::error(outcome.message, outcome.detail)),
                     item.setErrorMessage(outcome.message));
    }
    return false;
  });
}

void ConversionViewModel::finishBatch(bool cancelled) {
  // Items listed after the batch took its last one wait for the next.
  if (cancelled) {
    for (std::size_t row = 0; row < m_items.size(); ++row) {
      if (m_items[row].status().kind == ConversionStatus::Kind::Waiting) {
        updateItem(row,
                   [](ImageItem& item) { return item.setStatus(ConversionStatus::cancelled()); });
      }
    }
  }
  // Kept until the next batch (this is its own signal).
  m_finishedBatch = std::move(m_batch);
  setProgress({});
  m_desktop.setTaskbarProgress(std::nullopt);
  setIsConverting(false);
  if (!cancelled && !m_desktop.isApplicationActive()) {
    m_desktop.playCompletionSound();
    m_desktop.requestAttention();
    // The batch ended behind the user's back: say how it went.
    QString body = tr("Images converted: %1").arg(m_totals.completed);
    if (m_totals.failed > 0) body += QStringLiteral(" · ") + tr("%1 failed").arg(m_totals.failed);
    m_desktop.notify(tr("Conversion finished"), body);
  }
  setIsCancelling(false);
  emit conversionFinished(cancelled);
}

// --- Settings ---------------------------------------------------------------

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
  changeSetting(&ConversionSettings::options, checked);
  if (m_persistence) m_persistence->saveOptions(checked);
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

}  // namespace quorvane::core
