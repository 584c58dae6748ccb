// The final score from the error norms of every scale: the published weights
// of SSIMULACRA 2 (revision of April 2023, tuned on CID22, TID2013, KADID-10k
// and KonFiG-IQA) and its mapping onto 100 = identical.
#pragma once

#include <array>
#include <vector>

namespace quorvane::metric {

inline constexpr int kScales = 6;
inline constexpr int kChannels = 3;

// Raw sums of one scale, per channel: SSIM, SSIM^4, ringing, ringing^4,
// blurring, blurring^4 over all its pixels.
struct ScaleSums {
  std::array<std::array<double, 6>, kChannels> channel{};
  double pixels = 0;
};

// The weight of one norm: channel (X, Y, B), scale 0..5, norm (0: mean,
// 1: 4-norm), map (0: SSIM, 1: ringing, 2: blurring).
double scoreWeight(int channel, int scale, int norm, int map);

// The score from the sums of the scales computed (finest first); scales an
// image was too small for contribute nothing.
double scoreFromScales(const std::vector<ScaleSums>& scales);

}  // namespace quorvane::metric
