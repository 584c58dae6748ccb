// The Gaussian blur of the metric (sigma 1.5), as the recursive filter of
// Charalampidis, "Recursive Implementation of the Gaussian Filter Using
// Truncated Cosine Functions" (IEEE Trans. Signal Processing, 2016): three
// second-order sections whose inputs are the samples N + 1 before and N - 1
// after the output. Its impulse response is finite: a sum of three cosines on
// the nine samples around the output, zero beyond. We convolve with those
// nine taps directly: the same filter without the recursion's serial
// dependency, and without its round-off (its poles lie on the unit circle,
// so errors add up along a line); a test runs the recursion itself.
#pragma once

#include <array>

namespace quorvane::metric {

inline constexpr double kBlurSigma = 1.5;
// Samples on each side of the output that carry weight.
inline constexpr int kBlurReach = 4;

// The recursion's coefficients: section k computes
// y[n] = n2[k] * (x[n - radius - 1] + x[n + radius - 1]) - d1[k] * y[n - 1] - y[n - 2],
// and the output is the sum of the three sections.
struct RecursiveGaussian {
  int radius = 0;
  std::array<double, 3> n2{};
  std::array<double, 3> d1{};
  std::array<double, 3> beta{};   // cosine amplitudes
  std::array<double, 3> omega{};  // cosine frequencies
};

RecursiveGaussian recursiveGaussian(double sigma = kBlurSigma);

// Weight of the samples at distance 0..kBlurReach from the output, rounded
// once to float: the recursion's impulse response, sum_k beta[k] cos(omega[k] m).
// They sum (both sides) to 1 within 1e-7.
std::array<float, kBlurReach + 1> blurTaps();

}  // namespace quorvane::metric
