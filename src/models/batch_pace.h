// How long a batch still needs. Its pace is what its images took per
// megapixel of input, so one large photo counts for what it costs instead
// of as one image among many, and starts from what the same kind of batch
// cost before. What the images converting now have already taken is
// counted off, and the time left shown moves toward each new estimate over
// seconds: it neither stands still while a large image converts nor jumps
// when one ends.
#pragma once

#include <QHash>
#include <QUuid>
#include <QtGlobal>
#include <optional>
#include <string_view>

namespace quorvane::core {

class BatchPace {
 public:
  // `priorMsPerMegapixel`: what one image is expected to take per megapixel
  // while `parallel` convert at once (0: not known; the estimate waits for
  // the first image to end).
  explicit BatchPace(double priorMsPerMegapixel = 0, int parallel = 1);

  // An image of `megapixels` joins the batch; leaves its queue (or is
  // cancelled); starts and ends at `nowMs` of the batch's clock.
  void add(const QUuid& id, double megapixels);
  void remove(const QUuid& id);
  void started(const QUuid& id, qint64 nowMs);
  void ended(const QUuid& id, qint64 nowMs);

  // Milliseconds left at `nowMs`; nothing while no pace is known. Each call
  // moves the time left shown on: call it as the display refreshes.
  std::optional<qint64> msLeft(qint64 nowMs);

  // What an image took per megapixel in this batch alone (0: none ended),
  // for the next batch of its kind.
  double measuredMsPerMegapixel() const;

 private:
  struct Image {
    double megapixels = 0;
    std::optional<qint64> startedAt;
  };
  double pace(qint64 nowMs) const;

  double m_prior;
  int m_parallel;
  QHash<QUuid, Image> m_left;  // queued or converting
  double m_doneMegapixels = 0;
  double m_doneMs = 0;
  std::optional<double> m_shown;  // the time left last given, and when
  qint64 m_shownAt = 0;
};

// The megapixels of an image of width x height; unknown sizes count as one.
double megapixelsOf(int width, int height);

// What a photo takes per megapixel at the default settings, two at a time
// on two cores, in a kind of batch ("webp", "auto", "same"...) before one of
// its kind has run in this session: a start, soon outweighed.
double builtInPace(std::string_view kind);

}  // namespace quorvane::core
