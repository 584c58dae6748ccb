// The C entry points: argument checks, the alpha rule, and the scale loop.
#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <vector>

#include "hwy/aligned_allocator.h"
#include "metric/kernels.h"
#include "metric/quorvane_metric.h"
#include "metric/scale_pass.h"
#include "metric/score.h"

namespace quorvane::metric {
namespace {

// Both images' linear planes of one scale, owned.
struct ScalePlanes {
  size_t width = 0;
  size_t height = 0;
  size_t stride = 0;
  hwy::AlignedFreeUniquePtr<float[]> storage;
  ScaleTarget target;

  ScalePlanes(size_t w, size_t h) : width(w), height(h), stride(w) {
    // Every sample is written by the pass before it is read.
    storage = hwy::AllocateAligned<float>(6 * stride * height);
    if (!storage) throw std::bad_alloc();
    for (int image = 0; image < 2; ++image) {
      for (int c = 0; c < 3; ++c) {
        target.planes[image][c] = storage.get() + (image * 3 + c) * stride * height;
      }
    }
    target.stride = stride;
  }
};

enum class Outcome { Done, Stopped };

// Every scale of one comparison. The published rule: a scale is computed
// while the one before it is at least 8 pixels on each side.
Outcome compare(const ScaleSource& finest, const quorvane_metric_options* options, float* map,
                double* score) {
  PassOptions pass;
  pass.threads = options ? std::max<uint32_t>(options->threads, 1) : 1;
  if (options && options->should_stop) {
    pass.stopRequested = [options] { return options->should_stop(options->context) != 0; };
  }
  std::vector<ScaleSums> scales;
  ScaleSource source = finest;
  std::unique_ptr<ScalePlanes> current;
  for (int scale = 0; scale < kScales; ++scale) {
    const bool another = scale + 1 < kScales && source.width >= QUORVANE_METRIC_MIN_SIDE &&
                         source.height >= QUORVANE_METRIC_MIN_SIDE;
    std::unique_ptr<ScalePlanes> next;
    if (another)
      next = std::make_unique<ScalePlanes>((source.width + 1) / 2, (source.height + 1) / 2);
    pass.map = scale == 0 ? map : nullptr;
    const auto sums = runScale(source, next ? &next->target : nullptr, pass);
    if (!sums) return Outcome::Stopped;
    scales.push_back(*sums);
    if (!another) break;
    current = std::move(next);
    source = ScaleSource{};
    source.width = current->width;
    source.height = current->height;
    for (int image = 0; image < 2; ++image) {
      for (int c = 0; c < 3; ++c) source.planes[image][c] = current->target.planes[image][c];
    }
    source.planeStride = current->stride;
  }
  *score = scoreFromScales(scales);
  return Outcome::Done;
}

bool hasTransparency(const uint8_t* rgba, size_t stride, uint32_t width, uint32_t height) {
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = rgba + y * stride;
    unsigned all = 255;  // no early exit: the loop vectorises
    for (uint32_t x = 0; x < width; ++x) all &= row[x * 4 + 3];
    if (all != 255) return true;
  }
  return false;
}

int32_t status(Outcome outcome) {
  return outcome == Outcome::Done ? QUORVANE_METRIC_OK : QUORVANE_METRIC_STOPPED;
}

int32_t checkSides(uint32_t width, uint32_t height) {
  if (width == 0 || height == 0) return QUORVANE_METRIC_INVALID;
  if (width < QUORVANE_METRIC_MIN_SIDE || height < QUORVANE_METRIC_MIN_SIDE) {
    return QUORVANE_METRIC_TOO_SMALL;
  }
  return QUORVANE_METRIC_OK;
}

}  // namespace
}  // namespace quorvane::metric

extern "C" int32_t quorvane_ssimulacra2_rgba(const uint8_t* reference, size_t reference_stride,
                                             const uint8_t* distorted, size_t distorted_stride,
                                             uint32_t width, uint32_t height,
                                             const quorvane_metric_options* options,
                                             double* score) noexcept {
  using namespace quorvane::metric;
  if (!reference || !distorted || !score) return QUORVANE_METRIC_INVALID;
  if (const int32_t sides = checkSides(width, height)) return sides;
  if (reference_stride < size_t{width} * 4 || distorted_stride < size_t{width} * 4) {
    return QUORVANE_METRIC_INVALID;
  }
  ScaleSource source;
  source.width = width;
  source.height = height;
  source.rgba[0] = reference;
  source.rgba[1] = distorted;
  source.rgbaStride[0] = reference_stride;
  source.rgbaStride[1] = distorted_stride;
  float* const map = options ? options->difference_map : nullptr;
  try {
    if (!hasTransparency(reference, reference_stride, width, height) &&
        !hasTransparency(distorted, distorted_stride, width, height)) {
      source.background = kOpaque;
      return status(compare(source, options, map, score));
    }
    double overBlack = 0;
    const Outcome first = compare(source, options, map, &overBlack);
    if (first != Outcome::Done) return status(first);
    source.background = 255;
    std::vector<float> whiteMap(map ? size_t{width} * height : 0);
    double overWhite = 0;
    const Outcome second = compare(source, options, map ? whiteMap.data() : nullptr, &overWhite);
    if (second != Outcome::Done) return status(second);
    if (overWhite < overBlack && map) std::copy(whiteMap.begin(), whiteMap.end(), map);
    *score = std::min(overBlack, overWhite);
    return QUORVANE_METRIC_OK;
  } catch (...) {
    return QUORVANE_METRIC_INVALID;
  }
}

extern "C" int32_t quorvane_ssimulacra2_linear(const float* const reference[3],
                                               const float* const distorted[3], size_t stride,
                                               uint32_t width, uint32_t height,
                                               const quorvane_metric_options* options,
                                               double* score) noexcept {
  using namespace quorvane::metric;
  if (!reference || !distorted || !score) return QUORVANE_METRIC_INVALID;
  for (int c = 0; c < 3; ++c) {
    if (!reference[c] || !distorted[c]) return QUORVANE_METRIC_INVALID;
  }
  if (const int32_t sides = checkSides(width, height)) return sides;
  if (stride < width) return QUORVANE_METRIC_INVALID;
  ScaleSource source;
  source.width = width;
  source.height = height;
  for (int c = 0; c < 3; ++c) {
    source.planes[0][c] = reference[c];
    source.planes[1][c] = distorted[c];
  }
  source.planeStride = stride;
  try {
    return status(compare(source, options, options ? options->difference_map : nullptr, score));
  } catch (...) {
    return QUORVANE_METRIC_INVALID;
  }
}
