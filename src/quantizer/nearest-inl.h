// Per-target nearest-colour search, shared by the k-means and remap kernels.
// Include inside HWY_NAMESPACE users after hwy/highway.h (Highway's re-inclusion
// idiom: the guard flips with HWY_TARGET_TOGGLE).
#if defined(QUORVANE_QUANT_NEAREST_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QUORVANE_QUANT_NEAREST_INL_H_
#undef QUORVANE_QUANT_NEAREST_INL_H_
#else
#define QUORVANE_QUANT_NEAREST_INL_H_
#endif

#include <limits>

#include "hwy/highway.h"
#include "quantizer/nearest_color_map.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::quant::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Each of the eight logical lanes keeps its own smallest distance and the last
// chunk reaching it ("<=", so later chunks win ties); the lanes are then reduced
// in order 0..7 with "<" (earlier lanes win ties). Targets narrower than eight
// floats process a chunk as several vectors with the same per-lane rule, so every
// target returns the same index.
HWY_INLINE uint32_t NearestInChunks(const PaletteChunk* HWY_RESTRICT chunks, size_t chunkCount,
                                    float x, float y, float z) {
  const hn::CappedTag<float, 8> df;
  const hn::RebindToSigned<decltype(df)> di;
  constexpr size_t kLanes = hn::MaxLanes(df);
  constexpr size_t kParts = 8 / kLanes;
  static_assert(kParts * kLanes == 8, "a chunk must be a whole number of vectors");
  using VF = hn::Vec<decltype(df)>;
  using VI = hn::Vec<decltype(di)>;

  const VF vx = hn::Set(df, x);
  const VF vy = hn::Set(df, y);
  const VF vz = hn::Set(df, z);
  VF best[kParts];
  VI bestChunk[kParts];
  for (size_t part = 0; part < kParts; ++part) {
    best[part] = hn::Set(df, std::numeric_limits<float>::infinity());
    bestChunk[part] = hn::Zero(di);
  }
  for (size_t c = 0; c < chunkCount; ++c) {
    const PaletteChunk& chunk = chunks[c];
    const VI vc = hn::Set(di, static_cast<int32_t>(c));
    for (size_t part = 0; part < kParts; ++part) {
      const VF dl = hn::Sub(vx, hn::Load(df, chunk.l + part * kLanes));
      const VF da = hn::Sub(vy, hn::Load(df, chunk.a + part * kLanes));
      const VF db = hn::Sub(vz, hn::Load(df, chunk.b + part * kLanes));
      const VF d = hn::Add(hn::Add(hn::Mul(dl, dl), hn::Mul(da, da)), hn::Mul(db, db));
      const auto closer = hn::Le(d, best[part]);
      best[part] = hn::IfThenElse(closer, d, best[part]);
      bestChunk[part] = hn::IfThenElse(hn::RebindMask(di, closer), vc, bestChunk[part]);
    }
  }
  HWY_ALIGN float dist[8];
  HWY_ALIGN int32_t chunkOf[8];
  for (size_t part = 0; part < kParts; ++part) {
    hn::Store(best[part], df, dist + part * kLanes);
    hn::Store(bestChunk[part], di, chunkOf + part * kLanes);
  }
  uint32_t lane = 0;
  float bestDist = dist[0];
  for (uint32_t j = 1; j < 8; ++j) {
    if (dist[j] < bestDist) {
      bestDist = dist[j];
      lane = j;
    }
  }
  return lane + 8 * static_cast<uint32_t>(chunkOf[lane]);
}

}  // namespace quorvane::quant::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif  // QUORVANE_QUANT_NEAREST_INL_H_
