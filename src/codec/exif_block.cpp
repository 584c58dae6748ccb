#include "codec/exif_block.h"

#include <algorithm>
#include <array>
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

enum Type : std::uint16_t {
  kByte = 1,
  kAscii = 2,
  kShort = 3,
  kLong = 4,
  kSignedByte = 6,
  kSignedShort = 8,
  kSignedLong = 9,
};
constexpr std::size_t kEntrySize = 12;

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

  // The offsets of the 12-byte entries of `tag` in the IFD at `ifd`, in
  // the order they are stored (a damaged file may hold one tag twice).
  std::vector<std::size_t> entries(std::uint32_t ifd, std::uint16_t tag) const {
    std::vector<std::size_t> found;
    if (!fits(ifd, 2)) return found;
    const std::uint16_t count = read16(ifd);
    for (std::uint16_t i = 0; i < count; ++i) {
      const std::size_t at = ifd + 2 + kEntrySize * i;
      if (!fits(at, kEntrySize)) break;
      if (read16(at) == tag) found.push_back(at);
    }
    return found;
  }
  std::optional<std::size_t> entry(std::uint32_t ifd, std::uint16_t tag) const {
    const auto found = entries(ifd, tag);
    if (found.empty()) return std::nullopt;
    return found.front();
  }

  // The first value of an integer entry of any width and sign.
  std::optional<std::int64_t> number(std::size_t entryAt) const {
    const std::uint16_t type = read16(entryAt + 2);
    const std::uint32_t count = read32(entryAt + 4);
    std::size_t width = 0;
    switch (type) {
      case kByte:
      case kSignedByte:
        width = 1;
        break;
      case kShort:
      case kSignedShort:
        width = 2;
        break;
      case kLong:
      case kSignedLong:
        width = 4;
        break;
      default:
        return std::nullopt;
    }
    if (count == 0) return std::nullopt;
    // Values of up to four bytes in all sit in the entry itself.
    const std::size_t at = std::uint64_t{count} * width <= 4 ? entryAt + 8 : read32(entryAt + 8);
    if (!fits(at, width)) return std::nullopt;
    switch (type) {
      case kByte:
        return m_bytes[at];
      case kSignedByte:
        return static_cast<std::int8_t>(m_bytes[at]);
      case kShort:
        return read16(at);
      case kSignedShort:
        return static_cast<std::int16_t>(read16(at));
      case kLong:
        return read32(at);
      default:
        return static_cast<std::int32_t>(read32(at));
    }
  }
  // Makes the entry hold exactly one SHORT, or one LONG when the value
  // needs it: both fit in the entry itself, so any entry can take them.
  void setNumber(std::size_t entryAt, std::uint32_t value) {
    const bool asShort = value <= 0xffff;
    write16(entryAt + 2, asShort ? kShort : kLong);
    write32(entryAt + 4, 1);
    write32(entryAt + 8, 0);
    if (asShort) {
      write16(entryAt + 8, static_cast<std::uint16_t>(value));
    } else {
      write32(entryAt + 8, value);
    }
  }
  // Removes an entry of the IFD at `ifd`: the later entries and the link to
  // the next IFD move up, the freed 12 bytes are zeroed. In an IFD cut short
  // by the end of the block only whole entries move: the bytes of a partial
  // one would otherwise become an entry readers take.
  void removeEntry(std::uint32_t ifd, std::size_t entryAt) {
    const std::uint16_t count = read16(ifd);
    const std::size_t entriesEnd = std::size_t{ifd} + 2 + kEntrySize * count;
    std::size_t tail = entriesEnd + 4;
    if (tail > m_bytes.size()) {
      const std::size_t whole =
          m_bytes.size() >= std::size_t{ifd} + 2 ? (m_bytes.size() - ifd - 2) / kEntrySize : 0;
      tail = std::size_t{ifd} + 2 + kEntrySize * std::min<std::size_t>(whole, count);
    }
    if (entryAt + kEntrySize > tail) return;
    std::memmove(m_bytes.data() + entryAt, m_bytes.data() + entryAt + kEntrySize,
                 tail - entryAt - kEntrySize);
    std::fill(m_bytes.begin() + static_cast<std::ptrdiff_t>(tail - kEntrySize),
              m_bytes.begin() + static_cast<std::ptrdiff_t>(tail), 0);
    write16(ifd, static_cast<std::uint16_t>(count - 1));
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
    const auto offset = number(*at);
    if (!offset || *offset < 0) return std::nullopt;
    return static_cast<std::uint32_t>(*offset);
  }
  std::uint16_t read16(std::size_t at) const {
    if (!fits(at, 2)) return 0;
    return m_little ? static_cast<std::uint16_t>(m_bytes[at] | m_bytes[at + 1] << 8)
                    : static_cast<std::uint16_t>(m_bytes[at] << 8 | m_bytes[at + 1]);
  }

 private:
  bool fits(std::size_t at, std::size_t length) const {
    return at <= m_bytes.size() && length <= m_bytes.size() - at;
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

// Each orientation as the 2x2 matrix that takes stored pixel coordinates
// (x right, y down, about the centre) to displayed ones.
using Matrix = std::array<int, 4>;  // row-major
constexpr std::array<Matrix, 8> kOrientationMatrix = {{
    {1, 0, 0, 1},    // 1: as stored
    {-1, 0, 0, 1},   // 2: mirrored left to right
    {-1, 0, 0, -1},  // 3: turned 180°
    {1, 0, 0, -1},   // 4: mirrored top to bottom
    {0, 1, 1, 0},    // 5: transposed
    {0, -1, 1, 0},   // 6: turned 90° clockwise
    {0, -1, -1, 0},  // 7: transversed
    {0, 1, -1, 0},   // 8: turned 90° anticlockwise
}};

}  // namespace

