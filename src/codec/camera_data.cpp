#include "codec/camera_data.h"

#include <array>
#include <cstdint>

#include "codec/metadata.h"

namespace quorvane::codec {

namespace {

// A little-endian TIFF structure whose IFD0 holds the orientation only.
std::vector<std::uint8_t> orientationExif(int orientation) {
  const auto value = static_cast<std::uint8_t>(orientation);
  return {'I',  'I',  42, 0, 8, 0, 0, 0,                  // header, IFD0 at 8
          1,    0,                                        // one entry
          0x12, 0x01, 3,  0, 1, 0, 0, 0, value, 0, 0, 0,  // Orientation, SHORT, 1
          0,    0,    0,  0};                             // no next IFD
}

std::uint32_t crc32(std::string_view bytes) {
  static const auto table = [] {
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

void appendBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

// `png` (already checked) with an eXIf chunk right after its IHDR.
std::string pngWithExif(const std::string& png, const std::vector<std::uint8_t>& exif) {
  std::string chunk = "eXIf";
  chunk.append(exif.begin(), exif.end());
  std::string out = png.substr(0, 8 + 25);  // signature, IHDR
  appendBigEndian32(out, static_cast<std::uint32_t>(exif.size()));
  out += chunk;
  appendBigEndian32(out, crc32(chunk));
  out.append(png, 8 + 25);
  return out;
}

std::uint32_t bigEndian32(std::string_view bytes, std::size_t at) {
  return std::uint32_t{static_cast<std::uint8_t>(bytes[at])} << 24 |
         std::uint32_t{static_cast<std::uint8_t>(bytes[at + 1])} << 16 |
         std::uint32_t{static_cast<std::uint8_t>(bytes[at + 2])} << 8 |
         static_cast<std::uint8_t>(bytes[at + 3]);
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at) {
  return std::uint32_t{static_cast<std::uint8_t>(bytes[at])} |
         std::uint32_t{static_cast<std::uint8_t>(bytes[at + 1])} << 8 |
         std::uint32_t{static_cast<std::uint8_t>(bytes[at + 2])} << 16 |
         std::uint32_t{static_cast<std::uint8_t>(bytes[at + 3])} << 24;
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// Segments up to the first scan; from there on the data is copied as it is
// (the scan holds no markers that carry metadata).
std::optional<std::string> jpegWithout(std::string_view file) {
  std::string out(file.substr(0, 2));
  std::size_t at = 2;
  while (at + 4 <= file.size()) {
    if (static_cast<std::uint8_t>(file[at]) != 0xFF) return std::nullopt;
    const auto marker = static_cast<std::uint8_t>(file[at + 1]);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xD9 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      return std::nullopt;  // no image data before these
    }
    const std::size_t length =
        static_cast<std::uint8_t>(file[at + 2]) << 8 | static_cast<std::uint8_t>(file[at + 3]);
    if (length < 2 || at + 2 + length > file.size()) return std::nullopt;
    if (marker == 0xDA) {  // start of scan: the rest is image data
      out.append(file.substr(at));
      return out;
    }
    const std::string_view payload = file.substr(at + 4, length - 2);
    const bool camera =
        (marker == 0xE1 && (startsWith(payload, std::string_view("Exif\0\0", 6)) ||
                            startsWith(payload, "http://ns.adobe.com/xap/1.0/") ||
                            startsWith(payload, "http://ns.adobe.com/xmp/extension/"))) ||
        marker == 0xED;  // IPTC (Photoshop resources)
    if (!camera) out.append(file.substr(at, 2 + length));
    at += 2 + length;
  }
  return std::nullopt;  // no scan
}

std::optional<std::string> pngWithout(std::string_view file) {
  if (file.size() < 8 + 25 || file.substr(12, 4) != "IHDR" || bigEndian32(file, 8) != 13) {
    return std::nullopt;
  }
  std::string out(file.substr(0, 8));
  std::size_t at = 8;
  while (at + 12 <= file.size()) {
    const std::uint32_t length = bigEndian32(file, at);
    if (length > file.size() - at - 12) return std::nullopt;
    const std::string_view type = file.substr(at + 4, 4);
    const bool camera = type == "eXIf" || type == "tEXt" || type == "zTXt" || type == "iTXt";
    if (!camera) out.append(file.substr(at, 12 + std::size_t{length}));
    at += 12 + std::size_t{length};
    if (type == "IEND") return out;
  }
  return std::nullopt;  // no end chunk
}

// The payload of a WebP's first chunk of that kind (the file already checked).
std::string riffChunk(std::string_view file, std::string_view fourcc) {
  for (std::size_t at = 12; at + 8 <= file.size();) {
    const std::uint32_t size = littleEndian32(file, at + 4);
    if (size > file.size() - at - 8) break;
    if (file.substr(at, 4) == fourcc) return std::string(file.substr(at + 8, size));
    at += 8 + std::size_t{size} + (size & 1);
  }
  return {};
}

std::optional<std::string> webpWithout(std::string_view file) {
  if (littleEndian32(file, 4) + std::size_t{8} != file.size()) return std::nullopt;
  std::string out(file.substr(0, 12));
  std::size_t at = 12;
  while (at + 8 <= file.size()) {
    const std::uint32_t size = littleEndian32(file, at + 4);
    const std::size_t padded = std::size_t{size} + (size & 1);
    if (padded > file.size() - at - 8) return std::nullopt;
    const std::string_view fourcc = file.substr(at, 4);
    if (fourcc != "EXIF" && fourcc != "XMP ") {
      std::string chunk(file.substr(at, 8 + padded));
      // The extended header announces EXIF (bit 3) and XMP (bit 2).
      if (fourcc == "VP8X" && size >= 1) chunk[8] = static_cast<char>(chunk[8] & ~0x0C);
      out += chunk;
    }
    at += 8 + padded;
  }
  if (at != file.size()) return std::nullopt;
  const std::uint32_t riffSize = static_cast<std::uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<char>(riffSize >> (8 * i));
  return out;
}

}  // namespace

std::optional<std::string> withoutCameraData(std::string_view file, int orientation) {
  std::optional<std::string> out;
  enum class Kind { Jpeg, Png, Webp } kind;
  if (file.size() >= 4 && startsWith(file, "\xFF\xD8\xFF")) {
    out = jpegWithout(file);
    kind = Kind::Jpeg;
  } else if (file.size() >= 8 && startsWith(file, "\x89PNG\r\n\x1a\n")) {
    out = pngWithout(file);
    kind = Kind::Png;
  } else if (file.size() >= 12 && startsWith(file, "RIFF") && file.substr(8, 4) == "WEBP") {
    out = webpWithout(file);
    kind = Kind::Webp;
  } else {
    return std::nullopt;
  }
  if (!out || orientation < 2 || orientation > 8) return out;
  Metadata turned;
  turned.exif = orientationExif(orientation);
  std::string with;
  switch (kind) {
    case Kind::Jpeg:
      with = jpegWithMetadata(*out, turned);
      break;
    case Kind::Png:
      with = pngWithExif(*out, turned.exif);
      break;
    case Kind::Webp: {
      // The chunks given replace the ones there: the profile goes along.
      const std::string icc = riffChunk(*out, "ICCP");
      turned.icc.assign(icc.begin(), icc.end());
      with = webpWithMetadata(*out, turned);
      break;
    }
  }
  if (with.empty()) return std::nullopt;
  return with;
}

}  // namespace quorvane::codec
