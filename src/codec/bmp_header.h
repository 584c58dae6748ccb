// Reads the pixel size of a BMP from its file and info headers. libvips can
// read BMP only through ImageMagick, whose header read decodes every pixel, so
// intake and the size limit use this instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quorvane::codec::detail {

struct BmpHeader {
  int width = 0;
  int height = 0;        // always positive; see topDown
  bool topDown = false;  // a negative stored height means rows run top-down
  int bitsPerPixel = 0;
  bool hasAlpha = false;  // 32-bit with a non-zero alpha mask
};

// Bytes needed to parse any supported header (file header + BITMAPV5HEADER).
inline constexpr std::size_t kBmpHeaderBytes = 14 + 124;

// True when the bytes start with the "BM" signature.
bool looksLikeBmp(std::span<const std::uint8_t> bytes);

// Parses the 14-byte file header and the info header that follows:
// BITMAPCOREHEADER (OS/2 1.x, 12 bytes, 16-bit sides), OS/2 2.x (16 or 64
// bytes), BITMAPINFOHEADER (40) and its V2..V5 extensions (52, 56, 108, 124).
// Empty for anything else or for a zero or absurd size.
std::optional<BmpHeader> parseBmpHeader(std::span<const std::uint8_t> bytes);

}  // namespace quorvane::codec::detail
