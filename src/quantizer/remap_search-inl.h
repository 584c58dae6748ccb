// Per-target nearest-entry searches of the remap: the pruned search over the
// whole palette and the search of one entry's neighbourhood. Both return the
// answer of the plain chunk search, ties included (search_chunk.h keys).
// Include inside HWY_NAMESPACE users after hwy/highway.h (Highway's
// re-inclusion idiom: the guard flips with HWY_TARGET_TOGGLE).
#if defined(QUORVANE_QUANT_REMAP_SEARCH_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef QUORVANE_QUANT_REMAP_SEARCH_INL_H_
#undef QUORVANE_QUANT_REMAP_SEARCH_INL_H_
#else
#define QUORVANE_QUANT_REMAP_SEARCH_INL_H_
#endif

#include <cstddef>
#include <cstdint>
#include <limits>

#include "hwy/highway.h"
#include "quantizer/neighbourhoods.h"
#include "quantizer/oklab.h"
#include "quantizer/search_chunk.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::quant::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Nearest entry of the palette for (x, y, z) with the same result as the plain
// chunk search. Starts from `guess`; skips every chunk whose box is farther than
// the best distance so far. The box bound is computed with the same rounded
// operations as a distance, from per-axis gaps no larger than any member's
// rounded difference, so it never exceeds the distance of a member: a skipped
// chunk cannot hold an entry at the best distance, and so cannot decide a tie.
HWY_INLINE uint32_t NearestPruned(const SearchChunk* HWY_RESTRICT search, size_t searchCount,
                                  const float* const* HWY_RESTRICT boxes,
                                  const Oklab* HWY_RESTRICT palette, uint32_t guess, float x,
                                  float y, float z) {
  const hn::CappedTag<float, 8> df;
  const hn::RebindToSigned<decltype(df)> di;
  constexpr size_t kLanes = hn::MaxLanes(df);
  constexpr size_t kParts = 8 / kLanes;
  using VF = hn::Vec<decltype(df)>;
  using VI = hn::Vec<decltype(di)>;

  const Oklab& g = palette[guess];
  const float gl = x - g.l;
  const float ga = y - g.a;
  const float gb = z - g.b;
  float bestDist = (gl * gl + ga * ga) + gb * gb;

  const VF vx = hn::Set(df, x);
  const VF vy = hn::Set(df, y);
  const VF vz = hn::Set(df, z);
  const VF zero = hn::Zero(df);
  const auto gap = [&](const float* lo, const float* hi, size_t c, VF v) {
    return hn::Max(hn::Max(hn::Sub(hn::LoadU(df, lo + c), v), hn::Sub(v, hn::LoadU(df, hi + c))),
                   zero);
  };
  // Box bounds of all chunks, kLanes at a time; remember which may hold a winner.
  HWY_ALIGN float bound[32];
  uint64_t visit = 0;
  const VF vBest = hn::Set(df, bestDist);
  for (size_t c = 0; c < searchCount; c += kLanes) {
    const VF dl = gap(boxes[0], boxes[1], c, vx);
    const VF da = gap(boxes[2], boxes[3], c, vy);
    const VF db = gap(boxes[4], boxes[5], c, vz);
    const VF d = hn::Add(hn::Add(hn::Mul(dl, dl), hn::Mul(da, da)), hn::Mul(db, db));
    hn::Store(d, df, bound + c);
    uint8_t bits[8] = {};
    hn::StoreMaskBits(df, hn::Le(d, vBest), bits);
    visit |= uint64_t{bits[0]} << c;
  }

  VF best[kParts];
  VI bestKey[kParts];
  for (size_t part = 0; part < kParts; ++part) {
    best[part] = hn::Set(df, std::numeric_limits<float>::infinity());
    bestKey[part] = hn::Set(di, kNoKey);
  }
  while (visit != 0) {
    const size_t c = static_cast<size_t>(__builtin_ctzll(visit));
    visit &= visit - 1;
    if (bound[c] > bestDist) continue;
    const SearchChunk& chunk = search[c];
    VF chunkMin = hn::Set(df, std::numeric_limits<float>::infinity());
    for (size_t part = 0; part < kParts; ++part) {
      const VF dl = hn::Sub(vx, hn::Load(df, chunk.l + part * kLanes));
      const VF da = hn::Sub(vy, hn::Load(df, chunk.a + part * kLanes));
      const VF db = hn::Sub(vz, hn::Load(df, chunk.b + part * kLanes));
      const VF d = hn::Add(hn::Add(hn::Mul(dl, dl), hn::Mul(da, da)), hn::Mul(db, db));
      const VI key = hn::Load(di, chunk.key + part * kLanes);
      const auto closer = hn::Lt(d, best[part]);
      const auto tieWon =
          hn::And(hn::Eq(d, best[part]), hn::RebindMask(df, hn::Lt(key, bestKey[part])));
      const auto take = hn::Or(closer, tieWon);
      best[part] = hn::IfThenElse(take, d, best[part]);
      bestKey[part] = hn::IfThenElse(hn::RebindMask(di, take), key, bestKey[part]);
      chunkMin = hn::Min(chunkMin, d);
    }
    const float m = hn::GetLane(hn::MinOfLanes(df, chunkMin));
    if (m < bestDist) bestDist = m;
  }

  HWY_ALIGN float dist[8];
  HWY_ALIGN int32_t keys[8];
  for (size_t part = 0; part < kParts; ++part) {
    hn::Store(best[part], df, dist + part * kLanes);
    hn::Store(bestKey[part], di, keys + part * kLanes);
  }
  float resultDist = (gl * gl + ga * ga) + gb * gb;
  int32_t resultKey = tieKey(guess);
  for (size_t j = 0; j < 8; ++j) {
    if (dist[j] < resultDist || (dist[j] == resultDist && keys[j] < resultKey)) {
      resultDist = dist[j];
      resultKey = keys[j];
    }
  }
  return indexOfKey(resultKey);
}

