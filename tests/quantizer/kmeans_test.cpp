#include "quantizer/kmeans.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "quantizer/nearest_color_map.h"
#include "quantizer/reference/reference_quantizer.h"
#include "test_support.h"

namespace quorvane::quant {
namespace {

using testing::forEachTarget;

TEST(Xoroshiro, FirstOutputsFromSeedZero) {
  // Independently computed from the published algorithm and the SplitMix64
  // expansion of seed 0.
  Xoroshiro128PlusPlus rng;
  EXPECT_EQ(rng.next(), 0x6F68E1E7E2646EE1ull);
  EXPECT_EQ(rng.next(), 0xBF971B7F454094ADull);
  EXPECT_EQ(rng.next(), 0x48F2DE556F30DE38ull);
  EXPECT_EQ(rng.next(), 0x6EA7C59F89BBFC75ull);
  EXPECT_EQ(rng.next(), 0x765437C08F02E2F5ull);
}

TEST(UniformIndex, DrawsMatchWideningMultiplyWithRejection) {
  {
    Xoroshiro128PlusPlus rng;
    const UniformIndex d(1000);
    const uint32_t expected[] = {884, 270, 434, 538, 558, 855, 33, 526};
    for (uint32_t e : expected) EXPECT_EQ(d.draw(rng), e);
  }
  {
    // A range this large rejects the sixth raw draw (low product below the
    // threshold 2^32 mod 3e9), so the sixth index comes from the seventh output.
    Xoroshiro128PlusPlus rng;
    const UniformIndex d(3000000000u);
    const uint32_t expected[] = {2653034963u, 811550022u,  1303018251u,
                                 1614074073u, 1675913385u, 100509175u};
    for (uint32_t e : expected) EXPECT_EQ(d.draw(rng), e);
  }
  {
    Xoroshiro128PlusPlus rng;
    const UniformIndex one(1);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(one.draw(rng), 0u);
  }
}

std::vector<Oklab> samePointPalette(size_t size, std::initializer_list<size_t> at) {
  std::vector<Oklab> palette;
  for (size_t i = 0; i < size; ++i) palette.push_back({0.1f + 0.003f * i, 0.2f, -0.1f});
  for (size_t i : at) palette[i] = {0.5f, 0.0f, 0.0f};
  return palette;
}

// Equal distances: the lowest lane (index % 8) wins, within a lane the highest chunk.
TEST(NearestColorMap, TiesFollowLaneThenChunkRule) {
  struct Case {
    size_t first, second, winner;
  };
  const Case cases[] = {{3, 11, 11}, {3, 4, 3}, {4, 11, 11}, {0, 8, 8}, {7, 15, 15}, {1, 16, 16}};
  forEachTarget([&] {
    for (const Case& c : cases) {
      const auto palette = samePointPalette(20, {c.first, c.second});
      const NearestColorMap map(palette);
      const Oklab query{0.5f, 0.0f, 0.0f};
      EXPECT_EQ(map.nearest(query), c.winner) << c.first << " vs " << c.second;
      EXPECT_EQ(reference::nearestIndex(palette, query), c.winner);
    }
  });
}

TEST(NearestColorMap, PaddingLanesAreNeverChosen) {
  forEachTarget([] {
    for (size_t size : {size_t{1}, size_t{3}, size_t{9}, size_t{255}}) {
      std::vector<Oklab> palette(size, Oklab{0.0f, 0.0f, 0.0f});
      const NearestColorMap map(palette);
      // Far away and even infinitely far: the infinite padding must still lose.
      for (const Oklab& q : {Oklab{1e30f, 1e30f, 1e30f}, Oklab{5.0f, -5.0f, 5.0f}}) {
        EXPECT_LT(map.nearest(q), size) << "size " << size;
      }
    }
  });
}

TEST(NearestColorMap, RandomPalettesMatchOracle) {
  std::mt19937 rng(21);
  std::uniform_real_distribution<float> u(-0.3f, 1.0f);
  for (size_t size : {size_t{1}, size_t{7}, size_t{8}, size_t{9}, size_t{17}, size_t{64},
                      size_t{255}, size_t{256}}) {
    std::vector<Oklab> palette(size);
    for (auto& c : palette) c = {u(rng), u(rng) * 0.3f, u(rng) * 0.3f};
    // Duplicate some entries so that ties occur.
    for (size_t i = 8; i < size; i += 5) palette[i] = palette[i - 8 + (i % 3)];
    std::vector<Oklab> queries(500);
    for (auto& q : queries) q = {u(rng), u(rng) * 0.3f, u(rng) * 0.3f};
    for (size_t i = 0; i < size && i < 100; ++i) queries.push_back(palette[i]);
    const NearestColorMap map(palette);
    forEachTarget([&] {
      for (const Oklab& q : queries) {
        ASSERT_EQ(map.nearest(q), reference::nearestIndex(palette, q)) << "palette size " << size;
      }
    });
  }
}

TEST(Kmeans, OnePixelImageMovesItsEntryToThePixel) {
  const Oklab pixel{0.42f, 0.01f, -0.03f};
  NearestColorMap map({Oklab{0.4f, 0.0f, 0.0f}, Oklab{0.9f, 0.0f, 0.0f}});
  refinePalette(map, &pixel, 1);
  EXPECT_FLOAT_EQ(map.palette()[0].l, pixel.l);
  EXPECT_FLOAT_EQ(map.palette()[0].a, pixel.a);
  EXPECT_FLOAT_EQ(map.palette()[0].b, pixel.b);
  EXPECT_EQ(map.palette()[1].l, 0.9f);  // never nearest, never moved
}

TEST(Kmeans, RefinementMatchesOracleOnEveryTarget) {
  const auto pixels = testing::gradientRgba(97, 61, 4);
  const size_t n = 97 * 61;
  std::vector<Oklab> image(n);
  for (size_t i = 0; i < n; ++i) {
    image[i] = reference::srgbToOklab(pixels[i * 4], pixels[i * 4 + 1], pixels[i * 4 + 2]);
  }
  std::mt19937 rng(8);
  for (size_t size : {size_t{1}, size_t{9}, size_t{64}, size_t{256}}) {
    std::vector<Oklab> palette(size);
    for (auto& c : palette) c = image[rng() % n];
    std::vector<Oklab> expected = palette;
    reference::refinePalette(expected, image.data(), n);
    forEachTarget([&] {
      NearestColorMap map(palette);
      refinePalette(map, image.data(), n);
      ASSERT_EQ(map.palette().size(), size);
      EXPECT_EQ(std::memcmp(map.palette().data(), expected.data(), size * sizeof(Oklab)), 0)
          << "palette size " << size;
    });
  }
}

}  // namespace
}  // namespace quorvane::quant
