#include "colour_difference.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace quorvane::codec::test {

namespace {

double linear(int value) {
  const double v = value / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double labCurve(double t) {
  constexpr double kEpsilon = 216.0 / 24389.0;
  constexpr double kKappa = 24389.0 / 27.0;
  return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16.0) / 116.0;
}

double degrees(double radians) {
  return radians * 180.0 / std::numbers::pi;
}
double radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

}  // namespace

Lab labOfSrgb(int red, int green, int blue) {
  const double r = linear(red), g = linear(green), b = linear(blue);
  const double x = 0.4123908 * r + 0.3575843 * g + 0.1804808 * b;
  const double y = 0.2126390 * r + 0.7151687 * g + 0.0721923 * b;
  const double z = 0.0193308 * r + 0.1191948 * g + 0.9505322 * b;
  const double fx = labCurve(x / 0.95047), fy = labCurve(y), fz = labCurve(z / 1.08883);
  return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

double ciede2000(const Lab& first, const Lab& second) {
  const auto [l1, a1, b1] = first;
  const auto [l2, a2, b2] = second;
  const double cBar = (std::hypot(a1, b1) + std::hypot(a2, b2)) / 2.0;
  const double c7 = std::pow(cBar, 7.0);
  const double g = 0.5 * (1.0 - std::sqrt(c7 / (c7 + std::pow(25.0, 7.0))));
  const double a1p = (1.0 + g) * a1, a2p = (1.0 + g) * a2;
  const double c1p = std::hypot(a1p, b1), c2p = std::hypot(a2p, b2);
  const auto hue = [](double b, double a) {
    if (a == 0 && b == 0) return 0.0;
    const double h = degrees(std::atan2(b, a));
    return h < 0 ? h + 360.0 : h;
  };
  const double h1p = hue(b1, a1p), h2p = hue(b2, a2p);
  const double dLp = l2 - l1;
  const double dCp = c2p - c1p;
  double dhp = 0;
  if (c1p * c2p != 0) {
    dhp = h2p - h1p;
    if (dhp > 180) dhp -= 360;
    if (dhp < -180) dhp += 360;
  }
  const double dHp = 2.0 * std::sqrt(c1p * c2p) * std::sin(radians(dhp / 2.0));
  const double lBarP = (l1 + l2) / 2.0;
  const double cBarP = (c1p + c2p) / 2.0;
  double hBarP = h1p + h2p;
  if (c1p * c2p != 0) {
    if (std::abs(h1p - h2p) <= 180) {
      hBarP /= 2.0;
    } else {
      hBarP = (h1p + h2p < 360) ? (h1p + h2p + 360) / 2.0 : (h1p + h2p - 360) / 2.0;
    }
  }
  const double t = 1 - 0.17 * std::cos(radians(hBarP - 30)) + 0.24 * std::cos(radians(2 * hBarP)) +
                   0.32 * std::cos(radians(3 * hBarP + 6)) -
                   0.20 * std::cos(radians(4 * hBarP - 63));
  const double dTheta = 30 * std::exp(-std::pow((hBarP - 275) / 25, 2));
  const double cBarP7 = std::pow(cBarP, 7.0);
  const double rc = 2 * std::sqrt(cBarP7 / (cBarP7 + std::pow(25.0, 7.0)));
  const double lOff = (lBarP - 50) * (lBarP - 50);
  const double sl = 1 + 0.015 * lOff / std::sqrt(20 + lOff);
  const double sc = 1 + 0.045 * cBarP;
  const double sh = 1 + 0.015 * cBarP * t;
  const double rt = -std::sin(radians(2 * dTheta)) * rc;
  const double l = dLp / sl, c = dCp / sc, h = dHp / sh;
  return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

double meanCiede2000(const RgbaImage& first, const RgbaImage& second) {
  if (first.width() != second.width() || first.height() != second.height() || first.empty()) {
    return std::numeric_limits<double>::infinity();
  }
  double sum = 0;
  const std::size_t pixels = first.byteSize() / 4;
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::uint8_t* p = first.data() + 4 * i;
    const std::uint8_t* q = second.data() + 4 * i;
    sum += ciede2000(labOfSrgb(p[0], p[1], p[2]), labOfSrgb(q[0], q[1], q[2]));
  }
  return sum / static_cast<double>(pixels);
}

}  // namespace quorvane::codec::test
