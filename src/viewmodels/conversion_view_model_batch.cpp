// The batch side of ConversionViewModel: starting, cancelling and following
// a BatchRunner, and what each outcome does to its row.
#include <sched.h>

#include <QThread>
#include <algorithm>

#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/lossless_error.h"
#include "services/memory_budget.h"
#include "viewmodels/conversion_view_model.h"

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

void ConversionViewModel::startOrConvertAllAgain() {
  if (allFinished()) {
    convertAllAgain();
  } else {
    startConversion();
  }
}

void ConversionViewModel::startConversion() {
  if (!canStartConversion() || m_batch || startRefusal() ||
      refusedForItsFolder({StartRequest::Kind::Pending})) {
    return;
  }
  runBatch();
}

void ConversionViewModel::convertAllAgain() {
  if (!canStartConversion() || m_batch || startRefusal() ||
      refusedForItsFolder({StartRequest::Kind::AllAgain})) {
    return;
  }
  // With the settings of now: no result of an earlier run stays in a row,
  // nor the quality one image was once given on top or chosen for it.
  for (std::size_t row = 0; row < m_items.size(); ++row) {
    updateItem(row, [](ImageItem& item) {
      return anyOf(item.resetResult(), item.setQualityBoost(0),
                   item.setChosenQuality(std::nullopt));
    });
  }
  runBatch();
}

void ConversionViewModel::convertAgainAtHigherQuality(const QUuid& id) {
  const auto row = rowOf(id);
  if (!row || !canStartConversion() || m_batch ||
      refusedForItsFolder({StartRequest::Kind::HigherQuality, id})) {
    return;
  }
  const int quality = m_settings.quality;
  updateItem(*row, [quality](ImageItem& item) -> bool {
    // A quality chosen for this image is raised itself.
    if (const auto chosen = item.chosenQuality()) {
      return anyOf(item.resetResult(),
                   item.setChosenQuality(std::min(*chosen + kHigherQualityStep, 100)));
    }
    const int boost = std::min(item.qualityBoost() + kHigherQualityStep, 100 - quality);
    return anyOf(item.resetResult(), item.setQualityBoost(std::max(0, boost)));
  });
  runBatch();
}

void ConversionViewModel::convertAtQuality(const QUuid& id, int quality) {
  const auto row = rowOf(id);
  quality = std::clamp(quality, 0, 100);
  if (!row || !canStartConversion() || m_batch || startRefusal() ||
      refusedForItsFolder({StartRequest::Kind::ChosenQuality, id, quality})) {
    return;
  }
  updateItem(*row, [quality](ImageItem& item) -> bool {
    return anyOf(item.resetResult(), item.setChosenQuality(quality));
  });
  runBatch();
}

std::optional<ConversionViewModel::FolderProblem> ConversionViewModel::outputFolderProblem() const {
  const fs::path folder = outputFolder();
  if (folder.empty()) return std::nullopt;
  // A chosen folder is used as it is; "compressed" is made when missing.
  if (const auto error = FileService::outputFolderError(folder, !m_settings.outputDirectory)) {
    return FolderProblem{folder, systemErrorText(error)};
  }
  return std::nullopt;
}

std::optional<QString> ConversionViewModel::unwritableReason(const fs::path& folder) {
  if (const auto error = FileService::outputFolderError(folder, false)) {
    return systemErrorText(error);
  }
  return std::nullopt;
}

bool ConversionViewModel::refusedForItsFolder(StartRequest request) {
  const auto problem = outputFolderProblem();
  if (!problem) {
    m_refusedStart.reset();
    return false;
  }
  m_refusedStart = request;
  emit outputFolderRefused(FileService::displayPath(problem->folder), problem->reason);
  return true;
}

void ConversionViewModel::retryRefusedStart() {
  if (!m_refusedStart) return;
  const StartRequest request = *m_refusedStart;
  m_refusedStart.reset();
  switch (request.kind) {
    case StartRequest::Kind::Pending:
      return startConversion();
    case StartRequest::Kind::AllAgain:
      return convertAllAgain();
    case StartRequest::Kind::HigherQuality:
      return convertAgainAtHigherQuality(request.id);
    case StartRequest::Kind::ChosenQuality:
      return convertAtQuality(request.id, request.quality);
  }
}

