// RGBA to linear light, and linear light to the metric's XYB.
#include <cmath>
#include <cstring>
#include <vector>

#include "metric/kernels.h"
#include "metric/xyb_constants.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "metric/xyb.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::metric::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using DF = hn::ScalableTag<float>;
using DU = hn::RebindToUnsigned<DF>;
using DI = hn::RebindToSigned<DF>;
using VF = hn::Vec<DF>;
using VU = hn::Vec<DU>;

void RgbaToLinear(const uint8_t* HWY_RESTRICT rgba, size_t count, uint32_t background,
                  const float* HWY_RESTRICT table, const float* HWY_RESTRICT plain,
                  float* HWY_RESTRICT r, float* HWY_RESTRICT g, float* HWY_RESTRICT b) {
  const DF df;
  const DU du;
  const DI di;
  const size_t lanes = hn::Lanes(df);
  const VF full = hn::Set(df, 255.0f);
  const bool opaque = background == kOpaque;
  const VF under = hn::Set(df, opaque ? 0.0f : static_cast<float>(background));
  const VU byteMask = hn::Set(du, 0xFFu);
  HWY_ALIGN uint32_t packed[hn::MaxLanes(du)];
  float* const out[3] = {r, g, b};
  for (size_t i = 0; i < count; i += lanes) {
    VU p;
    if (i + lanes <= count) {
      p = hn::LoadU(du, reinterpret_cast<const uint32_t*>(rgba + i * 4));
    } else {
      std::memset(packed, 0, sizeof packed);
      std::memcpy(packed, rgba + i * 4, (count - i) * 4);
      p = hn::Load(du, packed);
    }
    if (opaque) {
      // A small table that stays in the first-level cache.
      for (int c = 0; c < 3; ++c) {
        const auto index = hn::BitCast(di, hn::And(hn::ShiftRightSame(p, 8 * c), byteMask));
        hn::StoreU(hn::GatherIndex(df, plain, index), df, out[c] + i);
      }
      continue;
    }
    // Integer-valued floats below 2^16: every product and sum is exact.
    const VF alpha = hn::ConvertTo(df, hn::BitCast(di, hn::ShiftRight<24>(p)));
    const VF behind = hn::Mul(under, hn::Sub(full, alpha));
    for (int c = 0; c < 3; ++c) {
      const VU byte = hn::And(hn::ShiftRightSame(p, 8 * c), byteMask);
      const VF value = hn::ConvertTo(df, hn::BitCast(di, byte));
      const auto index = hn::ConvertTo(di, hn::Add(hn::Mul(value, alpha), behind));
      hn::StoreU(hn::GatherIndex(df, table, index), df, out[c] + i);
    }
  }
}

// cubeRoot() of xyb_constants.h, lane by lane.
HWY_INLINE VF CubeRoot(VF x) {
  const DF df;
  const DU du;
  const DI di;
  const auto bits = hn::BitCast(di, x);
  const auto third = hn::ConvertTo(di, hn::Mul(hn::ConvertTo(df, bits), hn::Set(df, 1.0f / 3.0f)));
  VF y = hn::BitCast(df, hn::Sub(hn::Set(du, kInverseCubeRootGuess), hn::BitCast(du, third)));
  const VF four = hn::Set(df, 4.0f);
  const VF oneThird = hn::Set(df, 1.0f / 3.0f);
  for (int step = 0; step < 3; ++step) {
    const VF cube = hn::Mul(hn::Mul(y, y), y);
    y = hn::Mul(hn::Mul(y, hn::Sub(four, hn::Mul(x, cube))), oneThird);
  }
  return hn::Mul(hn::Mul(x, y), y);
}

void LinearToXyb(const float* HWY_RESTRICT r, const float* HWY_RESTRICT g,
                 const float* HWY_RESTRICT b, size_t count, float* HWY_RESTRICT x,
                 float* HWY_RESTRICT y, float* HWY_RESTRICT z) {
  const DF df;
  const size_t lanes = hn::Lanes(df);
  const VF zero = hn::Zero(df);
  const VF bias = hn::Set(df, kOpsinBias);
  const VF negBiasRoot = hn::Set(df, kNegBiasCubeRoot);
  const VF half = hn::Set(df, 0.5f);
  for (size_t i = 0; i < count; i += lanes) {
    const VF vr = hn::LoadU(df, r + i);
    const VF vg = hn::LoadU(df, g + i);
    const VF vb = hn::LoadU(df, b + i);
    VF cone[3];
    for (int row = 0; row < 3; ++row) {
      // ((m2 * b + bias) + m1 * g) + m0 * r; never negative for in-gamut input.
      VF mixed = hn::Add(hn::Mul(hn::Set(df, kOpsin[row][2]), vb), bias);
      mixed = hn::Add(mixed, hn::Mul(hn::Set(df, kOpsin[row][1]), vg));
      mixed = hn::Add(mixed, hn::Mul(hn::Set(df, kOpsin[row][0]), vr));
      mixed = hn::IfThenElse(hn::Gt(mixed, zero), mixed, zero);
      cone[row] = hn::Add(CubeRoot(mixed), negBiasRoot);
    }
    const VF vx = hn::Mul(half, hn::Sub(cone[0], cone[1]));
    const VF vy = hn::Mul(half, hn::Add(cone[0], cone[1]));
    hn::StoreU(hn::Add(hn::Mul(vx, hn::Set(df, kXScale)), hn::Set(df, kXOffset)), df, x + i);
    hn::StoreU(hn::Add(hn::Sub(cone[2], vy), hn::Set(df, kBOffset)), df, z + i);
    hn::StoreU(hn::Add(vy, hn::Set(df, kYOffset)), df, y + i);
  }
}

}  // namespace quorvane::metric::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorvane::metric {

HWY_EXPORT(RgbaToLinear);
HWY_EXPORT(LinearToXyb);

const float* compositeToLinearTable() {
  // Built once, read-only afterwards (a function-local static is initialised
  // exactly once, also with several threads).
  static const std::vector<float> table = [] {
    std::vector<float> values(kLinearTableSize);
    for (size_t v = 0; v < kLinearTableSize; ++v) {
      const double encoded = static_cast<double>(v) / 65025.0;
      const double linear =
          encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
      values[v] = static_cast<float>(linear);
    }
    return values;
  }();
  return table.data();
}

void rgbaToLinear(const uint8_t* rgba, size_t count, uint32_t background, float* r, float* g,
                  float* b) {
  static const std::vector<float> plain = [] {
    std::vector<float> values(256);
    for (size_t c = 0; c < 256; ++c) values[c] = compositeToLinearTable()[255 * c];
    return values;
  }();
  HWY_DYNAMIC_DISPATCH(RgbaToLinear)
  (rgba, count, background, compositeToLinearTable(), plain.data(), r, g, b);
}

void linearToXyb(const float* r, const float* g, const float* b, size_t count, float* x, float* y,
                 float* z) {
  HWY_DYNAMIC_DISPATCH(LinearToXyb)(r, g, b, count, x, y, z);
}

}  // namespace quorvane::metric
#endif  // HWY_ONCE
