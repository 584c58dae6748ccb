#include "quantizer/reference/reference_alpha_quantizer.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "quantizer/reference/reference_quantizer.h"
#include "quantizer/wu_alpha.h"

namespace quorvane::quant::reference {

namespace {

int kindIndex(Coverage kind) {
  return kind == Coverage::Transparent ? 0 : kind == Coverage::Translucent ? 1 : 2;
}

}  // namespace

Premultiplied premultiplied(const uint8_t rgba[4]) {
  if (rgba[3] == 0) return {0.0f, 0.0f, 0.0f, 0.0f};
  const Oklab c = srgbToOklab(rgba[0], rgba[1], rgba[2]);
  const float f = static_cast<float>(rgba[3] / 255.0);
  const float w = static_cast<float>(std::cbrt(static_cast<double>(f)));
  return {c.l * w, c.a * w, c.b * w, f * kAlphaWeight};
}

uint32_t nearestAlphaIndex(const std::vector<Premultiplied>& palette,
                           const std::vector<Coverage>& kinds, const bool allowed[3],
                           const Premultiplied& x) {
  uint32_t best = 0;
  float bestDistance = std::numeric_limits<float>::infinity();
  bool found = false;
  for (uint32_t i = 0; i < palette.size(); ++i) {
    if (!allowed[kindIndex(kinds[i])]) continue;
    const float dl = x.l - palette[i].l;
    const float da = x.a - palette[i].a;
    const float db = x.b - palette[i].b;
    const float dw = x.alpha - palette[i].alpha;
    const float d = ((dl * dl + da * da) + db * db) + dw * dw;
    if (!found || d < bestDistance) {
      best = i;
      bestDistance = d;
      found = true;
    }
  }
  return best;
}

void premultipliedToRgba(const Premultiplied& entry, uint8_t rgba[4]) {
  if (entry.alpha == kAlphaWeight) {
    oklabToSrgb({entry.l, entry.a, entry.b}, rgba);
    rgba[3] = 255;
    return;
  }
  const float alpha = entry.alpha / kAlphaWeight;
  const float scaled = alpha * 255.0f + 0.5f;
  int alpha8 = 0;
  if (scaled >= 255.0f) {
    alpha8 = 255;
  } else if (scaled >= 1.0f) {
    alpha8 = static_cast<int>(std::trunc(scaled));
  }
  if (alpha8 == 0) {
    rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
    return;
  }
  const float w = static_cast<float>(std::cbrt(static_cast<double>(alpha)));
  oklabToSrgb({entry.l / w, entry.a / w, entry.b / w}, rgba);
  rgba[3] = static_cast<uint8_t>(alpha8);
}

int32_t quantizeRgbaAlpha(const uint8_t* pixels, uint32_t width, uint32_t height,
                          uint32_t maxColors, uint8_t* indices, uint8_t* paletteOut,
                          uint32_t* paletteSize) {
  if (!pixels || !indices || !paletteOut || !paletteSize || width == 0 || height == 0 ||
      maxColors < 2 || maxColors > 256) {
    return -1;
  }
  const uint64_t n64 = uint64_t{width} * height;
  if (n64 >= (uint64_t{1} << 32)) return -1;
  const size_t n = static_cast<size_t>(n64);
  try {
    size_t transparent = 0, opaque = 0, translucent = 0;
    for (size_t i = 0; i < n; ++i) {
      const uint8_t a = pixels[i * 4 + 3];
      if (a == 0) {
        ++transparent;
      } else if (a == 255) {
        ++opaque;
      } else {
        ++translucent;
      }
    }
    if (transparent == n) {
      std::memset(indices, 0, n);
      std::memset(paletteOut, 0, 4);
      *paletteSize = 1;
      return 0;
    }
    std::vector<Premultiplied> image(n);
    for (size_t i = 0; i < n; ++i) image[i] = premultiplied(pixels + i * 4);

    // Wu: opaque pixels in the 3-D histogram (when each kind can have an entry),
    // the others in the 4-D one, in pixel order.
    const uint32_t budget = maxColors - (transparent > 0 ? 1 : 0);
    const bool pin = budget >= uint32_t{opaque > 0} + uint32_t{translucent > 0};
    const auto pinned = [&](size_t i) { return pixels[i * 4 + 3] == 255 && pin; };
    float low[2][4], high[2][4];
    bool any[2] = {false, false};
    for (size_t i = 0; i < n; ++i) {
      if (pixels[i * 4 + 3] == 0) continue;
      const int set = pinned(i) ? 0 : 1;
      const float value[4] = {image[i].l, image[i].a, image[i].b, image[i].alpha};
      for (int axis = 0; axis < 4; ++axis) {
        if (!any[set] || value[axis] < low[set][axis]) low[set][axis] = value[axis];
        if (!any[set] || value[axis] > high[set][axis]) high[set][axis] = value[axis];
      }
      any[set] = true;
    }
    BinBounds bounds[2];
    const int* binsOf[2] = {kWuOpaqueBins, kWuTranslucentBins};
    for (int set = 0; set < 2; ++set) {
      for (int axis = 0; axis < 4; ++axis) {
        const float lo = any[set] ? low[set][axis] : 0.0f;
        const float range = any[set] ? high[set][axis] - lo : 0.0f;
        bounds[set].minimum[axis] = lo;
        bounds[set].scale[axis] =
            range > 0.0f ? static_cast<float>(binsOf[set][axis]) / range : 0.0f;
      }
    }
    const auto bin = [&](float value, int set, int axis) {
      const float t = (value - bounds[set].minimum[axis]) * bounds[set].scale[axis];
      const int count = binsOf[set][axis];
      if (std::isnan(t) || t < 1.0f) return 0;
      if (t >= static_cast<float>(count)) return count - 1;
      return static_cast<int>(std::trunc(t));
    };
    std::vector<Oklab> opaqueColours;
    std::vector<uint32_t> opaqueBins;
    WuAlphaHistogram fourD(bounds[1]);
    for (size_t i = 0; i < n; ++i) {
      if (pixels[i * 4 + 3] == 0) continue;
      if (pinned(i)) {
        opaqueColours.push_back({image[i].l, image[i].a, image[i].b});
        opaqueBins.push_back(static_cast<uint32_t>(
            (bin(image[i].l, 0, 0) * 16 + bin(image[i].a, 0, 1)) * 16 + bin(image[i].b, 0, 2)));
      } else {
        fourD.add(image[i]);
      }
    }
    WuHistogram threeD;
    threeD.add(opaqueColours.data(), opaqueBins.data(), opaqueColours.size());
    threeD.makeCumulative();
    fourD.makeCumulative();
    const AlphaPalette boxes = splitJointly(threeD, fourD, static_cast<uint16_t>(budget));
    std::vector<Premultiplied> palette;
    std::vector<Coverage> kinds;
    if (transparent > 0) {
      palette.push_back({0.0f, 0.0f, 0.0f, 0.0f});
      kinds.push_back(Coverage::Transparent);
    }
    palette.insert(palette.end(), boxes.entries.begin(), boxes.entries.end());
    kinds.insert(kinds.end(), boxes.kinds.begin(), boxes.kinds.end());

    // k-means over the visible pixels.
    std::vector<uint32_t> visible;
    for (size_t i = 0; i < n; ++i) {
      if (pixels[i * 4 + 3] != 0) visible.push_back(static_cast<uint32_t>(i));
    }
    const uint32_t m = static_cast<uint32_t>(visible.size());
    const uint32_t samples = m < 0x40000u ? m : 0x40000u;
    std::vector<uint32_t> counters(palette.size(), 0);
    uint64_t s0 = 0xE220A8397B1DCDAFull;
    uint64_t s1 = 0x6E789E6AA1B965F4ull;
    const auto rotl = [](uint64_t v, int k) { return (v << k) | (v >> (64 - k)); };
    const uint32_t threshold = (0u - m) % m;
    const bool opaqueOnly[3] = {false, !pin, true};
    const bool othersOnly[3] = {false, true, !pin};
    for (uint32_t k = 0; k < samples; ++k) {
      uint64_t product;
      do {
        const uint64_t output = rotl(s0 + s1, 17) + s0;
        const uint64_t u = s1 ^ s0;
        s0 = rotl(s0, 49) ^ u ^ (u << 21);
        s1 = rotl(u, 28);
        product = (output & 0xFFFFFFFFu) * m;
      } while ((product & 0xFFFFFFFFu) < threshold);
      const Premultiplied x = image[visible[product >> 32]];
      const bool* allowed = x.alpha == kAlphaWeight ? opaqueOnly : othersOnly;
      const uint32_t i = nearestAlphaIndex(palette, kinds, allowed, x);
      const uint32_t c = counters[i] + 1;
      const float rate = static_cast<float>(1.0 / std::sqrt(static_cast<double>(c)));
      Premultiplied& centroid = palette[i];
      centroid.l = centroid.l + (x.l - centroid.l) * rate;
      centroid.a = centroid.a + (x.a - centroid.a) * rate;
      centroid.b = centroid.b + (x.b - centroid.b) * rate;
      centroid.alpha = centroid.alpha + (x.alpha - centroid.alpha) * rate;
      counters[i] = c;
    }

    // Remap.
    std::vector<Premultiplied> current(size_t{width} + 2, Premultiplied{0, 0, 0, 0});
    std::vector<Premultiplied> next(size_t{width} + 2, Premultiplied{0, 0, 0, 0});
    const auto addScaled = [](Premultiplied& to, const Premultiplied& e, float w) {
      to.l = to.l + e.l * w;
      to.a = to.a + e.a * w;
      to.b = to.b + e.b * w;
      to.alpha = to.alpha + e.alpha * w;
    };
    const bool opaqueEntries[3] = {false, false, true};
    const bool everyEntry[3] = {true, true, true};
    for (uint32_t y = 0; y < height; ++y) {
      const bool ltr = y % 2 == 0;
      for (uint32_t k = 0; k < width; ++k) {
        const uint32_t x = ltr ? k : width - 1 - k;
        const size_t p = size_t{x} + 1;
        const size_t at = size_t{y} * width + x;
        const uint8_t a = pixels[at * 4 + 3];
        Premultiplied e{0, 0, 0, 0};
        uint32_t i = 0;
        if (a == 255 && pin) {
          const Premultiplied v{image[at].l + current[p].l, image[at].a + current[p].a,
                                image[at].b + current[p].b, kAlphaWeight};
          i = nearestAlphaIndex(palette, kinds, opaqueEntries, v);
          e = {(v.l - palette[i].l) * 0.5f, (v.a - palette[i].a) * 0.5f,
               (v.b - palette[i].b) * 0.5f, 0.0f};
        } else if (a != 0) {
          const Premultiplied v{image[at].l + current[p].l, image[at].a + current[p].a,
                                image[at].b + current[p].b, image[at].alpha + current[p].alpha};
          i = nearestAlphaIndex(palette, kinds, everyEntry, v);
          e = {(v.l - palette[i].l) * 0.5f, (v.a - palette[i].a) * 0.5f,
               (v.b - palette[i].b) * 0.5f, (v.alpha - palette[i].alpha) * 0.5f};
        }
        indices[at] = static_cast<uint8_t>(i);
        const Premultiplied sixteenth{e.l * 0.0625f, e.a * 0.0625f, e.b * 0.0625f,
                                      e.alpha * 0.0625f};
        if (ltr) {
          addScaled(current[p + 1], e, 0.4375f);
          addScaled(next[p - 1], e, 0.1875f);
          addScaled(next[p], e, 0.3125f);
          next[p + 1] = sixteenth;
        } else {
          addScaled(current[p - 1], e, 0.4375f);
          addScaled(next[p + 1], e, 0.1875f);
          addScaled(next[p], e, 0.3125f);
          next[p - 1] = sixteenth;
        }
      }
      current[1] = {0, 0, 0, 0};
      current[width] = {0, 0, 0, 0};
      std::swap(current, next);
    }
    for (size_t i = 0; i < palette.size(); ++i) {
      reference::premultipliedToRgba(palette[i], paletteOut + i * 4);
    }
    *paletteSize = static_cast<uint32_t>(palette.size());
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return 0;
}

}  // namespace quorvane::quant::reference
