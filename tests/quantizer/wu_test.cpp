#include "quantizer/wu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "quantizer/reference/reference_quantizer.h"
#include "test_support.h"

namespace quorvane::quant {
namespace {

using testing::forEachTarget;

WuHistogram cumulativeOf(const std::vector<Oklab>& colours) {
  WuHistogram h;
  h.add(colours.data(), colours.size());
  h.makeCumulative();
  return h;
}

Oklab lab(uint8_t r, uint8_t g, uint8_t b) {
  return reference::srgbToOklab(r, g, b);
}

TEST(WuBins, EdgeAndSpecialValuesLandInEdgeBins) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    Oklab colour;
    uint32_t bin;
  };
  const Case cases[] = {
      {{0.0f, -0.233887404f, -0.311528146f}, 0},          // the minima
      {{1.0000001f, 0.0f, 0.0f}, 31 * 256 + 7 * 16 + 9},  // L slightly above 1
      {{1.0f, 0.276216f, 0.198570f}, 31 * 256 + 15 * 16 + 15},
      {{-0.5f, -1.0f, -1.0f}, 0},
      {{5.0f, 5.0f, 5.0f}, 31 * 256 + 15 * 16 + 15},
      {{nan, nan, nan}, 0},
      {{inf, -inf, inf}, 31 * 256 + 0 * 16 + 15},
      {{0.03124f, 0.0f, 0.0f}, 0 * 256 + 7 * 16 + 9},  // (c - m) * s just below 1
      {{0.5f, -0.2f, 0.1f}, 16 * 256 + 1 * 16 + 12},
  };
  forEachTarget([&] {
    for (const Case& c : cases) {
      uint32_t bin = 12345;
      wuBinIndices(&c.colour, 1, &bin);
      EXPECT_EQ(bin, c.bin) << c.colour.l << " " << c.colour.a << " " << c.colour.b;
      EXPECT_EQ(reference::wuBinIndex(c.colour), c.bin);
    }
  });
}

TEST(WuBins, AwkwardLengthsMatchOracle) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> u(-0.4f, 1.1f);
  std::vector<Oklab> colours(1000);
  for (auto& c : colours) c = {u(rng), u(rng) * 0.5f, u(rng) * 0.5f};
  for (size_t count : {size_t{1}, size_t{7}, size_t{9}, size_t{33}, size_t{1000}}) {
    forEachTarget([&] {
      std::vector<uint32_t> bins(count + 4, 0xDEADBEEF);
      wuBinIndices(colours.data(), count, bins.data());
      for (size_t i = 0; i < count; ++i) {
        ASSERT_EQ(bins[i], reference::wuBinIndex(colours[i])) << "count " << count << " i " << i;
      }
      for (size_t i = count; i < bins.size(); ++i) EXPECT_EQ(bins[i], 0xDEADBEEFu);
    });
  }
}

// Box moments from the cumulative table must equal a direct sum over the raw bins,
// for cubes touching the low edges (the -1 corners) and interior ones.
TEST(WuHistogram, VolumeAndVolumeAtEqualDirectSums) {
  std::mt19937 rng(5);
  std::vector<Oklab> colours;
  for (int i = 0; i < 3000; ++i) colours.push_back(lab(rng(), rng(), rng()));
  WuHistogram raw;
  raw.add(colours.data(), colours.size());
  const WuHistogram cumulative = cumulativeOf(colours);
  const auto directSum = [&](const Cube& c) {
    Stats s;
    for (int i = c.lower[0]; i < c.upper[0]; ++i)
      for (int j = c.lower[1]; j < c.upper[1]; ++j)
        for (int k = c.lower[2]; k < c.upper[2]; ++k) {
          const Stats& b = raw.bin(i, j, k);
          s.count += b.count;
          s.sumL += b.sumL;
          s.sumA += b.sumA;
          s.sumB += b.sumB;
          s.sumSquares += b.sumSquares;
        }
    return s;
  };
  const auto expectSame = [](const Stats& got, const Stats& want) {
    EXPECT_EQ(got.count, want.count);
    EXPECT_NEAR(got.sumL, want.sumL, 1e-9);
    EXPECT_NEAR(got.sumA, want.sumA, 1e-9);
    EXPECT_NEAR(got.sumB, want.sumB, 1e-9);
    EXPECT_NEAR(got.sumSquares, want.sumSquares, 1e-9);
  };
  for (int trial = 0; trial < 200; ++trial) {
    Cube c;
    const int bins[3] = {kWuBinsL, kWuBinsA, kWuBinsB};
    for (int axis = 0; axis < 3; ++axis) {
      int a = static_cast<int>(rng() % (bins[axis] + 1));
      int b = static_cast<int>(rng() % (bins[axis] + 1));
      if (a == b) b = a == bins[axis] ? a - 1 : a + 1;
      if (trial % 4 == 0) a = 0;  // lower bound at the table's edge
      c.lower[axis] = static_cast<uint8_t>(std::min(a, b));
      c.upper[axis] = static_cast<uint8_t>(std::max(a, b));
    }
    SCOPED_TRACE(::testing::Message() << "trial " << trial);
    expectSame(cumulative.volume(c), directSum(c));
    const int axis = trial % 3;
    const int p = c.lower[axis] + static_cast<int>(rng() % (c.upper[axis] - c.lower[axis] + 1));
    Cube slab = c;
    slab.lower[axis] = 0;
    slab.upper[axis] = static_cast<uint8_t>(p);
    expectSame(cumulative.volumeAt(c, axis, p), p == 0 ? Stats{} : directSum(slab));
  }
}

