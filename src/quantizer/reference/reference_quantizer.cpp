#include "quantizer/reference/reference_quantizer.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "quantizer/colour_tables.h"
#include "quantizer/wu.h"

namespace quorvane::quant::reference {

namespace {

uint32_t bitsOf(float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

float fromBits(uint32_t u) {
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}

}  // namespace

float cubeRoot(float x) {
  if (x == 0.0f) return x;
  const uint32_t bits = bitsOf(x);
  const uint32_t sign = bits & 0x80000000u;
  float t = fromBits(((bits & 0x7FFFFFFFu) / 3u + kCbrtBias) | sign);
  for (int step = 0; step < 2; ++step) {
    const float r = (t * t) * t;
    const float numerator = ((x + x) + r) * t;
    t = numerator / (r + (x + r));
  }
  return t;
}

Oklab srgbToOklab(uint8_t r8, uint8_t g8, uint8_t b8) {
  const float r = kSrgbToLinear[r8];
  const float g = kSrgbToLinear[g8];
  const float b = kSrgbToLinear[b8];
  float cone[3];
  for (int row = 0; row < 3; ++row) {
    const float first = kM1[row][0] * r;
    const float second = kM1[row][1] * g;
    const float third = kM1[row][2] * b;
    cone[row] = (first + second) + third;
  }
  const float l = cubeRoot(cone[0]);
  const float m = cubeRoot(cone[1]);
  const float s = cubeRoot(cone[2]);
  Oklab out;
  out.l = (kM2[0][0] * l + kM2[0][1] * m) - kM2[0][2] * s;
  out.a = (kM2[1][0] * l - kM2[1][1] * m) + kM2[1][2] * s;
  out.b = (kM2[2][0] * l + kM2[2][1] * m) - kM2[2][2] * s;
  return out;
}

uint8_t encodeLinear(float v) {
  const float lo = fromBits(kEncodeMinBits);
  const float hi = fromBits(kEncodeMaxBits);
  if (!(v > lo)) v = lo;
  if (v > hi) v = hi;
  const uint32_t u = bitsOf(v);
  const uint32_t entry = kLinearToSrgbTable[(u - kEncodeMinBits) >> 20];
  const uint32_t bias = (entry >> 16) << 9;
  const uint32_t slope = entry & 0xFFFFu;
  const uint32_t t = (u >> 12) & 0xFFu;
  return static_cast<uint8_t>((bias + slope * t) >> 16);
}

void oklabToSrgb(const Oklab& c, uint8_t rgb[3]) {
  const float l1 = (c.l + kM2Inv[0][0] * c.a) + kM2Inv[0][1] * c.b;
  const float m1 = (c.l - kM2Inv[1][0] * c.a) - kM2Inv[1][1] * c.b;
  const float s1 = (c.l - kM2Inv[2][0] * c.a) - kM2Inv[2][1] * c.b;
  const float l = l1 * (l1 * l1);
  const float m = m1 * (m1 * m1);
  const float s = s1 * (s1 * s1);
  const float r = (kM1Inv[0][0] * l - kM1Inv[0][1] * m) + kM1Inv[0][2] * s;
  const float g = (-(kM1Inv[1][0] * l) + kM1Inv[1][1] * m) - kM1Inv[1][2] * s;
  const float b = (-(kM1Inv[2][0] * l) - kM1Inv[2][1] * m) + kM1Inv[2][2] * s;
  rgb[0] = encodeLinear(r);
  rgb[1] = encodeLinear(g);
  rgb[2] = encodeLinear(b);
}

uint32_t wuBinIndex(const Oklab& c) {
  const float minimum[3] = {0.0f, -0.233887404f, -0.311528146f};
  const float scale[3] = {32.0f, 31.3661633f, 31.3665295f};
  const int bins[3] = {32, 16, 16};
  const float value[3] = {c.l, c.a, c.b};
  int index[3];
  for (int axis = 0; axis < 3; ++axis) {
    const float t = (value[axis] - minimum[axis]) * scale[axis];
    int bin;
    if (std::isnan(t) || t <= 0.0f) {
      bin = 0;
    } else if (t >= static_cast<float>(bins[axis])) {
      bin = bins[axis] - 1;
    } else {
      bin = static_cast<int>(std::trunc(t));
    }
    index[axis] = bin < bins[axis] - 1 ? bin : bins[axis] - 1;
  }
  return static_cast<uint32_t>(index[0] * 256 + index[1] * 16 + index[2]);
}

uint32_t nearestIndex(const std::vector<Oklab>& palette, const Oklab& x) {
  const float inf = std::numeric_limits<float>::infinity();
  const size_t chunks = (palette.size() + 7) / 8;
  float laneBest[8];
  uint32_t laneChunk[8];
  for (int j = 0; j < 8; ++j) {
    laneBest[j] = inf;
    laneChunk[j] = 0;
  }
  for (size_t c = 0; c < chunks; ++c) {
    for (int j = 0; j < 8; ++j) {
      const size_t i = c * 8 + j;
      const Oklab p = i < palette.size() ? palette[i] : Oklab{inf, inf, inf};
      const float dl = x.l - p.l;
      const float da = x.a - p.a;
      const float db = x.b - p.b;
      const float d = (dl * dl + da * da) + db * db;
      if (d <= laneBest[j]) {
        laneChunk[j] = static_cast<uint32_t>(c);
        laneBest[j] = d;
      }
    }
  }
  // Lane 0 is compared against +infinity like every other lane.
  uint32_t lane = 0;
  float best = inf;
  for (uint32_t j = 0; j < 8; ++j) {
    if (laneBest[j] < best) {
      best = laneBest[j];
      lane = j;
    }
  }
  return lane + 8 * laneChunk[lane];
}

void refinePalette(std::vector<Oklab>& palette, const Oklab* image, size_t count) {
  const uint32_t n = static_cast<uint32_t>(count);
  const uint32_t samples = n < 0x40000u ? n : 0x40000u;
  std::vector<uint32_t> counters(palette.size(), 0);
  uint64_t s0 = 0xE220A8397B1DCDAFull;
  uint64_t s1 = 0x6E789E6AA1B965F4ull;
  const auto rotl = [](uint64_t v, int k) { return (v << k) | (v >> (64 - k)); };
  const uint32_t threshold = (0u - n) % n;
  for (uint32_t k = 0; k < samples; ++k) {
    uint64_t m;
    do {
      const uint64_t output = rotl(s0 + s1, 17) + s0;
      const uint64_t u = s1 ^ s0;
      s0 = rotl(s0, 49) ^ u ^ (u << 21);
      s1 = rotl(u, 28);
      m = (output & 0xFFFFFFFFu) * n;
    } while ((m & 0xFFFFFFFFu) < threshold);
    const Oklab x = image[m >> 32];
    const uint32_t i = nearestIndex(palette, x);
    const uint32_t c = counters[i] + 1;
    const float rate = static_cast<float>(1.0 / std::sqrt(static_cast<double>(c)));
    Oklab& centroid = palette[i];
    centroid.l = centroid.l + (x.l - centroid.l) * rate;
    centroid.a = centroid.a + (x.a - centroid.a) * rate;
    centroid.b = centroid.b + (x.b - centroid.b) * rate;
    counters[i] = c;
  }
}

std::vector<uint8_t> remapImage(const std::vector<Oklab>& image, uint32_t width, uint32_t height,
                                const std::vector<Oklab>& palette,
                                const std::vector<uint8_t>& srgbPalette, float diffusion) {
  std::vector<uint8_t> out(size_t{width} * height * 3);
  std::vector<Oklab> current(size_t{width} + 2, Oklab{0, 0, 0});
  std::vector<Oklab> next(size_t{width} + 2, Oklab{0, 0, 0});
  const auto addScaled = [](Oklab& to, const Oklab& e, float w) {
    to.l = to.l + e.l * w;
    to.a = to.a + e.a * w;
    to.b = to.b + e.b * w;
  };
  for (uint32_t y = 0; y < height; ++y) {
    const bool ltr = y % 2 == 0;
    for (uint32_t k = 0; k < width; ++k) {
      const uint32_t x = ltr ? k : width - 1 - k;
      const size_t p = size_t{x} + 1;
      const Oklab& px = image[size_t{y} * width + x];
      const Oklab v{px.l + current[p].l, px.a + current[p].a, px.b + current[p].b};
      const uint32_t i = nearestIndex(palette, v);
      std::memcpy(&out[(size_t{y} * width + x) * 3], &srgbPalette[size_t{i} * 3], 3);
      const Oklab e{(v.l - palette[i].l) * diffusion, (v.a - palette[i].a) * diffusion,
                    (v.b - palette[i].b) * diffusion};
      if (ltr) {
        addScaled(current[p + 1], e, 0.4375f);
        addScaled(next[p - 1], e, 0.1875f);
        addScaled(next[p], e, 0.3125f);
        next[p + 1] = {e.l * 0.0625f, e.a * 0.0625f, e.b * 0.0625f};
      } else {
        addScaled(current[p - 1], e, 0.4375f);
        addScaled(next[p + 1], e, 0.1875f);
        addScaled(next[p], e, 0.3125f);
        next[p - 1] = {e.l * 0.0625f, e.a * 0.0625f, e.b * 0.0625f};
      }
    }
    current[1] = {0, 0, 0};
    current[width] = {0, 0, 0};
    std::swap(current, next);
  }
  return out;
}

int32_t quantizeRgba(uint8_t* pixels, uint32_t width, uint32_t height, uint32_t maxColors) {
  if (pixels == nullptr || width == 0 || height == 0 || maxColors - 1u >= 256u) return -1;
  const uint64_t n64 = uint64_t{width} * height;
  if (n64 >= (uint64_t{1} << 32)) return -1;
  const size_t n = static_cast<size_t>(n64);
  try {
    std::vector<uint8_t> rgb(n * 3);
    for (size_t i = 0; i < n; ++i) std::memcpy(&rgb[i * 3], pixels + i * 4, 3);
    std::vector<Oklab> image(n);
    for (size_t i = 0; i < n; ++i)
      image[i] = srgbToOklab(rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);

    std::vector<uint32_t> bins(n);
    for (size_t i = 0; i < n; ++i) bins[i] = wuBinIndex(image[i]);
    WuHistogram histogram;
    histogram.add(image.data(), bins.data(), n);
    histogram.makeCumulative();
    std::vector<Oklab> palette =
        histogram.paletteAndCubes(static_cast<uint16_t>(maxColors)).colours;

    refinePalette(palette, image.data(), n);
    std::vector<uint8_t> srgbPalette(palette.size() * 3);
    for (size_t i = 0; i < palette.size(); ++i) oklabToSrgb(palette[i], &srgbPalette[i * 3]);

    const std::vector<uint8_t> out = remapImage(image, width, height, palette, srgbPalette, 0.875f);
    for (size_t i = 0; i < n; ++i) std::memcpy(pixels + i * 4, &out[i * 3], 3);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return 0;
}

}  // namespace quorvane::quant::reference
