// How alike two images look to a person: the SSIMULACRA 2 score (100: the
// same; about 85 and up nobody tells them apart flicking between the two at
// 100 %; see models/quality_verdict.h for the words).
#pragma once

#include <vector>

#include "codec/codec_result.h"
#include "codec/image_codec.h"

namespace quorvane::codec {

struct ScoreOptions {
  StopRequested stopRequested;
  unsigned threads = 1;  // the calling thread only
  // When given: where the two differ, one float per pixel, rows packed
  // (0: alike; larger: more visible).
  std::vector<float>* differenceMap = nullptr;
};

// The score of `candidate` against `reference`, two images of one size, at
// full resolution. Where either has transparency both are judged over black
// and over white and the worse counts; pixels equal in what shows score 100.
// Fails with CodecError::Unsupported for images of different sizes or with a
// side under 8 pixels, OutOfMemory, or Cancelled.
Result<double> perceptualScore(const RgbaImage& reference, const RgbaImage& candidate,
                               const ScoreOptions& options = {});

}  // namespace quorvane::codec
