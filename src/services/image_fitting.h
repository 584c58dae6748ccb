// What every conversion road does with its input before encoding: read the
// header (and refuse what is too large before any decoder or tool sees the
// file), work out the output's pixel size, and decode at that size.
#pragma once

#include <filesystem>
#include <optional>

#include "codec/image_codec.h"
#include "codec/opened_image.h"
#include "services/cancellation_token.h"

namespace quorvane::core {

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

// The size that fits inside the bounds with proportions kept; never larger
// than the original, never below 1 x 1. Bounds absent or below 1 do not limit.
PixelSize fitSize(int origWidth, int origHeight, std::optional<int> maxWidth,
                  std::optional<int> maxHeight);

// The input's header. Throws the failure a codec error stands for, and
// ConversionError::imageTooLarge over codec::kMaxPixels.
codec::ImageHeader readCheckedHeader(const std::filesystem::path& input);

// Decodes frame 0 at exactly `size` (JPEG and WebP decode at a reduced scale
// first when that is much larger than needed). Throws the failure a codec
// error stands for; CancellationError once `token` is cancelled. With
// `keepProfile`, pixels under an RGB profile stay in that profile's space.
codec::RgbaImage decodeFitted(const std::filesystem::path& input, PixelSize size,
                              const CancellationToken& token, bool keepProfile = false);

// The input opened once for a conversion, its header checked as
// readCheckedHeader does.
codec::OpenedImage openChecked(const std::filesystem::path& input);
// decodeFitted from the opened input.
codec::RgbaImage decodeFitted(const codec::OpenedImage& input, PixelSize size,
                              const CancellationToken& token, bool keepProfile = false);

// The token as the codec's stop question.
codec::StopRequested stopRequestedBy(const CancellationToken& token);

}  // namespace quorvane::core
