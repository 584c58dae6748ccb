#include "codec/file_completeness.h"

#include <array>
#include <cstdint>

namespace quorvane::codec {

namespace {

std::uint8_t at(std::string_view bytes, std::size_t i) {
  return static_cast<std::uint8_t>(bytes[i]);
}

std::uint32_t bigEndian32(std::string_view bytes, std::size_t i) {
  return std::uint32_t{at(bytes, i)} << 24 | std::uint32_t{at(bytes, i + 1)} << 16 |
         std::uint32_t{at(bytes, i + 2)} << 8 | at(bytes, i + 3);
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t i) {
  return std::uint32_t{at(bytes, i + 3)} << 24 | std::uint32_t{at(bytes, i + 2)} << 16 |
         std::uint32_t{at(bytes, i + 1)} << 8 | at(bytes, i);
}

// CRC-32 as PNG defines it (ISO 3309, reflected, polynomial 0xEDB88320).
std::uint32_t crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char byte : bytes) c = table[(c ^ static_cast<std::uint8_t>(byte)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

// Skips entropy-coded data from `i` to the next marker that is not a
// stuffed zero, a restart or fill; returns its position (at its 0xFF), or
// the end when there is none.
std::size_t afterScan(std::string_view file, std::size_t i) {
  while (i + 1 < file.size()) {
    if (at(file, i) != 0xFF) {
      ++i;
      continue;
    }
    const std::uint8_t next = at(file, i + 1);
    if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
      i += 2;
    } else if (next == 0xFF) {
      ++i;  // fill byte before a marker
    } else {
      return i;
    }
  }
  return file.size();
}

}  // namespace

bool jpegIsWhole(std::string_view file) {
  if (file.size() < 4 || at(file, 0) != 0xFF || at(file, 1) != 0xD8) return false;
  bool frame = false;
  bool scanned = false;
  std::size_t i = 2;
  while (i + 1 < file.size()) {
    if (at(file, i) != 0xFF) return false;
    const std::uint8_t marker = at(file, i + 1);
    if (marker == 0xFF) {
      ++i;  // fill
      continue;
    }
    if (marker == 0xD9) return frame && scanned;                             // EOI
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) return false;  // out of place
    if (i + 4 > file.size()) return false;
    const std::size_t length = std::size_t{at(file, i + 2)} << 8 | at(file, i + 3);
    if (length < 2 || i + 2 + length > file.size()) return false;
    const bool startOfFrame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (startOfFrame) frame = true;
    i += 2 + length;
    if (marker == 0xDA) {  // SOS: its entropy-coded data follows
      if (!frame) return false;
      scanned = true;
      i = afterScan(file, i);
    }
  }
  return false;
}

bool pngIsWhole(std::string_view file) {
  static constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
  if (file.substr(0, kSignature.size()) != kSignature) return false;
  std::size_t i = kSignature.size();
  bool first = true;
  bool data = false;
  while (i + 12 <= file.size()) {
    const std::uint32_t length = bigEndian32(file, i);
    if (length > 0x7FFFFFFFu || length > file.size() - i - 12) return false;
    const std::string_view type = file.substr(i + 4, 4);
    const std::string_view typeAndData = file.substr(i + 4, 4 + std::size_t{length});
    if (crc32(typeAndData) != bigEndian32(file, i + 8 + length)) return false;
    if (first != (type == "IHDR")) return false;
    first = false;
    if (type == "IDAT") data = true;
    if (type == "IEND") return data;
    i += 12 + std::size_t{length};
  }
  return false;
}

bool webpIsWhole(std::string_view file) {
  if (file.size() < 20 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "WEBP") {
    return false;
  }
  if (std::uint64_t{littleEndian32(file, 4)} + 8 != file.size()) return false;
  std::size_t i = 12;
  while (i < file.size()) {
    if (i + 8 > file.size()) return false;
    const std::uint64_t size = littleEndian32(file, i + 4);
    const std::uint64_t padded = size + (size & 1);
    if (padded > file.size() - i - 8) return false;
    i += 8 + static_cast<std::size_t>(padded);
  }
  return true;
}

}  // namespace quorvane::codec
