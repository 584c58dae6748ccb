#include "quantizer/remap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "quantizer/reference/reference_quantizer.h"
#include "test_support.h"

namespace quorvane::quant {
namespace {

using testing::forEachTarget;

// Black and white on the L axis, output as one byte per pixel for easy reading.
const std::vector<Oklab> kBlackWhite = {{0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}};
const std::vector<uint8_t> kBlackWhiteRgb = {0, 0, 0, 255, 255, 255};

std::vector<uint8_t> remapGrey(const std::vector<float>& lightness, uint32_t width,
                               uint32_t height) {
  std::vector<Oklab> image;
  for (float l : lightness) image.push_back({l, 0.0f, 0.0f});
  const NearestColorMap map(kBlackWhite);
  std::vector<uint8_t> out(image.size() * 3, 0x77);
  remapImage(image.data(), width, height, map, kBlackWhiteRgb.data(), kDiffusionFactor, out.data(),
             3);
  std::vector<uint8_t> firstChannel;
  for (size_t i = 0; i < image.size(); ++i) firstChannel.push_back(out[i * 3]);
  return firstChannel;
}

TEST(Remap, OneRowCarriesSevenSixteenthsOnAndOneColumnOnlyFiveSixteenthsDown) {
  // 0.4 -> black, error 0.35; the next pixel sees 0.4 + 0.35 * 7/16 = 0.553 -> white.
  // Down a column 0.42 + 0.35 * 5/16 = 0.529 -> white. With the 3/16 or 1/16 share it
  // would stay black; the 7/16 share falls into the row's margin.
  forEachTarget([] {
    EXPECT_EQ(remapGrey({0.4f, 0.4f}, 2, 1), (std::vector<uint8_t>{0, 255}));
    EXPECT_EQ(remapGrey({0.4f, 0.42f}, 1, 2), (std::vector<uint8_t>{0, 255}));
    EXPECT_EQ(remapGrey({0.4f, 0.40f, 0.4f}, 1, 3), (std::vector<uint8_t>{0, 255, 0}));
  });
}

TEST(Remap, SerpentineSecondRowRunsRightToLeft) {
  // Row 1 starts at its right end, so its rightmost pixel is mapped first and sees
  // only error from row 0 (5/16 from above, 1/16 from above-left); its left pixel
  // then receives 7/16 of that pixel's (negative) error.
  const auto out = remapGrey({0.0f, 0.4f, 0.45f, 0.45f}, 2, 2);
  // Row 0: 0.0 -> black (no error); 0.4 -> black, error 0.35.
  // Row 1 right pixel: 0.45 + 0.35 * 5/16 = 0.559 -> white, error -0.386; left pixel:
  // 0.45 + 0.35 * 3/16 - 0.386 * 7/16 = 0.347 -> black.
  EXPECT_EQ(out, (std::vector<uint8_t>{0, 0, 0, 255}));
}

TEST(Remap, PaletteColoursComeBackWithoutError) {
  std::vector<Oklab> palette;
  std::vector<uint8_t> rgb;
  for (int i = 0; i < 20; ++i) {
    const uint8_t c[3] = {static_cast<uint8_t>(i * 12), static_cast<uint8_t>(255 - i * 9),
                          static_cast<uint8_t>(i * 31)};
    palette.push_back(reference::srgbToOklab(c[0], c[1], c[2]));
    rgb.insert(rgb.end(), c, c + 3);
  }
  std::vector<Oklab> image;
  std::vector<uint8_t> expected;
  for (int i = 0; i < 11 * 7; ++i) {
    const int k = (i * 7) % 20;
    image.push_back(palette[k]);
    expected.insert(expected.end(), &rgb[k * 3], &rgb[k * 3 + 3]);
  }
  const NearestColorMap map(palette);
  forEachTarget([&] {
    std::vector<uint8_t> out(image.size() * 3);
    remapImage(image.data(), 11, 7, map, rgb.data(), kDiffusionFactor, out.data(), 3);
    EXPECT_EQ(out, expected);
  });
}

// Awkward sizes and palette lengths; stride 4 must leave every fourth byte alone.
TEST(Remap, EveryTargetMatchesOracle) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> u(0.0f, 1.0f);
  struct Size {
    uint32_t w, h;
  };
  for (Size s : {Size{1, 1}, Size{1, 9}, Size{9, 1}, Size{7, 3}, Size{17, 5}, Size{33, 33}}) {
    for (size_t paletteSize : {size_t{1}, size_t{7}, size_t{9}, size_t{17}, size_t{256}}) {
      SCOPED_TRACE(::testing::Message() << s.w << "x" << s.h << " palette " << paletteSize);
      std::vector<Oklab> image(size_t{s.w} * s.h);
      for (auto& c : image) c = {u(rng), u(rng) * 0.4f - 0.2f, u(rng) * 0.4f - 0.2f};
      std::vector<Oklab> palette(paletteSize);
      for (auto& c : palette) c = {u(rng), u(rng) * 0.4f - 0.2f, u(rng) * 0.4f - 0.2f};
      std::vector<uint8_t> rgb(paletteSize * 3);
      for (size_t i = 0; i < paletteSize; ++i) reference::oklabToSrgb(palette[i], &rgb[i * 3]);
      const auto expected = reference::remapImage(image, s.w, s.h, palette, rgb, kDiffusionFactor);
      const NearestColorMap map(palette);
      forEachTarget([&] {
        std::vector<uint8_t> out(image.size() * 4, 0xEE);
        remapImage(image.data(), s.w, s.h, map, rgb.data(), kDiffusionFactor, out.data(), 4);
        for (size_t i = 0; i < image.size(); ++i) {
          for (int c = 0; c < 3; ++c)
            ASSERT_EQ(out[i * 4 + c], expected[i * 3 + c]) << "pixel " << i;
          ASSERT_EQ(out[i * 4 + 3], 0xEE);
        }
      });
    }
  }
}

// Every target against the oracle, output packed as 3 bytes per pixel.
void expectMatchesOracle(const std::vector<Oklab>& image, uint32_t width, uint32_t height,
                         const std::vector<Oklab>& palette, float diffusion) {
  std::vector<uint8_t> rgb(palette.size() * 3);
  for (size_t i = 0; i < palette.size(); ++i) {
    // Distinct bytes per entry, so that equal colours at different indices differ.
    rgb[i * 3] = static_cast<uint8_t>(i);
    rgb[i * 3 + 1] = static_cast<uint8_t>(i * 7);
    rgb[i * 3 + 2] = static_cast<uint8_t>(255 - i);
  }
  const auto expected = reference::remapImage(image, width, height, palette, rgb, diffusion);
  const NearestColorMap map(palette);
  forEachTarget([&] {
    std::vector<uint8_t> out(image.size() * 3, 0);
    remapImage(image.data(), width, height, map, rgb.data(), diffusion, out.data(), 3);
    for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], expected[i]) << "byte " << i;
  });
}

