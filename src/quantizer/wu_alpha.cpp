#include "quantizer/wu_alpha.h"

#include <cmath>
#include <limits>

#include "quantizer/box_queue.h"

namespace quorvane::quant {
namespace {

constexpr int kStride[4] = {kWuBinsA * kWuBinsB * kWuAlphaBins, kWuBinsB* kWuAlphaBins,
                            kWuAlphaBins, 1};

void addTo(Stats4& to, const Stats4& from) {
  to.count += from.count;
  to.sumL += from.sumL;
  to.sumA += from.sumA;
  to.sumB += from.sumB;
  to.sumAlpha += from.sumAlpha;
  to.sumSquares += from.sumSquares;
}

void subtractFrom(Stats4& to, const Stats4& from) {
  to.count -= from.count;
  to.sumL -= from.sumL;
  to.sumA -= from.sumA;
  to.sumB -= from.sumB;
  to.sumAlpha -= from.sumAlpha;
  to.sumSquares -= from.sumSquares;
}

double squaredNorm(double l, double a, double b, double w) {
  return ((l * l + a * a) + b * b) + w * w;
}

double squaredNorm(double l, double a, double b) {
  return (l * l + a * a) + b * b;
}

// One box of either histogram.
struct Box {
  bool translucent;
  Cube4 cube;  // opaque boxes use the first three axes
};

struct Entry {
  double priority;
  Box box;
};

Cube cube3(const Cube4& c) {
  return {{c.lower[0], c.lower[1], c.lower[2]}, {c.upper[0], c.upper[1], c.upper[2]}};
}

class Splitter {
 public:
  Splitter(const WuHistogram& opaque, const WuAlphaHistogram& translucent)
      : m_opaque(opaque), m_translucent(translucent) {}

  // Moments of a box as 4-D moments (an opaque box's alpha is kAlphaWeight).
  Stats4 volume(const Box& box) const {
    if (box.translucent) return m_translucent.volume(box.cube);
    const Stats s = m_opaque.volume(cube3(box.cube));
    const double w = kAlphaWeight;
    return {s.count, s.sumL, s.sumA, s.sumB, w * s.count, s.sumSquares};
  }

  double priority(const Box& box, const Stats4& m) const {
    const int axes = box.translucent ? 4 : 3;
    bool single = true;
    for (int axis = 0; axis < axes; ++axis)
      single &= box.cube.upper[axis] - box.cube.lower[axis] == 1;
    if (single) return 0.0;
    const double n = static_cast<double>(m.count);
    if (box.translucent) return m.sumSquares - squaredNorm(m.sumL, m.sumA, m.sumB, m.sumAlpha) / n;
    return m.sumSquares - squaredNorm(m.sumL, m.sumA, m.sumB) / n;
  }

  // Best axis and position, or axis -1.
  std::pair<int, int> bestCut(const Box& box) const {
    int bestAxis = -1;
    WuHistogram::CutResult best{0, 0.0};
    if (box.translucent) {
      const Stats4 whole = m_translucent.volume(box.cube);
      for (int axis = 0; axis < 4; ++axis) {
        const auto c = m_translucent.cut(box.cube, axis, whole);
        if (c && (bestAxis < 0 || c->score > best.score)) bestAxis = axis, best = *c;
      }
    } else {
      const Cube c3 = cube3(box.cube);
      const Stats whole = m_opaque.volume(c3);
      for (int axis = 0; axis < 3; ++axis) {
        const auto c = m_opaque.cut(c3, axis, whole);
        if (c && (bestAxis < 0 || c->score > best.score)) bestAxis = axis, best = *c;
      }
    }
    return {bestAxis, best.position};
  }

