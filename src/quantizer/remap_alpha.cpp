// Dithered remap of the alpha-aware palette.
#include <vector>

#include "quantizer/alpha_search.h"
#include "quantizer/alpha_stages.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "quantizer/remap_alpha.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
#include "quantizer/nearest_alpha-inl.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::quant::HWY_NAMESPACE {

// Error diffusion is serial along a row; only the search is vectorised.
bool RemapAlpha(const Premultiplied* HWY_RESTRICT image, const uint8_t* HWY_RESTRICT rgba,
                uint32_t width, uint32_t height, const AlphaChunk* HWY_RESTRICT opaqueSet,
                size_t opaqueChunks, const AlphaChunk* HWY_RESTRICT allSet, size_t allChunks,
                const Premultiplied* HWY_RESTRICT palette, bool pinOpaque, float diffusion,
                uint8_t* HWY_RESTRICT indices, Premultiplied* HWY_RESTRICT rowA,
                Premultiplied* HWY_RESTRICT rowB, const StopCheck* stop) {
  constexpr float k7 = 0.4375f;
  constexpr float k3 = 0.1875f;
  constexpr float k5 = 0.3125f;
  constexpr float k1 = 0.0625f;
  Premultiplied* current = rowA;  // error reaching column x sits at position x + 1
  Premultiplied* next = rowB;
  for (uint32_t y = 0; y < height; ++y) {
    if (y % 16 == 15 && (*stop)()) return false;
    const bool leftToRight = (y % 2) == 0;
    const ptrdiff_t dir = leftToRight ? 1 : -1;
    const size_t rowStart = size_t{y} * width;
    for (uint32_t step = 0; step < width; ++step) {
      const uint32_t x = leftToRight ? step : width - 1 - step;
      const ptrdiff_t p = ptrdiff_t{x} + 1;
      const uint8_t alpha = rgba[(rowStart + x) * 4 + 3];
      const Premultiplied& px = image[rowStart + x];
      Premultiplied e{0.0f, 0.0f, 0.0f, 0.0f};
      uint32_t i = 0;  // alpha 0: the transparent entry, which is entry 0
      if (alpha == 255 && pinOpaque) {
        const Premultiplied v{px.l + current[p].l, px.a + current[p].a, px.b + current[p].b,
                              kAlphaWeight};
        i = NearestAlphaInChunks(opaqueSet, opaqueChunks, v);
        e = {(v.l - palette[i].l) * diffusion, (v.a - palette[i].a) * diffusion,
             (v.b - palette[i].b) * diffusion, 0.0f};
      } else if (alpha != 0) {
        const Premultiplied v{px.l + current[p].l, px.a + current[p].a, px.b + current[p].b,
                              px.alpha + current[p].alpha};
        i = NearestAlphaInChunks(allSet, allChunks, v);
        e = {(v.l - palette[i].l) * diffusion, (v.a - palette[i].a) * diffusion,
             (v.b - palette[i].b) * diffusion, (v.alpha - palette[i].alpha) * diffusion};
      }
      indices[rowStart + x] = static_cast<uint8_t>(i);
      Premultiplied& ahead = current[p + dir];
      ahead.l = ahead.l + e.l * k7;
      ahead.a = ahead.a + e.a * k7;
      ahead.b = ahead.b + e.b * k7;
      ahead.alpha = ahead.alpha + e.alpha * k7;
      Premultiplied& belowPassed = next[p - dir];
      belowPassed.l = belowPassed.l + e.l * k3;
      belowPassed.a = belowPassed.a + e.a * k3;
      belowPassed.b = belowPassed.b + e.b * k3;
      belowPassed.alpha = belowPassed.alpha + e.alpha * k3;
      Premultiplied& below = next[p];
      below.l = below.l + e.l * k5;
      below.a = below.a + e.a * k5;
      below.b = below.b + e.b * k5;
      below.alpha = below.alpha + e.alpha * k5;
      next[p + dir] = {e.l * k1, e.a * k1, e.b * k1, e.alpha * k1};
    }
    current[1] = {0.0f, 0.0f, 0.0f, 0.0f};
    current[width] = {0.0f, 0.0f, 0.0f, 0.0f};
    Premultiplied* const swap = current;
    current = next;
    next = swap;
  }
  return true;
}

}  // namespace quorvane::quant::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorvane::quant {

HWY_EXPORT(RemapAlpha);

bool remapAlpha(const Premultiplied* image, const uint8_t* rgba, uint32_t width, uint32_t height,
                const AlphaEntries& palette, float diffusion, uint8_t* indices,
                const StopCheck& stop) {
  if (width == 0 || height == 0) return true;
  AlphaSearchSet opaque;
  AlphaSearchSet all;
  for (size_t i = 0; i < palette.colours.size(); ++i) {
    if (palette.kinds[i] == Coverage::Opaque)
      opaque.add(palette.colours[i], static_cast<uint32_t>(i));
    all.add(palette.colours[i], static_cast<uint32_t>(i));
  }
  std::vector<Premultiplied> rows(2 * (size_t{width} + 2), Premultiplied{0.0f, 0.0f, 0.0f, 0.0f});
  return HWY_DYNAMIC_DISPATCH(RemapAlpha)(image, rgba, width, height, opaque.chunks(),
                                          opaque.chunkCount(), all.chunks(), all.chunkCount(),
                                          palette.colours.data(), palette.pinOpaque, diffusion,
                                          indices, rows.data(), rows.data() + width + 2, &stop);
}

}  // namespace quorvane::quant
#endif  // HWY_ONCE
