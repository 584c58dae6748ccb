// Per-target nearest search of the alpha-aware palette, shared by its k-means
// and remap kernels (Highway's re-inclusion idiom: the guard flips with
// HWY_TARGET_TOGGLE).
#if defined(QUORVANE_QUANT_NEAREST_ALPHA_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QUORVANE_QUANT_NEAREST_ALPHA_INL_H_
#undef QUORVANE_QUANT_NEAREST_ALPHA_INL_H_
#else
#define QUORVANE_QUANT_NEAREST_ALPHA_INL_H_
#endif

#include <limits>

#include "hwy/highway.h"
#include "quantizer/alpha_search.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::quant::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Palette index of the entry of `chunks` nearest to x: smallest distance4, and
// on equal distances the lowest index. Each lane keeps its own best (distance,
// index) pair, and the lanes are reduced by the same order, so the answer does
// not depend on the vector width.
HWY_INLINE uint32_t NearestAlphaInChunks(const AlphaChunk* HWY_RESTRICT chunks, size_t chunkCount,
                                         const Premultiplied& x) {
  const hn::CappedTag<float, 8> df;
  const hn::RebindToSigned<decltype(df)> di;
  constexpr size_t kLanes = hn::MaxLanes(df);
  constexpr size_t kParts = 8 / kLanes;
  static_assert(kParts * kLanes == 8, "a chunk must be a whole number of vectors");
  using VF = hn::Vec<decltype(df)>;
  using VI = hn::Vec<decltype(di)>;

  const VF vl = hn::Set(df, x.l);
  const VF va = hn::Set(df, x.a);
  const VF vb = hn::Set(df, x.b);
  const VF vw = hn::Set(df, x.alpha);
  VF best[kParts];
  VI bestIndex[kParts];
  for (size_t part = 0; part < kParts; ++part) {
    best[part] = hn::Set(df, std::numeric_limits<float>::infinity());
    bestIndex[part] = hn::Set(di, kNoEntry);
  }
  for (size_t c = 0; c < chunkCount; ++c) {
    const AlphaChunk& chunk = chunks[c];
    for (size_t part = 0; part < kParts; ++part) {
      const size_t o = part * kLanes;
      const VF dl = hn::Sub(vl, hn::Load(df, chunk.l + o));
      const VF da = hn::Sub(va, hn::Load(df, chunk.a + o));
      const VF db = hn::Sub(vb, hn::Load(df, chunk.b + o));
      const VF dw = hn::Sub(vw, hn::Load(df, chunk.alpha + o));
      const VF d = hn::Add(hn::Add(hn::Add(hn::Mul(dl, dl), hn::Mul(da, da)), hn::Mul(db, db)),
                           hn::Mul(dw, dw));
      const VI index = hn::Load(di, chunk.index + o);
      const auto take = hn::Or(
          hn::Lt(d, best[part]),
          hn::And(hn::Eq(d, best[part]), hn::RebindMask(df, hn::Lt(index, bestIndex[part]))));
      best[part] = hn::IfThenElse(take, d, best[part]);
      bestIndex[part] = hn::IfThenElse(hn::RebindMask(di, take), index, bestIndex[part]);
    }
  }
  HWY_ALIGN float dist[8];
  HWY_ALIGN int32_t indices[8];
  for (size_t part = 0; part < kParts; ++part) {
    hn::Store(best[part], df, dist + part * kLanes);
    hn::Store(bestIndex[part], di, indices + part * kLanes);
  }
  float resultDist = dist[0];
  int32_t result = indices[0];
  for (size_t j = 1; j < 8; ++j) {
    if (dist[j] < resultDist || (dist[j] == resultDist && indices[j] < result)) {
      resultDist = dist[j];
      result = indices[j];
    }
  }
  return static_cast<uint32_t>(result);
}

}  // namespace quorvane::quant::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif  // QUORVANE_QUANT_NEAREST_ALPHA_INL_H_
