// sRGB <-> Oklab conversion of whole lists, bit-exact on every SIMD target.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvane::quant {

// An Oklab colour in single precision. For in-gamut colours L is in [0, 1],
// a in about [-0.234, 0.277] and b in about [-0.312, 0.199].
struct Oklab {
  float l;
  float a;
  float b;
};
static_assert(sizeof(Oklab) == 12, "Oklab lists are read as packed float triples");

// Converts `count` sRGB colours to Oklab. Colour i has its R, G, B bytes at
// pixels[i * stride + 0..2] (stride 3 for packed RGB, 4 for RGBA; other bytes are
// not read). `out` receives `count` colours. Thread-safe.
void srgbToOklab(const uint8_t* pixels, size_t stride, size_t count, Oklab* out);

// Converts `count` Oklab colours to packed 3-byte sRGB in `rgb` (3 x count bytes).
// Out-of-gamut components clamp to 0 or 255; NaN encodes as 0. Thread-safe.
void oklabToSrgb(const Oklab* colours, size_t count, uint8_t* rgb);

}  // namespace quorvane::quant
