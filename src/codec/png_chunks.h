// The first chunks of a PNG, read without libpng: enough for its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace quorvane::codec::detail {

// How much of a file pngSizeBeforeData looks at.
inline constexpr std::size_t kPngScanBytes = 64 * 1024;

// Width and height from IHDR, when `bytes` (a file's first bytes) are a PNG
// signature and IHDR followed by chunks that reach IDAT with no eXIf among
// them (its orientation would swap the sides). Nothing otherwise: not a
// PNG, a size of 0 or over 2^31 - 1, IDAT past the bytes given.
std::optional<std::pair<int, int>> pngSizeBeforeData(std::span<const std::uint8_t> bytes);

}  // namespace quorvane::codec::detail
