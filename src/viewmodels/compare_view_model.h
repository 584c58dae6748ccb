// The model behind the compare view: one converted image's original and
// output, decoded off the GUI thread with the conversion's own decoder
// (orientation and colour applied), a reduced picture first and then the
// full one; where the metric sees them differ, as a heat map; and trial
// encodes of the same image at another quality, with the batch's engine,
// into a scratch folder they leave as they found it. A newer quality cancels
// the encode of an older one. Lives on the GUI thread; its signals arrive
// there.
#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>

#include "codec/image_codec.h"
#include "services/cancellation_token.h"
#include "services/converter.h"
#include "viewmodels/compare_subject.h"

namespace quorvane::core {

// A decoded picture and the size it stands for: a reduced decode is shown
// stretched to the full size, so nothing moves when the full one arrives.
struct ComparePicture {
  std::shared_ptr<const codec::RgbaImage> pixels{};
  int width = 0;  // as displayed, in the file's own pixels
  int height = 0;
  bool full = false;  // pixels are width x height

  bool empty() const { return !pixels; }
};

// What the right side shows: the output of the batch, or of a trial encode.
struct CompareOutput {
  ComparePicture picture{};
  int quality = 0;
  qint64 size = 0;
  std::optional<double> score{};
  bool trial = false;  // from a trial encode, not the file in the output folder
};

class CompareViewModel : public QObject {
  Q_OBJECT

 public:
  // Trial encodes go through `converter` (which must outlive this) into
  // `scratchFolder`, by default the process's private temporary folder.
  explicit CompareViewModel(const Converter& converter, std::filesystem::path scratchFolder = {},
                            QObject* parent = nullptr);
  // Cancels everything running and waits for it.
  ~CompareViewModel() override;

  // Shows `subject`: decodes both files, first to fit about
  // previewWidth x previewHeight, then in full. Forgets the last subject.
  void open(CompareSubject subject, int previewWidth, int previewHeight);
  const CompareSubject& subject() const { return m_subject; }

  const ComparePicture& original() const { return m_original; }
  const CompareOutput& output() const { return m_output; }
  // The heat map, the output's size, transparent where the two agree;
  // empty until it is computed: while shown, and for a trial's receipt,
  // which comes with it (a trial's picture is shown before its score).
  const ComparePicture& differenceMap() const { return m_difference; }
  bool differenceMapShown() const { return m_differenceShown; }
  void setDifferenceMapShown(bool shown);

  // Encodes the image again at `quality`, cancelling an encode of another
  // quality still running; outputChanged() tells the result. Nothing is
  // written outside the scratch folder, and what is written there is removed.
  void requestQuality(int quality);
  // The quality asked for last, whether or not it is shown yet.
  int requestedQuality() const { return m_requestedQuality; }
  bool isEncoding() const { return m_encoding; }
  bool isComputingDifference() const { return m_computingDifference; }
  // What failed last (a file that no longer reads, an encode that failed);
  // empty when nothing did.
  const QString& problem() const { return m_problem; }

 signals:
  void originalChanged();
  void outputChanged();
  void differenceMapChanged();
  void isEncodingChanged(bool encoding);
  void isComputingDifferenceChanged(bool computing);
  void problemChanged(const QString& problem);

 private:
  // Posts `apply` to the GUI thread from a worker.
  template <typename Apply>
  void post(Apply&& apply);
  ConversionJob trialJob(int quality) const;
  void decodeOriginal(int previewWidth, int previewHeight);
  void decodeOutput(int previewWidth, int previewHeight);
  void setOutput(CompareOutput output);
  void setEncoding(bool encoding);
  void setComputingDifference(bool computing);
  void setProblem(const QString& problem);
  // Starts computing the map when it is shown and both full pictures are there.
  void computeDifferenceWhenReady();

  const Converter& m_converter;
  std::filesystem::path m_scratchFolder;
  QThreadPool m_pool;
  CompareSubject m_subject;
  ComparePicture m_original;
  CompareOutput m_output;
  // The original opened and decoded for trials, once it is: null when that
  // failed or stopped (a trial then prepares its own and meets the failure).
  std::shared_future<std::shared_ptr<PreparedInput>> m_prepared;
  ComparePicture m_difference;
  bool m_differenceShown = false;
  bool m_encoding = false;
  bool m_computingDifference = false;
  int m_requestedQuality = 0;
  int m_previewWidth = 0;  // what the first pictures are decoded to fit
  int m_previewHeight = 0;
  QString m_problem;
  // Each kind of work has its own token, cancelled when it is outdated, and
  // a serial its results must still carry to count.
  CancellationToken m_openToken;
  CancellationToken m_encodeToken;
  CancellationToken m_differenceToken;
  quint64 m_openSerial = 0;
  quint64 m_outputSerial = 0;
  quint64 m_differenceSerial = 0;
};

}  // namespace quorvane::core
