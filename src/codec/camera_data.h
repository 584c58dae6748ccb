// Leaving camera data out of an image file without touching its pixels: for
// the copy of an original that a batch keeps where the converted file would
// have been larger, since outputs carry no camera data unless asked.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::codec {

// The file without its EXIF, XMP and IPTC blocks, everything else byte for
// byte (the compressed pixels, the colour profile): JPEG (APP1 EXIF and XMP
// segments, APP13), PNG (eXIf and the text chunks) and WebP (the EXIF and XMP
// chunks, and their flags in the extended header). An `orientation` other
// than 1 (the EXIF value the image is shown with) stays, in an EXIF block of
// that one tag, so the copy shows as the original did. Nothing for other
// formats or for a file whose structure does not hold together; never throws.
std::optional<std::string> withoutCameraData(std::string_view file, int orientation = 1);

}  // namespace quorvane::codec
