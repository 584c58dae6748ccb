// Where libjxl still has its Butteraugli API (0.8 and older: Debian 12), the
// metric's ranking of damaged images is checked against Butteraugli's, an
// independent model of vision: the two must largely agree on which of two
// images looks worse. Not built elsewhere.
#include <gtest/gtest.h>
#include <jxl/butteraugli.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "metric/quorvane_metric.h"
#include "test_images.h"

namespace quorvane::metric {
namespace {

using testing::damaged;
using testing::photoLike;

constexpr uint32_t kWidth = 384, kHeight = 256;

double butteraugli(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  struct ApiDeleter {
    void operator()(JxlButteraugliApi* api) const { JxlButteraugliApiDestroy(api); }
  };
  struct ResultDeleter {
    void operator()(JxlButteraugliResult* result) const { JxlButteraugliResultDestroy(result); }
  };
  const std::unique_ptr<JxlButteraugliApi, ApiDeleter> api(JxlButteraugliApiCreate(nullptr));
  const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
  const std::unique_ptr<JxlButteraugliResult, ResultDeleter> result(JxlButteraugliCompute(
      api.get(), kWidth, kHeight, &format, a.data(), a.size(), &format, b.data(), b.size()));
  return result ? JxlButteraugliResultGetMaxDistance(result.get()) : -1;
}

// Box blur of the given radius.
std::vector<uint8_t> blurred(const std::vector<uint8_t>& image, int radius) {
  std::vector<uint8_t> out = image;
  for (int y = 0; y < static_cast<int>(kHeight); ++y) {
    for (int x = 0; x < static_cast<int>(kWidth); ++x) {
      for (int c = 0; c < 3; ++c) {
        int sum = 0, count = 0;
        for (int dy = -radius; dy <= radius; ++dy) {
          for (int dx = -radius; dx <= radius; ++dx) {
            const int yy = std::clamp(y + dy, 0, static_cast<int>(kHeight) - 1);
            const int xx = std::clamp(x + dx, 0, static_cast<int>(kWidth) - 1);
            sum += image[(static_cast<size_t>(yy) * kWidth + xx) * 4 + c];
            ++count;
          }
        }
        out[(static_cast<size_t>(y) * kWidth + x) * 4 + c] = static_cast<uint8_t>(sum / count);
      }
    }
  }
  return out;
}

std::vector<uint8_t> posterized(std::vector<uint8_t> image, int bits) {
  const int mask = 0xFF << (8 - bits) & 0xFF;
  for (size_t i = 0; i < image.size(); ++i) {
    if (i % 4 != 3) image[i] = static_cast<uint8_t>(image[i] & mask);
  }
  return image;
}

TEST(Ssimulacra2AgainstButteraugli, BothRankDamagedImagesAlike) {
  const auto reference = photoLike(kWidth, kHeight, 17);
  std::vector<std::vector<uint8_t>> candidates;
  for (int strength : {3, 8, 16, 30}) candidates.push_back(damaged(reference, strength, 1));
  for (int radius : {1, 2, 3}) candidates.push_back(blurred(reference, radius));
  for (int bits : {6, 5, 4, 3}) candidates.push_back(posterized(reference, bits));

  std::vector<double> scores, distances;
  for (const auto& candidate : candidates) {
    double score = 0;
    ASSERT_EQ(quorvane_ssimulacra2_rgba(reference.data(), kWidth * 4, candidate.data(), kWidth * 4,
                                        kWidth, kHeight, nullptr, &score),
              QUORVANE_METRIC_OK);
    scores.push_back(score);
    distances.push_back(butteraugli(reference, candidate));
    ASSERT_GE(distances.back(), 0);
  }
  // Kendall's tau between the score and the distance, negated: 1 when the
  // two order every pair alike.
  int concordant = 0, discordant = 0;
  for (size_t i = 0; i < scores.size(); ++i) {
    for (size_t j = i + 1; j < scores.size(); ++j) {
      const double product = (scores[i] - scores[j]) * (distances[j] - distances[i]);
      if (product > 0) ++concordant;
      if (product < 0) ++discordant;
    }
  }
  const double tau = static_cast<double>(concordant - discordant) / (concordant + discordant);
  std::printf("Kendall tau against Butteraugli over %zu images: %.3f\n", scores.size(), tau);
  EXPECT_GE(tau, 0.6);
}

}  // namespace
}  // namespace quorvane::metric
