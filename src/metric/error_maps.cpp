// The vertical blur fused with the per-pixel errors: SSIM without the
// luminance denominator (1 - (mu1 - mu2)^2 in its place), and the edge ratio
// that tells ringing (the distorted image has an edge where the reference is
// smooth) from blurring (the reverse).
#include "metric/kernels.h"
#include "metric/xyb_constants.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "metric/error_maps.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::metric::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using DF = hn::ScalableTag<float>;
using VF = hn::Vec<DF>;

// The same order as the horizontal blur: farthest rows first.
HWY_INLINE VF BlurColumn(DF df, const float* const* rows, size_t i, const VF* t) {
  VF sum = hn::Mul(t[4], hn::Add(hn::LoadU(df, rows[0] + i), hn::LoadU(df, rows[8] + i)));
  sum =
      hn::Add(sum, hn::Mul(t[3], hn::Add(hn::LoadU(df, rows[1] + i), hn::LoadU(df, rows[7] + i))));
  sum =
      hn::Add(sum, hn::Mul(t[2], hn::Add(hn::LoadU(df, rows[2] + i), hn::LoadU(df, rows[6] + i))));
  sum =
      hn::Add(sum, hn::Mul(t[1], hn::Add(hn::LoadU(df, rows[3] + i), hn::LoadU(df, rows[5] + i))));
  return hn::Add(sum, hn::Mul(t[0], hn::LoadU(df, rows[4] + i)));
}

HWY_INLINE VF Fourth(VF v) {
  const VF square = hn::Mul(v, v);
  return hn::Mul(square, square);
}

HWY_INLINE void AddToSlot(DF df, float* HWY_RESTRICT slot, VF v) {
  hn::Store(hn::Add(hn::Load(df, slot), v), df, slot);
}

void ErrorMapsRow(const ChannelRows& rows, size_t count, const float* HWY_RESTRICT taps,
                  const float* HWY_RESTRICT weights, float* HWY_RESTRICT map,
                  float* HWY_RESTRICT sums) {
  const DF df;
  const size_t lanes = hn::Lanes(df);
  VF t[kBlurReach + 1];
  for (int m = 0; m <= kBlurReach; ++m) t[m] = hn::Set(df, taps[m]);
  const VF zero = hn::Zero(df);
  const VF one = hn::Set(df, 1.0f);
  const VF c2 = hn::Set(df, kSsimC2);
  for (size_t i = 0; i < count; i += lanes) {
    const VF mu1 = BlurColumn(df, rows.blurred[0], i, t);
    const VF mu2 = BlurColumn(df, rows.blurred[1], i, t);
    const VF sigma11 = BlurColumn(df, rows.blurred[2], i, t);
    const VF sigma22 = BlurColumn(df, rows.blurred[3], i, t);
    const VF sigma12 = BlurColumn(df, rows.blurred[4], i, t);
    const auto inside = hn::FirstN(df, count - i);

    const VF mu11 = hn::Mul(mu1, mu1);
    const VF mu22 = hn::Mul(mu2, mu2);
    const VF mu12 = hn::Mul(mu1, mu2);
    const VF meanDiff = hn::Sub(mu1, mu2);
    const VF numM = hn::Sub(one, hn::Mul(meanDiff, meanDiff));
    const VF numS = hn::Add(hn::Mul(hn::Set(df, 2.0f), hn::Sub(sigma12, mu12)), c2);
    const VF denS = hn::Add(hn::Add(hn::Sub(sigma11, mu11), hn::Sub(sigma22, mu22)), c2);
    VF ssim = hn::Sub(one, hn::Div(hn::Mul(numM, numS), denS));
    ssim = hn::IfThenElseZero(inside, hn::IfThenElse(hn::Gt(ssim, zero), ssim, zero));

    const VF edge1 = hn::Add(one, hn::Abs(hn::Sub(hn::LoadU(df, rows.image1 + i), mu1)));
    const VF edge2 = hn::Add(one, hn::Abs(hn::Sub(hn::LoadU(df, rows.image2 + i), mu2)));
    const VF ratio = hn::Sub(hn::Div(edge2, edge1), one);
    const VF ringing = hn::IfThenElseZero(inside, hn::IfThenElse(hn::Gt(ratio, zero), ratio, zero));
    const VF lost = hn::Neg(ratio);
    const VF blurring = hn::IfThenElseZero(inside, hn::IfThenElse(hn::Gt(lost, zero), lost, zero));

    float* slot = sums + i % kSumSlots;
    AddToSlot(df, slot + 0 * kSumSlots, ssim);
    AddToSlot(df, slot + 1 * kSumSlots, Fourth(ssim));
    AddToSlot(df, slot + 2 * kSumSlots, ringing);
    AddToSlot(df, slot + 3 * kSumSlots, Fourth(ringing));
    AddToSlot(df, slot + 4 * kSumSlots, blurring);
    AddToSlot(df, slot + 5 * kSumSlots, Fourth(blurring));
    if (map) {
      VF visible = hn::Mul(hn::Set(df, weights[0]), ssim);
      visible = hn::Add(visible, hn::Mul(hn::Set(df, weights[1]), ringing));
      visible = hn::Add(visible, hn::Mul(hn::Set(df, weights[2]), blurring));
      hn::StoreU(hn::Add(hn::LoadU(df, map + i), visible), df, map + i);
    }
  }
}

}  // namespace quorvane::metric::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorvane::metric {

HWY_EXPORT(ErrorMapsRow);

void errorMapsRow(const ChannelRows& rows, size_t count,
                  const std::array<float, kBlurReach + 1>& taps, const float* weights, float* map,
                  float* sums) {
  HWY_DYNAMIC_DISPATCH(ErrorMapsRow)(rows, count, taps.data(), weights, map, sums);
}

}  // namespace quorvane::metric
#endif  // HWY_ONCE
