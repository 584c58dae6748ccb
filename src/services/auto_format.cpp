#include "services/auto_format.h"

#include <algorithm>

namespace quorvane::core {

double autoTargetScore(int quality) {
  return 40.0 + std::clamp(quality, 0, 100) * 0.5;
}

int AutoStartPoints::startFor(OutputFormat format) const {
  std::lock_guard lock(m_mutex);
  const auto found = m_last.find(format);
  return found == m_last.end() ? kAutoStartQuality : found->second;
}

void AutoStartPoints::remember(OutputFormat format, int quality) {
  std::lock_guard lock(m_mutex);
  m_last[format] = quality;
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
