#include "models/batch_pace.h"

#include <algorithm>
#include <cmath>

namespace quorvane::core {

namespace {

// The prior counts as much as this many megapixels already converted: a
// photo or two in, the batch's own pace leads.
constexpr double kPriorMegapixels = 6;
// A new estimate is reached over this long, not at once.
constexpr double kSettleMs = 5000;

}  // namespace

double megapixelsOf(int width, int height) {
  if (width <= 0 || height <= 0) return 1;
  return static_cast<double>(width) * height / 1e6;
}

BatchPace::BatchPace(double priorMsPerMegapixel, int parallel)
    : m_prior(std::max(0.0, priorMsPerMegapixel)), m_parallel(std::max(1, parallel)) {}

void BatchPace::add(const QUuid& id, double megapixels) {
  m_left.insert(id, {.megapixels = megapixels, .startedAt = std::nullopt});
}

void BatchPace::remove(const QUuid& id) {
  m_left.remove(id);
}

void BatchPace::started(const QUuid& id, qint64 nowMs) {
  const auto found = m_left.find(id);
  if (found != m_left.end()) found->startedAt = nowMs;
}

void BatchPace::ended(const QUuid& id, qint64 nowMs) {
  const auto found = m_left.find(id);
  if (found == m_left.end()) return;
  if (found->startedAt) {
    m_doneMegapixels += found->megapixels;
    m_doneMs += static_cast<double>(std::max<qint64>(0, nowMs - *found->startedAt));
  }
  m_left.erase(found);
}

double BatchPace::measuredMsPerMegapixel() const {
  return m_doneMegapixels > 0 ? m_doneMs / m_doneMegapixels : 0;
}

double BatchPace::pace(qint64 nowMs) const {
  double knownMs = m_doneMs;
  double knownMegapixels = m_doneMegapixels;
  if (m_prior > 0) {
    knownMs += m_prior * kPriorMegapixels;
    knownMegapixels += kPriorMegapixels;
  }
  if (knownMegapixels <= 0) return 0;
  // An image still converting will have taken at least what it has had so
  // far: one that runs longer than the pace says slows the pace as it runs,
  // so the time left grows with it instead of standing still and jumping
  // when it ends (where its time then counts the same, as done).
  const double base = knownMs / knownMegapixels;
  for (const Image& image : m_left) {
    if (!image.startedAt) continue;
    const double spent = static_cast<double>(std::max<qint64>(0, nowMs - *image.startedAt));
    knownMs += std::max(spent, image.megapixels * base);
    knownMegapixels += image.megapixels;
  }
  return knownMs / knownMegapixels;
}

std::optional<qint64> BatchPace::msLeft(qint64 nowMs) {
  const double perMegapixel = pace(nowMs);
  if (perMegapixel <= 0) return std::nullopt;
  // The work left, less what the images converting have had already (never
  // below a tenth of theirs: one that overruns is still not done).
  double work = 0;
  double longest = 0;  // no image is shared between lanes
  for (const Image& image : m_left) {
    const double whole = image.megapixels * perMegapixel;
    const double spent =
        image.startedAt ? static_cast<double>(std::max<qint64>(0, nowMs - *image.startedAt)) : 0;
    const double rest = std::max(whole - spent, whole * 0.1);
    work += rest;
    longest = std::max(longest, rest);
  }
  const auto lanes = std::clamp<qsizetype>(m_left.size(), 1, m_parallel);
  const double fresh = std::max(work / static_cast<double>(lanes), longest);
  double shown = fresh;
  if (m_shown && !m_left.isEmpty()) {
    // Down by the time gone since, then part of the way to the fresh value:
    // the further, the more time has passed.
    const double since = static_cast<double>(std::max<qint64>(0, nowMs - m_shownAt));
    const double countdown = std::max(0.0, *m_shown - since);
    shown = countdown + (fresh - countdown) * std::min(1.0, since / kSettleMs);
  }
  m_shown = shown;
  m_shownAt = nowMs;
  return static_cast<qint64>(std::llround(shown));
}

double builtInPace(std::string_view kind) {
  // Four 12 MP photos (50 MP), two at a time on two cores, quality 80, the
  // receipt on: twice the batch's wall time per megapixel, as two share it.
  struct Known {
    std::string_view kind;
    double msPerMegapixel;
  };
  // JPEG XL from the 19 lomiri-wallpapers photos instead (192 MP, 69.1 s).
  static constexpr Known kKnown[] = {{"webp", 344},  {"jpeg", 198}, {"png", 2316}, {"heic", 842},
                                     {"avif", 3530}, {"jxl", 718},  {"same", 132}, {"auto", 3774}};
  for (const Known& known : kKnown) {
    if (known.kind == kind) return known.msPerMegapixel;
  }
  return 0;
}

}  // namespace quorvane::core
