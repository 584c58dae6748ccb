#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "metric/gaussian.h"
#include "metric/quorvane_metric.h"
#include "metric/reference/reference_ssimulacra2.h"
#include "simd/simd_targets.h"
#include "test_images.h"

namespace quorvane::metric {
namespace {

using testing::damaged;
using testing::photoLike;

double score(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, uint32_t width,
             uint32_t height, uint32_t threads = 1, float* map = nullptr) {
  quorvane_metric_options options{threads, map, nullptr, nullptr};
  double result = -1000;
  EXPECT_EQ(quorvane_ssimulacra2_rgba(a.data(), size_t{width} * 4, b.data(), size_t{width} * 4,
                                      width, height, &options, &result),
            QUORVANE_METRIC_OK);
  return result;
}

TEST(Ssimulacra2, BlurTapsAreTheRecursionsImpulseResponse) {
  const RecursiveGaussian g = recursiveGaussian();
  ASSERT_EQ(g.radius - 1, kBlurReach);
  // The recursion on a unit impulse, in double.
  constexpr int kLength = 41, kCentre = 20;
  std::vector<double> out(kLength, 0.0);
  for (int k = 0; k < 3; ++k) {
    double prev = 0, prev2 = 0;
    for (int n = -g.radius + 1; n < kLength; ++n) {
      const int left = n - g.radius - 1, right = n + g.radius - 1;
      const double in = (left == kCentre ? 1.0 : 0.0) + (right == kCentre ? 1.0 : 0.0);
      const double y = g.n2[k] * in - g.d1[k] * prev - prev2;
      prev2 = prev;
      prev = y;
      if (n >= 0) out[n] += y;
    }
  }
  const auto taps = blurTaps();
  double total = 0;
  for (int m = -kBlurReach - 2; m <= kBlurReach + 2; ++m) {
    const double expected = std::abs(m) <= kBlurReach ? taps[std::abs(m)] : 0.0;
    EXPECT_NEAR(out[kCentre + m], expected, 1e-7) << "offset " << m;
    total += out[kCentre + m];
  }
  EXPECT_NEAR(total, 1.0, 1e-9);
}

TEST(Ssimulacra2, IdenticalImagesScoreExactly100) {
  for (const auto& [width, height] : {std::pair{8u, 8u}, {9u, 31u}, {300u, 17u}, {600u, 400u}}) {
    const auto image = photoLike(width, height, width);
    EXPECT_EQ(score(image, image, width, height), 100.0) << width << "x" << height;
  }
}

TEST(Ssimulacra2, ColourUnderFullTransparencyDoesNotCount) {
  const uint32_t width = 64, height = 48;
  auto a = photoLike(width, height, 3);
  for (size_t i = 0; i < a.size(); i += 4)
    a[i + 3] = static_cast<uint8_t>((i / 4) % 3 == 0 ? 0 : (i / 4) % 256);
  auto b = a;
  for (size_t i = 0; i < b.size(); i += 4) {
    if (b[i + 3] == 0) b[i] = b[i + 1] = b[i + 2] = 77;  // hidden colour changed
  }
  EXPECT_EQ(score(a, b, width, height), 100.0);
  // A change of coverage does count.
  b[(20 * width + 20) * 4 + 3] = 255;
  b[(20 * width + 21) * 4 + 3] = 0;
  EXPECT_LT(score(a, b, width, height), 100.0);
}

TEST(Ssimulacra2, MoreDamageScoresLower) {
  const uint32_t width = 320, height = 240;
  const auto image = photoLike(width, height, 11);
  double previous = 100.0;
  for (int strength : {2, 6, 16, 40}) {
    const double s = score(image, damaged(image, strength, 5), width, height);
    EXPECT_LT(s, previous) << "noise " << strength;
    previous = s;
  }
}

// The fast path (nine-tap convolution, tiles, vectors) against the literal
// recursion over whole images: the same measure, to float rounding.
TEST(Ssimulacra2, AgreesWithTheLiteralImplementation) {
  for (const auto& [width, height] : {std::pair{8u, 8u}, {33u, 17u}, {600u, 300u}, {1031u, 270u}}) {
    SCOPED_TRACE(::testing::Message() << width << "x" << height);
    const auto image = photoLike(width, height, width + height);
    const auto other = damaged(image, 12, 7);
    EXPECT_NEAR(score(image, other, width, height),
                reference::ssimulacra2Rgba(image.data(), other.data(), width, height, 0), 1e-4);
    // Translucent: the worse of black and white.
    auto a = image, b = other;
    for (size_t i = 3; i < a.size(); i += 4) a[i] = b[i] = static_cast<uint8_t>(i * 7);
    const double expected =
        std::min(reference::ssimulacra2Rgba(a.data(), b.data(), width, height, 0),
                 reference::ssimulacra2Rgba(a.data(), b.data(), width, height, 255));
    EXPECT_NEAR(score(a, b, width, height), expected, 1e-4);
  }
}

TEST(Ssimulacra2, EveryTargetAndThreadCountGivesTheSameBits) {
  const uint32_t width = 1100, height = 300;
  const auto image = photoLike(width, height, 21);
  const auto other = damaged(image, 10, 9);
  std::vector<float> firstMap(size_t{width} * height);
  const double first = score(image, other, width, height, 1, firstMap.data());
  const auto targets = simd::availableSimdTargets();
  ASSERT_GE(targets.size(), 2u);
  for (const auto& target : targets) {
    simd::ScopedSimdTarget pin(target.id);
    for (uint32_t threads : {1u, 3u}) {
      std::vector<float> map(firstMap.size());
      const double s = score(image, other, width, height, threads, map.data());
      EXPECT_EQ(s, first) << target.name << ", " << threads << " threads";
      EXPECT_EQ(std::memcmp(map.data(), firstMap.data(), map.size() * sizeof(float)), 0)
          << target.name << ", " << threads << " threads";
    }
  }
}

// Judged at full resolution: damage that only shows at 100 % counts. The
// photo is 24 MP; only a 256 x 256 patch of it is blurred.
TEST(Ssimulacra2, ASmallBlurredPatchOfALargePhotoLowersItsScore) {
  const uint32_t width = 6000, height = 4000;
  const auto image = photoLike(width, height, 8);
  auto patched = image;
  for (uint32_t y = 1800; y < 2056; ++y) {
    for (uint32_t x = 3000; x < 3256; ++x) {
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int d = -3; d <= 3; ++d) sum += image[(size_t{y} * width + x + d) * 4 + c];
        patched[(size_t{y} * width + x) * 4 + c] = static_cast<uint8_t>(sum / 7);
      }
    }
  }
  const double undamaged = score(image, image, width, height, 2);
  const double damagedScore = score(image, patched, width, height, 2);
  EXPECT_EQ(undamaged, 100.0);
  EXPECT_LT(damagedScore, 95.0);
}

