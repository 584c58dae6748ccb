// "Auto": per image, the smallest of the formats that still looks the same.
// Each candidate format is encoded at the lowest quality whose perceptual
// score against the image reaches a target (found by bisection from a start
// point that depends on the format and the target only, so an image gives
// the same file whatever else the batch holds); the smallest file that
// meets the target wins.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "models/output_format.h"

namespace quorvane::core {

// The score a quality setting asks for in Auto mode: 40 + quality / 2, so
// 100 asks for 90 (no difference even flicking between the two at 100 %),
// the default 80 for 80 ("very close": nobody tells them apart side by side),
// 60 for 70, and each step down allows half a point less. Never below 40.
double autoTargetScore(int quality);

// The quality range searched, and how many encodes one format may take.
inline constexpr int kAutoLowestQuality = 20;
inline constexpr int kAutoHighestQuality = 98;
inline constexpr int kAutoMaxEncodes = 6;
inline constexpr int kAutoStartQuality = 70;
inline constexpr int kAutoFirstStep = 8;

// Where a format's search starts for a target: the quality photos usually
// need to reach it with that format, within kAutoLowestQuality and
// kAutoHighestQuality.
int autoStartQuality(OutputFormat format, double target);

// One encode of a search: its size and score.
struct AutoTrial {
  int quality = 0;
  std::int64_t bytes = 0;
  double score = 0;
};

// The next quality to try for one format, from the trials so far (in the
// order made), or nothing when the search is over: the lowest quality whose
// score reaches `target` is bracketed to within 3, the encodes are used up,
// or the format cannot beat `bestBytes` (a trial already larger than it that
// still misses the target: a higher quality only grows).
std::optional<int> nextAutoQuality(const std::vector<AutoTrial>& trials, double target, int start,
                                   std::optional<std::int64_t> bestBytes);

}  // namespace quorvane::core
