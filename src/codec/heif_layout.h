// What the boxes of a HEIF or AVIF file say about what it holds, read by us
// so a failure of the HEIF library can be told apart: an image sequence
// with no still image, a primary image derived from others (rotated,
// cropped, a grid) that the library cannot put together, or damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace quorvane::codec::detail {

struct HeifLayout {
  bool heif = false;        // an ISO media file with a HEIF or AVIF brand
  bool avif = false;        // branded AVIF (else HEIF)
  bool sequence = false;    // a sequence brand, or a movie box
  bool still = false;       // item metadata naming a primary item
  std::string primaryType;  // the primary item's type ("hvc1", "av01", "iden", "grid"...)
};

// Reads up to buffer.size() bytes at offset into buffer; returns how many.
using ReadAt = std::function<std::size_t(std::int64_t offset, std::span<std::uint8_t> buffer)>;

// Walks the top-level boxes of a file of `size` bytes. Never fails: what
// cannot be read is simply not known.
HeifLayout readHeifLayout(const ReadAt& read, std::int64_t size);

// The same for an open file (read with pread: its offset does not move).
HeifLayout readHeifLayout(int fd);

// Whether an item of this type is put together from other items.
bool isDerivedItemType(const std::string& type);

}  // namespace quorvane::codec::detail
