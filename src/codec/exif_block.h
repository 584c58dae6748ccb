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

// The EXIF orientation (1..8) that describes pixels stored under
// `tagged` after the decoder turned them by `applied`: 1 when the two agree
// (a camera photo turned upright), `tagged` itself when nothing was turned.
// Values outside 1..8 count as 1.
int orientationAfter(int tagged, int applied);

// The EXIF block as stored for pixels that are now width x height and were
// turned by `appliedOrientation` (the orientation the decoder applied):
//  - the first Orientation entry of IFD0, of whatever integer type and
//    count, becomes one SHORT saying orientationAfter(its value, applied);
//    an entry whose value cannot be read (no number, outside 1..8) and any
//    further Orientation entry are removed, so no reader finds a stale one;
//  - ImageWidth/Length and PixelX/YDimension say the new size.
// Nothing else changes, and the block keeps its size. An "Exif\0\0" prefix is
// dropped. Empty when the block is not a TIFF structure, or one so tangled
// (an IFD0 over its own pointer, say) that its edits undo each other.
std::vector<std::uint8_t> uprightExif(std::vector<std::uint8_t> exif, int width, int height,
                                      int appliedOrientation);

// What an EXIF block says, for checks: the tag's value in IFD0 (Make,
// Orientation, …). Numbers are read from any integer type (the first value).
std::optional<std::string> exifText(const std::vector<std::uint8_t>& exif, std::uint16_t tag);
std::optional<std::uint32_t> exifNumber(const std::vector<std::uint8_t>& exif, std::uint16_t tag);
// How many entries of `tag` IFD0 holds.
int exifEntryCount(const std::vector<std::uint8_t>& exif, std::uint16_t tag);
bool exifHasGps(const std::vector<std::uint8_t>& exif);

}  // namespace quorvane::codec