#if HWY_TARGET <= HWY_AVX2 || HWY_TARGET >= HWY_EMU128
// Nearest entry of a neighbourhood by distance, then key. Each lane's
// distance and key are packed into one u64, distance bits above, so that one
// unsigned minimum settles both: a distance is a sum of squares, +0 or more (or
// NaN, whose bits exceed those of +infinity and so never win, as in the plain
// search), and the bits of such floats order like the floats. (SSE4 and
// SSSE3 lack a fast u64 minimum and reduce the two in turn, below.)
HWY_INLINE uint32_t NearestInNeighbourhood(const SearchChunk* HWY_RESTRICT chunks, float x, float y,
                                           float z) {
  const hn::CappedTag<float, 8> df;
  const hn::RebindToUnsigned<decltype(df)> du;
  const hn::RepartitionToWide<decltype(du)> dw;
  constexpr size_t kLanes = hn::MaxLanes(df);
  constexpr size_t kParts = 8 / kLanes;
  using VF = hn::Vec<decltype(df)>;
  using VW = hn::Vec<decltype(dw)>;
  const VF vx = hn::Set(df, x);
  const VF vy = hn::Set(df, y);
  const VF vz = hn::Set(df, z);
  // One packed vector per chunk and part, then a minimum tree (shorter
  // latency than a running minimum).
  constexpr size_t kCount = kNeighbourhoodChunks * kParts;
  static_assert((kCount & (kCount - 1)) == 0, "the tree halves the count");
  VW packed[kCount];
  for (size_t c = 0; c < kNeighbourhoodChunks; ++c) {
    const SearchChunk& chunk = chunks[c];
    for (size_t part = 0; part < kParts; ++part) {
      const VF dl = hn::Sub(vx, hn::Load(df, chunk.l + part * kLanes));
      const VF da = hn::Sub(vy, hn::Load(df, chunk.a + part * kLanes));
      const VF db = hn::Sub(vz, hn::Load(df, chunk.b + part * kLanes));
      const VF d = hn::Add(hn::Add(hn::Mul(dl, dl), hn::Mul(da, da)), hn::Mul(db, db));
      const auto bits = hn::BitCast(du, d);
      const auto key =
          hn::BitCast(du, hn::Load(hn::RebindToSigned<decltype(df)>(), chunk.key + part * kLanes));
#if HWY_TARGET != HWY_SCALAR
      packed[c * kParts + part] = hn::Min(hn::ZipLower(dw, key, bits), hn::ZipUpper(dw, key, bits));
#else
      packed[c * kParts + part] = hn::ZipLower(dw, key, bits);
#endif
    }
  }
  for (size_t width = kCount; width > 1; width /= 2) {
    for (size_t k = 0; k < width / 2; ++k) packed[k] = hn::Min(packed[k], packed[k + width / 2]);
  }
  const uint64_t least = hn::GetLane(hn::MinOfLanes(dw, packed[0]));
  return indexOfKey(static_cast<int32_t>(static_cast<uint32_t>(least)));
}
#else
// Nearest entry among `count` chunks by distance, then key (the whole
// neighbourhood is searched).
HWY_INLINE uint32_t NearestInNeighbourhood(const SearchChunk* HWY_RESTRICT chunks, float x, float y,
                                           float z) {
  const hn::CappedTag<float, 8> df;
  const hn::RebindToSigned<decltype(df)> di;
  constexpr size_t kLanes = hn::MaxLanes(df);
  constexpr size_t kParts = 8 / kLanes;
  using VF = hn::Vec<decltype(df)>;
  using VI = hn::Vec<decltype(di)>;
  const VF vx = hn::Set(df, x);
  const VF vy = hn::Set(df, y);
  const VF vz = hn::Set(df, z);
  VF best[kParts];
  VI bestKey[kParts];
  for (size_t part = 0; part < kParts; ++part) {
    best[part] = hn::Set(df, std::numeric_limits<float>::infinity());
    bestKey[part] = hn::Set(di, kNoKey);
  }
  for (size_t c = 0; c < kNeighbourhoodChunks; ++c) {
    const SearchChunk& chunk = chunks[c];
    for (size_t part = 0; part < kParts; ++part) {
      const VF dl = hn::Sub(vx, hn::Load(df, chunk.l + part * kLanes));
      const VF da = hn::Sub(vy, hn::Load(df, chunk.a + part * kLanes));
      const VF db = hn::Sub(vz, hn::Load(df, chunk.b + part * kLanes));
      const VF d = hn::Add(hn::Add(hn::Mul(dl, dl), hn::Mul(da, da)), hn::Mul(db, db));
      const VI key = hn::Load(di, chunk.key + part * kLanes);
      const auto take =
          hn::Or(hn::Lt(d, best[part]),
                 hn::And(hn::Eq(d, best[part]), hn::RebindMask(df, hn::Lt(key, bestKey[part]))));
      best[part] = hn::IfThenElse(take, d, best[part]);
      bestKey[part] = hn::IfThenElse(hn::RebindMask(di, take), key, bestKey[part]);
    }
  }
  // Reduce the lanes by (distance, key): the smallest distance, then among
  // the lanes holding it the smallest key.
  VF m = best[0];
  for (size_t part = 1; part < kParts; ++part) m = hn::Min(m, best[part]);
  const VF least = hn::MinOfLanes(df, m);
  VI k = hn::Set(di, kNoKey);
  for (size_t part = 0; part < kParts; ++part) {
    k = hn::Min(k, hn::IfThenElse(hn::RebindMask(di, hn::Eq(best[part], least)), bestKey[part],
                                  hn::Set(di, kNoKey)));
  }
  return indexOfKey(hn::GetLane(hn::MinOfLanes(di, k)));
}
#endif

}  // namespace quorvane::quant::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif  // QUORVANE_QUANT_REMAP_SEARCH_INL_H_
