// A transparent logo with soft edges, the kind of image the alpha-aware
// palette is for: more (colour, alpha) pairs than a palette holds.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace quorvane::test {

// A logo: a colour-graded disc with a six-pixel soft edge and a grey drop
// shadow, on a transparent field.
inline std::vector<std::uint8_t> softLogo(std::uint32_t w, std::uint32_t h) {
  std::vector<std::uint8_t> out(std::size_t{w} * h * 4);
  const double cx = w * 0.45, cy = h * 0.45, radius = std::min(w, h) * 0.35;
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t x = 0; x < w; ++x) {
      std::uint8_t* p = &out[(std::size_t{y} * w + x) * 4];
      const double d = std::hypot(x - cx, y - cy);
      const double disc = std::clamp((radius - d) / 6.0 + 0.5, 0.0, 1.0);
      const double shadow =
          0.4 * std::clamp((radius - std::hypot(x - cx - 8, y - cy - 8)) / 10.0 + 0.5, 0.0, 1.0);
      const double alpha = disc + shadow * (1 - disc);
      const double mix = alpha > 0 ? disc / alpha : 0;  // colour over the shadow's black
      p[0] = static_cast<std::uint8_t>(std::lround(mix * (40 + 200.0 * x / w)));
      p[1] = static_cast<std::uint8_t>(std::lround(mix * (90 + 120.0 * y / h)));
      p[2] = static_cast<std::uint8_t>(std::lround(mix * 200));
      p[3] = static_cast<std::uint8_t>(std::lround(alpha * 255));
    }
  }
  return out;
}

}  // namespace quorvane::test
