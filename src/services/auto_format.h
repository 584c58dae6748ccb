// "Auto": per image, the smallest of the formats that still looks the same.
// Each candidate format is encoded at the lowest quality whose perceptual
// score against the image reaches a target (found by a search from a start
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
// A search ends once the lowest quality that meets the target and the
// highest that misses it are at most this far apart (see autoResolution).
inline constexpr int kAutoResolution = 3;

// Where a format's search starts for a target: the quality photos usually
// need to reach it with that format, within kAutoLowestQuality and
// kAutoHighestQuality.
int autoStartQuality(OutputFormat format, double target);

// How close a format's search brackets its answer: AVIF to the quality
// step (1), as its qualities are coarse (64 quantizers over 101 qualities:
// one quantizer more is 5-10 % of the file), the others kAutoResolution.
int autoResolution(OutputFormat format);

// One encode of a search: its size and score.
struct AutoTrial {
  int quality = 0;
  std::int64_t bytes = 0;
  double score = 0;
};

// The next quality to try for one format, from the trials so far (in the
// order made), or nothing when the search is over: the lowest quality whose
// score reaches `target` is bracketed to within `resolution`, the
// encodes are used up, or the format cannot beat `bestBytes` (a trial
// already larger than it that still misses the target: a higher quality
// only grows). Each next quality is where the scores so far say the target
// is reached (the secant through the nearest trials), so a smooth score
// usually takes three or four encodes.
std::optional<int> nextAutoQuality(const std::vector<AutoTrial>& trials, double target, int start,
                                   std::optional<std::int64_t> bestBytes,
                                   int resolution = kAutoResolution);

}  // namespace quorvane::core
