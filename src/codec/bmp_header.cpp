#include "codec/bmp_header.h"

#include <cstdlib>

namespace quorvane::codec::detail {

namespace {

std::uint32_t readLe16(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8;
}

std::uint32_t readLe32(std::span<const std::uint8_t> b, std::size_t at) {
  return readLe16(b, at) | readLe16(b, at + 2) << 16;
}

constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

}  // namespace

bool looksLikeBmp(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

std::optional<BmpHeader> parseBmpHeader(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kInfoAt = 14;
  if (!looksLikeBmp(bytes) || bytes.size() < kInfoAt + 4) return std::nullopt;
  const std::uint32_t infoSize = readLe32(bytes, kInfoAt);
  if (bytes.size() < kInfoAt + infoSize) return std::nullopt;

  BmpHeader header;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t planes = 0;
  if (infoSize == 12) {
    // OS/2 1.x core header: unsigned 16-bit sides, always bottom-up.
    width = readLe16(bytes, kInfoAt + 4);
    height = readLe16(bytes, kInfoAt + 6);
    planes = readLe16(bytes, kInfoAt + 8);
    header.bitsPerPixel = static_cast<int>(readLe16(bytes, kInfoAt + 10));
  } else if (infoSize == 16 || infoSize == 40 || infoSize == 52 || infoSize == 56 ||
             infoSize == 64 || infoSize == 108 || infoSize == 124) {
    width = static_cast<std::int32_t>(readLe32(bytes, kInfoAt + 4));
    height = static_cast<std::int32_t>(readLe32(bytes, kInfoAt + 8));
    planes = readLe16(bytes, kInfoAt + 12);
    header.bitsPerPixel = static_cast<int>(readLe16(bytes, kInfoAt + 14));
    if (infoSize >= 20 && header.bitsPerPixel == 32) {
      const std::uint32_t compression = readLe32(bytes, kInfoAt + 16);
      // The alpha mask sits after the three colour masks: inside V3+ headers,
      // or right after a 40-byte header for BI_ALPHABITFIELDS.
      if (infoSize >= 56 && (compression == kBiBitfields || compression == kBiAlphaBitfields)) {
        header.hasAlpha = readLe32(bytes, kInfoAt + 52) != 0;
      } else if (infoSize == 40 && compression == kBiAlphaBitfields &&
                 bytes.size() >= kInfoAt + 40 + 16) {
        header.hasAlpha = readLe32(bytes, kInfoAt + 40 + 12) != 0;
      }
    }
  } else {
    return std::nullopt;
  }

  if (height < 0) {
    header.topDown = true;
    height = -height;  // fits: the stored value was a 32-bit int
  }
  switch (header.bitsPerPixel) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
    case 64:
      break;
    default:
      return std::nullopt;
  }
  if (planes != 1 || width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) {
    return std::nullopt;
  }
  header.width = static_cast<int>(width);
  header.height = static_cast<int>(height);
  return header;
}

}  // namespace quorvane::codec::detail
