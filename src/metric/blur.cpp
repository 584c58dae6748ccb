// Products, the horizontal blur and the 2 x 2 downsampling of rows.
#include "metric/kernels.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "metric/blur.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::metric::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using DF = hn::ScalableTag<float>;
using VF = hn::Vec<DF>;

void ProductRows(const float* HWY_RESTRICT a, const float* HWY_RESTRICT b, size_t count,
                 float* HWY_RESTRICT aa, float* HWY_RESTRICT bb, float* HWY_RESTRICT ab) {
  const DF df;
  for (size_t i = 0; i < count; i += hn::Lanes(df)) {
    const VF va = hn::LoadU(df, a + i);
    const VF vb = hn::LoadU(df, b + i);
    hn::StoreU(hn::Mul(va, va), df, aa + i);
    hn::StoreU(hn::Mul(vb, vb), df, bb + i);
    hn::StoreU(hn::Mul(va, vb), df, ab + i);
  }
}

// Farthest taps first: the small terms are summed before the large ones.
void BlurRow(const float* HWY_RESTRICT in, size_t count, const float* HWY_RESTRICT taps,
             float* HWY_RESTRICT out) {
  const DF df;
  VF t[kBlurReach + 1];
  for (int m = 0; m <= kBlurReach; ++m) t[m] = hn::Set(df, taps[m]);
  for (size_t i = 0; i < count; i += hn::Lanes(df)) {
    const float* p = in + i;
    VF sum = hn::Mul(t[4], hn::Add(hn::LoadU(df, p - 4), hn::LoadU(df, p + 4)));
    sum = hn::Add(sum, hn::Mul(t[3], hn::Add(hn::LoadU(df, p - 3), hn::LoadU(df, p + 3))));
    sum = hn::Add(sum, hn::Mul(t[2], hn::Add(hn::LoadU(df, p - 2), hn::LoadU(df, p + 2))));
    sum = hn::Add(sum, hn::Mul(t[1], hn::Add(hn::LoadU(df, p - 1), hn::LoadU(df, p + 1))));
    sum = hn::Add(sum, hn::Mul(t[0], hn::LoadU(df, p)));
    hn::StoreU(sum, df, out + i);
  }
}

// ((a + b) + c) + d, then a quarter: the order of a plain loop over the box.
void DownsampleRow(const float* HWY_RESTRICT row0, const float* HWY_RESTRICT row1, size_t count,
                   float* HWY_RESTRICT out) {
  const DF df;
  const size_t lanes = hn::Lanes(df);
  const size_t pairs = count / 2;
  const VF quarter = hn::Set(df, 0.25f);
  size_t o = 0;
  for (; o + lanes <= pairs; o += lanes) {
    VF a, b, c, d;
    hn::LoadInterleaved2(df, row0 + 2 * o, a, b);
    hn::LoadInterleaved2(df, row1 + 2 * o, c, d);
    hn::StoreU(hn::Mul(hn::Add(hn::Add(hn::Add(a, b), c), d), quarter), df, out + o);
  }
  const size_t outCount = (count + 1) / 2;
  for (; o < outCount; ++o) {
    const size_t x0 = 2 * o;
    const size_t x1 = x0 + 1 < count ? x0 + 1 : count - 1;
    out[o] = (((row0[x0] + row0[x1]) + row1[x0]) + row1[x1]) * 0.25f;
  }
}

}  // namespace quorvane::metric::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorvane::metric {

HWY_EXPORT(ProductRows);
HWY_EXPORT(BlurRow);
HWY_EXPORT(DownsampleRow);

void productRows(const float* a, const float* b, size_t count, float* aa, float* bb, float* ab) {
  HWY_DYNAMIC_DISPATCH(ProductRows)(a, b, count, aa, bb, ab);
}

void blurRow(const float* in, size_t count, const std::array<float, kBlurReach + 1>& taps,
             float* out) {
  HWY_DYNAMIC_DISPATCH(BlurRow)(in, count, taps.data(), out);
}

void downsampleRow(const float* row0, const float* row1, size_t count, float* out) {
  HWY_DYNAMIC_DISPATCH(DownsampleRow)(row0, row1, count, out);
}

}  // namespace quorvane::metric
#endif  // HWY_ONCE
