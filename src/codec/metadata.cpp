#include "codec/metadata.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "codec/jpeg_xmp.h"

namespace quorvane::codec {

namespace {

void appendSegment(std::string& out, std::uint8_t marker, const std::string& payload) {
  const std::size_t length = payload.size() + 2;
  out += static_cast<char>(0xff);
  out += static_cast<char>(marker);
  out += static_cast<char>(length >> 8);
  out += static_cast<char>(length & 0xff);
  out += payload;
}

// A JPEG's limits: one APP1 segment of EXIF after "Exif\0\0", and 255
// numbered ICC_PROFILE segments after "ICC_PROFILE\0" and two counters.
constexpr std::size_t kMaxJpegExif = detail::kJpegMaxPayload - 6;
constexpr std::size_t kIccChunk = detail::kJpegMaxPayload - 14;
constexpr std::size_t kMaxJpegIcc = 255 * kIccChunk;

}  // namespace

std::vector<BlockLeftOut> jpegLeavesOut(const Metadata& metadata) {
  std::vector<BlockLeftOut> left;
  if (metadata.exif.size() > kMaxJpegExif) {
    left.push_back({BlockLeftOut::Kind::Exif, metadata.exif.size(), kMaxJpegExif});
  }
  if (!metadata.xmp.empty() && !detail::jpegCanHoldXmp(metadata.xmp)) {
    left.push_back({BlockLeftOut::Kind::Xmp, metadata.xmp.size(), detail::kJpegMaxPayload - 29});
  }
  if (metadata.icc.size() > kMaxJpegIcc) {
    left.push_back({BlockLeftOut::Kind::Icc, metadata.icc.size(), kMaxJpegIcc});
  }
  return left;
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
  if (!metadata.exif.empty() && metadata.exif.size() <= kMaxJpegExif) {
    std::string payload("Exif\0\0", 6);
    payload.append(metadata.exif.begin(), metadata.exif.end());
    appendSegment(segments, 0xe1, payload);
  }
  if (!metadata.xmp.empty()) {
    for (const std::string& payload : detail::jpegXmpPayloads(metadata.xmp)) {
      appendSegment(segments, 0xe1, payload);
    }
  }
  if (!metadata.icc.empty() && metadata.icc.size() <= kMaxJpegIcc) {
    // ICC_PROFILE chunks of at most 65519 bytes, numbered from 1.
    const std::size_t chunks = (metadata.icc.size() + kIccChunk - 1) / kIccChunk;
    for (std::size_t i = 0; i < chunks; ++i) {
      std::string payload("ICC_PROFILE\0", 12);
      payload += static_cast<char>(i + 1);
      payload += static_cast<char>(chunks);
      const std::size_t begin = i * kIccChunk;
      const std::size_t end = std::min(metadata.icc.size(), begin + kIccChunk);
      payload.append(metadata.icc.begin() + static_cast<std::ptrdiff_t>(begin),
                     metadata.icc.begin() + static_cast<std::ptrdiff_t>(end));
      appendSegment(segments, 0xe2, payload);
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

}  // namespace quorvane::codec
