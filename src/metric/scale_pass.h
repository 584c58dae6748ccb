// One scale of the metric over both images: XYB, the five blurred quantities
// of each channel, the error sums, and the next scale's images, streamed in
// tiles of rows and columns so that no full-size intermediate exists. Tiles
// are fixed by the image size alone and their sums are added in tile order,
// so the result does not depend on the number of threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "metric/score.h"

namespace quorvane::metric {

// Where one scale's pixels come from: 8-bit RGBA composited over
// `background` (the finest scale of an RGBA comparison), or linear planes.
struct ScaleSource {
  size_t width = 0;
  size_t height = 0;
  const uint8_t* rgba[2] = {};
  size_t rgbaStride[2] = {};
  uint32_t background = 0;
  const float* planes[2][3] = {};
  size_t planeStride = 0;  // floats per row
};

// The next scale's linear planes (half size, rounded up), written by the pass.
struct ScaleTarget {
  float* planes[2][3] = {};
  size_t stride = 0;  // floats per row
};

struct PassOptions {
  unsigned threads = 1;
  float* map = nullptr;  // width * height floats, or null
  std::function<bool()> stopRequested;
};

// The sums of one scale, or nothing once stopped. Throws std::bad_alloc
// and std::system_error (no thread).
std::optional<ScaleSums> runScale(const ScaleSource& source, const ScaleTarget* next,
                                  const PassOptions& options);

}  // namespace quorvane::metric
