// sRGB <-> Oklab kernels. Every lane performs exactly the scalar sequence of
// single-precision operations of reference/reference_quantizer.cpp (no FMA, no
// approximate reciprocal), so all targets give identical bits.
#include <cstring>

#include "quantizer/colour_tables.h"
#include "quantizer/oklab.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "quantizer/colour_space.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::quant::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using DF = hn::ScalableTag<float>;
using DU = hn::RebindToUnsigned<DF>;
using DI = hn::RebindToSigned<DF>;
using VF = hn::Vec<DF>;
using VU = hn::Vec<DU>;

// floor(v / 3) for v < 2^31 with 32-bit lanes only (the one-lane fallback target
// has no widening multiply). v = hi * 2^16 + lo gives v / 3 = hi * 21845 + (hi + lo) / 3
// with hi + lo < 98304, small enough for a float estimate that is at most one too
// low; one correction step fixes it. Checked against v / 3 for every v < 2^31.
HWY_INLINE VU divideBy3(VU v) {
  const DF df;
  const DU du;
  const DI di;
  const VU hi = hn::ShiftRight<16>(v);
  const auto sum = hn::BitCast(di, hn::Add(hi, hn::And(v, hn::Set(du, 0xFFFFu))));
  auto q = hn::ConvertTo(di, hn::Mul(hn::ConvertTo(df, sum), hn::Set(df, 0.333333343f)));
  const auto rest = hn::Sub(sum, hn::Add(hn::Add(q, q), q));
  q = hn::IfThenElse(hn::Gt(rest, hn::Set(di, 2)), hn::Add(q, hn::Set(di, 1)), q);
  return hn::Add(hn::Mul(hi, hn::Set(du, 21845u)), hn::BitCast(du, q));
}

// Bit-trick estimate refined by two Halley steps; exact zero maps to itself.
HWY_INLINE VF cubeRoot(VF x) {
  const DF df;
  const DU du;
  const VU bits = hn::BitCast(du, x);
  const VU sign = hn::And(bits, hn::Set(du, 0x80000000u));
  const VU magnitude = hn::And(bits, hn::Set(du, 0x7FFFFFFFu));
  VF t = hn::BitCast(df, hn::Or(hn::Add(divideBy3(magnitude), hn::Set(du, kCbrtBias)), sign));
  for (int step = 0; step < 2; ++step) {
    const VF r = hn::Mul(hn::Mul(t, t), t);
    t = hn::Div(hn::Mul(hn::Add(hn::Add(x, x), r), t), hn::Add(r, hn::Add(x, r)));
  }
  return hn::IfThenElse(hn::Eq(x, hn::Zero(df)), x, t);
}

// Converts the lanes' pixels packed as R | G << 8 | B << 16 (upper byte ignored).
HWY_INLINE void packedToOklab(VU packed, float* HWY_RESTRICT out) {
  const DF df;
  const DU du;
  const DI di;
  const VU byteMask = hn::Set(du, 0xFFu);
  const auto ir = hn::BitCast(di, hn::And(packed, byteMask));
  const auto ig = hn::BitCast(di, hn::And(hn::ShiftRight<8>(packed), byteMask));
  const auto ib = hn::BitCast(di, hn::And(hn::ShiftRight<16>(packed), byteMask));
  const VF r = hn::GatherIndex(df, kSrgbToLinear, ir);
  const VF g = hn::GatherIndex(df, kSrgbToLinear, ig);
  const VF b = hn::GatherIndex(df, kSrgbToLinear, ib);

  VF cone[3];
  for (int row = 0; row < 3; ++row) {
    cone[row] =
        hn::Add(hn::Add(hn::Mul(hn::Set(df, kM1[row][0]), r), hn::Mul(hn::Set(df, kM1[row][1]), g)),
                hn::Mul(hn::Set(df, kM1[row][2]), b));
  }
  const VF l = cubeRoot(cone[0]);
  const VF m = cubeRoot(cone[1]);
  const VF s = cubeRoot(cone[2]);
  const auto term = [&](int row, int col, VF v) { return hn::Mul(hn::Set(df, kM2[row][col]), v); };
  const VF vL = hn::Sub(hn::Add(term(0, 0, l), term(0, 1, m)), term(0, 2, s));
  const VF vA = hn::Add(hn::Sub(term(1, 0, l), term(1, 1, m)), term(1, 2, s));
  const VF vB = hn::Sub(hn::Add(term(2, 0, l), term(2, 1, m)), term(2, 2, s));
  hn::StoreInterleaved3(vL, vA, vB, df, out);
}

