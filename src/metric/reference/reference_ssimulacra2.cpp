#include "metric/reference/reference_ssimulacra2.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "metric/gaussian.h"
#include "metric/kernels.h"
#include "metric/score.h"
#include "metric/xyb_constants.h"

namespace quorvane::metric::reference {

namespace {

struct Image3 {
  size_t width = 0;
  size_t height = 0;
  std::array<std::vector<float>, 3> plane;

  Image3(size_t w, size_t h) : width(w), height(h) {
    for (auto& p : plane) p.assign(w * h, 0.0f);
  }
  float& at(int c, size_t x, size_t y) { return plane[c][y * width + x]; }
  float at(int c, size_t x, size_t y) const { return plane[c][y * width + x]; }
};

Image3 toLinear(const uint8_t* rgba, size_t width, size_t height, uint32_t background) {
  const float* table = compositeToLinearTable();
  Image3 out(width, height);
  for (size_t i = 0; i < width * height; ++i) {
    const uint32_t alpha = rgba[i * 4 + 3];
    for (int c = 0; c < 3; ++c) {
      out.plane[c][i] = table[rgba[i * 4 + c] * alpha + background * (255 - alpha)];
    }
  }
  return out;
}

Image3 toPositiveXyb(const Image3& linear) {
  Image3 out(linear.width, linear.height);
  for (size_t i = 0; i < linear.width * linear.height; ++i) {
    const float r = linear.plane[0][i];
    const float g = linear.plane[1][i];
    const float b = linear.plane[2][i];
    float cone[3];
    for (int row = 0; row < 3; ++row) {
      float mixed = ((kOpsin[row][2] * b + kOpsinBias) + kOpsin[row][1] * g) + kOpsin[row][0] * r;
      mixed = std::max(mixed, 0.0f);
      cone[row] = cubeRoot(mixed) + kNegBiasCubeRoot;
    }
    const float x = 0.5f * (cone[0] - cone[1]);
    const float y = 0.5f * (cone[0] + cone[1]);
    out.plane[0][i] = x * kXScale + kXOffset;
    out.plane[1][i] = y + kYOffset;
    out.plane[2][i] = (cone[2] - y) + kBOffset;
  }
  return out;
}

// The blur along one line of `count` samples `step` apart, zero outside:
// the nine taps of the published recursion's impulse response (the recursion
// itself, run in float, adds round-off noise that lowers high scores by up to
// 3 points; see gaussian.h and the tests).
void blurLine(const float* in, size_t count, size_t step, float* out) {
  static const std::array<float, kBlurReach + 1> taps = blurTaps();
  const auto n = static_cast<std::ptrdiff_t>(count);
  const auto at = [&](std::ptrdiff_t i) { return i < 0 || i >= n ? 0.0f : in[i * step]; };
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    float sum = taps[4] * (at(i - 4) + at(i + 4));
    for (int m = 3; m >= 1; --m) sum = sum + taps[m] * (at(i - m) + at(i + m));
    out[i * step] = sum + taps[0] * at(i);
  }
}

std::vector<float> blur(const std::vector<float>& in, size_t width, size_t height) {
  std::vector<float> horizontal(in.size());
  std::vector<float> out(in.size());
  for (size_t y = 0; y < height; ++y) {
    blurLine(in.data() + y * width, width, 1, horizontal.data() + y * width);
  }
  for (size_t x = 0; x < width; ++x) blurLine(horizontal.data() + x, height, width, out.data() + x);
  return out;
}

double fourth(double v) {
  v *= v;
  return v * v;
}

ScaleSums scaleSums(const Image3& image1, const Image3& image2) {
  const size_t w = image1.width;
  const size_t h = image1.height;
  ScaleSums sums;
  sums.pixels = static_cast<double>(w) * static_cast<double>(h);
  for (int c = 0; c < 3; ++c) {
    std::vector<float> p11(w * h), p22(w * h), p12(w * h);
    for (size_t i = 0; i < w * h; ++i) {
      p11[i] = image1.plane[c][i] * image1.plane[c][i];
      p22[i] = image2.plane[c][i] * image2.plane[c][i];
      p12[i] = image1.plane[c][i] * image2.plane[c][i];
    }
    const auto sigma11 = blur(p11, w, h);
    const auto sigma22 = blur(p22, w, h);
    const auto sigma12 = blur(p12, w, h);
    const auto mu1 = blur(image1.plane[c], w, h);
    const auto mu2 = blur(image2.plane[c], w, h);
    auto& s = sums.channel[c];
    for (size_t i = 0; i < w * h; ++i) {
      const float m11 = mu1[i] * mu1[i];
      const float m22 = mu2[i] * mu2[i];
      const float m12 = mu1[i] * mu2[i];
      const float numM = 1.0f - (mu1[i] - mu2[i]) * (mu1[i] - mu2[i]);
      const float numS = 2 * (sigma12[i] - m12) + kSsimC2;
      const float denS = (sigma11[i] - m11) + (sigma22[i] - m22) + kSsimC2;
      const double d = std::max(1.0 - (numM * numS / denS), 0.0);
      s[0] += d;
      s[1] += fourth(d);
      const double edge = (1.0 + std::abs(image2.plane[c][i] - mu2[i])) /
                              (1.0 + std::abs(image1.plane[c][i] - mu1[i])) -
                          1.0;
      s[2] += std::max(edge, 0.0);
      s[3] += fourth(std::max(edge, 0.0));
      s[4] += std::max(-edge, 0.0);
      s[5] += fourth(std::max(-edge, 0.0));
    }
  }
  return sums;
}

Image3 downsample(const Image3& in) {
  Image3 out((in.width + 1) / 2, (in.height + 1) / 2);
  for (int c = 0; c < 3; ++c) {
    for (size_t oy = 0; oy < out.height; ++oy) {
      for (size_t ox = 0; ox < out.width; ++ox) {
        float sum = 0.0f;
        for (size_t iy = 0; iy < 2; ++iy) {
          for (size_t ix = 0; ix < 2; ++ix) {
            sum +=
                in.at(c, std::min(ox * 2 + ix, in.width - 1), std::min(oy * 2 + iy, in.height - 1));
          }
        }
        out.at(c, ox, oy) = sum * 0.25f;
      }
    }
  }
  return out;
}

}  // namespace

double ssimulacra2Rgba(const uint8_t* reference, const uint8_t* distorted, size_t width,
                       size_t height, uint32_t background) {
  Image3 linear1 = toLinear(reference, width, height, background);
  Image3 linear2 = toLinear(distorted, width, height, background);
  std::vector<ScaleSums> scales;
  for (int scale = 0; scale < kScales; ++scale) {
    if (scale > 0) {
      if (linear1.width < 8 || linear1.height < 8) break;
      linear1 = downsample(linear1);
      linear2 = downsample(linear2);
    }
    scales.push_back(scaleSums(toPositiveXyb(linear1), toPositiveXyb(linear2)));
  }
  return scoreFromScales(scales);
}

}  // namespace quorvane::metric::reference
