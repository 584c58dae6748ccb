// A literal scalar implementation of the metric, the oracle of the tests and
// benchmarks: whole images in memory, one step after the other as published
// (XYB, blur horizontally then vertically, error maps with sums in double per
// pixel, downsampling in linear light). The fast path must agree with it to
// within float rounding.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvane::metric::reference {

// Packed 8-bit RGBA rows, composited over `background` (0 or 255). Both sides
// at least 8; no alpha rule here (one background).
double ssimulacra2Rgba(const uint8_t* reference, const uint8_t* distorted, size_t width,
                       size_t height, uint32_t background);

}  // namespace quorvane::metric::reference
