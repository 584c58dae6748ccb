#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "quantizer/colour_tables.h"
#include "quantizer/oklab.h"
#include "quantizer/reference/reference_quantizer.h"
#include "test_support.h"

namespace quorvane::quant {
namespace {

using testing::forEachTarget;

uint32_t bits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

Oklab toOklab(uint8_t r, uint8_t g, uint8_t b) {
  const uint8_t rgb[3] = {r, g, b};
  Oklab out;
  srgbToOklab(rgb, 3, 1, &out);
  return out;
}

TEST(ColourSpace, BlackWhiteAndPrimariesMatchPublishedOklab) {
  struct Case {
    uint8_t r, g, b;
    float l, a, bb;
  };
  const Case cases[] = {{0, 0, 0, 0.0f, 0.0f, 0.0f},
                        {255, 255, 255, 1.0f, 0.0f, 0.0f},
                        {255, 0, 0, 0.627955f, 0.224863f, 0.125846f},
                        {0, 255, 0, 0.866440f, -0.233887f, 0.179498f},
                        {0, 0, 255, 0.452014f, -0.032457f, -0.311528f}};
  forEachTarget([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << int{c.r} << "," << int{c.g} << "," << int{c.b});
      const Oklab o = toOklab(c.r, c.g, c.b);
      EXPECT_NEAR(o.l, c.l, 1e-6f);
      EXPECT_NEAR(o.a, c.a, 1e-6f);
      EXPECT_NEAR(o.b, c.bb, 1e-6f);
    }
  });
}

TEST(ColourSpace, DecodingTableFollowsTransferFunction) {
  for (int i = 0; i < 256; ++i) {
    const double c = i / 255.0;
    const double linear = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    EXPECT_EQ(bits(kSrgbToLinear[i]), bits(static_cast<float>(linear))) << "entry " << i;
  }
  EXPECT_EQ(kSrgbToLinear[0], 0.0f);
  EXPECT_EQ(kSrgbToLinear[255], 1.0f);
}

TEST(ColourSpace, CubeRootIsCloseToExact) {
  EXPECT_EQ(bits(reference::cubeRoot(0.0f)), bits(0.0f));
  EXPECT_EQ(bits(reference::cubeRoot(-0.0f)), bits(-0.0f));
  for (float x : {1e-6f, 0.001f, 0.2f, 0.5f, 1.0f, 8.0f, -27.0f}) {
    EXPECT_NEAR(reference::cubeRoot(x), std::cbrt(x), std::fabs(std::cbrt(x)) * 2e-7f) << x;
  }
}

// All 16,777,216 colours: every target equals the scalar oracle bit for bit and
// converts straight back to the same bytes.
TEST(ColourSpace, EveryColourMatchesOracleAndRoundTrips) {
  constexpr size_t kSlice = size_t{1} << 20;
  std::vector<uint8_t> rgb(kSlice * 3);
  std::vector<Oklab> expected(kSlice);
  std::vector<Oklab> lab(kSlice);
  std::vector<uint8_t> back(kSlice * 3);
  for (uint32_t slice = 0; slice < 16; ++slice) {
    for (size_t i = 0; i < kSlice; ++i) {
      const uint32_t colour = slice * static_cast<uint32_t>(kSlice) + static_cast<uint32_t>(i);
      rgb[i * 3] = static_cast<uint8_t>(colour >> 16);
      rgb[i * 3 + 1] = static_cast<uint8_t>(colour >> 8);
      rgb[i * 3 + 2] = static_cast<uint8_t>(colour);
      expected[i] = reference::srgbToOklab(rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
    }
    forEachTarget([&] {
      srgbToOklab(rgb.data(), 3, kSlice, lab.data());
      ASSERT_EQ(std::memcmp(lab.data(), expected.data(), kSlice * sizeof(Oklab)), 0)
          << "slice " << slice;
      oklabToSrgb(lab.data(), kSlice, back.data());
      ASSERT_EQ(back, rgb) << "slice " << slice;
    });
  }
}

TEST(ColourSpace, OutOfGamutClampsAndNanEncodesAsZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<Oklab> colours = {{2.0f, 0.0f, 0.0f},  {-1.0f, 0.0f, 0.0f}, {0.6f, 0.5f, 0.0f},
                                      {0.6f, -0.5f, 0.0f}, {0.5f, 0.0f, -0.6f}, {nan, 0.0f, 0.0f},
                                      {inf, 0.0f, 0.0f},   {1.0f, 0.0f, 0.0f},  {0.3f, 0.1f, nan}};
  forEachTarget([&] {
    std::vector<uint8_t> rgb(colours.size() * 3);
    oklabToSrgb(colours.data(), colours.size(), rgb.data());
    EXPECT_EQ(rgb[0], 255);  // too bright: every channel saturates
    EXPECT_EQ(rgb[1], 255);
    EXPECT_EQ(rgb[2], 255);
    EXPECT_EQ(rgb[3], 0);  // negative light: every channel at 0
    EXPECT_EQ(rgb[5], 0);
    EXPECT_EQ(rgb[6], 255);  // far red: R saturates, G clamps to 0
    EXPECT_EQ(rgb[7], 0);
    EXPECT_EQ(rgb[9], 0);   // far green: R clamps to 0
    EXPECT_EQ(rgb[15], 0);  // NaN
    EXPECT_EQ(rgb[16], 0);
    EXPECT_EQ(rgb[17], 0);
    for (size_t i = 0; i < colours.size(); ++i) {
      uint8_t expected[3];
      reference::oklabToSrgb(colours[i], expected);
      EXPECT_EQ(std::vector<uint8_t>(rgb.begin() + i * 3, rgb.begin() + i * 3 + 3),
                std::vector<uint8_t>(expected, expected + 3))
          << "colour " << i;
    }
  });
}

// Odd lengths exercise the tails; the guard words after the output must survive.
TEST(ColourSpace, AwkwardLengthsAndStridesMatchOracle) {
  const auto pixels = testing::randomRgba(300, 7);
  for (size_t stride : {size_t{3}, size_t{4}}) {
    for (size_t count : {size_t{0}, size_t{1}, size_t{7}, size_t{8}, size_t{9}, size_t{15},
                         size_t{16}, size_t{17}, size_t{65}, size_t{203}}) {
      SCOPED_TRACE(::testing::Message() << "stride " << stride << " count " << count);
      std::vector<Oklab> expected(count);
      for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = &pixels[i * stride];
        expected[i] = reference::srgbToOklab(p[0], p[1], p[2]);
      }
      forEachTarget([&] {
        const Oklab guard{-7.0f, -7.0f, -7.0f};
        std::vector<Oklab> lab(count + 8, guard);
        srgbToOklab(pixels.data(), stride, count, lab.data());
        EXPECT_TRUE(count == 0 ||
                    std::memcmp(lab.data(), expected.data(), count * sizeof(Oklab)) == 0);
        for (size_t i = count; i < lab.size(); ++i) EXPECT_EQ(lab[i].l, -7.0f);

        std::vector<uint8_t> rgb(count * 3 + 24, 0xAB);
        oklabToSrgb(lab.data(), count, rgb.data());
        for (size_t i = 0; i < count; ++i) {
          for (int c = 0; c < 3; ++c) EXPECT_EQ(rgb[i * 3 + c], pixels[i * stride + c]);
        }
        for (size_t i = count * 3; i < rgb.size(); ++i) EXPECT_EQ(rgb[i], 0xAB);
      });
    }
  }
}

}  // namespace
}  // namespace quorvane::quant
