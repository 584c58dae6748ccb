// Wu's colour quantisation (greedy variance splitting of a 3-D histogram) over a
// fixed 32 x 16 x 16 Oklab histogram.
//
// Xiaolin Wu, "Efficient Statistical Computations for Optimal Color Quantization",
// Graphics Gems II (1991): cumulative moment tables and the inclusion-exclusion
// box sums.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "quantizer/oklab.h"

namespace quorvane::quant {

// Moments of a set of pixels. Counts wrap modulo 2^32 like every u32, which keeps
// differences of cumulative counts exact.
struct Stats {
  uint32_t count = 0;
  double sumL = 0.0;
  double sumA = 0.0;
  double sumB = 0.0;
  double sumSquares = 0.0;  // sum of L^2 + a^2 + b^2
};

inline constexpr int kWuBinsL = 32;
inline constexpr int kWuBinsA = 16;
inline constexpr int kWuBinsB = 16;
inline constexpr int kWuBinCount = kWuBinsL * kWuBinsA * kWuBinsB;

// Flat bin index iL * 256 + ia * 16 + ib of each of `count` colours; values outside
// the fixed bounds (and NaN) land in the nearest edge bin (NaN: bin 0).
void wuBinIndices(const Oklab* colours, size_t count, uint32_t* bins);

// Box of bins: lower bounds inclusive, upper exclusive, axis order L, a, b.
struct Cube {
  uint8_t lower[3];
  uint8_t upper[3];
};

struct WuPalette {
  std::vector<Oklab> colours;
  std::vector<Cube> cubes;
};

class WuHistogram {
 public:
  // Zero-filled; throws std::bad_alloc.
  WuHistogram();

  // Adds the colours to their bins, in list order.
  void add(const Oklab* colours, size_t count);
  // Same, with the bin of each colour already known (bins[i] < kWuBinCount).
  void add(const Oklab* colours, const uint32_t* bins, size_t count);

  // Turns the bins into cumulative moments; call once, after the last add().
  void makeCumulative();

  // Splits the (cumulative) histogram into at most k boxes, largest squared error
  // first, and returns their means in the order of the box queue's array.
  // Empty when the histogram holds no pixel.
  WuPalette paletteAndCubes(uint16_t k) const;

  // Moments of the pixels in `cube` (after makeCumulative()).
  Stats volume(const Cube& cube) const;
  // Moments of the part of `cube` whose coordinate on `axis` is below `position`.
  Stats volumeAt(const Cube& cube, int axis, int position) const;

  struct CutResult {
    int position;
    double score;
  };
  // Best split position of `cube` along `axis` given the cube's moments, or none
  // when every position leaves one side empty.
  std::optional<CutResult> cut(const Cube& cube, int axis, const Stats& whole) const;

  const Stats& bin(int iL, int ia, int ib) const { return m_bins[index(iL, ia, ib)]; }

 private:
  static size_t index(int iL, int ia, int ib) {
    return static_cast<size_t>(iL) * (kWuBinsA * kWuBinsB) + static_cast<size_t>(ia) * kWuBinsB +
           static_cast<size_t>(ib);
  }
  Stats corners(const int upper[3], const int lower[3]) const;

  std::vector<Stats> m_bins;
};

}  // namespace quorvane::quant
