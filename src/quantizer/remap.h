// Maps an Oklab image onto a palette with serpentine Floyd-Steinberg dithering.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quantizer/nearest_color_map.h"
#include "quantizer/oklab.h"

namespace quorvane::quant {

inline constexpr float kDiffusionFactor = 0.875f;

// For each pixel of the width x height Oklab image (row order), chooses a palette
// entry with error diffusion (even rows left to right, odd rows right to left, the
// diffused error scaled by `diffusion`) and writes that entry's 3 sRGB bytes
// (`srgbPalette`, 3 bytes per entry) to out[(y * width + x) * outStride + 0..2];
// other output bytes are not touched. Working memory (two error rows) is allocated
// before the first write, so a std::bad_alloc leaves `out` unchanged.
void remapImage(const Oklab* image, uint32_t width, uint32_t height, const NearestColorMap& map,
                const uint8_t* srgbPalette, float diffusion, uint8_t* out, size_t outStride);

}  // namespace quorvane::quant
