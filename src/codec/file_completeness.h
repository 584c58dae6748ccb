// Whether an encoded file is whole, from its structure alone: for outputs of
// tools that may exit successfully after writing part of a file. Cheap (one
// pass over the bytes, nothing decoded); a file that passes may still hold
// damaged compressed data, one that fails is certainly cut short or corrupt.
#pragma once

#include <string_view>

namespace quorvane::codec {

// JPEG: SOI, then segments whose lengths hold, a frame header, every scan's
// entropy-coded data, and EOI.
bool jpegIsWhole(std::string_view file);

// PNG: the signature, then chunks whose lengths and CRCs hold, IHDR first,
// at least one IDAT, and IEND.
bool pngIsWhole(std::string_view file);

// WebP: the RIFF container's size is the file's, and its chunks fit in it.
bool webpIsWhole(std::string_view file);

}  // namespace quorvane::codec
