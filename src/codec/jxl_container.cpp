#include "codec/jxl_container.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvane::codec {

namespace {

constexpr std::string_view kSignatureBox("\0\0\0\x0cJXL \r\n\x87\n", 12);
constexpr std::string_view kFileTypeBox(
    "\0\0\0\x14"
    "ftypjxl \0\0\0\0jxl ",
    20);
constexpr std::string_view kCodestreamStart("\xff\x0a", 2);

std::uint64_t be(std::string_view bytes, std::size_t at, std::size_t count) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  }
  return value;
}

void appendBe(std::string& out, std::uint64_t value, std::size_t count) {
  for (std::size_t i = count; i-- > 0;) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

// A box of any size: the 64-bit size field where 32 bits do not hold it.
void appendBox(std::string& out, std::string_view type, std::string_view payload) {
  const std::uint64_t size = 8 + static_cast<std::uint64_t>(payload.size());
  if (size <= 0xffffffffu) {
    appendBe(out, size, 4);
    out += type;
  } else {
    appendBe(out, 1, 4);
    out += type;
    appendBe(out, size + 8, 8);
  }
  out += payload;
}

std::string_view asText(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

struct Box {
  std::string_view type;
  std::string_view whole;    // header included
  std::string_view payload;  // after the header
};

// The boxes after the signature, or nothing when one overruns the file.
std::optional<std::vector<Box>> boxesOf(std::string_view file) {
  std::vector<Box> boxes;
  for (std::size_t at = kSignatureBox.size(); at < file.size();) {
    if (file.size() - at < 8) return std::nullopt;
    std::uint64_t size = be(file, at, 4);
    std::size_t header = 8;
    if (size == 1) {
      if (file.size() - at < 16) return std::nullopt;
      size = be(file, at + 8, 8);
      header = 16;
    } else if (size == 0) {
      size = file.size() - at;  // to the end of the file
    }
    if (size < header || size > file.size() - at) return std::nullopt;
    const std::string_view whole = file.substr(at, static_cast<std::size_t>(size));
    boxes.push_back({whole.substr(4, 4), whole, whole.substr(header)});
    at += static_cast<std::size_t>(size);
  }
  return boxes;
}

bool isMetadataBox(const Box& box) {
  const auto named = [](std::string_view type) { return type == "Exif" || type == "xml "; };
  // A Brotli-compressed box names what it holds first.
  return named(box.type) ||
         (box.type == "brob" && box.payload.size() >= 4 && named(box.payload.substr(0, 4)));
}

std::vector<std::uint8_t> asBytes(std::string_view text) {
  return {text.begin(), text.end()};
}

}  // namespace

Metadata jxlMetadata(std::string_view jxl) {
  Metadata metadata;
  if (!jxl.starts_with(kSignatureBox)) return metadata;
  const auto boxes = boxesOf(jxl);
  if (!boxes) return metadata;
  for (const Box& box : *boxes) {
    if (box.type == "Exif" && metadata.exif.empty() && box.payload.size() >= 4) {
      const std::uint64_t offset = be(box.payload, 0, 4);
      if (offset <= box.payload.size() - 4) {
        metadata.exif = asBytes(box.payload.substr(4 + static_cast<std::size_t>(offset)));
      }
    } else if (box.type == "xml " && metadata.xmp.empty()) {
      metadata.xmp = asBytes(box.payload);
    }
  }
  return metadata;
}

std::string jxlWithMetadata(std::string_view jxl, const Metadata& metadata) {
  std::string added;
  if (!metadata.exif.empty()) {
    // Four bytes of offset to the TIFF header first: ours starts there.
    std::string payload(4, '\0');
    payload += asText(metadata.exif);
    appendBox(added, "Exif", payload);
  }
  if (!metadata.xmp.empty()) appendBox(added, "xml ", asText(metadata.xmp));

  std::string out(kSignatureBox);
  out += kFileTypeBox;
  if (jxl.starts_with(kCodestreamStart)) {
    out += added;
    appendBox(out, "jxlc", jxl);
    return out;
  }
  if (!jxl.starts_with(kSignatureBox)) return {};
  const auto boxes = boxesOf(jxl);
  if (!boxes || boxes->empty() || boxes->front().whole != kFileTypeBox) return {};
  out += added;
  for (std::size_t i = 1; i < boxes->size(); ++i) {
    if (!isMetadataBox((*boxes)[i])) out += (*boxes)[i].whole;
  }
  return out;
}

}  // namespace quorvane::codec