BatchSettings ConversionViewModel::batchSettings() const {
  return {.encode = encodeSettingsOf(m_settings),
          .naming = m_settings.namingMode,
          .namePrefix = m_settings.namePrefix,
          .nameStartNumber = m_settings.nameStartNumber,
          .folder = outputFolder()};
}

bool ConversionViewModel::joinBatch(ImageItem& item) const {
  // From now on the row shows what this batch does with it, whatever the
  // settings become (for Auto, the format it chooses, once chosen).
  const EncodeSettings& encode = m_batch->settings().encode;
  const bool isAuto = encode.autoFormat;
  const std::optional<OutputFormat> format =
      isAuto ? std::nullopt
             : std::optional(encode.sameFormat ? sameFormatFor(item.inputFormat()) : encode.format);
  return anyOf(item.setBatchFormat(format), item.setBatchAuto(isAuto));
}

std::optional<QString> ConversionViewModel::startRefusal() const {
  const EncodeSettings settings = encodeSettingsOf(m_settings);
  if (auto unavailable = losslessUnavailable(settings)) return unavailable;
  return m_converter.startRefusal(settings);
}

void ConversionViewModel::runBatch() {
  Q_ASSERT(QThread::currentThread() == thread());
  // The last batch may be the one whose end called us.
  if (m_finishedBatch) m_finishedBatch.release()->deleteLater();
  setIsCancelling(false);
  // Failed images get another attempt, from scratch; finished ones are left
  // as they are.
  for (std::size_t row = 0; row < m_items.size(); ++row) {
    if (m_items[row].status().isError()) {
      updateItem(row, [](ImageItem& item) { return item.resetResult(); });
    }
  }
  const BatchRunner::Limits limits{m_parallelLimitOverride.value_or(availableCpuCount()),
                                   m_memoryBudgetOverride.value_or(defaultMemoryBudget())};
  m_batch = std::make_unique<BatchRunner>(m_converter, batchSettings(), limits);
  connect(m_batch.get(), &BatchRunner::started, this, &ConversionViewModel::conversionStarted);
  connect(m_batch.get(), &BatchRunner::finished, this, &ConversionViewModel::conversionEnded);
  connect(m_batch.get(), &BatchRunner::done, this, &ConversionViewModel::finishBatch);
  connect(m_batch.get(), &BatchRunner::notice, this, &ConversionViewModel::batchNotice);
  m_report.clear();
  m_outputFolders.insert(m_batch->settings().folder);
  std::vector<BatchEntry> entries;
  const auto known = m_paceByKind.find(paceKind());
  m_pace = BatchPace(known != m_paceByKind.end() ? known->second : builtInPace(paceKind()),
                     limits.parallel);
  for (std::size_t row = 0; row < m_items.size(); ++row) {
    if (m_items[row].status().kind != ConversionStatus::Kind::Waiting) continue;
    updateItem(row, [this](ImageItem& item) { return joinBatch(item); });
    entries.push_back(entryFor(m_items[row]));
    paceJoins(entries.back());
  }
  setIsConverting(true);
  m_batchClock.start();
  setProgress({0, static_cast<int>(entries.size()), 0});
  m_batch->append(std::move(entries));
  m_batch->start();
}

ConversionViewModel::Progress ConversionViewModel::batchProgress() const {
  Progress progress = m_progress;
  if (m_batch) {
    progress.elapsedMs = m_batchClock.elapsed();
    progress.msLeft = m_pace.msLeft(progress.elapsedMs);
  }
  return progress;
}

void ConversionViewModel::paceJoins(const BatchEntry& entry) {
  m_pace.add(entry.id, megapixelsOf(entry.pixelWidth, entry.pixelHeight));
}

std::string ConversionViewModel::paceKind() const {
  const EncodeSettings encode = encodeSettingsOf(m_settings);
  if (encode.autoFormat) return "auto";
  if (encode.sameFormat) return "same";
  return rawValue(encode.format).toStdString();
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
  m_pace.started(id, m_batchClock.elapsed());
  const auto row = rowOf(id);
  if (!row) return;
  updateItem(*row, [](ImageItem& item) { return item.setStatus(ConversionStatus::processing()); });
}

