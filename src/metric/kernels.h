// The metric's row kernels, dispatched to the best SIMD target of the CPU.
// Every lane performs the same single-precision operations in the same order
// on every target (no FMA, no approximate division), so all targets give
// identical bits. Rows handed in carry padding: a kernel may read and write up
// to kRowPadding floats past `count` (never in a caller's buffer).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "metric/gaussian.h"

namespace quorvane::metric {

inline constexpr size_t kRowPadding = 16;  // the widest vector, in floats
// Sums are kept in this many slots per row (slot = column mod kSumSlots) and
// folded in slot order, so no sum depends on the vector width.
inline constexpr size_t kSumSlots = 16;

// The sRGB encoding of every value (c * a + background * (255 - a)) / 65025,
// decoded to linear light: the colour c over `background` (0 or 255) at
// coverage a, as a viewer composites it. Entries 255 * c are the plain colours.
inline constexpr size_t kLinearTableSize = 255 * 255 + 1;
const float* compositeToLinearTable();

// Ignore alpha: every pixel counts as opaque (the images have no transparency).
inline constexpr uint32_t kOpaque = 0xFFFFFFFFu;

// `count` pixels of 8-bit RGBA (no padding needed) to linear planes, over
// `background` (0, 255 or kOpaque).
void rgbaToLinear(const uint8_t* rgba, size_t count, uint32_t background, float* r, float* g,
                  float* b);

// Linear RGB to the metric's positive XYB: X * 14 + 0.42, Y + 0.01, B - Y + 0.55.
void linearToXyb(const float* r, const float* g, const float* b, size_t count, float* x, float* y,
                 float* z);

// aa = a * a, bb = b * b, ab = a * b.
void productRows(const float* a, const float* b, size_t count, float* aa, float* bb, float* ab);

// The nine-tap blur along a row: `in` must hold kBlurReach readable floats
// before it and kBlurReach + kRowPadding after `count`.
void blurRow(const float* in, size_t count, const std::array<float, kBlurReach + 1>& taps,
             float* out);

// One scale's rows for one channel: the horizontally blurred rows 4 above to
// 4 below (mu1, mu2, sigma11, sigma22, sigma12), and the unblurred XYB rows.
struct ChannelRows {
  const float* blurred[5][2 * kBlurReach + 1];
  const float* image1;
  const float* image2;
};

// Blurs the rows vertically and adds this row's SSIM and edge errors to
// `sums` (6 x kSumSlots floats: SSIM, SSIM^4, ringing, ringing^4, blurring,
// blurring^4). With `map`, adds weights[0] * SSIM + weights[1] * ringing +
// weights[2] * blurring to it. Lanes past `count` add nothing.
void errorMapsRow(const ChannelRows& rows, size_t count,
                  const std::array<float, kBlurReach + 1>& taps, const float* weights, float* map,
                  float* sums);

// The 2 x 2 box average of two rows of `count` samples into (count + 1) / 2
// (the last column repeated when count is odd). Writes nothing past them.
void downsampleRow(const float* row0, const float* row1, size_t count, float* out);

}  // namespace quorvane::metric
