#include "codec/png_chunks.h"

#include <algorithm>
#include <cstring>

namespace quorvane::codec::detail {

namespace {

std::uint32_t bigEndian32(const std::uint8_t* at) {
  return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
         at[3];
}

}  // namespace

std::optional<std::pair<int, int>> pngSizeBeforeData(std::span<const std::uint8_t> bytes) {
  constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (bytes.size() < 33 || !std::equal(kSignature, kSignature + 8, bytes.begin())) {
    return std::nullopt;
  }
  if (bigEndian32(&bytes[8]) != 13 || std::memcmp(&bytes[12], "IHDR", 4) != 0) return std::nullopt;
  const std::uint32_t width = bigEndian32(&bytes[16]);
  const std::uint32_t height = bigEndian32(&bytes[20]);
  if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff) return std::nullopt;
  for (std::size_t at = 33; at + 8 <= bytes.size();) {
    const std::uint32_t length = bigEndian32(&bytes[at]);
    if (std::memcmp(&bytes[at + 4], "IDAT", 4) == 0) {
      return std::pair{static_cast<int>(width), static_cast<int>(height)};
    }
    if (std::memcmp(&bytes[at + 4], "eXIf", 4) == 0 || length > bytes.size()) return std::nullopt;
    at += 12 + std::size_t{length};
  }
  return std::nullopt;
}

}  // namespace quorvane::codec::detail
