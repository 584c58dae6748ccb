#include "quantizer/premultiplied.h"

namespace quorvane::quant {

void rgbaToPremultiplied(const uint8_t* rgba, size_t count, Premultiplied* out) {
  float weight[256];  // colourWeight of each alpha byte, once per call
  for (int a = 0; a < 256; ++a) weight[a] = colourWeight(alphaFraction(static_cast<uint8_t>(a)));
  constexpr size_t kBlock = 1024;
  Oklab colours[kBlock];
  for (size_t start = 0; start < count; start += kBlock) {
    const size_t n = count - start < kBlock ? count - start : kBlock;
    srgbToOklab(rgba + start * 4, 4, n, colours);
    for (size_t j = 0; j < n; ++j) {
      const uint8_t alpha = rgba[(start + j) * 4 + 3];
      const Oklab& c = colours[j];
      const float w = weight[alpha];
      out[start + j] = alpha == 0 ? Premultiplied{0.0f, 0.0f, 0.0f, 0.0f}
                                  : Premultiplied{c.l * w, c.a * w, c.b * w,
                                                  alphaFraction(alpha) * kAlphaWeight};
    }
  }
}

void premultipliedToRgba(const Premultiplied& entry, uint8_t rgba[4]) {
  uint8_t rgb[3];
  if (entry.alpha == kAlphaWeight) {
    const Oklab colour{entry.l, entry.a, entry.b};
    oklabToSrgb(&colour, 1, rgb);
    rgba[0] = rgb[0], rgba[1] = rgb[1], rgba[2] = rgb[2], rgba[3] = 255;
    return;
  }
  const float alpha = entry.alpha / kAlphaWeight;
  const float scaled = alpha * 255.0f + 0.5f;
  const int alpha8 = !(scaled >= 1.0f) ? 0 : scaled >= 255.0f ? 255 : static_cast<int>(scaled);
  if (alpha8 == 0) {
    rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
    return;
  }
  const float cw = colourWeight(alpha);
  const Oklab colour{entry.l / cw, entry.a / cw, entry.b / cw};
  oklabToSrgb(&colour, 1, rgb);
  rgba[0] = rgb[0], rgba[1] = rgb[1], rgba[2] = rgb[2];
  rgba[3] = static_cast<uint8_t>(alpha8);
}

}  // namespace quorvane::quant
