#include "quantizer/remap.h"

#include <gtest/gtest.h>

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

TEST(Remap, OneRowCarriesSevenSixteenthsToTheNextPixel) {
  // 0.4 -> black, error 0.35; the next pixel sees 0.4 + 0.35 * 7/16 = 0.553 -> white.
  forEachTarget([] { EXPECT_EQ(remapGrey({0.4f, 0.4f}, 2, 1), (std::vector<uint8_t>{0, 255})); });
}

TEST(Remap, OneColumnPassesOnlyFiveSixteenthsDown) {
  // 0.42 + 0.35 * 5/16 = 0.529 -> white. With the 3/16 or 1/16 share it would stay
  // black; the 7/16 share falls into the row's margin.
  forEachTarget([] {
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

TEST(Remap, OneColourPaletteMapsEverythingToIt) {
  const NearestColorMap map({Oklab{0.3f, 0.1f, -0.1f}});
  const uint8_t rgb[3] = {9, 8, 7};
  std::mt19937 rng(2);
  std::uniform_real_distribution<float> u(-1.0f, 2.0f);
  std::vector<Oklab> image(13 * 5);
  for (auto& c : image) c = {u(rng), u(rng), u(rng)};
  forEachTarget([&] {
    std::vector<uint8_t> out(image.size() * 3, 0);
    remapImage(image.data(), 13, 5, map, rgb, kDiffusionFactor, out.data(), 3);
    for (size_t i = 0; i < image.size(); ++i) {
      EXPECT_EQ(out[i * 3], 9);
      EXPECT_EQ(out[i * 3 + 2], 7);
    }
  });
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

}  // namespace
}  // namespace quorvane::quant
