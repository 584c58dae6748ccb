#include "codec/metadata.h"

#include <algorithm>
#include <cstring>
#include <string_view>

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

void appendSegment(std::string& out, std::uint8_t marker, const std::string& payload) {
  const std::size_t length = payload.size() + 2;
  out += static_cast<char>(0xff);
  out += static_cast<char>(marker);
  out += static_cast<char>(length >> 8);
  out += static_cast<char>(length & 0xff);
  out += payload;
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

namespace {

// Replaces every value that sits between `open` and the first `close` after it.
void replaceBetween(std::string& text, const std::string& open, char close,
                    const std::string& value) {
  for (std::size_t at = text.find(open); at != std::string::npos;
       at = text.find(open, at + open.size())) {
    const std::size_t begin = at + open.size();
    const std::size_t end = text.find(close, begin);
    if (end == std::string::npos) return;
    text.replace(begin, end - begin, value);
    at = begin + value.size() - open.size();
  }
}

}  // namespace

std::vector<std::uint8_t> uprightXmp(const std::vector<std::uint8_t>& xmp, int width, int height) {
  std::string text(xmp.begin(), xmp.end());
  const auto set = [&text](const std::string& name, const std::string& value) {
    // Both forms XMP writers use: an attribute, and an element.
    replaceBetween(text, name + "=\"", '"', value);
    replaceBetween(text, "<" + name + ">", '<', value);
  };
  set("tiff:Orientation", "1");
  set("tiff:ImageWidth", std::to_string(width));
  set("tiff:ImageLength", std::to_string(height));
  set("exif:PixelXDimension", std::to_string(width));
  set("exif:PixelYDimension", std::to_string(height));
  return {text.begin(), text.end()};
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

std::string jpegWithMetadata(const std::string& jpeg, const Metadata& metadata) {
  if (jpeg.size() < 4 || static_cast<std::uint8_t>(jpeg[0]) != 0xff ||
      static_cast<std::uint8_t>(jpeg[1]) != 0xd8) {
    return {};
  }
  std::size_t insertAt = 2;
  // After a JFIF APP0, as readers expect it first.
  if (static_cast<std::uint8_t>(jpeg[2]) == 0xff && static_cast<std::uint8_t>(jpeg[3]) == 0xe0 &&
      jpeg.size() >= 6) {
    insertAt += 2 + (static_cast<std::uint8_t>(jpeg[4]) << 8 | static_cast<std::uint8_t>(jpeg[5]));
  }
  std::string segments;
  constexpr std::size_t kMaxPayload = 65533;
  if (!metadata.exif.empty()) {
    std::string payload("Exif\0\0", 6);
    payload.append(metadata.exif.begin(), metadata.exif.end());
    if (payload.size() <= kMaxPayload) appendSegment(segments, 0xe1, payload);
  }
  if (!metadata.xmp.empty()) {
    std::string payload("http://ns.adobe.com/xap/1.0/\0", 29);
    payload.append(metadata.xmp.begin(), metadata.xmp.end());
    if (payload.size() <= kMaxPayload) appendSegment(segments, 0xe1, payload);
  }
  if (!metadata.icc.empty()) {
    // ICC_PROFILE chunks of at most 65519 bytes, numbered from 1.
    constexpr std::size_t kChunk = kMaxPayload - 14;
    const std::size_t chunks = (metadata.icc.size() + kChunk - 1) / kChunk;
    if (chunks <= 255) {
      for (std::size_t i = 0; i < chunks; ++i) {
        std::string payload("ICC_PROFILE\0", 12);
        payload += static_cast<char>(i + 1);
        payload += static_cast<char>(chunks);
        const std::size_t begin = i * kChunk;
        const std::size_t end = std::min(metadata.icc.size(), begin + kChunk);
        payload.append(metadata.icc.begin() + static_cast<std::ptrdiff_t>(begin),
                       metadata.icc.begin() + static_cast<std::ptrdiff_t>(end));
        appendSegment(segments, 0xe2, payload);
      }
    }
  }
  if (insertAt > jpeg.size()) return {};
  std::string out = jpeg.substr(0, insertAt);
  out += segments;
  out.append(jpeg, insertAt, std::string::npos);
  return out;
}

namespace {

std::uint32_t le32(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at])) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24;
}

void appendLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

void appendChunk(std::string& out, std::string_view fourcc, std::string_view payload) {
  out += fourcc;
  appendLe(out, static_cast<std::uint32_t>(payload.size()), 4);
  out += payload;
  if (payload.size() % 2) out += '\0';
}

std::string_view asText(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

std::string webpWithMetadata(const std::string& webp, const Metadata& metadata) {
  const std::string_view file(webp);
  if (file.size() < 20 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "WEBP") return {};
  struct Chunk {
    std::string_view fourcc;
    std::string_view payload;
  };
  std::vector<Chunk> chunks;
  for (std::size_t at = 12; at + 8 <= file.size();) {
    const std::uint32_t length = le32(file, at + 4);
    if (length > file.size() - at - 8) return {};
    chunks.push_back({file.substr(at, 4), file.substr(at + 8, length)});
    at += 8 + std::size_t{length} + (length % 2);
  }
  if (chunks.empty()) return {};
  // The canvas size and the flags the extended header must carry.
  constexpr std::uint8_t kIcc = 0x20, kAlpha = 0x10, kExif = 0x08, kXmp = 0x04, kAnimation = 0x02;
  std::uint8_t flags = 0;
  std::uint32_t width = 0, height = 0;
  const Chunk& first = chunks.front();
  if (first.fourcc == "VP8X" && first.payload.size() >= 10) {
    flags = static_cast<std::uint8_t>(first.payload[0]);
    width = (le32(first.payload, 4) & 0xffffff) + 1;
    height = (le32(first.payload, 6) >> 8) + 1;
  } else if (first.fourcc == "VP8 " && first.payload.size() >= 10 &&
             first.payload.substr(3, 3) == "\x9d\x01\x2a") {
    width = le32(first.payload, 6) & 0x3fff;
    height = (le32(first.payload, 6) >> 16) & 0x3fff;
  } else if (first.fourcc == "VP8L" && first.payload.size() >= 5 && first.payload[0] == 0x2f) {
    const std::uint32_t bits = le32(first.payload, 1);
    width = (bits & 0x3fff) + 1;
    height = ((bits >> 14) & 0x3fff) + 1;
    if (bits >> 28 & 1) flags |= kAlpha;
  } else {
    return {};
  }
  if (flags & kAnimation || width == 0 || height == 0) return {};
  flags &= static_cast<std::uint8_t>(~(kIcc | kExif | kXmp));
  if (!metadata.icc.empty()) flags |= kIcc;
  if (!metadata.exif.empty()) flags |= kExif;
  if (!metadata.xmp.empty()) flags |= kXmp;

  std::string body = "WEBP";
  std::string header;
  header += static_cast<char>(flags);
  header.append(3, '\0');
  appendLe(header, width - 1, 3);
  appendLe(header, height - 1, 3);
  appendChunk(body, "VP8X", header);
  if (!metadata.icc.empty()) appendChunk(body, "ICCP", asText(metadata.icc));
  for (const Chunk& chunk : chunks) {
    if (chunk.fourcc == "VP8X" || chunk.fourcc == "ICCP" || chunk.fourcc == "EXIF" ||
        chunk.fourcc == "XMP ") {
      continue;
    }
    appendChunk(body, chunk.fourcc, chunk.payload);
  }
  if (!metadata.exif.empty()) appendChunk(body, "EXIF", asText(metadata.exif));
  if (!metadata.xmp.empty()) appendChunk(body, "XMP ", asText(metadata.xmp));
  std::string out = "RIFF";
  appendLe(out, static_cast<std::uint32_t>(body.size()), 4);
  return out + body;
}

bool iccIsRgb(const std::vector<std::uint8_t>& icc) {
  return icc.size() >= 20 && std::memcmp(icc.data() + 16, "RGB ", 4) == 0;
}

}  // namespace quorvane::codec
