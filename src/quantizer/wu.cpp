#include "quantizer/wu.h"

#include <cassert>
#include <cmath>
#include <cstring>
#include <limits>

#include "quantizer/box_queue.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "quantizer/wu.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

// Per-axis histogram bounds: bin = trunc((c - minimum) * scale), clamped to the axis.
#ifndef QUORVANE_QUANT_WU_BOUNDS_
#define QUORVANE_QUANT_WU_BOUNDS_
namespace quorvane::quant {
namespace {
constexpr float kMinimum[3] = {0.0f, -0.233887404f, -0.311528146f};
constexpr float kScale[3] = {32.0f, 31.3661633f, 31.3665295f};
constexpr int kBins[3] = {kWuBinsL, kWuBinsA, kWuBinsB};
}  // namespace
}  // namespace quorvane::quant
#endif

HWY_BEFORE_NAMESPACE();
namespace quorvane::quant::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using DF = hn::ScalableTag<float>;
using VF = hn::Vec<DF>;

HWY_INLINE hn::Vec<hn::RebindToSigned<DF>> axisBin(VF c, int axis) {
  const DF df;
  const hn::RebindToSigned<DF> di;
  VF t = hn::Mul(hn::Sub(c, hn::Set(df, kMinimum[axis])), hn::Set(df, kScale[axis]));
  // Below 1 (negative, NaN, or truncating to 0 anyway) -> 0; then cap at the last bin.
  t = hn::IfThenElseZero(hn::Ge(t, hn::Set(df, 1.0f)), t);
  t = hn::Min(t, hn::Set(df, static_cast<float>(kBins[axis] - 1)));
  return hn::ConvertTo(di, t);
}

void WuBinIndices(const Oklab* HWY_RESTRICT colours, size_t count, uint32_t* HWY_RESTRICT bins) {
  const DF df;
  const hn::RebindToUnsigned<DF> du;
  const size_t lanes = hn::Lanes(df);
  const float* in = reinterpret_cast<const float*>(colours);
  HWY_ALIGN float block[3 * hn::MaxLanes(df)] = {};
  HWY_ALIGN uint32_t tail[hn::MaxLanes(du)];
  for (size_t i = 0; i < count; i += lanes) {
    const size_t n = count - i < lanes ? count - i : lanes;
    VF vL, vA, vB;
    if (n == lanes) {
      hn::LoadInterleaved3(df, in + i * 3, vL, vA, vB);
    } else {
      std::memcpy(block, in + i * 3, n * 3 * sizeof(float));
      hn::LoadInterleaved3(df, block, vL, vA, vB);
    }
    const auto index =
        hn::Add(hn::Add(hn::ShiftLeft<8>(axisBin(vL, 0)), hn::ShiftLeft<4>(axisBin(vA, 1))),
                axisBin(vB, 2));
    if (n == lanes) {
      hn::StoreU(hn::BitCast(du, index), du, bins + i);
    } else {
      hn::Store(hn::BitCast(du, index), du, tail);
      std::memcpy(bins + i, tail, n * sizeof(uint32_t));
    }
  }
}

}  // namespace quorvane::quant::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorvane::quant {

HWY_EXPORT(WuBinIndices);

void wuBinIndices(const Oklab* colours, size_t count, uint32_t* bins) {
  HWY_DYNAMIC_DISPATCH(WuBinIndices)(colours, count, bins);
}

namespace {

void addTo(Stats& to, const Stats& from) {
  to.count += from.count;
  to.sumL += from.sumL;
  to.sumA += from.sumA;
  to.sumB += from.sumB;
  to.sumSquares += from.sumSquares;
}

void subtractFrom(Stats& to, const Stats& from) {
  to.count -= from.count;
  to.sumL -= from.sumL;
  to.sumA -= from.sumA;
  to.sumB -= from.sumB;
  to.sumSquares -= from.sumSquares;
}

double squaredNorm(double l, double a, double b) {
  return (l * l + a * a) + b * b;
}

// Squared error of a box with these moments; a single bin counts as exact.
double boxPriority(const Cube& cube, const Stats& m) {
  if (cube.upper[0] - cube.lower[0] == 1 && cube.upper[1] - cube.lower[1] == 1 &&
      cube.upper[2] - cube.lower[2] == 1) {
    return 0.0;
  }
  return m.sumSquares - squaredNorm(m.sumL, m.sumA, m.sumB) / static_cast<double>(m.count);
}

struct QueueEntry {
  double priority;
  Cube cube;
};

}  // namespace

WuHistogram::WuHistogram() : m_bins(kWuBinCount) {}

void WuHistogram::add(const Oklab* colours, size_t count) {
  // Bin indices are computed a block at a time with the vector kernel; the f64
  // sums are then accumulated strictly in pixel order, which fixes their rounding.
  constexpr size_t kBlock = 1024;
  uint32_t bins[kBlock];
  for (size_t start = 0; start < count; start += kBlock) {
    const size_t n = count - start < kBlock ? count - start : kBlock;
    wuBinIndices(colours + start, n, bins);
    add(colours + start, bins, n);
  }
}

void WuHistogram::add(const Oklab* colours, const uint32_t* bins, size_t count) {
  for (size_t j = 0; j < count; ++j) {
    const Oklab& c = colours[j];
    assert(bins[j] < kWuBinCount);
    Stats& s = m_bins[bins[j]];
    const double l = c.l;
    const double a = c.a;
    const double b = c.b;
    s.count += 1;
    s.sumL += l;
    s.sumA += a;
    s.sumB += b;
    s.sumSquares += squaredNorm(l, a, b);
  }
}

