#include "viewmodels/difference_heat_map.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quorvane::core {

namespace {

struct Stop {
  float at;  // 0..1 along the ramp
  std::array<float, 4> rgba;
};

// Clear, then yellow, orange and red, more opaque as they go.
constexpr std::array<Stop, 4> kRamp{{
    {0.0f, {255, 230, 0, 0}},
    {0.25f, {255, 230, 0, 110}},
    {0.6f, {255, 140, 0, 170}},
    {1.0f, {230, 20, 20, 215}},
}};

std::array<std::uint8_t, 4> colourAt(float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  std::size_t i = 1;
  while (i + 1 < kRamp.size() && t > kRamp[i].at) ++i;
  const Stop& low = kRamp[i - 1];
  const Stop& high = kRamp[i];
  const float f = (t - low.at) / (high.at - low.at);
  std::array<std::uint8_t, 4> colour{};
  for (std::size_t c = 0; c < 4; ++c) {
    colour[c] = static_cast<std::uint8_t>(low.rgba[c] + f * (high.rgba[c] - low.rgba[c]) + 0.5f);
  }
  return colour;
}

}  // namespace

codec::RgbaImage differenceHeatMap(const std::vector<float>& map, int width, int height) {
  codec::RgbaImage image(width, height);
  const std::size_t count = std::min(map.size(), image.byteSize() / 4);
  // A table of 256 steps: the ramp is smooth enough, and a photo has 12 M values.
  std::array<std::array<std::uint8_t, 4>, 256> table{};
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = colourAt(static_cast<float>(i) / 255.0f);
  constexpr float kSpan = kPlainDifference - kUnseenDifference;
  std::uint8_t* out = image.data();
  for (std::size_t i = 0; i < count; ++i) {
    const float t = (map[i] - kUnseenDifference) / kSpan;
    // Also NaN goes clear.
    const int step = t > 0.0f ? static_cast<int>(std::min(t, 1.0f) * 255.0f + 0.5f) : 0;
    std::copy(table[step].begin(), table[step].end(), out + 4 * i);
  }
  return image;
}

}  // namespace quorvane::core