void SrgbToOklab(const uint8_t* HWY_RESTRICT pixels, size_t stride, size_t count,
                 Oklab* HWY_RESTRICT out) {
  const DU du;
  const size_t lanes = hn::Lanes(du);
  float* outFloats = reinterpret_cast<float*>(out);
  size_t i = 0;
  if (stride == 4) {
    for (; i + lanes <= count; i += lanes) {
      const VU packed = hn::LoadU(du, reinterpret_cast<const uint32_t*>(pixels + i * 4));
      packedToOklab(packed, outFloats + i * 3);
    }
  }
  // Other strides and the tail: pack into a lane-sized block and run the same body.
  HWY_ALIGN uint32_t packed[hn::MaxLanes(du)];
  HWY_ALIGN float block[3 * hn::MaxLanes(du)];
  while (i < count) {
    const size_t n = count - i < lanes ? count - i : lanes;
    for (size_t j = 0; j < lanes; ++j) {
      const uint8_t* p = pixels + (i + (j < n ? j : 0)) * stride;
      packed[j] = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
    }
    packedToOklab(hn::Load(du, packed), block);
    std::memcpy(outFloats + i * 3, block, n * 3 * sizeof(float));
    i += n;
  }
}

HWY_INLINE VU encodeLinear(VF v) {
  const DF df;
  const DU du;
  const DI di;
  const VF lo = hn::BitCast(df, hn::Set(du, kEncodeMinBits));
  const VF hi = hn::BitCast(df, hn::Set(du, kEncodeMaxBits));
  v = hn::IfThenElse(hn::Gt(v, lo), v, lo);  // NaN fails the test and becomes lo
  v = hn::IfThenElse(hn::Gt(v, hi), hi, v);
  const VU u = hn::BitCast(du, v);
  const auto index = hn::BitCast(di, hn::ShiftRight<20>(hn::Sub(u, hn::Set(du, kEncodeMinBits))));
  const VU entry = hn::GatherIndex(du, kLinearToSrgbTable, index);
  const VU bias = hn::ShiftLeft<9>(hn::ShiftRight<16>(entry));
  const VU slope = hn::And(entry, hn::Set(du, 0xFFFFu));
  const VU t = hn::And(hn::ShiftRight<12>(u), hn::Set(du, 0xFFu));
  return hn::ShiftRight<16>(hn::Add(bias, hn::Mul(slope, t)));
}

void OklabToSrgb(const Oklab* HWY_RESTRICT colours, size_t count, uint8_t* HWY_RESTRICT rgb) {
  const DF df;
  const DU du;
  const size_t lanes = hn::Lanes(df);
  HWY_ALIGN float block[3 * hn::MaxLanes(df)] = {};
  HWY_ALIGN uint32_t channel[3][hn::MaxLanes(du)];
  for (size_t i = 0; i < count; i += lanes) {
    const size_t n = count - i < lanes ? count - i : lanes;
    std::memcpy(block, colours + i, n * sizeof(Oklab));
    VF vL, vA, vB;
    hn::LoadInterleaved3(df, block, vL, vA, vB);
    const auto term = [&](float c, VF v) { return hn::Mul(hn::Set(df, c), v); };
    const VF l1 = hn::Add(hn::Add(vL, term(kM2Inv[0][0], vA)), term(kM2Inv[0][1], vB));
    const VF m1 = hn::Sub(hn::Sub(vL, term(kM2Inv[1][0], vA)), term(kM2Inv[1][1], vB));
    const VF s1 = hn::Sub(hn::Sub(vL, term(kM2Inv[2][0], vA)), term(kM2Inv[2][1], vB));
    const VF l = hn::Mul(l1, hn::Mul(l1, l1));
    const VF m = hn::Mul(m1, hn::Mul(m1, m1));
    const VF s = hn::Mul(s1, hn::Mul(s1, s1));
    const VF r =
        hn::Add(hn::Sub(term(kM1Inv[0][0], l), term(kM1Inv[0][1], m)), term(kM1Inv[0][2], s));
    const VF g = hn::Sub(hn::Add(hn::Neg(term(kM1Inv[1][0], l)), term(kM1Inv[1][1], m)),
                         term(kM1Inv[1][2], s));
    const VF b = hn::Add(hn::Sub(hn::Neg(term(kM1Inv[2][0], l)), term(kM1Inv[2][1], m)),
                         term(kM1Inv[2][2], s));
    hn::Store(encodeLinear(r), du, channel[0]);
    hn::Store(encodeLinear(g), du, channel[1]);
    hn::Store(encodeLinear(b), du, channel[2]);
    for (size_t j = 0; j < n; ++j) {
      for (int c = 0; c < 3; ++c) rgb[(i + j) * 3 + c] = static_cast<uint8_t>(channel[c][j]);
    }
  }
}

}  // namespace quorvane::quant::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorvane::quant {

HWY_EXPORT(SrgbToOklab);
HWY_EXPORT(OklabToSrgb);

void srgbToOklab(const uint8_t* pixels, size_t stride, size_t count, Oklab* out) {
  HWY_DYNAMIC_DISPATCH(SrgbToOklab)(pixels, stride, count, out);
}

void oklabToSrgb(const Oklab* colours, size_t count, uint8_t* rgb) {
  HWY_DYNAMIC_DISPATCH(OklabToSrgb)(colours, count, rgb);
}

}  // namespace quorvane::quant
#endif  // HWY_ONCE
