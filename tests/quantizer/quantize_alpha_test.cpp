// The alpha-aware palette: contract, the kinds of pixel it keeps apart, its
// error on soft edges, and every SIMD target against the scalar oracle.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "quantizer/quorvane_quantize.h"
#include "quantizer/reference/reference_alpha_quantizer.h"
#include "support/composite_error.h"
#include "support/soft_logo.h"
#include "test_support.h"

namespace quorvane::quant {
namespace {

using testing::forEachTarget;

struct Result {
  int32_t status = 0;
  std::vector<uint8_t> indices;
  std::vector<uint8_t> palette;  // 4 bytes per entry, `size` entries
  uint32_t size = 0;
  const uint8_t* entry(size_t pixel) const { return &palette[size_t{indices[pixel]} * 4]; }
};

Result quantize(const std::vector<uint8_t>& rgba, uint32_t w, uint32_t h, uint32_t colours) {
  Result r;
  r.indices.assign(size_t{w} * h, 0xEE);
  r.palette.assign(1024, 0xEE);
  r.status = quorvane_quantize_rgba_alpha(rgba.data(), w, h, colours, r.indices.data(),
                                          r.palette.data(), &r.size, nullptr, nullptr);
  r.palette.resize(size_t{r.size} * 4);
  return r;
}

Result oracle(const std::vector<uint8_t>& rgba, uint32_t w, uint32_t h, uint32_t colours) {
  Result r;
  r.indices.assign(size_t{w} * h, 0xEE);
  r.palette.assign(1024, 0xEE);
  r.status = reference::quantizeRgbaAlpha(rgba.data(), w, h, colours, r.indices.data(),
                                          r.palette.data(), &r.size);
  r.palette.resize(size_t{r.size} * 4);
  return r;
}

// Random colours; alpha 0, 255 or anything, in about equal shares.
std::vector<uint8_t> randomWithAlpha(size_t pixels, uint32_t seed) {
  std::vector<uint8_t> out = testing::randomRgba(pixels, seed);
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t kind = out[i * 4] % 3;
    if (kind == 0) out[i * 4 + 3] = 0;
    if (kind == 1) out[i * 4 + 3] = 255;
  }
  return out;
}

double compositeError(const std::vector<uint8_t>& rgba, const Result& r) {
  return test::compositeError(
      rgba.data(), [&](size_t i) { return r.entry(i); }, r.indices.size());
}

TEST(QuantizeRgbaAlpha, RejectsBadArgumentsWritingNothing) {
  const std::vector<uint8_t> image = randomWithAlpha(16, 1);
  std::vector<uint8_t> indices(16, 0xEE), palette(1024, 0xEE);
  uint32_t size = 77;
  for (uint32_t colours : {0u, 1u, 257u, 0xFFFFFFFFu}) {
    EXPECT_EQ(quorvane_quantize_rgba_alpha(image.data(), 4, 4, colours, indices.data(),
                                           palette.data(), &size, nullptr, nullptr),
              -1)
        << colours;
  }
  EXPECT_EQ(quorvane_quantize_rgba_alpha(image.data(), 0, 4, 16, indices.data(), palette.data(),
                                         &size, nullptr, nullptr),
            -1);
  EXPECT_EQ(quorvane_quantize_rgba_alpha(image.data(), 65536, 65536, 16, indices.data(),
                                         palette.data(), &size, nullptr, nullptr),
            -1);
  EXPECT_EQ(quorvane_quantize_rgba_alpha(nullptr, 4, 4, 16, indices.data(), palette.data(), &size,
                                         nullptr, nullptr),
            -1);
  EXPECT_EQ(quorvane_quantize_rgba_alpha(image.data(), 4, 4, 16, nullptr, palette.data(), &size,
                                         nullptr, nullptr),
            -1);
  EXPECT_EQ(quorvane_quantize_rgba_alpha(image.data(), 4, 4, 16, indices.data(), nullptr, &size,
                                         nullptr, nullptr),
            -1);
  EXPECT_EQ(std::set<uint8_t>(indices.begin(), indices.end()), std::set<uint8_t>{0xEE});
  EXPECT_EQ(std::set<uint8_t>(palette.begin(), palette.end()), std::set<uint8_t>{0xEE});
  EXPECT_EQ(size, 77u);
}

TEST(QuantizeRgbaAlpha, StopsAtEveryPointItAsks) {
  const auto image = test::softLogo(97, 61);
  const Result plain = quantize(image, 97, 61, 64);
  struct Counter {
    int calls = 0;
    int stopAt = -1;
  };
  const quorvane_should_stop_fn ask = [](void* context) -> int32_t {
    auto* counter = static_cast<Counter*>(context);
    return ++counter->calls == counter->stopAt ? 1 : 0;
  };
  std::vector<uint8_t> indices(97 * 61), palette(1024);
  uint32_t size = 0;
  Counter never;
  ASSERT_EQ(quorvane_quantize_rgba_alpha(image.data(), 97, 61, 64, indices.data(), palette.data(),
                                         &size, ask, &never),
            0);
  EXPECT_EQ(indices, plain.indices);
  EXPECT_GT(never.calls, 4);
  for (int stopAt = 1; stopAt <= never.calls; ++stopAt) {
    Counter counter{0, stopAt};
    EXPECT_EQ(quorvane_quantize_rgba_alpha(image.data(), 97, 61, 64, indices.data(), palette.data(),
                                           &size, ask, &counter),
              -2);
    EXPECT_EQ(counter.calls, stopAt);
  }
}

TEST(QuantizeRgbaAlpha, TransparentPixelsShareOneEntryAndOpaqueOnesStayOpaque) {
  for (uint32_t colours : {2u, 3u, 16u, 256u}) {
    SCOPED_TRACE(::testing::Message() << "colours " << colours);
    const auto image = randomWithAlpha(61 * 37, colours);
    const Result r = quantize(image, 61, 37, colours);
    ASSERT_EQ(r.status, 0);
    ASSERT_GE(r.size, 1u);
    ASSERT_LE(r.size, colours);
    EXPECT_EQ(std::vector<uint8_t>(r.palette.begin(), r.palette.begin() + 4),
              (std::vector<uint8_t>{0, 0, 0, 0}));
    for (size_t i = 0; i < r.indices.size(); ++i) {
      ASSERT_LT(r.indices[i], r.size);
      const uint8_t alpha = image[i * 4 + 3];
      if (alpha == 0) {
        ASSERT_EQ(r.indices[i], 0) << "pixel " << i;
      }
      // Each kind has an entry of its own once the palette can give one.
      if (alpha == 255 && colours >= 3) {
        ASSERT_EQ(r.entry(i)[3], 255) << "pixel " << i;
      }
    }
  }
  // Nothing but transparency: one entry.
  const std::vector<uint8_t> clear(5 * 3 * 4, 0);
  const Result r = quantize(clear, 5, 3, 256);
  EXPECT_EQ(r.size, 1u);
  EXPECT_EQ(r.palette, (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(r.indices, std::vector<uint8_t>(15, 0));
}

// Mean Oklab difference over black and over white: 0.0029 at 256 colours and
// 0.0060 at 64 when written, where alpha cut to 0 or 255 costs 0.0145; the
// bounds leave a quarter more.
TEST(QuantizeRgbaAlpha, ASoftEdgedLogoKeepsItsEdgeWithTranslucentEntries) {
  const auto image = test::softLogo(160, 120);
  for (uint32_t colours : {64u, 256u}) {
    const Result r = quantize(image, 160, 120, colours);
    ASSERT_EQ(r.status, 0);
    size_t translucent = 0;
    for (uint32_t e = 0; e < r.size; ++e) translucent += r.palette[e * 4 + 3] % 255 != 0;
    EXPECT_GE(translucent, colours / 8) << "colours " << colours;
    EXPECT_LT(compositeError(image, r), colours == 256 ? 0.0037 : 0.0075) << "colours " << colours;
  }
}

TEST(QuantizeRgbaAlpha, EveryTargetMatchesScalarOracle) {
  struct Case {
    uint32_t w, h, colours;
    int kind;  // 0 random with alpha, 1 logo, 2 random opaque and translucent only
  };
  const Case cases[] = {{1, 1, 2, 0},       {1, 1, 256, 1},  {7, 3, 3, 0},     {9, 1, 2, 2},
                        {33, 17, 7, 0},     {33, 17, 64, 1}, {17, 33, 255, 2}, {97, 61, 256, 0},
                        {160, 120, 256, 1}, {64, 64, 2, 1},  {129, 65, 128, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.w << "x" << c.h << " colours " << c.colours << " kind " << c.kind);
    std::vector<uint8_t> image =
        c.kind == 1 ? test::softLogo(c.w, c.h) : randomWithAlpha(size_t{c.w} * c.h, c.w + c.h);
    if (c.kind == 2) {
      for (size_t i = 3; i < image.size(); i += 4) image[i] |= 1;
    }
    const Result expected = oracle(image, c.w, c.h, c.colours);
    ASSERT_EQ(expected.status, 0);
    forEachTarget([&] {
      const Result r = quantize(image, c.w, c.h, c.colours);
      ASSERT_EQ(r.status, 0);
      EXPECT_EQ(r.size, expected.size);
      EXPECT_EQ(r.palette, expected.palette);
      EXPECT_EQ(r.indices, expected.indices);
    });
  }
}

}  // namespace
}  // namespace quorvane::quant
