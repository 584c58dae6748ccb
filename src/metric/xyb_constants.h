// The XYB colour space of the metric: the opsin absorbance matrix and bias of
// the JPEG XL specification (ISO/IEC 18181-1, Annex on XYB), and the offsets
// and scale that bring each component into 0..1. Shared by the vector kernels
// and the scalar reference so that both read the very same numbers.
#pragma once

#include <cstdint>
#include <cstring>

namespace quorvane::metric {

// Rows: the L, M and S responses to linear R, G, B.
inline constexpr float kOpsin[3][3] = {
    {0.30f, 0.622f, 0.078f},
    {0.23f, 0.692f, 0.078f},
    {0.24342268924547819f, 0.20476744424496821f, 0.55180986650955360f},
};
inline constexpr float kOpsinBias = 0.0037930732552754493f;
// -cbrt(kOpsinBias), rounded once to float.
inline constexpr float kNegBiasCubeRoot = -0x1.3f64eap-3f;  // -0.155954197

inline constexpr float kXScale = 14.0f;
inline constexpr float kXOffset = 0.42f;
inline constexpr float kYOffset = 0.01f;
inline constexpr float kBOffset = 0.55f;

// The cube root of the XYB transfer: x * y * y where y = x^(-1/3), from a
// bit-trick guess refined by three Newton steps (no division, which is what
// makes it cheap). Within 5e-7 relative of the true root for 1e-4 <= x <= 2,
// the range of in-gamut colours; 0 maps to 0. The kernels perform exactly
// these operations per lane.
inline constexpr uint32_t kInverseCubeRootGuess = 0x54a2fa8cu;

inline float cubeRoot(float x) {
  uint32_t bits;
  std::memcpy(&bits, &x, 4);
  const auto third = static_cast<uint32_t>(
      static_cast<int32_t>(static_cast<float>(static_cast<int32_t>(bits)) * (1.0f / 3.0f)));
  const uint32_t guess = kInverseCubeRootGuess - third;
  float y;
  std::memcpy(&y, &guess, 4);
  for (int step = 0; step < 3; ++step) y = (y * (4.0f - x * ((y * y) * y))) * (1.0f / 3.0f);
  return (x * y) * y;
}

// The SSIM constant for the variance terms.
inline constexpr float kSsimC2 = 0.0009f;

}  // namespace quorvane::metric
