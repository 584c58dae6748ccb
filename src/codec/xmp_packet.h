// XMP packets: the edits that keep a packet true of an upright, resized
// output.
#pragma once

#include <cstdint>
#include <vector>

namespace quorvane::codec {

// The same for an XMP packet: tiff:Orientation 1, the pixel sizes updated.
std::vector<std::uint8_t> uprightXmp(const std::vector<std::uint8_t>& xmp, int width, int height);

}  // namespace quorvane::codec
