// Colour with alpha for the alpha-aware palette: premultiplied Oklab with alpha
// as a fourth axis, and the three kinds of pixel that the palette treats apart.
//
// Oklab: Bjorn Ottosson, "A perceptual color space for image processing" (2020).
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "quantizer/oklab.h"

namespace quorvane::quant {

// (L, a, b) x colourWeight(alpha), then alpha x kAlphaWeight, in single
// precision, alpha being the fraction alpha / 255. Squared Euclidean distance
// in this space is the palette's error measure: a colour difference counts
// less the more transparent the pixels are.
struct alignas(16) Premultiplied {
  float l;
  float a;
  float b;
  float alpha;
};
static_assert(sizeof(Premultiplied) == 16, "lists are read as packed float quadruples");

// Weight of the alpha axis against Oklab lightness.
inline constexpr float kAlphaWeight = 1.0f;

enum class Coverage : uint8_t { Transparent, Translucent, Opaque };

inline Coverage coverageOf(uint8_t alpha) {
  return alpha == 0     ? Coverage::Transparent
         : alpha == 255 ? Coverage::Opaque
                        : Coverage::Translucent;
}

// alpha / 255 rounded once to single precision; 1 exactly for 255.
inline float alphaFraction(uint8_t alpha) {
  return static_cast<float>(alpha / 255.0);
}

// The factor on the colour axes: the cube root of the alpha fraction, rounded
// once to single precision. Over black, a pixel shows as exactly this times
// its Oklab colour (Oklab is the cube root of linear light, up to a linear
// map), so the colour axes measure it as seen there.
inline float colourWeight(float alpha) {
  return static_cast<float>(std::cbrt(static_cast<double>(alpha)));
}

// The squared distance every search of this palette compares, in this order.
inline float distance4(const Premultiplied& x, const Premultiplied& p) {
  const float dl = x.l - p.l;
  const float da = x.a - p.a;
  const float db = x.b - p.b;
  const float dw = x.alpha - p.alpha;
  return ((dl * dl + da * da) + db * db) + dw * dw;
}

// Premultiplied form of each RGBA pixel (alpha-0 pixels give all zeros).
// Thread-safe.
void rgbaToPremultiplied(const uint8_t* rgba, size_t count, Premultiplied* out);

// The 8-bit RGBA form of a palette entry: opaque entries (alpha axis exactly
// kAlphaWeight) keep alpha 255; others have their colour divided by the colour
// weight of their alpha; an alpha that rounds to 0 gives (0, 0, 0, 0).
void premultipliedToRgba(const Premultiplied& entry, uint8_t rgba[4]);

}  // namespace quorvane::quant
