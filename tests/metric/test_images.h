// Synthetic photo-like images and damage for the metric's tests.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace quorvane::metric::testing {

// Photo-like RGBA: smooth shapes, edges and fine grain, opaque.
inline std::vector<uint8_t> photoLike(uint32_t width, uint32_t height, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> phase(0.0f, 6.28f);
  std::normal_distribution<float> grain(0.0f, 6.0f);
  const float a = phase(rng), b = phase(rng), c = phase(rng);
  std::vector<uint8_t> out(size_t{width} * height * 4);
  const auto clamp = [](float v) {
    return static_cast<uint8_t>(std::lround(std::fmin(255.0f, std::fmax(0.0f, v))));
  };
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const float u = static_cast<float>(x) / 37.0f, v = static_cast<float>(y) / 53.0f;
      const float edge = ((x / 97 + y / 61) % 2) ? 40.0f : -40.0f;
      uint8_t* p = &out[(size_t{y} * width + x) * 4];
      p[0] = clamp(128 + 60 * std::sin(u + a) + edge + grain(rng));
      p[1] = clamp(120 + 50 * std::sin(v + b) * std::cos(u * 0.7f) + grain(rng));
      p[2] = clamp(100 + 70 * std::cos(u * 0.3f + v * 0.5f + c) - edge / 2 + grain(rng));
      p[3] = 255;
    }
  }
  return out;
}

// Adds noise of the given strength: a stand-in for compression damage.
inline std::vector<uint8_t> damaged(std::vector<uint8_t> image, int strength, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> noise(-strength, strength);
  for (size_t i = 0; i < image.size(); ++i) {
    if (i % 4 == 3) continue;
    image[i] = static_cast<uint8_t>(std::clamp(image[i] + noise(rng), 0, 255));
  }
  return image;
}

}  // namespace quorvane::metric::testing
