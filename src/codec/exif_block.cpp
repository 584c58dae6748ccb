#include "codec/exif_block.h"

#include <algorithm>
#include <cstring>

namespace quorvane::codec {

namespace {

constexpr std::uint16_t kImageWidth = 0x0100;
constexpr std::uint16_t kImageLength = 0x0101;
constexpr std::uint16_t kOrientation = 0x0112;
constexpr std::uint16_t kExifIfd = 0x8769;
constexpr std::uint16_t kGpsIfd = 0x8825;
constexpr std::uint16_t kPixelXDimension = 0xA002;
constexpr std::uint16_t kPixelYDimension = 0xA003;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;
constexpr std::uint16_t kAscii = 2;

// A TIFF structure read in place, in either byte order, every offset
// checked against the block.
class Tiff {
 public:
  explicit Tiff(std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {
    if (bytes.size() < 8) return;
    if (bytes[0] == 'I' && bytes[1] == 'I') {
      m_little = true;
    } else if (bytes[0] != 'M' || bytes[1] != 'M') {
      return;
    }
    m_valid = read16(2) == 42;
  }
  bool valid() const { return m_valid; }
  std::uint32_t firstIfd() const { return read32(4); }

  // The entry of `tag` in the IFD at `ifd`, as the offset of its 12 bytes.
  std::optional<std::size_t> entry(std::uint32_t ifd, std::uint16_t tag) const {
    if (!fits(ifd, 2)) return std::nullopt;
    const std::uint16_t count = read16(ifd);
    for (std::uint16_t i = 0; i < count; ++i) {
      const std::size_t at = ifd + 2 + std::size_t{12} * i;
      if (!fits(at, 12)) return std::nullopt;
      if (read16(at) == tag) return at;
    }
    return std::nullopt;
  }
  std::optional<std::uint32_t> number(std::size_t entryAt) const {
    const std::uint16_t type = read16(entryAt + 2);
    if (type == kShort) return read16(entryAt + 8);
    if (type == kLong) return read32(entryAt + 8);
    return std::nullopt;
  }
  // Sets a SHORT or LONG entry holding one value.
  void setNumber(std::size_t entryAt, std::uint32_t value) {
    const std::uint16_t type = read16(entryAt + 2);
    if (read32(entryAt + 4) != 1) return;
    if (type == kShort)
      write16(entryAt + 8, static_cast<std::uint16_t>(std::min<std::uint32_t>(value, 0xffff)));
    if (type == kLong) write32(entryAt + 8, value);
  }
  std::optional<std::string> text(std::size_t entryAt) const {
    if (read16(entryAt + 2) != kAscii) return std::nullopt;
    const std::uint32_t count = read32(entryAt + 4);
    const std::size_t at = count <= 4 ? entryAt + 8 : read32(entryAt + 8);
    if (!fits(at, count)) return std::nullopt;
    std::string value(reinterpret_cast<const char*>(m_bytes.data() + at), count);
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
  }
  // The IFD a pointer tag of IFD0 leads to.
  std::optional<std::uint32_t> subIfd(std::uint16_t tag) const {
    const auto at = entry(firstIfd(), tag);
    if (!at) return std::nullopt;
    return number(*at);
  }

 private:
  bool fits(std::size_t at, std::size_t length) const {
    return at <= m_bytes.size() && length <= m_bytes.size() - at;
  }
  std::uint16_t read16(std::size_t at) const {
    if (!fits(at, 2)) return 0;
    return m_little ? static_cast<std::uint16_t>(m_bytes[at] | m_bytes[at + 1] << 8)
                    : static_cast<std::uint16_t>(m_bytes[at] << 8 | m_bytes[at + 1]);
  }
  std::uint32_t read32(std::size_t at) const {
    if (!fits(at, 4)) return 0;
    const std::uint32_t a = m_bytes[at], b = m_bytes[at + 1], c = m_bytes[at + 2],
                        d = m_bytes[at + 3];
    return m_little ? a | b << 8 | c << 16 | d << 24 : a << 24 | b << 16 | c << 8 | d;
  }
  void write16(std::size_t at, std::uint16_t v) {
    if (!fits(at, 2)) return;
    m_bytes[at + (m_little ? 0 : 1)] = static_cast<std::uint8_t>(v);
    m_bytes[at + (m_little ? 1 : 0)] = static_cast<std::uint8_t>(v >> 8);
  }
  void write32(std::size_t at, std::uint32_t v) {
    if (!fits(at, 4)) return;
    for (int i = 0; i < 4; ++i) {
      m_bytes[at + static_cast<std::size_t>(m_little ? i : 3 - i)] =
          static_cast<std::uint8_t>(v >> (8 * i));
    }
  }

  std::vector<std::uint8_t>& m_bytes;
  bool m_little = false;
  bool m_valid = false;
};

std::vector<std::uint8_t> withoutExifHeader(std::vector<std::uint8_t> exif) {
  if (exif.size() >= 6 && std::memcmp(exif.data(), "Exif\0\0", 6) == 0)
    exif.erase(exif.begin(), exif.begin() + 6);
  return exif;
}

}  // namespace

std::vector<std::uint8_t> uprightExif(std::vector<std::uint8_t> exif, int width, int height) {
  exif = withoutExifHeader(std::move(exif));
  Tiff tiff(exif);
  if (!tiff.valid()) return {};
  const std::uint32_t ifd0 = tiff.firstIfd();
  if (const auto at = tiff.entry(ifd0, kOrientation)) tiff.setNumber(*at, 1);
  if (const auto at = tiff.entry(ifd0, kImageWidth))
    tiff.setNumber(*at, static_cast<std::uint32_t>(width));
  if (const auto at = tiff.entry(ifd0, kImageLength))
    tiff.setNumber(*at, static_cast<std::uint32_t>(height));
  if (const auto exifIfd = tiff.subIfd(kExifIfd)) {
    if (const auto at = tiff.entry(*exifIfd, kPixelXDimension))
      tiff.setNumber(*at, static_cast<std::uint32_t>(width));
    if (const auto at = tiff.entry(*exifIfd, kPixelYDimension))
      tiff.setNumber(*at, static_cast<std::uint32_t>(height));
  }
  return exif;
}

std::optional<std::string> exifText(const std::vector<std::uint8_t>& exif, std::uint16_t tag) {
  std::vector<std::uint8_t> copy = withoutExifHeader(exif);
  Tiff tiff(copy);
  if (!tiff.valid()) return std::nullopt;
  const auto at = tiff.entry(tiff.firstIfd(), tag);
  return at ? tiff.text(*at) : std::nullopt;
}

std::optional<std::uint32_t> exifNumber(const std::vector<std::uint8_t>& exif, std::uint16_t tag) {
  std::vector<std::uint8_t> copy = withoutExifHeader(exif);
  Tiff tiff(copy);
  if (!tiff.valid()) return std::nullopt;
  const auto at = tiff.entry(tiff.firstIfd(), tag);
  return at ? tiff.number(*at) : std::nullopt;
}

bool exifHasGps(const std::vector<std::uint8_t>& exif) {
  std::vector<std::uint8_t> copy = withoutExifHeader(exif);
  Tiff tiff(copy);
  if (!tiff.valid()) return false;
  const auto gps = tiff.subIfd(kGpsIfd);
  // A GPS IFD with at least one entry.
  return gps && *gps + 2 <= copy.size() && (copy[*gps] | copy[*gps + 1]) != 0;
}

}  // namespace quorvane::codec
