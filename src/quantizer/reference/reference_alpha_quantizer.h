// Scalar oracle of the alpha-aware palette: each step written out literally,
// one pixel and one palette entry at a time. Linked only into tests and
// benchmarks; quorvane_quantize_rgba_alpha must match it bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "quantizer/premultiplied.h"

namespace quorvane::quant::reference {

Premultiplied premultiplied(const uint8_t rgba[4]);

// Index of the entry nearest to x among those whose kind is allowed: smallest
// distance4, then lowest index.
uint32_t nearestAlphaIndex(const std::vector<Premultiplied>& palette,
                           const std::vector<Coverage>& kinds, const bool allowed[3],
                           const Premultiplied& x);

void premultipliedToRgba(const Premultiplied& entry, uint8_t rgba[4]);

// The whole call, same contract as quorvane_quantize_rgba_alpha (no stopping).
int32_t quantizeRgbaAlpha(const uint8_t* pixels, uint32_t width, uint32_t height,
                          uint32_t maxColors, uint8_t* indices, uint8_t* palette,
                          uint32_t* paletteSize);

}  // namespace quorvane::quant::reference
