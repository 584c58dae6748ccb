// What a conversion's output carries besides its pixels, decided once from
// the input as it was opened, before anything is encoded.
#pragma once

#include <QStringList>

#include "codec/opened_image.h"
#include "models/output_options.h"
#include "services/cancellation_token.h"
#include "services/image_fitting.h"

namespace quorvane::core {

struct CarriedMetadata {
  codec::Metadata metadata;  // empty blocks: not carried
  QStringList notes;         // what was not carried as it was, for the row
};

// EXIF and XMP made true of the upright output of `size` (when the options
// keep metadata), an RGB profile (when they keep the profile; the pixels
// then stay in its space). A profile that does not fit the image is ignored,
// one that cannot be kept is converted, an XMP packet over
// codec::kMaxCarriedXmp is dropped, and a note says so. Nothing but the note
// on a profile that does not fit when the options keep neither. Throws
// CancellationError once `token` is cancelled, also in the middle of a long
// packet.
CarriedMetadata carriedMetadata(const codec::OpenedImage& input, const OutputOptions& options,
                                PixelSize size, const CancellationToken& token);

}  // namespace quorvane::core