TEST(WuPalette, OneBinOrABudgetOfOneGivesTheMeanOfAllPixels) {
  // Three close greys share one bin: no cut is possible on any axis.
  const std::vector<Oklab> greys = {lab(100, 100, 100), lab(101, 101, 101), lab(101, 101, 101),
                                    lab(102, 102, 102)};
  const WuPalette p = cumulativeOf(greys).paletteAndCubes(256);
  ASSERT_EQ(p.colours.size(), 1u);
  double sum = 0;
  for (const Oklab& c : greys) sum += c.l;
  EXPECT_EQ(p.colours[0].l, static_cast<float>(sum / 4));

  const std::vector<Oklab> colours = {lab(255, 0, 0), lab(0, 0, 255), lab(0, 255, 0)};
  const WuPalette one = cumulativeOf(colours).paletteAndCubes(1);
  ASSERT_EQ(one.colours.size(), 1u);
  const double meanA = (double{colours[0].a} + colours[1].a + colours[2].a) / 3;
  EXPECT_EQ(one.colours[0].a, static_cast<float>(meanA));
}

TEST(WuPalette, DistinctBinsKeepTheirColoursExactly) {
  const Oklab red = lab(255, 0, 0);
  const Oklab blue = lab(0, 0, 255);
  std::vector<Oklab> colours;
  for (int i = 0; i < 5; ++i) colours.push_back(red);
  for (int i = 0; i < 3; ++i) colours.push_back(blue);
  const WuPalette p = cumulativeOf(colours).paletteAndCubes(2);
  ASSERT_EQ(p.colours.size(), 2u);
  bool sawRed = false;
  bool sawBlue = false;
  for (const Oklab& c : p.colours) {
    sawRed |= c.l == red.l && c.a == red.a && c.b == red.b;
    sawBlue |= c.l == blue.l && c.a == blue.a && c.b == blue.b;
  }
  EXPECT_TRUE(sawRed);
  EXPECT_TRUE(sawBlue);
}

TEST(WuPalette, FewerOccupiedBinsThanBudgetGiveShorterPalette) {
  WuHistogram empty;
  empty.makeCumulative();
  EXPECT_TRUE(empty.paletteAndCubes(16).colours.empty());

  const std::vector<Oklab> colours = {lab(0, 0, 0),   lab(255, 255, 255), lab(255, 0, 0),
                                      lab(0, 255, 0), lab(0, 0, 255),     lab(255, 255, 0),
                                      lab(255, 0, 0)};
  const WuHistogram h = cumulativeOf(colours);
  const WuPalette p = h.paletteAndCubes(256);
  EXPECT_EQ(p.colours.size(), 6u);
  EXPECT_EQ(p.cubes.size(), p.colours.size());
  // The boxes partition the occupied bins: every pixel is counted exactly once.
  uint32_t total = 0;
  for (const Cube& c : p.cubes) total += h.volume(c).count;
  EXPECT_EQ(total, colours.size());
}

TEST(WuPalette, ManyColoursFillTheBudgetWithDisjointBoxes) {
  std::mt19937 rng(3);
  std::vector<Oklab> colours;
  for (int i = 0; i < 20000; ++i) colours.push_back(lab(rng(), rng(), rng()));
  const WuHistogram h = cumulativeOf(colours);
  for (uint16_t k : {uint16_t{2}, uint16_t{7}, uint16_t{64}, uint16_t{256}}) {
    const WuPalette p = h.paletteAndCubes(k);
    EXPECT_EQ(p.colours.size(), k);
    uint32_t total = 0;
    for (const Cube& c : p.cubes) total += h.volume(c).count;
    EXPECT_EQ(total, colours.size()) << "k " << k;
  }
}

}  // namespace
}  // namespace quorvane::quant