void WuHistogram::makeCumulative() {
  for (int iL = 0; iL < kWuBinsL; ++iL) {
    Stats area[kWuBinsB];
    for (int ia = 0; ia < kWuBinsA; ++ia) {
      Stats line;
      for (int ib = 0; ib < kWuBinsB; ++ib) {
        Stats& bin = m_bins[index(iL, ia, ib)];
        addTo(line, bin);
        addTo(area[ib], line);
        bin = area[ib];
        if (iL > 0) addTo(bin, m_bins[index(iL - 1, ia, ib)]);
      }
    }
  }
}

// Inclusion-exclusion over the eight corners (upper - 1 and lower - 1 per axis);
// a corner with a -1 index lies outside the table and contributes nothing.
Stats WuHistogram::corners(const int u[3], const int l[3]) const {
  Stats result;
  const auto corner = [&](int i, int j, int k, bool subtract) {
    if (i < 0 || j < 0 || k < 0) return;
    const Stats& s = m_bins[index(i, j, k)];
    if (subtract) {
      subtractFrom(result, s);
    } else {
      addTo(result, s);
    }
  };
  corner(u[0], u[1], u[2], false);
  corner(l[0], u[1], u[2], true);
  corner(u[0], l[1], u[2], true);
  corner(u[0], u[1], l[2], true);
  corner(l[0], l[1], u[2], false);
  corner(l[0], u[1], l[2], false);
  corner(u[0], l[1], l[2], false);
  corner(l[0], l[1], l[2], true);
  return result;
}

Stats WuHistogram::volume(const Cube& cube) const {
  int u[3];
  int l[3];
  for (int axis = 0; axis < 3; ++axis) {
    u[axis] = cube.upper[axis] - 1;
    l[axis] = cube.lower[axis] - 1;
  }
  return corners(u, l);
}

Stats WuHistogram::volumeAt(const Cube& cube, int axis, int position) const {
  int u[3];
  int l[3];
  for (int i = 0; i < 3; ++i) {
    u[i] = cube.upper[i] - 1;
    l[i] = cube.lower[i] - 1;
  }
  u[axis] = position - 1;
  l[axis] = -1;
  return corners(u, l);
}

std::optional<WuHistogram::CutResult> WuHistogram::cut(const Cube& cube, int axis,
                                                       const Stats& whole) const {
  const Stats base = volumeAt(cube, axis, cube.lower[axis]);
  std::optional<CutResult> best;
  for (int p = cube.lower[axis] + 1; p < cube.upper[axis]; ++p) {
    Stats low = volumeAt(cube, axis, p);
    subtractFrom(low, base);
    const uint32_t countLow = low.count;
    const uint32_t countHigh = whole.count - countLow;
    if (countLow == 0 || countHigh == 0) continue;
    const double score =
        squaredNorm(low.sumL, low.sumA, low.sumB) / static_cast<double>(countLow) +
        squaredNorm(whole.sumL - low.sumL, whole.sumA - low.sumA, whole.sumB - low.sumB) /
            static_cast<double>(countHigh);
    if (!best || score > best->score) best = CutResult{p, score};
  }
  return best;
}

WuPalette WuHistogram::paletteAndCubes(uint16_t k) const {
  WuPalette result;
  const Cube whole{{0, 0, 0}, {kWuBinsL, kWuBinsA, kWuBinsB}};
  if (volume(whole).count == 0) return result;

  BoxQueue<QueueEntry> queue(k > 0 ? k : 1);
  queue.insert({std::numeric_limits<double>::infinity(), whole});
  if (k >= 2) {
    while (queue.size() < k) {
      const QueueEntry top = queue.takeHighest();
      if (!(top.priority > 0.0)) {
        queue.insert(top);
        break;
      }
      const Stats moments = volume(top.cube);
      int bestAxis = -1;
      CutResult bestCut{0, 0.0};
      for (int axis = 0; axis < 3; ++axis) {
        const auto c = cut(top.cube, axis, moments);
        if (c && (bestAxis < 0 || c->score > bestCut.score)) {
          bestAxis = axis;
          bestCut = *c;
        }
      }
      if (bestAxis < 0) {
        queue.insert({0.0, top.cube});
        continue;
      }
      Cube lower = top.cube;
      Cube upper = top.cube;
      lower.upper[bestAxis] = static_cast<uint8_t>(bestCut.position);
      upper.lower[bestAxis] = static_cast<uint8_t>(bestCut.position);
      const double lowerPriority = boxPriority(lower, volume(lower));
      const double upperPriority = boxPriority(upper, volume(upper));
      queue.insert({lowerPriority, lower});
      queue.insert({upperPriority, upper});
    }
  }

  result.colours.reserve(queue.size());
  result.cubes.reserve(queue.size());
  for (const QueueEntry& entry : queue.entries()) {
    const Stats m = volume(entry.cube);
    const double n = static_cast<double>(m.count);
    result.colours.push_back({static_cast<float>(m.sumL / n), static_cast<float>(m.sumA / n),
                              static_cast<float>(m.sumB / n)});
    result.cubes.push_back(entry.cube);
  }
  return result;
}

}  // namespace quorvane::quant
#endif  // HWY_ONCE
