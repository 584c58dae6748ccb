// XMP in a JPEG: one APP1 segment holds at most 64 kB, so a larger packet
// is split as the XMP specification (part 3) lays out: a standard packet
// that names the rest by its MD5 digest (xmpNote:HasExtendedXMP), and the
// rest in "extended" APP1 segments that readers reassemble by offset.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::codec::detail {

// Largest APP1 payload: the segment length field counts itself.
inline constexpr std::size_t kJpegMaxPayload = 65533;

// The APP1 payloads (signature included, marker and length not) that carry
// `xmp`: one when it fits, else the standard packet and then the extended
// parts in order. Empty when the packet does not fit and holds no
// x:xmpmeta or rdf:RDF element to move into the extended part.
std::vector<std::string> jpegXmpPayloads(const std::vector<std::uint8_t>& xmp);

// Whether jpegXmpPayloads carries `xmp`, without splitting it.
bool jpegCanHoldXmp(const std::vector<std::uint8_t>& xmp);

}  // namespace quorvane::codec::detail
