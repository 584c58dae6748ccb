// Private to the codec layer: HEIF and AVIF inputs whose colours are given
// by a PQ or HLG code point rather than a profile, read through libheif
// itself at their own bit depth (libvips reduces them to 8 bits as if they
// were sRGB).
#pragma once

#include <filesystem>
#include <optional>

#include "codec/file_io.h"
#include "codec/hdr_signal.h"
#include "codec/image_codec.h"
#include "codec/vips_open.h"

namespace quorvane::codec::detail {

// The primary image's code points, when they name an HDR transfer and the
// image has no ICC profile (a profile says what the numbers mean instead).
std::optional<HdrSignal> readHdrSignal(const InputFile& file);

// Frame 0 of an HDR input (header.hdr is set) rendered for SDR (see
// hdr_tone_map.h), upright, as decodeProbed gives other inputs. The source
// peak is the content light level box's, else the mastering display's,
// else the brightest pixel of the frame.
Result<RgbaImage> decodeHdr(const Probe& input, const ImageHeader& header,
                            const std::filesystem::path& path, const DecodeOptions& options);

// The HDR signal as it is (the same code points), upright, resampled to
// width x height, as a 16-bit PNG with no metadata: what an encoder that
// keeps HDR reads.
Result<void> writeHdrPng(const Probe& input, const ImageHeader& header,
                         const std::filesystem::path& path, int width, int height,
                         const std::filesystem::path& png, const StopRequested& stopRequested);

}  // namespace quorvane::codec::detail
