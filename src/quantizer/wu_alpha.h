// Wu's splitting for the alpha-aware palette: translucent pixels in a 4-D
// histogram of premultiplied Oklab and alpha (32 x 16 x 16 x 16 bins), opaque
// pixels in the 3-D histogram of wu.h, and one box queue over both, so that
// the entries go where the squared error is largest whichever kind it is.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "quantizer/premultiplied.h"
#include "quantizer/wu.h"

namespace quorvane::quant {

struct Stats4 {
  uint32_t count = 0;
  double sumL = 0.0;
  double sumA = 0.0;
  double sumB = 0.0;
  double sumAlpha = 0.0;
  double sumSquares = 0.0;  // sum of ((L^2 + a^2) + b^2) + alpha^2
};

inline constexpr int kWuAlphaBins = 16;
inline constexpr int kWuAlphaBinCount = kWuBinCount * kWuAlphaBins;

// Bins fitted to the colours at hand, so that colours close together still
// fall into different bins: value c of an axis goes to bin
// trunc((c - minimum) * scale), clamped to the axis (values below the minimum,
// and NaN, to bin 0), with scale = bins / (maximum - minimum) in single
// precision, 0 when all colours share the value.
struct BinBounds {
  float minimum[4];
  float scale[4];
};

// The smallest and largest value of each axis over the colours added.
class BoundsOf {
 public:
  void add(const Premultiplied& colour);
  // The bounds for a histogram of these bins per axis (L, a, b, alpha).
  BinBounds bounds(const int bins[4]) const;

 private:
  float m_low[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float m_high[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  bool m_any = false;
};

inline constexpr int kWuOpaqueBins[4] = {kWuBinsL, kWuBinsA, kWuBinsB, 1};
inline constexpr int kWuTranslucentBins[4] = {kWuBinsL, kWuBinsA, kWuBinsB, kWuAlphaBins};

// Flat bin of the 3-D histogram of wu.h (iL * 256 + ia * 16 + ib).
uint32_t wuOpaqueBinIndex(const Premultiplied& colour, const BinBounds& bounds);
// Flat bin of the 4-D histogram: (iL * 256 + ia * 16 + ib) * 16 + iAlpha.
uint32_t wuAlphaBinIndex(const Premultiplied& colour, const BinBounds& bounds);

// Box of bins, lower bounds inclusive, upper exclusive, axes L, a, b, alpha.
struct Cube4 {
  uint8_t lower[4];
  uint8_t upper[4];
};

class WuAlphaHistogram {
 public:
  // Zero-filled (6.3 MB), binning by `bounds`; throws std::bad_alloc.
  explicit WuAlphaHistogram(const BinBounds& bounds);

  // Adds one colour to its bin; the sums follow the order of the calls.
  void add(const Premultiplied& colour);
  // Turns the bins into cumulative moments; once, after the last add().
  void makeCumulative();

  Stats4 volume(const Cube4& cube) const;
  // Moments of the part of `cube` whose coordinate on `axis` is below `position`.
  Stats4 volumeAt(const Cube4& cube, int axis, int position) const;
  // Best split of `cube` along `axis` (same rule as WuHistogram::cut).
  std::optional<WuHistogram::CutResult> cut(const Cube4& cube, int axis, const Stats4& whole) const;

 private:
  Stats4 corners(const int upper[4], const int lower[4]) const;
  BinBounds m_bounds;
  std::vector<Stats4> m_bins;
};

struct AlphaPalette {
  std::vector<Premultiplied> entries;
  std::vector<Coverage> kinds;  // Opaque or Translucent, per entry
};

// Splits the (cumulative) histograms into at most k boxes together: each whole
// histogram that holds pixels starts in the queue with priority +infinity,
// opaque first; then the box of largest squared error is split (cut along its
// best axis, earlier axis on equal scores) until there are k boxes or none can
// be split. Entries are the box means in the queue's array order; opaque boxes
// get alpha kAlphaWeight. Needs k >= the number of non-empty histograms.
AlphaPalette splitJointly(const WuHistogram& opaque, const WuAlphaHistogram& translucent,
                          uint16_t k);

}  // namespace quorvane::quant
