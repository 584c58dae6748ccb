// How different two images look to a human eye: the Butteraugli distance
// (0: the same; about 1: the smallest difference a careful viewer notices).
#pragma once

#include "codec/codec_result.h"
#include "codec/image_codec.h"

namespace quorvane::codec {

// Largest pixel count compared by default: larger pairs are compared as
// reduced copies of this many pixels at most (866 x 577 for a 3:2 photo),
// as the whole picture shows in a viewer's window. The time grows with the
// pixels (about 0.4 s at this size, single-threaded); differences only
// seen at 100 % zoom weigh less.
inline constexpr std::int64_t kDistancePixels = 500'000;

struct DistanceOptions {
  StopRequested stopRequested;
  std::int64_t maxPixels = kDistancePixels;  // 0: compare at full size
};

// The distance of `candidate` from `reference`, two images of one size.
// Transparent areas are compared as they show over mid grey: colour under
// alpha 0 does not count, a change of transparency does. Runs on the
// calling thread only. Fails with CodecError::Unsupported for images of
// different sizes, OutOfMemory, or Cancelled.
Result<double> perceptualDistance(const RgbaImage& reference, const RgbaImage& candidate,
                                  const DistanceOptions& options = {});

}  // namespace quorvane::codec
