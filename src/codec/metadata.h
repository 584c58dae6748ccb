// What a file carries besides its pixels: EXIF, XMP and the colour profile,
// as byte blocks, and the containers that carry them. The edits that keep
// them true of an upright, resized output are in exif_block.h and
// xmp_packet.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codec/exif_block.h"
#include "codec/xmp_packet.h"

namespace quorvane::codec {

struct Metadata {
  std::vector<std::uint8_t> exif;  // a TIFF structure ("II*\0…"), no "Exif\0\0" in front
  std::vector<std::uint8_t> xmp;   // the XMP packet, XML text
  std::vector<std::uint8_t> icc;   // an ICC profile
  bool empty() const { return exif.empty() && xmp.empty() && icc.empty(); }
};

// A JPEG stream with the metadata put in as a JPEG carries it: EXIF and XMP
// in APP1 segments (XMP over 64 kB split into extended XMP), the profile in
// APP2 ICC_PROFILE segments, after SOI and any APP0 (JFIF) segment. What a
// JPEG cannot hold (see jpegLeavesOut) is left out. Empty when the stream
// does not start with SOI.
std::string jpegWithMetadata(const std::string& jpeg, const Metadata& metadata);

// A block an output cannot hold: its kind, size and the most the format
// holds, both in bytes.
struct BlockLeftOut {
  enum class Kind { Exif, Xmp, Icc };
  Kind kind;
  std::size_t size;
  std::size_t limit;
};

// What jpegWithMetadata leaves out of `metadata`: EXIF over one APP1
// segment (64 kB; EXIF has no way to continue), a profile over 255 APP2
// segments (16 MB), an XMP packet over 64 kB with no element to move into
// extended XMP.
std::vector<BlockLeftOut> jpegLeavesOut(const Metadata& metadata);

// A WebP file with the metadata in its own chunks (ICCP, EXIF, XMP) and the
// extended header that announces them; chunks of those kinds already there
// are replaced. Empty when the file is not a still WebP this understands.
std::string webpWithMetadata(const std::string& webp, const Metadata& metadata);

// Whether an ICC profile is for RGB data, by its header.
bool iccIsRgb(const std::vector<std::uint8_t>& icc);
// Whether an ICC profile can go into an output as it is: a well-formed
// profile (see detail::iccProfileIsWellFormed) for RGB, the only kind the
// outputs take.
bool iccCanBeKept(const std::vector<std::uint8_t>& icc);

}  // namespace quorvane::codec
