// Scalar oracle of the quantiser: each step written out literally, one colour at a
// time, with no SIMD. Linked only into tests and benchmarks; the library's kernels
// must match it bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "quantizer/oklab.h"

namespace quorvane::quant::reference {

float cubeRoot(float x);
Oklab srgbToOklab(uint8_t r, uint8_t g, uint8_t b);
uint8_t encodeLinear(float v);
void oklabToSrgb(const Oklab& colour, uint8_t rgb[3]);

// Flat Wu histogram bin (iL * 256 + ia * 16 + ib).
uint32_t wuBinIndex(const Oklab& colour);

// Nearest palette entry by the chunk/lane rule, computed over the plain list.
uint32_t nearestIndex(const std::vector<Oklab>& palette, const Oklab& colour);

// Online k-means over min(count, 262144) drawn pixels; updates `palette` in place.
void refinePalette(std::vector<Oklab>& palette, const Oklab* image, size_t count);

// Dithered remap; returns width x height packed sRGB triples.
std::vector<uint8_t> remapImage(const std::vector<Oklab>& image, uint32_t width, uint32_t height,
                                const std::vector<Oklab>& palette,
                                const std::vector<uint8_t>& srgbPalette, float diffusion);

// The whole call, same contract as quorvane_quantize_rgba.
int32_t quantizeRgba(uint8_t* pixels, uint32_t width, uint32_t height, uint32_t maxColors);

}  // namespace quorvane::quant::reference
