// The sizes each output format holds, beyond the pixel limit of every road.
#pragma once

#include "models/output_format.h"
#include "services/image_fitting.h"

namespace quorvane::core {

struct FormatLimits {
  int maxSide = 0;  // 0: no limit of its own
  // A long side of at least `longSideFrom` needs a short side of at least
  // `shortSideFrom` (0: no such rule).
  int longSideFrom = 0;
  int shortSideFrom = 0;
};

FormatLimits limitsOf(OutputFormat format);

// Throws ConversionError::sizeNotSupported naming the limit when `format`
// cannot hold an image of `size`.
void checkFormatHolds(OutputFormat format, PixelSize size);
// The same as a question.
bool formatHolds(OutputFormat format, PixelSize size);

}  // namespace quorvane::core
