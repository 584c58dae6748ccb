// EXIF blocks (TIFF structures) read and edited in place: the small edits
// that keep a block true of an output whose pixels were turned upright and
// resized, and the reads that tests and checks need. Every offset is checked
// against the block, so any bytes at all are safe to pass.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::codec {

// The EXIF block as stored for pixels that are now upright and
// width x height: the orientation tag says 1, and the pixel sizes it holds
// (ImageWidth/Length, PixelX/YDimension) say the new size. Nothing else
// changes. An empty result when the block is not a TIFF structure.
std::vector<std::uint8_t> uprightExif(std::vector<std::uint8_t> exif, int width, int height);

// What an EXIF block says, for checks: the tag's value in IFD0 (Make,
// Orientation, …), or in the GPS IFD.
std::optional<std::string> exifText(const std::vector<std::uint8_t>& exif, std::uint16_t tag);
std::optional<std::uint32_t> exifNumber(const std::vector<std::uint8_t>& exif, std::uint16_t tag);
bool exifHasGps(const std::vector<std::uint8_t>& exif);

}  // namespace quorvane::codec
