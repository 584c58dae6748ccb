// JPEG XL files carry EXIF and XMP in boxes of the ISO BMFF-style container
// around the codestream (ISO/IEC 18181-2); cjxl 0.7 takes neither from the
// PNG it reads, so they are put in afterwards.
#pragma once

#include <string>
#include <string_view>

#include "codec/metadata.h"

namespace quorvane::codec {

// A JPEG XL file with `metadata`'s EXIF in an "Exif" box and its XMP in an
// "xml " box, right after the file type box; boxes of those kinds already
// there (plain or Brotli-compressed) are replaced, every other box is kept
// in its order. A bare codestream is wrapped in a container (its codestream
// in a "jxlc" box). The profile is not touched: it lives in the codestream.
// Empty when `jxl` is neither a codestream nor a container whose boxes all
// lie within the file.
std::string jxlWithMetadata(std::string_view jxl, const Metadata& metadata);

// The EXIF (from its TIFF header on) and XMP of a JPEG XL container's plain
// "Exif" and "xml " boxes; empty where there is none, where a box is
// Brotli-compressed, or when `jxl` is no container whose boxes lie within
// it. The profile is left empty.
Metadata jxlMetadata(std::string_view jxl);

}  // namespace quorvane::codec
