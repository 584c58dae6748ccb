// What "written" means: a file that reads back as an image. A tool that
// exits 0 having written nothing, or something no reader opens, has failed.
#pragma once

#include <filesystem>
#include <optional>

#include "codec/image_codec.h"
#include "models/output_format.h"
#include "services/cancellation_token.h"

namespace quorvane::core {

// Throws ConversionError::outputFileNotCreated for a missing or empty file,
// outputUnreadable for one whose header does not read back or whose
// structure is not whole (JPEG to its end with every scan, PNG to its end
// with every checksum, WebP's container). HEIC, AVIF and JPEG XL
// are decoded in full unless `decodedLater` (the receipt decodes them): their
// encoders have been seen to write files whose header reads but whose pixels
// do not.
void verifyOutput(const std::filesystem::path& output, OutputFormat format,
                  bool decodedLater = false);

// The receipt: the perceptual score of a written output against what was
// encoded (`reference`, at the output's size), at full size. Throws
// ConversionError::outputUnreadable when the output does not decode;
// absent when it cannot be judged (a side under 8 pixels, too little
// memory): the output stands all the same. Throws CancellationError once
// cancelled.
std::optional<double> measuredScore(const codec::RgbaImage& reference,
                                    const std::filesystem::path& output, bool keepProfile,
                                    const CancellationToken& token);

// Whether the receipt of a `format` output made with a kept profile compares
// both sides in sRGB: lossy JPEG XL keeps its colours in its own space, and
// the decoder gives them back in linear sRGB, not in the kept profile.
bool judgedInSrgb(OutputFormat format, bool keepProfile, bool lossless);

// A file's size; 0 when it cannot be read.
qint64 sizeOf(const std::filesystem::path& file);

}  // namespace quorvane::core
