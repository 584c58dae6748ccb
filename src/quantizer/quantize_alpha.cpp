// The C entry point of the alpha-aware palette: premultiplied colours, Wu's
// splitting over opaque and translucent pixels together, k-means, then the
// dithered remap into palette indices.
#include <array>
#include <cstring>
#include <exception>
#include <vector>

#include "quantizer/alpha_stages.h"
#include "quantizer/premultiplied.h"
#include "quantizer/quorvane_quantize.h"
#include "quantizer/wu_alpha.h"

namespace quorvane::quant {
namespace {

struct Census {
  size_t transparent = 0;
  size_t opaque = 0;
  size_t translucent = 0;
};

Census census(const uint8_t* rgba, size_t count) {
  Census c;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t alpha = rgba[i * 4 + 3];
    c.transparent += alpha == 0;
    c.opaque += alpha == 255;
  }
  c.translucent = count - c.transparent - c.opaque;
  return c;
}

// Initial palette: the transparent entry first when needed, then Wu's boxes.
AlphaEntries initialPalette(const uint8_t* rgba, const Premultiplied* image, size_t count,
                            const Census& kinds, uint32_t maxColors) {
  AlphaEntries palette;
  const uint32_t budget = maxColors - (kinds.transparent > 0 ? 1u : 0u);
  palette.pinOpaque = budget >= (kinds.opaque > 0 ? 1u : 0u) + (kinds.translucent > 0 ? 1u : 0u);
  const auto pinned = [&](size_t i) {
    const Coverage kind = coverageOf(rgba[i * 4 + 3]);
    return kind == Coverage::Opaque && palette.pinOpaque;
  };
  BoundsOf opaqueRange;
  BoundsOf translucentRange;
  for (size_t i = 0; i < count; ++i) {
    if (rgba[i * 4 + 3] == 0) continue;
    (pinned(i) ? opaqueRange : translucentRange).add(image[i]);
  }
  const BinBounds opaqueBounds = opaqueRange.bounds(kWuOpaqueBins);
  WuHistogram opaque;
  WuAlphaHistogram translucent(translucentRange.bounds(kWuTranslucentBins));
  constexpr size_t kBlock = 1024;
  std::array<Oklab, kBlock> block;
  std::array<uint32_t, kBlock> bins;
  size_t filled = 0;
  for (size_t i = 0; i < count; ++i) {
    if (rgba[i * 4 + 3] == 0) continue;
    if (pinned(i)) {
      block[filled] = {image[i].l, image[i].a, image[i].b};
      bins[filled++] = wuOpaqueBinIndex(image[i], opaqueBounds);
      if (filled == kBlock) opaque.add(block.data(), bins.data(), filled), filled = 0;
    } else {
      translucent.add(image[i]);
    }
  }
  opaque.add(block.data(), bins.data(), filled);
  opaque.makeCumulative();
  translucent.makeCumulative();
  AlphaPalette boxes = splitJointly(opaque, translucent, static_cast<uint16_t>(budget));
  if (kinds.transparent > 0) {
    palette.colours.push_back({0.0f, 0.0f, 0.0f, 0.0f});
    palette.kinds.push_back(Coverage::Transparent);
  }
  palette.colours.insert(palette.colours.end(), boxes.entries.begin(), boxes.entries.end());
  palette.kinds.insert(palette.kinds.end(), boxes.kinds.begin(), boxes.kinds.end());
  return palette;
}

// Valid arguments only; every allocation comes before the first write to an
// output. False when `stop` asked to stop.
bool quantizeAlpha(const uint8_t* rgba, uint32_t width, uint32_t height, uint32_t maxColors,
                   uint8_t* indices, uint8_t* paletteOut, uint32_t* paletteSize,
                   const StopCheck& stop) {
  const size_t count = size_t{width} * height;
  std::vector<Premultiplied> image(count);  // first, so a huge image fails before any read
  const Census kinds = census(rgba, count);
  if (kinds.transparent == count) {
    std::memset(indices, 0, count);
    std::memset(paletteOut, 0, 4);
    *paletteSize = 1;
    return true;
  }
  rgbaToPremultiplied(rgba, count, image.data());
  if (stop()) return false;

  AlphaEntries palette = initialPalette(rgba, image.data(), count, kinds, maxColors);
  if (stop()) return false;

  std::vector<uint32_t> visible;  // the pixels k-means draws from, when not all
  if (kinds.transparent > 0) {
    visible.reserve(count - kinds.transparent);
    for (size_t i = 0; i < count; ++i) {
      if (rgba[i * 4 + 3] != 0) visible.push_back(static_cast<uint32_t>(i));
    }
  }
  refineAlphaPalette(palette, image.data(), visible.empty() ? nullptr : visible.data(),
                     count - kinds.transparent);
  visible = {};
  if (stop()) return false;

  std::vector<uint8_t> entries(palette.colours.size() * 4);
  for (size_t i = 0; i < palette.colours.size(); ++i) {
    premultipliedToRgba(palette.colours[i], &entries[i * 4]);
  }
  if (!remapAlpha(image.data(), rgba, width, height, palette, kAlphaDiffusionFactor, indices,
                  stop)) {
    return false;
  }
  std::memcpy(paletteOut, entries.data(), entries.size());
  *paletteSize = static_cast<uint32_t>(palette.colours.size());
  return true;
}

}  // namespace
}  // namespace quorvane::quant

extern "C" int32_t quorvane_quantize_rgba_alpha(const uint8_t* pixels, uint32_t width,
                                                uint32_t height, uint32_t max_colors,
                                                uint8_t* indices, uint8_t* palette,
                                                uint32_t* palette_size,
                                                quorvane_should_stop_fn should_stop,
                                                void* context) noexcept {
  if (pixels == nullptr || indices == nullptr || palette == nullptr || palette_size == nullptr ||
      width == 0 || height == 0 || max_colors - 2u >= 255u) {
    return -1;
  }
  if (uint64_t{width} * height >= (uint64_t{1} << 32)) return -1;
  const quorvane::quant::StopCheck stop{should_stop, context};
  try {
    if (!quorvane::quant::quantizeAlpha(pixels, width, height, max_colors, indices, palette,
                                        palette_size, stop)) {
      return -2;
    }
  } catch (const std::exception&) {
    return -1;  // working memory; nothing was written
  }
  return 0;
}
