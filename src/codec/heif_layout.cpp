#include "codec/heif_layout.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace quorvane::codec::detail {

namespace {

constexpr std::int64_t kMaxTopLevelBoxes = 256;
constexpr std::size_t kMaxMetaBytes = 1 << 20;

std::uint32_t be32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         p[3];
}

std::uint16_t be16(const std::uint8_t* p) {
  return std::uint16_t((p[0] << 8) | p[1]);
}

std::string fourCc(const std::uint8_t* p) {
  return std::string(reinterpret_cast<const char*>(p), 4);
}

bool oneOf(const std::string& brand, std::initializer_list<const char*> brands) {
  return std::any_of(brands.begin(), brands.end(), [&](const char* b) { return brand == b; });
}

struct Box {
  std::string type;
  std::int64_t payload = 0;  // offset of the payload
  std::int64_t size = 0;     // of the payload
};

// The box starting at `offset` of a region ending at `end`, whose header
// lies in `header` (16 bytes or what is left of the region).
std::optional<Box> boxAt(std::span<const std::uint8_t> header, std::int64_t offset,
                         std::int64_t end) {
  if (header.size() < 8) return std::nullopt;
  Box box;
  box.type = fourCc(header.data() + 4);
  std::uint64_t total = be32(header.data());
  std::int64_t headerSize = 8;
  if (total == 1) {
    if (header.size() < 16) return std::nullopt;
    total = (std::uint64_t(be32(header.data() + 8)) << 32) | be32(header.data() + 12);
    headerSize = 16;
  } else if (total == 0) {
    total = std::uint64_t(end - offset);
  }
  if (total < std::uint64_t(headerSize) || total > std::uint64_t(end - offset)) return std::nullopt;
  box.payload = offset + headerSize;
  box.size = std::int64_t(total) - headerSize;
  return box;
}

// The child boxes of a payload held in memory.
std::vector<Box> childrenOf(std::span<const std::uint8_t> bytes) {
  std::vector<Box> boxes;
  std::int64_t offset = 0;
  const auto end = std::int64_t(bytes.size());
  while (offset < end && boxes.size() < 1024) {
    const auto box = boxAt(bytes.subspan(std::size_t(offset)), offset, end);
    if (!box) break;
    boxes.push_back(*box);
    offset = box->payload + box->size;
  }
  return boxes;
}

std::span<const std::uint8_t> payloadOf(std::span<const std::uint8_t> bytes, const Box& box) {
  return bytes.subspan(std::size_t(box.payload), std::size_t(box.size));
}

void readBrands(std::span<const std::uint8_t> ftyp, HeifLayout& layout) {
  if (ftyp.size() < 8) return;
  std::vector<std::string> brands{fourCc(ftyp.data())};
  for (std::size_t at = 8; at + 4 <= ftyp.size() && brands.size() < 64; at += 4) {
    brands.push_back(fourCc(ftyp.data() + at));
  }
  for (const std::string& brand : brands) {
    if (oneOf(brand, {"mif1", "mif2", "msf1", "miaf", "heic", "heix", "heim", "heis", "hevc",
                      "hevx", "hevm", "hevs", "avif", "avis", "avio"})) {
      layout.heif = true;
    }
    if (oneOf(brand, {"avif", "avis", "avio"})) layout.avif = true;
    if (oneOf(brand, {"msf1", "avis", "hevc", "hevx", "hevm", "hevs"})) layout.sequence = true;
  }
}

// The primary item's id (pitm) and type (its entry in iinf).
void readItems(std::span<const std::uint8_t> meta, HeifLayout& layout) {
  if (meta.size() < 4) return;  // version and flags
  const std::span<const std::uint8_t> boxes = meta.subspan(4);
  std::optional<std::uint32_t> primary;
  std::span<const std::uint8_t> iinf;
  for (const Box& box : childrenOf(boxes)) {
    const auto payload = payloadOf(boxes, box);
    if (box.type == "pitm" && payload.size() >= 4) {
      if (payload[0] == 0 && payload.size() >= 6) primary = be16(payload.data() + 4);
      if (payload[0] != 0 && payload.size() >= 8) primary = be32(payload.data() + 4);
    } else if (box.type == "iinf") {
      iinf = payload;
    }
  }
  if (!primary) return;
  layout.still = true;
  if (iinf.size() < 4) return;
  const std::size_t countBytes = iinf[0] == 0 ? 2 : 4;
  if (iinf.size() < 4 + countBytes) return;
  const auto entries = iinf.subspan(4 + countBytes);
  for (const Box& infe : childrenOf(entries)) {
    const auto entry = payloadOf(entries, infe);
    if (infe.type != "infe" || entry.size() < 4) continue;
    const int version = entry[0];
    if (version < 2) continue;  // no item type before version 2
    const std::size_t idBytes = version == 2 ? 2 : 4;
    if (entry.size() < 4 + idBytes + 2 + 4) continue;
    const std::uint32_t id = idBytes == 2 ? be16(entry.data() + 4) : be32(entry.data() + 4);
    if (id == *primary) {
      layout.primaryType = fourCc(entry.data() + 4 + idBytes + 2);
      return;
    }
  }
}

}  // namespace

HeifLayout readHeifLayout(const ReadAt& read, std::int64_t size) {
  HeifLayout layout;
  std::int64_t offset = 0;
  for (std::int64_t n = 0; n < kMaxTopLevelBoxes && offset < size; ++n) {
    std::array<std::uint8_t, 16> header{};
    const std::size_t got = read(offset, header);
    const auto box = boxAt(std::span<const std::uint8_t>(header.data(), got), offset, size);
    if (!box) break;
    if (n == 0 && box->type != "ftyp") return layout;
    if (box->type == "ftyp" || box->type == "meta") {
      std::vector<std::uint8_t> payload(
          std::size_t(std::min<std::int64_t>(box->size, kMaxMetaBytes)));
      payload.resize(read(box->payload, payload));
      if (box->type == "ftyp") {
        readBrands(payload, layout);
        if (!layout.heif) return layout;
      } else {
        readItems(payload, layout);
      }
    } else if (box->type == "moov") {
      layout.sequence = true;
    }
    offset = box->payload + box->size;
  }
  return layout;
}

HeifLayout readHeifLayout(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return {};
  return readHeifLayout(
      [fd](std::int64_t offset, std::span<std::uint8_t> buffer) -> std::size_t {
        const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), offset);
        return got > 0 ? std::size_t(got) : 0;
      },
      info.st_size);
}

bool isDerivedItemType(const std::string& type) {
  return oneOf(type, {"iden", "grid", "iovl", "tmap"});
}

}  // namespace quorvane::codec::detail
