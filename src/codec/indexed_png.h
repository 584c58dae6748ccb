// Images of at most 256 colours as a palette and one byte per pixel, and the
// 8-bit indexed PNG that stores them (with a tRNS chunk when any colour is
// not opaque): a quarter of the RGBA data before any compression.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "codec/codec_result.h"
#include "codec/image_codec.h"
#include "codec/metadata.h"

namespace quorvane::codec {

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<std::array<std::uint8_t, 4>> palette;  // RGBA, at most 256
  std::vector<std::uint8_t> indices;                 // width x height, rows top to bottom
};

// The image as a palette of its distinct RGBA colours when it has at most
// `maxColours` of them (1..256), else nothing. Colours that are not opaque
// come first, so the tRNS chunk stays short; the rest keep the order in
// which they first appear. Stops counting as soon as there are too many.
std::optional<IndexedImage> indexedIfFits(const RgbaImage& image, int maxColours);

// The same pixels with the palette as the PNG wants it: entries no pixel uses
// dropped, entries of equal RGBA merged, colours that are not opaque first
// (so the tRNS chunk stays short), each group in its former order.
IndexedImage compactPalette(const IndexedImage& image);

// Writes an 8-bit indexed PNG (bit depth 8, one IDAT stream, adaptive row
// filters left to libpng's default for palettes: none). `metadata` as in
// writePng. Fails with WriteFailed; a failed write removes what it created.
Result<void> writeIndexedPng(const IndexedImage& image, const std::filesystem::path& path,
                             const Metadata* metadata = nullptr);

// Whether any pixel is less than opaque.
bool hasTransparency(const RgbaImage& image);

}  // namespace quorvane::codec
