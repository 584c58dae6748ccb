// What a conversion's output carries besides its pixels, read once from the
// input before anything is encoded.
#pragma once

#include <QStringList>

#include "codec/image_codec.h"
#include "services/cancellation_token.h"
#include "services/conversion_job.h"
#include "services/image_fitting.h"

namespace quorvane::core {

struct CarriedMetadata {
  codec::Metadata metadata;  // empty blocks: not carried
  QStringList notes;         // what was not carried as it was, for the row
};

// EXIF and XMP made true of the upright output of `size` (when the job
// keeps metadata), an RGB profile (when it keeps the profile; the pixels
// then stay in its space). A profile that cannot be kept is converted, an
// XMP packet over codec::kMaxCarriedXmp is dropped, and a note says so.
// Nothing when the job keeps neither, or the input's metadata cannot be read
// (the decode that follows fails with the cause). Throws CancellationError
// once `token` is cancelled, also in the middle of a long packet.
CarriedMetadata carriedMetadata(const ConversionJob& job, const codec::ImageHeader& header,
                                PixelSize size, const CancellationToken& token);

}  // namespace quorvane::core
