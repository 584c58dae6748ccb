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

std::optional<int> nextAutoQuality(const std::vector<AutoTrial>& trials, double target, int start,
                                   std::optional<std::int64_t> bestBytes) {
  if (trials.empty()) return std::clamp(start, kAutoLowestQuality, kAutoHighestQuality);
  if (static_cast<int>(trials.size()) >= kAutoMaxEncodes) return std::nullopt;
  const AutoTrial& last = trials.back();
  if (bestBytes && last.bytes >= *bestBytes && last.score < target) return std::nullopt;
  // The bracket: the highest quality that missed, the lowest that met.
  int missed = kAutoLowestQuality - 1;
  int met = kAutoHighestQuality + 1;
  for (const AutoTrial& trial : trials) {
    if (trial.score >= target) {
      met = std::min(met, trial.quality);
    } else {
      missed = std::max(missed, trial.quality);
    }
  }
  if (met - missed <= 3) return std::nullopt;
  // The start is usually close (the quality the last image needed): the
  // first step is small, later ones halve what is left of the range.
  const auto step = [&trials](int range) {
    return trials.size() == 1 ? kAutoFirstStep : std::max(kAutoFirstStep, range / 2);
  };
  int next = 0;
  if (met > kAutoHighestQuality) {
    // Nothing met yet: step up.
    if (missed >= kAutoHighestQuality) return std::nullopt;
    next = std::min(kAutoHighestQuality, missed + step(kAutoHighestQuality - missed));
  } else if (missed < kAutoLowestQuality) {
    // Everything met: step down.
    if (met <= kAutoLowestQuality) return std::nullopt;
    next = std::max(kAutoLowestQuality, met - step(met - kAutoLowestQuality));
  } else {
    next = (missed + met) / 2;
  }
  return next;
}

}  // namespace quorvane::core
