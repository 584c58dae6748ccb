// Runs one batch: a queue of images converted by a Converter on a pool of
// worker threads, at most so many at once and within a memory budget, with
// one cancellation token for all. It chooses every output's name (original
// names through the batch's reservations, custom names numbered in the order
// images start) and reports each start and end on the thread it lives on.
#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QUuid>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "models/encode_settings.h"
#include "models/naming_mode.h"
#include "services/cancellation_token.h"
#include "services/conversion_ledger.h"
#include "services/conversion_outcome.h"
#include "services/converter.h"
#include "services/output_name_reservations.h"

namespace quorvane::core {

// What a batch runs with, fixed when it starts.
struct BatchSettings {
  EncodeSettings encode{};  // what each image is made into
  NamingMode naming = NamingMode::Original;
  QString namePrefix = QStringLiteral("image");
  QString nameStartNumber = QStringLiteral("01");
  std::filesystem::path folder{};  // where every output goes
};

// One image to convert; its pixel size feeds the memory estimate.
struct BatchEntry {
  QUuid id;
  std::filesystem::path input;
  int pixelWidth = 0;
  int pixelHeight = 0;
  // Where under the output folder its output goes, when folder structure is
  // kept: the input's folder relative to the folder it was found in.
  std::filesystem::path relativeFolder{};
  int qualityBoost = 0;  // added to the batch's quality, up to 100
  // The quality chosen for this image alone, instead of the batch's.
  std::optional<int> quality{};
};

class BatchRunner : public QObject {
  Q_OBJECT

 public:
  struct Limits {
    int parallel = 1;
    qint64 memoryBudget = 0;  // 0: none
  };

  // `converter` must outlive the runner.
  BatchRunner(const Converter& converter, BatchSettings settings, Limits limits,
              QObject* parent = nullptr);
  // Cancels and waits for the conversions still running; reports nothing more.
  ~BatchRunner() override;

  // Adds images at the end of the queue, before or during the run.
  void append(std::vector<BatchEntry> entries);
  // Takes an image out of the queue (true) ; one already converting
  // finishes and is reported as usual (false).
  bool remove(const QUuid& id);
  void removeAll();
  // Starts converting; done() follows, after the ledger is saved, once the queue is empty and
  // nothing runs (at once for an empty queue, on the next turn of the event loop).
  void start();
  // While more images are still being found: an empty queue waits for them
  // instead of ending the batch, until closeIntake() (or cancel()).
  void openIntake();
  void closeIntake();
  // Stops the batch: running conversions are told to stop, every image still
  // queued ends cancelled. Does nothing the second time.
  void cancel();
  bool isCancelled() const { return m_token.isCancelled(); }
  int running() const { return m_running; }
  const BatchSettings& settings() const { return m_settings; }

 signals:
  void started(const QUuid& id);
  void finished(const QUuid& id, const quorvane::core::ConversionOutcome& outcome);
  void done(bool cancelled);
  // Something worth a line that is no image's failure (a ledger that could
  // not be read or written).
  void notice(const QString& text);

 private:
  void schedule();
  // Saves the ledger, then reports the batch done.
  void finish();
  void launch(const BatchEntry& entry, std::optional<std::filesystem::path> customOutput,
              qint64 memory);
  // The folder an entry's output goes to.
  std::filesystem::path folderFor(const BatchEntry& entry) const;
  void conversionEnded(const QUuid& id, const ConversionOutcome& outcome, qint64 memory);

  const Converter& m_converter;
  const BatchSettings m_settings;
  const Limits m_limits;
  CancellationToken m_token;
  std::shared_ptr<OutputNameReservations> m_reservations =
      std::make_shared<OutputNameReservations>();
  std::shared_ptr<ConversionLedger> m_ledger;  // when converted inputs are skipped
  std::deque<BatchEntry> m_queue;
  bool m_started = false;
  bool m_intakeOpen = false;
  bool m_done = false;
  int m_running = 0;
  qint64 m_memoryInUse = 0;
  qint64 m_scheduled = 0;  // the index of the next custom name
  QThreadPool m_pool;
};

}  // namespace quorvane::core
