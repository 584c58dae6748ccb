#include "services/batch_runner.h"

#include <QCoreApplication>
#include <algorithm>

#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/memory_budget.h"
#include "services/run_conversion.h"
#include "services/temporary_files.h"

namespace quorvane::core {

namespace fs = std::filesystem;

BatchRunner::BatchRunner(const Converter& converter, BatchSettings settings, Limits limits,
                         QObject* parent)
    : QObject(parent),
      m_converter(converter),
      m_settings(std::move(settings)),
      m_limits{std::max(1, limits.parallel), std::max<qint64>(0, limits.memoryBudget)} {
  qRegisterMetaType<ConversionOutcome>();
  if (m_settings.encode.options.skipConverted) m_ledger = std::make_shared<ConversionLedger>();
  m_pool.setMaxThreadCount(m_limits.parallel);
}

BatchRunner::~BatchRunner() {
  m_token.cancel();
  // Conversions post their results to this object: wait for them before it
  // goes (posted results die with it).
  m_pool.waitForDone();
}

void BatchRunner::append(std::vector<BatchEntry> entries) {
  if (m_done) return;
  m_queue.insert(m_queue.end(), std::make_move_iterator(entries.begin()),
                 std::make_move_iterator(entries.end()));
  if (m_started) schedule();
}

bool BatchRunner::remove(const QUuid& id) {
  return std::erase_if(m_queue, [&](const BatchEntry& entry) { return entry.id == id; }) > 0;
}

void BatchRunner::removeAll() {
  m_queue.clear();
}

void BatchRunner::start() {
  if (m_started) return;
  m_started = true;
  // What killed runs left in the temporary folder goes first, on a worker
  // (that folder may hold many files); then the queue, on this thread, and
  // never from inside start(): whoever started the batch sees it start
  // before the first report.
  m_pool.start([this] {
    removeAbandonedTemporaryFolders();
    QMetaObject::invokeMethod(this, &BatchRunner::schedule, Qt::QueuedConnection);
  });
}

void BatchRunner::openIntake() {
  m_intakeOpen = true;
}

void BatchRunner::closeIntake() {
  if (!m_intakeOpen) return;
  m_intakeOpen = false;
  if (m_started) QMetaObject::invokeMethod(this, &BatchRunner::schedule, Qt::QueuedConnection);
}

void BatchRunner::cancel() {
  if (m_token.isCancelled()) return;
  m_token.cancel();
  std::deque<BatchEntry> waiting;
  waiting.swap(m_queue);
  for (const BatchEntry& entry : waiting) {
    emit finished(entry.id, ConversionOutcome{.kind = ConversionOutcome::Kind::Cancelled});
  }
  if (m_started) QMetaObject::invokeMethod(this, &BatchRunner::schedule, Qt::QueuedConnection);
}

void BatchRunner::schedule() {
  if (m_done) return;
  while (!m_queue.empty() && !m_token.isCancelled()) {
    // Resumed when a conversion frees its slot, or its memory: a large image
    // waits until it fits beside the others, or runs alone.
    if (m_running >= m_limits.parallel) return;
    const BatchEntry& next = m_queue.front();
    const qint64 memory = estimatedConversionBytes(
        m_settings.encode.autoFormat ? OutputFormat::Avif : m_settings.encode.format,
        next.pixelWidth, next.pixelHeight, m_settings.encode.options.checkQuality);
    if (m_running > 0 && m_limits.memoryBudget > 0 &&
        m_memoryInUse + memory > m_limits.memoryBudget) {
      return;
    }
    const BatchEntry entry = next;
    m_queue.pop_front();
    std::optional<fs::path> customOutput;
    if (m_settings.naming == NamingMode::Custom) {
      try {
        const auto reservations = m_reservations;
        customOutput = FileService::sequentialOutputURL(
            folderFor(entry), m_settings.namePrefix, m_scheduled, m_settings.nameStartNumber,
            fileExtension(m_settings.encode.format),
            [&](const fs::path& p) { return reservations->isReserved(p); });
      } catch (const ConversionFailure& failure) {
        // The folder cannot be looked into: this image fails, the rest try.
        emit finished(entry.id, ConversionOutcome{.kind = ConversionOutcome::Kind::Failed,
                                                  .message = failure.description()});
        continue;
      }
      m_reservations->reserve(*customOutput);
    }
    ++m_scheduled;
    ++m_running;
    m_memoryInUse += memory;
    emit started(entry.id);
    launch(entry, std::move(customOutput), memory);
  }
  if (m_running == 0 && (!m_intakeOpen || m_token.isCancelled())) {
    m_done = true;
    finish();
  }
}

void BatchRunner::finish() {
  if (!m_ledger) {
    emit done(m_token.isCancelled());
    return;
  }
  // Saving reads and writes a file of any length and may wait for another
  // process saving into the same folder: not on this thread.
  m_pool.start([this, ledger = m_ledger] {
    const QStringList warnings = ledger->save();
    QMetaObject::invokeMethod(
        this,
        [this, warnings] {
          for (const QString& warning : warnings) emit notice(warning);
          emit done(m_token.isCancelled());
        },
        Qt::QueuedConnection);
  });
}

void BatchRunner::launch(const BatchEntry& entry, std::optional<fs::path> customOutput,
                         qint64 memory) {
  ConversionJob job{entry.input, folderFor(entry), std::move(customOutput), m_settings.encode};
  job.settings.quality =
      std::clamp(entry.quality.value_or(m_settings.encode.quality + entry.qualityBoost), 0, 100);
  m_pool.start([this, job = std::move(job), id = entry.id, memory, token = m_token,
                reservations = m_reservations, ledger = m_ledger] {
    const ConversionOutcome outcome =
        runConversion(m_converter, job, token, {reservations.get(), ledger.get()});
    QMetaObject::invokeMethod(
        this, [this, id, outcome, memory] { conversionEnded(id, outcome, memory); },
        Qt::QueuedConnection);
  });
}

fs::path BatchRunner::folderFor(const BatchEntry& entry) const {
  const fs::path& relative = entry.relativeFolder;
  const bool inside = !relative.empty() && relative.is_relative() &&
                      std::none_of(relative.begin(), relative.end(),
                                   [](const fs::path& part) { return part == ".."; });
  if (!m_settings.encode.options.keepFolderStructure || !inside) return m_settings.folder;
  return m_settings.folder / entry.relativeFolder;
}

void BatchRunner::conversionEnded(const QUuid& id, const ConversionOutcome& outcome,
                                  qint64 memory) {
  --m_running;
  m_memoryInUse -= memory;
  emit finished(id, outcome);
  schedule();
}

}  // namespace quorvane::core
