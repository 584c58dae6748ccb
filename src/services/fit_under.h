// A size limit: per image, the highest quality whose file is no larger than
// the limit, found by encoding the image at the qualities nextFitQuality
// asks for (each into a private temporary file); the trial that fits best is
// the output, never encoded again.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "models/encode_settings.h"
#include "services/roads/road.h"
#include "services/temporary_files.h"

namespace quorvane::core {

// The lowest quality a search goes down to.
inline constexpr int kFitLowestQuality = 0;

// One encode of a search.
struct FitTrial {
  int quality = 0;
  std::int64_t bytes = 0;
};

// The next quality to try, from the trials so far (in the order made), or
// nothing when the search is over: the first trial is at `start`; then the
// highest quality that fits (at most `highest`) is found to within one, or
// the lowest quality is over the limit. Between two measured qualities the
// next is interpolated on the logarithm of the size, every other step
// halved instead, so a search of 0..100 takes at most about 14 encodes and
// usually 3 to 6. Assumes a higher quality makes a file no smaller; where
// an encoder breaks that, the answer is a quality that fits whose next step
// did not.
std::optional<int> nextFitQuality(const std::vector<FitTrial>& trials, int start, int highest,
                                  std::int64_t limit);

struct FitResult {
  int quality = 0;
  TemporaryFile file;  // the chosen trial, in the private temporary folder
  std::int64_t bytes = 0;
  bool fits = false;  // else the smallest trial: the lowest quality did not fit
  int encodes = 0;    // how many trials the search made
  QString note{};     // what its road had to say
};

// Searches `format`'s qualities from `request.quality` down (and up to
// `highest` when `start` fits). Throws the road's failure; CancellationError
// once cancelled.
FitResult fitUnder(const RoadInput& in, OutputFormat format, const EncodeRequest& request,
                   int start, int highest, std::int64_t limit);

// What the row says of a limit: "WebP at 63 to fit under 200.0 kB" (or
// "WebP at 80 fits under 200.0 kB" when the quality asked for did), and
// "Does not fit under 200.0 kB even at quality 0".
QString fittedNote(OutputFormat format, int quality, std::int64_t limit, bool lowered);
QString notFittedNote(int lowestQuality, std::int64_t limit);
// For an output whose format has no quality to lower (PNG, lossless).
QString notFittedWithoutQualityNote(std::int64_t limit);

// What a batch with a size limit cannot do, said before it starts: lossless
// outputs, and PNG ones (whose quality only sets the palette), are encoded
// as without the limit and an output over it is marked as not fitting.
// Absent without a limit, or when every output can be fitted.
std::optional<QString> sizeLimitCaveat(const EncodeSettings& settings);

}  // namespace quorvane::core
