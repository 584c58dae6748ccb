// The first pass over an image: its Oklab colours and its Wu histogram,
// on one thread or several, with the same bytes either way.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quantizer/oklab.h"
#include "quantizer/wu.h"

namespace quorvane::quant {

// Converts `count` pixels (R, G, B at the start of every `stride` bytes of
// `pixels`) into `image` and adds them to `histogram` (WuHistogram::add), on up
// to `threads` threads. The image and every bin's sums are bit-identical for
// every thread count. Throws std::bad_alloc (before touching `image`).
void convertAndCount(const uint8_t* pixels, size_t stride, size_t count, Oklab* image,
                     WuHistogram& histogram, uint32_t threads);

}  // namespace quorvane::quant
