// What becomes of an HDR input (PQ or HLG, see codec/hdr_signal.h): kept as
// it is where the output format holds it and the colour profile is kept,
// rendered for SDR everywhere else, with a note on the row.
#pragma once

#include <QString>

#include "codec/image_codec.h"
#include "models/encode_settings.h"
#include "models/output_format.h"

namespace quorvane::core {

// Whether an output of `format` keeps the input's HDR signal (10 bits, the
// same code points): AVIF and HEIC when the colour profile is kept, not
// for lossless outputs (whose pixels are the SDR ones, each checked) nor
// Auto (whose candidates are compared with the SDR rendering).
bool keepsHdr(const codec::ImageHeader& header, OutputFormat format,
              const EncodeSettings& settings);

// The row's note for an HDR input rendered for SDR ("" for SDR inputs).
QString hdrNote(const codec::ImageHeader& header);

}  // namespace quorvane::core