void ConversionViewModel::conversionEnded(const QUuid& id, const ConversionOutcome& outcome) {
  // What was cancelled tells nothing of what the rest will cost, and is not
  // done: while the batch stops the bar stays where it was (not at "18 of
  // 19" for a moment); one removed from the list leaves the count.
  if (outcome.kind == ConversionOutcome::Kind::Cancelled) {
    m_pace.remove(id);
    if (!m_isCancelling) setProgress({m_progress.done, m_progress.total - 1, m_progress.elapsedMs});
  } else {
    m_pace.ended(id, m_batchClock.elapsed());
    setProgress({m_progress.done + 1, m_progress.total, m_progress.elapsedMs});
  }
  // An item removed from the list while it converted is left alone.
  const auto row = rowOf(id);
  if (!row) return;
  m_report.push_back(reportRowFor(m_items[*row].url(), m_items[*row].originalSize(), outcome,
                                  m_batch->settings()));
  updateItem(*row, [&outcome](ImageItem& item) -> bool {
    const auto tried = [&] {
      return anyOf(item.setDurationMs(outcome.durationMs),
                   outcome.chosenFormat && item.setBatchFormat(outcome.chosenFormat));
    };
    // Each outcome sets every field a row shows, so nothing of an earlier
    // run is left beside it.
    switch (outcome.kind) {
      case ConversionOutcome::Kind::Completed:
        return anyOf(tried(), item.setOutputURL(outcome.output),
                     item.setCompressedSize(outcome.size), item.setScore(outcome.score),
                     item.setNote(outcome.message), item.setErrorMessage(std::nullopt),
                     item.setStatus(ConversionStatus::completed()));
      case ConversionOutcome::Kind::Skipped:
        // Nothing was written: no size, and no score of a file that is not there.
        return anyOf(tried(), item.setOutputURL(std::nullopt), item.setCompressedSize(std::nullopt),
                     item.setScore(std::nullopt), item.setNote({}),
                     item.setErrorMessage(std::nullopt),
                     item.setStatus(ConversionStatus::skipped(outcome.message)));
      case ConversionOutcome::Kind::KeptOriginal:
        // The original stands in for the output: its copy, to open.
        return anyOf(tried(), item.setOutputURL(outcome.output),
                     item.setCompressedSize(outcome.size), item.setScore(outcome.score),
                     item.setNote({}), item.setErrorMessage(std::nullopt),
                     item.setStatus(ConversionStatus::keptOriginal(outcome.message)));
      case ConversionOutcome::Kind::AlreadyConverted:
        // The earlier output, to open; its size is not this batch's saving.
        return anyOf(tried(), item.setOutputURL(outcome.output),
                     item.setCompressedSize(std::nullopt), item.setScore(std::nullopt),
                     item.setNote({}), item.setErrorMessage(std::nullopt),
                     item.setStatus(ConversionStatus::skipped(tr("Already converted"))));
      case ConversionOutcome::Kind::Cancelled:
        // Not converted after all: the row reads as one never started.
        return item.resetResult();
      case ConversionOutcome::Kind::Failed:
        return anyOf(tried(), item.setOutputURL(std::nullopt), item.setCompressedSize(std::nullopt),
                     item.setScore(std::nullopt), item.setNote({}),
                     item.setErrorMessage(outcome.message),
                     item.setStatus(ConversionStatus::error(outcome.message, outcome.detail)));
    }
    return false;
  });
}

void ConversionViewModel::finishBatch(bool cancelled) {
  // Rows the batch did not reach wait for the next one, with its settings.
  for (std::size_t row = 0; row < m_items.size(); ++row) {
    if (m_items[row].status().kind == ConversionStatus::Kind::Waiting) {
      updateItem(row, [](ImageItem& item) { return item.resetResult(); });
    }
  }
  if (!cancelled) {
    const double measured = m_pace.measuredMsPerMegapixel();
    if (measured > 0) m_paceByKind[paceKind()] = measured;
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

}  // namespace quorvane::core
