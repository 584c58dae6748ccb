// How different two RGBA images look wherever they are shown: the mean Oklab
// difference of the images composited over black and over white (the mean of
// both), in double precision from the sRGB bytes.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace quorvane::test {

inline std::array<double, 3> shownOver(const std::uint8_t* p, double background) {
  double lin[3];
  const double alpha = p[3] / 255.0;
  for (int c = 0; c < 3; ++c) {
    const double v = p[c] / 255.0;
    const double linear = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    lin[c] = linear * alpha + background * (1 - alpha);
  }
  const double l = std::cbrt(0.4122214708 * lin[0] + 0.5363325363 * lin[1] + 0.0514459929 * lin[2]);
  const double m = std::cbrt(0.2119034982 * lin[0] + 0.6806995451 * lin[1] + 0.1073969566 * lin[2]);
  const double s = std::cbrt(0.0883024619 * lin[0] + 0.2817188376 * lin[1] + 0.6299787005 * lin[2]);
  return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
          1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
          0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

// `b(i)` gives the 4 bytes of pixel i of the second image.
template <typename PixelOf>
double compositeError(const std::uint8_t* a, PixelOf b, std::size_t pixels) {
  double sum = 0;
  for (std::size_t i = 0; i < pixels; ++i) {
    for (double background : {0.0, 1.0}) {
      const auto x = shownOver(a + i * 4, background);
      const auto y = shownOver(b(i), background);
      sum += std::sqrt((x[0] - y[0]) * (x[0] - y[0]) + (x[1] - y[1]) * (x[1] - y[1]) +
                       (x[2] - y[2]) * (x[2] - y[2]));
    }
  }
  return sum / (2.0 * static_cast<double>(pixels));
}

}  // namespace quorvane::test
