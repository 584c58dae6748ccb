// XMP packets: the edits that keep a packet true of an upright, resized
// output, in one pass over the text whatever it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "codec/stop_requested.h"

namespace quorvane::codec {

// The most XMP a conversion carries, in bytes. Real packets take a few
// kilobytes (a few megabytes where an editor piled up its history); beyond
// this a packet is dropped rather than copied into every output.
inline constexpr std::size_t kMaxCarriedXmp = 8'000'000;

// The packet as stored for pixels that are now width x height and were
// turned by `appliedOrientation`: each tiff:Orientation (as an attribute or
// an element) says orientationAfter(its value, applied) (exif_block.h), or
// is removed when its value is not 1..8; tiff:ImageWidth/ImageLength and
// exif:PixelXDimension/PixelYDimension say the new size. Everything else is
// copied as it is: text, comments, CDATA, and names that only look alike.
// Linear in the packet's size; asks `stopRequested` after every megabyte
// and returns nothing when it says stop.
std::optional<std::vector<std::uint8_t>> uprightXmp(const std::vector<std::uint8_t>& xmp, int width,
                                                    int height, int appliedOrientation,
                                                    const StopRequested& stopRequested = {});

}  // namespace quorvane::codec
