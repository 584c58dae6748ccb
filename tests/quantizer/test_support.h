// Shared helpers of the quantiser tests: deterministic images and a loop over
// every SIMD target this build carries.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "simd/simd_targets.h"

namespace quorvane::quant::testing {

using simd::availableSimdTargets;
using simd::ScopedSimdTarget;
using simd::SimdTarget;

// Runs `body` once per compiled and supported SIMD target, pinned to it.
template <typename Body>
void forEachTarget(Body&& body) {
  const auto targets = availableSimdTargets();
  ASSERT_FALSE(targets.empty());
  for (const SimdTarget& target : targets) {
    SCOPED_TRACE(::testing::Message() << "SIMD target " << target.name);
    ScopedSimdTarget pin(target.id);
    body();
  }
}

// Uniform random RGBA bytes.
inline std::vector<uint8_t> randomRgba(size_t pixels, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> out(pixels * 4);
  for (auto& byte : out) byte = static_cast<uint8_t>(rng());
  return out;
}

// Smooth gradients with a little noise: photo-like, many nearby colours.
inline std::vector<uint8_t> gradientRgba(uint32_t width, uint32_t height, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> noise(-6, 6);
  std::vector<uint8_t> out(size_t{width} * height * 4);
  const auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t* p = &out[(size_t{y} * width + x) * 4];
      p[0] = clamp(static_cast<int>(255 * x / (width > 1 ? width - 1 : 1)) + noise(rng));
      p[1] = clamp(static_cast<int>(255 * y / (height > 1 ? height - 1 : 1)) + noise(rng));
      p[2] = clamp(static_cast<int>(128 + 100 * ((x + y) % 7) / 6) + noise(rng));
      p[3] = static_cast<uint8_t>(x * 7 + y * 13);
    }
  }
  return out;
}

}  // namespace quorvane::quant::testing
