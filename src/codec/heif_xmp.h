// The XMP packet of a HEIF or AVIF file, wherever libvips put it.
#pragma once

#include <vips/vips.h>

#include <cstdint>
#include <vector>

namespace quorvane::codec::detail {

// The XMP packet of an image opened by heifload; empty when it has none.
// libvips names a "mime" item XMP only when it starts with "<x:xmpmeta"; one
// stored as a whole packet ("<?xpacket ...", as libheif's writers and cameras
// store it) is left as heif-mime-N, and with it the file's XMP.
std::vector<std::uint8_t> heifXmp(VipsImage* image);

}  // namespace quorvane::codec::detail
