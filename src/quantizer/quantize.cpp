// The C entry point: argument checks, then colour space -> Wu -> k-means ->
// dithered remap, written straight into the caller's buffer.
#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "quantizer/convert_and_count.h"
#include "quantizer/kmeans.h"
#include "quantizer/oklab.h"
#include "quantizer/quorvane_quantize.h"
#include "quantizer/remap.h"
#include "quantizer/wu.h"

namespace quorvane::quant {
namespace {

constexpr size_t kRgbaStride = 4;

// Valid arguments only. Every allocation happens before the first write into
// `pixels` (the Oklab image is read from the RGBA buffer directly, and the remap
// writes its output in place), so a std::bad_alloc leaves the buffer untouched.
// False when `stop` asked to stop.
bool quantizeRgba(uint8_t* pixels, uint32_t width, uint32_t height, uint32_t maxColors,
                  uint32_t threads, const StopCheck& stop) {
  const size_t count = size_t{width} * height;
  // Left uninitialised: the conversion writes every element, and its threads
  // are the first to touch the pages.
  const std::unique_ptr<Oklab[]> image(new Oklab[count]);
  std::vector<Oklab> palette;
  {
    WuHistogram histogram;
    convertAndCount(pixels, kRgbaStride, count, image.get(), histogram, threads);
    if (stop()) return false;
    histogram.makeCumulative();
    palette = histogram.paletteAndCubes(static_cast<uint16_t>(maxColors)).colours;
  }
  if (stop()) return false;

  NearestColorMap map(std::move(palette));
  refinePalette(map, image.get(), count);
  if (stop()) return false;

  std::vector<uint8_t> srgbPalette(map.size() * 3);
  oklabToSrgb(map.palette().data(), map.size(), srgbPalette.data());

  return remapImage(image.get(), width, height, map, srgbPalette.data(), kDiffusionFactor, pixels,
                    kRgbaStride, stop);
}

}  // namespace
}  // namespace quorvane::quant

extern "C" int32_t quorvane_quantize_rgba_threads(uint8_t* pixels, uint32_t width, uint32_t height,
                                                  uint32_t max_colors, uint32_t threads,
                                                  quorvane_should_stop_fn should_stop,
                                                  void* context) noexcept {
  if (pixels == nullptr || width == 0 || height == 0 || max_colors - 1u >= 256u) return -1;
  const uint64_t count = uint64_t{width} * height;
  if (count >= (uint64_t{1} << 32)) return -1;
  const quorvane::quant::StopCheck stop{should_stop, context};
  threads = std::min(threads, std::max(1u, std::thread::hardware_concurrency()));
  try {
    if (!quorvane::quant::quantizeRgba(pixels, width, height, max_colors, threads, stop)) {
      return -2;
    }
  } catch (const std::exception&) {
    // std::bad_alloc (or std::length_error) from working memory; nothing was written.
    return -1;
  }
  return 0;
}

extern "C" int32_t quorvane_quantize_rgba_stoppable(uint8_t* pixels, uint32_t width,
                                                    uint32_t height, uint32_t max_colors,
                                                    quorvane_should_stop_fn should_stop,
                                                    void* context) noexcept {
  return quorvane_quantize_rgba_threads(pixels, width, height, max_colors, 1, should_stop, context);
}

extern "C" int32_t quorvane_quantize_rgba(uint8_t* pixels, uint32_t width, uint32_t height,
                                          uint32_t max_colors) noexcept {
  return quorvane_quantize_rgba_stoppable(pixels, width, height, max_colors, nullptr, nullptr);
}