// Palette and pixels on a coarse lattice of exact binary fractions: many pixels are
// exactly as far from two or more entries, and several entries repeat (3 and 11,
// 3 and 4, 4 and 11 among them), so the tie rule decides often.
TEST(Remap, TiesAndDuplicateEntriesMatchOracle) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> step(0, 8);
  const auto lattice = [&](float unit) {
    return Oklab{step(rng) * unit, (step(rng) - 4) * unit, (step(rng) - 4) * unit};
  };
  for (size_t paletteSize : {size_t{12}, size_t{40}, size_t{256}}) {
    SCOPED_TRACE(::testing::Message() << "palette " << paletteSize);
    std::vector<Oklab> palette(paletteSize);
    for (auto& c : palette) c = lattice(0.125f);
    palette[11] = palette[3];
    palette[4] = palette[3];
    palette[paletteSize - 1] = palette[0];
    // More copies of one entry than a neighbourhood holds (32): the search
    // around it can promise nothing and must fall back to the whole palette.
    for (size_t i = 100; i < std::min(paletteSize, size_t{140}); ++i) palette[i] = palette[5];
    std::vector<Oklab> image(37 * 23);
    for (auto& c : image) c = lattice(0.0625f);
    expectMatchesOracle(image, 37, 23, palette, 0.0f);
    expectMatchesOracle(image, 37, 23, palette, kDiffusionFactor);
  }
}

// Many entries crowded into a small ball (long candidate lists) plus a few far
// away; pixels around the crowd.
TEST(Remap, CrowdedPaletteMatchesOracle) {
  std::mt19937 rng(9);
  std::uniform_real_distribution<float> u(-1.0f, 1.0f);
  for (float spread : {1e-4f, 1e-2f}) {
    SCOPED_TRACE(::testing::Message() << "spread " << spread);
    std::vector<Oklab> palette(256);
    for (auto& c : palette) c = {0.5f + u(rng) * spread, u(rng) * spread, u(rng) * spread};
    palette[17] = {0.0f, 0.0f, 0.0f};
    palette[200] = {1.0f, 0.2f, -0.2f};
    std::vector<Oklab> image(61 * 19);
    for (auto& c : image) c = {0.5f + u(rng) * 0.05f, u(rng) * 0.05f, u(rng) * 0.05f};
    expectMatchesOracle(image, 61, 19, palette, kDiffusionFactor);
  }
}

// Pixels far outside the colour range: the dithered values leave the palette's
// neighbourhood and grow large, in both directions.
TEST(Remap, ValuesOutsideTheColourRangeMatchOracle) {
  std::mt19937 rng(23);
  std::uniform_real_distribution<float> u(0.0f, 1.0f);
  std::vector<Oklab> palette(100);
  for (auto& c : palette) c = {u(rng), u(rng) * 0.4f - 0.2f, u(rng) * 0.4f - 0.2f};
  std::vector<Oklab> image(53 * 29);
  for (size_t i = 0; i < image.size(); ++i) {
    const float scale = i % 3 == 0 ? 40.0f : 3.0f;
    image[i] = {(u(rng) - 0.5f) * scale, (u(rng) - 0.5f) * scale, (u(rng) - 0.5f) * scale};
  }
  expectMatchesOracle(image, 53, 29, palette, kDiffusionFactor);
}

// A photo-like image (smooth gradients with noise) at several palette sizes, large
// enough that many cells of the search structure fill up.
TEST(Remap, GradientImageMatchesOracle) {
  const uint32_t width = 301;
  const uint32_t height = 97;
  const auto rgba = testing::gradientRgba(width, height, 4);
  std::vector<Oklab> image(size_t{width} * height);
  for (size_t i = 0; i < image.size(); ++i) {
    image[i] = reference::srgbToOklab(rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2]);
  }
  std::mt19937 rng(31);
  for (size_t paletteSize : {size_t{2}, size_t{9}, size_t{64}, size_t{256}}) {
    SCOPED_TRACE(::testing::Message() << "palette " << paletteSize);
    std::vector<Oklab> palette(paletteSize);
    for (auto& c : palette) c = image[rng() % image.size()];
    expectMatchesOracle(image, width, height, palette, kDiffusionFactor);
  }
}

}  // namespace
}  // namespace quorvane::quant
