// CIEDE2000 colour differences for tests that compare a rendering with the
// picture it should look like.
#pragma once

#include <array>

#include "codec/image_codec.h"

namespace quorvane::codec::test {

using Lab = std::array<double, 3>;

// CIE L*a*b* (D65) of an 8-bit sRGB colour.
Lab labOfSrgb(int red, int green, int blue);
// CIEDE2000 (kL = kC = kH = 1).
double ciede2000(const Lab& first, const Lab& second);
// The mean CIEDE2000 over all pixels of two images of one size (alpha
// ignored); infinity when the sizes differ.
double meanCiede2000(const RgbaImage& first, const RgbaImage& second);

}  // namespace quorvane::codec::test