 private:
  const WuHistogram& m_opaque;
  const WuAlphaHistogram& m_translucent;
};

}  // namespace

void BoundsOf::add(const Premultiplied& c) {
  const float value[4] = {c.l, c.a, c.b, c.alpha};
  for (int axis = 0; axis < 4; ++axis) {
    if (!m_any || value[axis] < m_low[axis]) m_low[axis] = value[axis];
    if (!m_any || value[axis] > m_high[axis]) m_high[axis] = value[axis];
  }
  m_any = true;
}

BinBounds BoundsOf::bounds(const int bins[4]) const {
  BinBounds b;
  for (int axis = 0; axis < 4; ++axis) {
    const float range = m_high[axis] - m_low[axis];
    b.minimum[axis] = m_low[axis];
    b.scale[axis] = range > 0.0f ? static_cast<float>(bins[axis]) / range : 0.0f;
  }
  return b;
}

namespace {

int binOf(float value, const BinBounds& bounds, int axis, int bins) {
  const float t = (value - bounds.minimum[axis]) * bounds.scale[axis];
  if (t >= static_cast<float>(bins)) return bins - 1;
  if (t >= 1.0f) return static_cast<int>(t);  // NaN fails both tests
  return 0;
}

}  // namespace

uint32_t wuOpaqueBinIndex(const Premultiplied& c, const BinBounds& bounds) {
  return static_cast<uint32_t>(binOf(c.l, bounds, 0, kWuBinsL) * (kWuBinsA * kWuBinsB) +
                               binOf(c.a, bounds, 1, kWuBinsA) * kWuBinsB +
                               binOf(c.b, bounds, 2, kWuBinsB));
}

uint32_t wuAlphaBinIndex(const Premultiplied& c, const BinBounds& bounds) {
  const float value[4] = {c.l, c.a, c.b, c.alpha};
  uint32_t index = 0;
  for (int axis = 0; axis < 4; ++axis) {
    index += static_cast<uint32_t>(binOf(value[axis], bounds, axis, kWuTranslucentBins[axis]) *
                                   kStride[axis]);
  }
  return index;
}

WuAlphaHistogram::WuAlphaHistogram(const BinBounds& bounds)
    : m_bounds(bounds), m_bins(kWuAlphaBinCount) {}

void WuAlphaHistogram::add(const Premultiplied& c) {
  Stats4& s = m_bins[wuAlphaBinIndex(c, m_bounds)];
  const double l = c.l;
  const double a = c.a;
  const double b = c.b;
  const double w = c.alpha;
  s.count += 1;
  s.sumL += l;
  s.sumA += a;
  s.sumB += b;
  s.sumAlpha += w;
  s.sumSquares += squaredNorm(l, a, b, w);
}

void WuAlphaHistogram::makeCumulative() {
  // A running sum along each axis in turn.
  for (int axis = 0; axis < 4; ++axis) {
    const size_t stride = static_cast<size_t>(kStride[axis]);
    const size_t span = stride * static_cast<size_t>(kWuTranslucentBins[axis]);
    for (size_t base = 0; base < m_bins.size(); base += span) {
      for (size_t offset = 0; offset < stride; ++offset) {
        for (size_t i = base + offset + stride; i < base + span; i += stride) {
          addTo(m_bins[i], m_bins[i - stride]);
        }
      }
    }
  }
}

// Inclusion-exclusion over the sixteen corners; a corner with a -1 index lies
// outside the table and contributes nothing.
Stats4 WuAlphaHistogram::corners(const int u[4], const int l[4]) const {
  Stats4 result;
  for (int mask = 0; mask < 16; ++mask) {
    size_t index = 0;
    bool outside = false;
    for (int axis = 0; axis < 4; ++axis) {
      const int i = (mask >> axis & 1) ? l[axis] : u[axis];
      outside |= i < 0;
      index += static_cast<size_t>(i < 0 ? 0 : i) * static_cast<size_t>(kStride[axis]);
    }
    if (outside) continue;
    if (__builtin_popcount(static_cast<unsigned>(mask)) % 2 == 0) {
      addTo(result, m_bins[index]);
    } else {
      subtractFrom(result, m_bins[index]);
    }
  }
  return result;
}

Stats4 WuAlphaHistogram::volume(const Cube4& cube) const {
  int u[4];
  int l[4];
  for (int axis = 0; axis < 4; ++axis) {
    u[axis] = cube.upper[axis] - 1;
    l[axis] = cube.lower[axis] - 1;
  }
  return corners(u, l);
}

Stats4 WuAlphaHistogram::volumeAt(const Cube4& cube, int axis, int position) const {
  int u[4];
  int l[4];
  for (int i = 0; i < 4; ++i) {
    u[i] = cube.upper[i] - 1;
    l[i] = cube.lower[i] - 1;
  }
  u[axis] = position - 1;
  l[axis] = -1;
  return corners(u, l);
}

std::optional<WuHistogram::CutResult> WuAlphaHistogram::cut(const Cube4& cube, int axis,
                                                            const Stats4& whole) const {
  const Stats4 base = volumeAt(cube, axis, cube.lower[axis]);
  std::optional<WuHistogram::CutResult> best;
  for (int p = cube.lower[axis] + 1; p < cube.upper[axis]; ++p) {
    Stats4 low = volumeAt(cube, axis, p);
    subtractFrom(low, base);
    const uint32_t countLow = low.count;
    const uint32_t countHigh = whole.count - countLow;
    if (countLow == 0 || countHigh == 0) continue;
    const double score = squaredNorm(low.sumL, low.sumA, low.sumB, low.sumAlpha) / countLow +
                         squaredNorm(whole.sumL - low.sumL, whole.sumA - low.sumA,
                                     whole.sumB - low.sumB, whole.sumAlpha - low.sumAlpha) /
                             countHigh;
    if (!best || score > best->score) best = WuHistogram::CutResult{p, score};
  }
  return best;
}

AlphaPalette splitJointly(const WuHistogram& opaque, const WuAlphaHistogram& translucent,
                          uint16_t k) {
  const Splitter splitter(opaque, translucent);
  const Box wholes[2] = {{false, {{0, 0, 0, 0}, {kWuBinsL, kWuBinsA, kWuBinsB, 1}}},
                         {true, {{0, 0, 0, 0}, {kWuBinsL, kWuBinsA, kWuBinsB, kWuAlphaBins}}}};
  BoxQueue<Entry> queue(k);
  for (const Box& whole : wholes) {
    if (splitter.volume(whole).count != 0) {
      queue.insert({std::numeric_limits<double>::infinity(), whole});
    }
  }
  while (queue.size() < k && queue.size() > 0) {
    const Entry top = queue.takeHighest();
    if (!(top.priority > 0.0)) {
      queue.insert(top);
      break;
    }
    const auto [axis, position] = splitter.bestCut(top.box);
    if (axis < 0) {
      queue.insert({0.0, top.box});
      continue;
    }
    Box lower = top.box;
    Box upper = top.box;
    lower.cube.upper[axis] = static_cast<uint8_t>(position);
    upper.cube.lower[axis] = static_cast<uint8_t>(position);
    const double lowerPriority = splitter.priority(lower, splitter.volume(lower));
    const double upperPriority = splitter.priority(upper, splitter.volume(upper));
    queue.insert({lowerPriority, lower});
    queue.insert({upperPriority, upper});
  }

  AlphaPalette result;
  for (const Entry& entry : queue.entries()) {
    const Stats4 m = splitter.volume(entry.box);
    const double n = static_cast<double>(m.count);
    const float alpha = entry.box.translucent ? static_cast<float>(m.sumAlpha / n) : kAlphaWeight;
    result.entries.push_back({static_cast<float>(m.sumL / n), static_cast<float>(m.sumA / n),
                              static_cast<float>(m.sumB / n), alpha});
    result.kinds.push_back(entry.box.translucent ? Coverage::Translucent : Coverage::Opaque);
  }
  return result;
}

}  // namespace quorvane::quant
