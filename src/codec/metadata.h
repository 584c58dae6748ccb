// What a file carries besides its pixels: EXIF, XMP and the colour profile,
// as byte blocks, and the small edits that keep them true of an output whose
// pixels were turned upright and resized.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::codec {

struct Metadata {
  std::vector<std::uint8_t> exif;  // a TIFF structure ("II*\0…"), no "Exif\0\0" in front
  std::vector<std::uint8_t> xmp;   // the XMP packet, XML text
  std::vector<std::uint8_t> icc;   // an ICC profile
  bool empty() const { return exif.empty() && xmp.empty() && icc.empty(); }
};

// The EXIF block as stored for pixels that are now upright and
// width x height: the orientation tag says 1, and the pixel sizes it holds
// (ImageWidth/Length, PixelX/YDimension) say the new size. Nothing else
// changes. An empty result when the block is not a TIFF structure.
std::vector<std::uint8_t> uprightExif(std::vector<std::uint8_t> exif, int width, int height);

// The same for an XMP packet: tiff:Orientation 1, the pixel sizes updated.
std::vector<std::uint8_t> uprightXmp(const std::vector<std::uint8_t>& xmp, int width, int height);

// What an EXIF block says, for checks: the tag's value in IFD0 (Make,
// Orientation, …), or in the GPS IFD.
std::optional<std::string> exifText(const std::vector<std::uint8_t>& exif, std::uint16_t tag);
std::optional<std::uint32_t> exifNumber(const std::vector<std::uint8_t>& exif, std::uint16_t tag);
bool exifHasGps(const std::vector<std::uint8_t>& exif);

// A JPEG stream with the metadata put in as a JPEG carries it: EXIF and XMP
// in APP1 segments, the profile in APP2 ICC_PROFILE segments, after SOI and
// any APP0 (JFIF) segment. Empty when the stream does not start with SOI.
std::string jpegWithMetadata(const std::string& jpeg, const Metadata& metadata);

// A WebP file with the metadata in its own chunks (ICCP, EXIF, XMP) and the
// extended header that announces them; chunks of those kinds already there
// are replaced. Empty when the file is not a still WebP this understands.
std::string webpWithMetadata(const std::string& webp, const Metadata& metadata);

// Whether an ICC profile describes RGB (the only kind the outputs take).
bool iccIsRgb(const std::vector<std::uint8_t>& icc);

}  // namespace quorvane::codec
