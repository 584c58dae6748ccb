#include "services/auto_format.h"

#include <algorithm>
#include <cmath>

namespace quorvane::core {

double autoTargetScore(int quality) {
  return 40.0 + std::clamp(quality, 0, 100) * 0.5;
}

int autoStartQuality(OutputFormat format, double target) {
  // The quality setting that asks for this target, moved by how far the
  // format's quality scale lies from it: on the sample photos fitted to
  // 1920 px, the lowest quality that reached the default target 80 was
  // AVIF 60-75 (median 70), WebP 85-90 and JPEG 75-80.
  // Assumed to move one for one with the setting elsewhere; a start that is
  // off costs encodes, never a different answer's correctness.
  const long asked = std::lround((target - 40.0) * 2);
  int offset = 0;
  switch (format) {
    case OutputFormat::Avif:
      offset = -10;
      break;
    case OutputFormat::Webp:
      offset = 7;
      break;
    case OutputFormat::Jpeg:
    case OutputFormat::Jxl:  // cjxl's quality follows libjpeg's
      offset = 0;
      break;
    case OutputFormat::Png:
    case OutputFormat::Heic:
      return kAutoStartQuality;
  }
  return std::clamp(static_cast<int>(asked) + offset, kAutoLowestQuality, kAutoHighestQuality);
}

namespace {

// Score points per quality step before two trials tell: near the default
// target on the sample photos, 0.25-0.5 for AVIF, 0.5-0.8 for JPEG and
// 0.6-1.0 for WebP.
constexpr double kTypicalSlope = 0.5;
// The furthest one step goes while the target is on one side only.
constexpr int kAutoLongestStep = 24;

// Score per quality step between two trials; the typical one where they do
// not tell (the same quality, or a score that does not rise with it).
double slopeBetween(const AutoTrial& a, const AutoTrial& b) {
  if (a.quality == b.quality) return kTypicalSlope;
  const double slope = (b.score - a.score) / (b.quality - a.quality);
  return slope > 0.05 ? std::min(slope, 5.0) : kTypicalSlope;
}

// A quality from where a line reaches the target, rounded up or down; the
// caller keeps it within range (a score that is not a number gives -1000).
int wholeQuality(double crossing, bool up) {
  const double bounded = std::fmin(std::fmax(crossing, -1000.0), 1000.0);
  return static_cast<int>(up ? std::ceil(bounded) : std::floor(bounded));
}

}  // namespace

int autoResolution(OutputFormat format) {
  return format == OutputFormat::Avif ? 1 : kAutoResolution;
}

std::optional<int> nextAutoQuality(const std::vector<AutoTrial>& trials, double target, int start,
                                   std::optional<std::int64_t> bestBytes, int resolution) {
  if (trials.empty()) return std::clamp(start, kAutoLowestQuality, kAutoHighestQuality);
  if (static_cast<int>(trials.size()) >= kAutoMaxEncodes) return std::nullopt;
  const AutoTrial& last = trials.back();
  if (bestBytes && last.bytes >= *bestBytes && last.score < target) return std::nullopt;
  // The bracket: the highest quality that missed, the lowest that met; and
  // on each side the trial next to it.
  const AutoTrial* missed = nullptr;
  const AutoTrial* met = nullptr;
  const AutoTrial* beyond = nullptr;  // the second nearest on the only side
  for (const AutoTrial& trial : trials) {
    if (trial.score >= target) {
      if (!met || trial.quality < met->quality) met = &trial;
    } else if (!missed || trial.quality > missed->quality) {
      missed = &trial;
    }
  }
  if (met && missed) {
    const int width = met->quality - missed->quality;
    if (width <= std::max(1, resolution)) return std::nullopt;
    // Where the line between the bracket's ends reaches the target, inside
    // it; in a wide bracket within its middle half, so that a curved score
    // still narrows it fast.
    const double slope = slopeBetween(*missed, *met);
    const int next = wholeQuality(missed->quality + (target - missed->score) / slope, true);
    const int margin = width > 8 ? width / 4 : 1;
    return std::clamp(next, missed->quality + margin, met->quality - margin);
  }
  const AutoTrial& nearest = met ? *met : *missed;
  for (const AutoTrial& trial : trials) {
    if (&trial == &nearest || trial.quality == nearest.quality) continue;
    if (!beyond ||
        std::abs(trial.quality - nearest.quality) < std::abs(beyond->quality - nearest.quality)) {
      beyond = &trial;
    }
  }
  // One side only: the line through the two nearest trials (or the typical
  // slope) says where the target lies; the next trial goes just past it, so
  // that it most likely closes the bracket.
  const double slope = beyond ? slopeBetween(*beyond, nearest) : kTypicalSlope;
  const double crossing = nearest.quality + (target - nearest.score) / slope;
  if (met) {
    if (met->quality <= kAutoLowestQuality) return std::nullopt;
    const int next = wholeQuality(crossing, false);
    return std::clamp(next, std::max(kAutoLowestQuality, met->quality - kAutoLongestStep),
                      met->quality - 1);
  }
  if (missed->quality >= kAutoHighestQuality) return std::nullopt;
  const int next = wholeQuality(crossing, true);
  return std::clamp(next, missed->quality + 1,
                    std::min(kAutoHighestQuality, missed->quality + kAutoLongestStep));
}

}  // namespace quorvane::core
