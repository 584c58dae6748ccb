// For each palette entry, the entries nearest to it, so that the remap can
// settle most pixels by searching the neighbourhood of the previous pixel's
// entry instead of the whole palette, with the same answer.
#pragma once

#include <cstddef>
#include <vector>

#include "quantizer/oklab.h"
#include "quantizer/search_chunk.h"

namespace quorvane::quant {

// Entries per neighbourhood: the entry itself and its 31 nearest others.
inline constexpr size_t kNeighbourhoodChunks = 4;

struct Neighbourhoods {
  // kNeighbourhoodChunks chunks per entry, in entry order; unused lanes hold
  // +infinity and kNoKey.
  std::vector<SearchChunk> chunks;
  // Per entry g: a colour v with 4 x distance(v, g) x 1.001 < reach[g] (in
  // single precision, distance as the searches compute it) is strictly
  // nearer to g than to any entry outside g's neighbourhood, so the nearest
  // entry and its ties are inside it. +infinity when the neighbourhood holds
  // the whole palette; 0 when nothing can be promised.
  std::vector<float> reach;
};

// Throws std::bad_alloc.
Neighbourhoods neighbourhoodsOf(const std::vector<Oklab>& palette);

}  // namespace quorvane::quant
