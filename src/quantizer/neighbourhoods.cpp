#include "quantizer/neighbourhoods.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace quorvane::quant {

Neighbourhoods neighbourhoodsOf(const std::vector<Oklab>& palette) {
  const size_t count = palette.size();
  const size_t members = kNeighbourhoodChunks * 8;
  const float inf = std::numeric_limits<float>::infinity();
  Neighbourhoods result;
  result.chunks.resize(count * kNeighbourhoodChunks);
  result.reach.resize(count);
  std::vector<std::pair<double, uint32_t>> others;
  others.reserve(count);
  for (size_t g = 0; g < count; ++g) {
    others.clear();
    for (size_t j = 0; j < count; ++j) {
      if (j == g) continue;
      const double dl = double{palette[g].l} - palette[j].l;
      const double da = double{palette[g].a} - palette[j].a;
      const double db = double{palette[g].b} - palette[j].b;
      others.emplace_back((dl * dl + da * da) + db * db, static_cast<uint32_t>(j));
    }
    // The members - 1 nearest others first (in any order), then the nearest
    // of the rest.
    const size_t taken = std::min(others.size(), members - 1);
    std::nth_element(others.begin(), others.begin() + static_cast<ptrdiff_t>(taken), others.end());
    SearchChunk* chunks = &result.chunks[g * kNeighbourhoodChunks];
    for (size_t k = 0; k < members; ++k) {
      SearchChunk& chunk = chunks[k / 8];
      const size_t lane = k % 8;
      if (k > taken) {
        chunk.l[lane] = chunk.a[lane] = chunk.b[lane] = inf;
        chunk.key[lane] = kNoKey;
        continue;
      }
      const uint32_t index = k == 0 ? static_cast<uint32_t>(g) : others[k - 1].second;
      chunk.l[lane] = palette[index].l;
      chunk.a[lane] = palette[index].a;
      chunk.b[lane] = palette[index].b;
      chunk.key[lane] = tieKey(index);
    }
    // The squared distance to the nearest entry left out, a little less so
    // that rounding to single precision cannot make it larger.
    result.reach[g] =
        taken == others.size() ? inf : static_cast<float>(others[taken].first * (1.0 - 1e-6));
  }
  return result;
}

}  // namespace quorvane::quant