int orientationAfter(int tagged, int applied) {
  const auto matrix = [](int orientation) {
    return kOrientationMatrix[static_cast<std::size_t>(
        orientation >= 1 && orientation <= 8 ? orientation - 1 : 0)];
  };
  // Output = applied(stored), so the output needs tagged x applied⁻¹; the
  // inverse of these orthogonal matrices is their transpose.
  const Matrix t = matrix(tagged);
  const Matrix a = matrix(applied);
  const Matrix wanted = {t[0] * a[0] + t[1] * a[1], t[0] * a[2] + t[1] * a[3],
                         t[2] * a[0] + t[3] * a[1], t[2] * a[2] + t[3] * a[3]};
  for (std::size_t i = 0; i < kOrientationMatrix.size(); ++i) {
    if (kOrientationMatrix[i] == wanted) return static_cast<int>(i) + 1;
  }
  return 1;  // unreachable: the eight form a group
}

std::vector<std::uint8_t> uprightExif(std::vector<std::uint8_t> exif, int width, int height,
                                      int appliedOrientation) {
  exif = withoutExifHeader(std::move(exif));
  Tiff tiff(exif);
  if (!tiff.valid()) return {};
  // A hostile block can make one edit change what another reads (an IFD0
  // that overlaps the header's pointer to it, or an entry's own value), so
  // the result is read back, and edited again as it now stands (the pixels
  // need no further turn) until it holds at most one good orientation.
  for (int pass = 0; pass < 4; ++pass) {
    const int applied = pass == 0 ? appliedOrientation : 1;
    const std::uint32_t ifd0 = tiff.firstIfd();
    // Removals move later entries up, so the list is walked from its end;
    // the first entry is the one readers take.
    const auto orientations = tiff.entries(ifd0, kOrientation);
    for (std::size_t i = orientations.size(); i-- > 0;) {
      const auto value = i == 0 ? tiff.number(orientations[i]) : std::nullopt;
      if (value && *value >= 1 && *value <= 8) {
        tiff.setNumber(orientations[i], static_cast<std::uint32_t>(
                                            orientationAfter(static_cast<int>(*value), applied)));
      } else {
        tiff.removeEntry(ifd0, orientations[i]);
      }
    }
    const auto setSize = [&tiff](std::optional<std::size_t> at, int value) {
      if (at && tiff.number(*at)) tiff.setNumber(*at, static_cast<std::uint32_t>(value));
    };
    setSize(tiff.entry(ifd0, kImageWidth), width);
    setSize(tiff.entry(ifd0, kImageLength), height);
    if (const auto exifIfd = tiff.subIfd(kExifIfd)) {
      setSize(tiff.entry(*exifIfd, kPixelXDimension), width);
      setSize(tiff.entry(*exifIfd, kPixelYDimension), height);
    }
    const auto left = tiff.entries(tiff.firstIfd(), kOrientation);
    const auto value = left.empty() ? std::optional<std::int64_t>(1) : tiff.number(left.front());
    if (left.size() <= 1 && value && *value >= 1 && *value <= 8) return exif;
  }
  // Still contradicting itself: no reader is to find a stale orientation.
  return {};
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
  const auto value = at ? tiff.number(*at) : std::nullopt;
  if (!value || *value < 0) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

int exifEntryCount(const std::vector<std::uint8_t>& exif, std::uint16_t tag) {
  std::vector<std::uint8_t> copy = withoutExifHeader(exif);
  Tiff tiff(copy);
  if (!tiff.valid()) return 0;
  return static_cast<int>(tiff.entries(tiff.firstIfd(), tag).size());
}

bool exifHasGps(const std::vector<std::uint8_t>& exif) {
  std::vector<std::uint8_t> copy = withoutExifHeader(exif);
  Tiff tiff(copy);
  if (!tiff.valid()) return false;
  const auto gps = tiff.subIfd(kGpsIfd);
  // A GPS IFD with at least one entry.
  return gps && tiff.read16(*gps) != 0;
}

}  // namespace quorvane::codec
