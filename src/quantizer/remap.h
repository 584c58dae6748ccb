// Maps an Oklab image onto a palette with serpentine Floyd-Steinberg dithering.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quantizer/nearest_color_map.h"
#include "quantizer/oklab.h"
#include "quantizer/quorvane_quantize.h"

namespace quorvane::quant {

inline constexpr float kDiffusionFactor = 0.875f;

// A caller's request to stop long work; asks nothing when `function` is null.
struct StopCheck {
  quorvane_should_stop_fn function = nullptr;
  void* context = nullptr;
  bool operator()() const { return function != nullptr && function(context) != 0; }
};

// For each pixel of the width x height Oklab image (row order), chooses a palette
// entry with error diffusion (even rows left to right, odd rows right to left, the
// diffused error scaled by `diffusion`) and writes that entry's 3 sRGB bytes
// (`srgbPalette`, 3 bytes per entry) to out[(y * width + x) * outStride + 0..2];
// other output bytes are not touched. Working memory (two error rows) is allocated
// before the first write, so a std::bad_alloc leaves `out` unchanged. `stop` is
// asked every 16 rows; false when it stopped the remap part way.
bool remapImage(const Oklab* image, uint32_t width, uint32_t height, const NearestColorMap& map,
                const uint8_t* srgbPalette, float diffusion, uint8_t* out, size_t outStride,
                const StopCheck& stop = {});

}  // namespace quorvane::quant
