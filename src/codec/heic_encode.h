// Private to the codec layer: what every HEIC writer shares once it has the
// picture as libheif takes it.
#pragma once

#include <libheif/heif.h>

#include <filesystem>

#include "codec/codec_result.h"
#include "codec/metadata.h"

namespace quorvane::codec::detail {

// Encodes `picture` (RGB or, with `alpha`, RGBA) as the primary image of a
// HEIC file at path, at quality 0..1 with writeHeic's encoder settings, with
// the metadata blocks given (its profile already set on the picture) and,
// when given, an nclx colour box with those code points.
Result<void> encodeHeic(heif_image* picture, bool alpha, const std::filesystem::path& path,
                        double quality, const Metadata* metadata, heif_color_profile_nclx* nclx);

}  // namespace quorvane::codec::detail
