// The stages of the alpha-aware palette after Wu's splitting: k-means
// refinement and the dithered remap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "quantizer/premultiplied.h"
#include "quantizer/remap.h"

namespace quorvane::quant {

// The share of each pixel's error that the alpha-aware remap diffuses. Lower
// than the colour palette's: on the transparent set of bench/ it gives
// smaller files with a smaller error over black and white (0.875: +19 %
// bytes, error +8 %).
inline constexpr float kAlphaDiffusionFactor = 0.5f;

// A palette being built: entry 0 is (0, 0, 0, 0) of kind Transparent when the
// image has alpha-0 pixels; every other entry is Opaque or Translucent.
struct AlphaEntries {
  std::vector<Premultiplied> colours;
  std::vector<Coverage> kinds;
  // Opaque pixels search only Opaque entries (and Translucent ones only the
  // others); false when the palette was too small to give each kind an entry,
  // and then every pixel that is not transparent searches every entry that is
  // not transparent.
  bool pinOpaque = true;
};

// Online k-means as for the opaque palette (same sample count, generator and
// update), over `count` (1 .. 2^32 - 1) non-transparent pixels: sample j is
// image[pixels[j]], or image[j] when `pixels` is null. An opaque sample moves
// the nearest Opaque entry, a translucent one the nearest Translucent entry
// (any non-transparent entry when not pinned). Throws std::bad_alloc.
void refineAlphaPalette(AlphaEntries& palette, const Premultiplied* image, const uint32_t* pixels,
                        size_t count);

// Serpentine Floyd-Steinberg over width x height pixels with all four
// coordinates diffused (factor `diffusion`, weights 7/16, 3/16, 5/16, 1/16 as
// for the opaque palette). Per pixel, by the alpha byte of `rgba`:
//  - 0: the transparent entry, error 0 (what reached the pixel is dropped);
//  - 255 (pinned): alpha axis taken as kAlphaWeight whatever reached it, the
//    nearest Opaque entry, alpha error 0;
//  - otherwise (and 255 when not pinned): pixel + error, the nearest of all
//    entries, the transparent one included.
// Ties go to the lowest index.
// Writes one index per pixel; `stop` asked every 16 rows (false: stopped).
bool remapAlpha(const Premultiplied* image, const uint8_t* rgba, uint32_t width, uint32_t height,
                const AlphaEntries& palette, float diffusion, uint8_t* indices,
                const StopCheck& stop);

}  // namespace quorvane::quant