TEST(Ssimulacra2, DifferenceMapShowsWhereTheDamageIs) {
  const uint32_t width = 256, height = 128;
  const auto image = photoLike(width, height, 2);
  auto other = image;
  for (uint32_t y = 40; y < 60; ++y) {
    for (uint32_t x = 150; x < 180; ++x) other[(size_t{y} * width + x) * 4 + 1] ^= 0x40;
  }
  std::vector<float> map(size_t{width} * height, -1.0f);
  score(image, other, width, height, 2, map.data());
  const auto at = [&](uint32_t x, uint32_t y) { return map[size_t{y} * width + x]; };
  EXPECT_GT(at(165, 50), 0.1f);
  EXPECT_EQ(at(20, 100), 0.0f);
  for (float v : map) ASSERT_GE(v, 0.0f);
}

TEST(Ssimulacra2, RejectsWhatItCannotJudge) {
  const auto image = photoLike(16, 16, 1);
  double s = 0;
  EXPECT_EQ(quorvane_ssimulacra2_rgba(image.data(), 64, image.data(), 64, 7, 16, nullptr, &s),
            QUORVANE_METRIC_TOO_SMALL);
  EXPECT_EQ(quorvane_ssimulacra2_rgba(image.data(), 64, image.data(), 64, 16, 0, nullptr, &s),
            QUORVANE_METRIC_INVALID);
  EXPECT_EQ(quorvane_ssimulacra2_rgba(nullptr, 64, image.data(), 64, 16, 16, nullptr, &s),
            QUORVANE_METRIC_INVALID);
  EXPECT_EQ(quorvane_ssimulacra2_rgba(image.data(), 60, image.data(), 64, 16, 16, nullptr, &s),
            QUORVANE_METRIC_INVALID);
  EXPECT_EQ(s, 0);
}

TEST(Ssimulacra2, StopsWhenAsked) {
  const uint32_t width = 2000, height = 1000;
  const auto image = photoLike(width, height, 4);
  std::atomic<int> asked{0};
  quorvane_metric_options options{};
  options.threads = 2;
  options.context = &asked;
  options.should_stop = [](void* context) -> int32_t {
    return static_cast<std::atomic<int>*>(context)->fetch_add(1) >= 3;
  };
  double s = 0;
  EXPECT_EQ(quorvane_ssimulacra2_rgba(image.data(), width * 4, image.data(), width * 4, width,
                                      height, &options, &s),
            QUORVANE_METRIC_STOPPED);
}

}  // namespace
}  // namespace quorvane::metric
