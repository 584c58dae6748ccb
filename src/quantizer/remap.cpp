#include "quantizer/remap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "quantizer/neighbourhoods.h"
#include "quantizer/search_chunk.h"

#ifndef QUORVANE_QUANT_REMAP_SEARCH_
#define QUORVANE_QUANT_REMAP_SEARCH_
namespace quorvane::quant {
namespace {

// The remap searches re-arranged copies of the palette: the neighbourhood of
// the previous pixel's entry when it surely holds the answer, else the whole
// palette as chunks of eight entries that are close together (k-d splits),
// each chunk with its bounding box, so that most chunks can be ruled out per
// pixel. The answer is still the one of the plain chunk search: the distance
// of an entry is the same float computation wherever it sits, and ties are
// settled by the key of search_chunk.h.

// Per-chunk bounding boxes, one array per bound, padded to a multiple of eight
// chunks with boxes at infinity.
struct SearchBoxes {
  std::vector<float> bound[6];  // min L, max L, min a, max a, min b, max b
};

}  // namespace
}  // namespace quorvane::quant
#endif

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "quantizer/remap.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
// Must follow hwy/highway.h.
#include "quantizer/remap_search-inl.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::quant::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Error diffusion is serial along a row; only the nearest search is vectorised.
// Returns false when `stop` ended it before the last row.
bool RemapImage(const Oklab* HWY_RESTRICT image, uint32_t width, uint32_t height,
                const SearchChunk* HWY_RESTRICT search, size_t searchCount,
                const float* const* HWY_RESTRICT boxes, const SearchChunk* HWY_RESTRICT around,
                const float* HWY_RESTRICT reach, const Oklab* HWY_RESTRICT palette,
                const uint8_t* HWY_RESTRICT srgbPalette, float diffusion, uint8_t* HWY_RESTRICT out,
                size_t outStride, Oklab* HWY_RESTRICT rowA, Oklab* HWY_RESTRICT rowB,
                const StopCheck* stop) {
  constexpr float k7 = 0.4375f;
  constexpr float k3 = 0.1875f;
  constexpr float k5 = 0.3125f;
  constexpr float k1 = 0.0625f;
  Oklab* current = rowA;  // error reaching column x sits at position x + 1
  Oklab* next = rowB;
  uint32_t previous = 0;  // last pixel's entry: a close first guess for the next one
  for (uint32_t y = 0; y < height; ++y) {
    if (y % 16 == 15 && (*stop)()) return false;
    const bool leftToRight = (y % 2) == 0;
    // dir: +1 scanning right, -1 scanning left; "ahead" is the side not yet reached.
    const ptrdiff_t dir = leftToRight ? 1 : -1;
    const Oklab* row = image + size_t{y} * width;
    uint8_t* outRow = out + size_t{y} * width * outStride;
    // current[p] of the pixel at hand, kept in registers: the one value each
    // step hands the next, which would otherwise wait for a store and a load.
    Oklab carry = current[leftToRight ? 1 : width];
    for (uint32_t step = 0; step < width; ++step) {
      const uint32_t x = leftToRight ? step : width - 1 - step;
      const ptrdiff_t p = ptrdiff_t{x} + 1;
      const Oklab v{row[x].l + carry.l, row[x].a + carry.a, row[x].b + carry.b};
      const Oklab& g = palette[previous];
      const float gl = v.l - g.l;
      const float ga = v.a - g.a;
      const float gb = v.b - g.b;
      const float nearGuess = (gl * gl + ga * ga) + gb * gb;
      const uint32_t i =
          4.0f * nearGuess * 1.001f < reach[previous]
              ? NearestInNeighbourhood(around + size_t{previous} * kNeighbourhoodChunks, v.l, v.a,
                                       v.b)
              : NearestPruned(search, searchCount, boxes, palette, previous, v.l, v.a, v.b);
      previous = i;
      const uint8_t* rgb = srgbPalette + size_t{i} * 3;
      uint8_t* o = outRow + size_t{x} * outStride;
      o[0] = rgb[0];
      o[1] = rgb[1];
      o[2] = rgb[2];
      const Oklab e{(v.l - palette[i].l) * diffusion, (v.a - palette[i].a) * diffusion,
                    (v.b - palette[i].b) * diffusion};
      Oklab& ahead = current[p + dir];
      carry = {ahead.l + e.l * k7, ahead.a + e.a * k7, ahead.b + e.b * k7};
      ahead = carry;
      Oklab& belowPassed = next[p - dir];
      belowPassed.l = belowPassed.l + e.l * k3;
      belowPassed.a = belowPassed.a + e.a * k3;
      belowPassed.b = belowPassed.b + e.b * k3;
      Oklab& below = next[p];
      below.l = below.l + e.l * k5;
      below.a = below.a + e.a * k5;
      below.b = below.b + e.b * k5;
      // First contribution this position gets in this row: stored, which also
      // discards what it held from two rows earlier.
      next[p + dir] = {e.l * k1, e.a * k1, e.b * k1};
    }
    // Positions 1 and width are the only ones added to before being stored during
    // the next row; clear them, then the next row becomes current.
    current[1] = {0.0f, 0.0f, 0.0f};
    current[width] = {0.0f, 0.0f, 0.0f};
    Oklab* const swap = current;
    current = next;
    next = swap;
  }
  return true;
}

}  // namespace quorvane::quant::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorvane::quant {

HWY_EXPORT(RemapImage);

namespace {

// k-d split of palette indices into groups of eight: the axis of largest extent is
// cut so that the lower part holds a multiple of eight entries.
void splitIntoChunks(const std::vector<Oklab>& palette, std::vector<uint32_t>& order, size_t begin,
                     size_t end) {
  if (end - begin <= 8) return;
  float lo[3] = {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity(),
                 std::numeric_limits<float>::infinity()};
  float hi[3] = {-lo[0], -lo[0], -lo[0]};
  const auto coord = [&](uint32_t i, int axis) {
    return axis == 0 ? palette[i].l : axis == 1 ? palette[i].a : palette[i].b;
  };
  for (size_t k = begin; k < end; ++k) {
    for (int axis = 0; axis < 3; ++axis) {
      lo[axis] = std::min(lo[axis], coord(order[k], axis));
      hi[axis] = std::max(hi[axis], coord(order[k], axis));
    }
  }
  int axis = 0;
  for (int a = 1; a < 3; ++a) {
    if (hi[a] - lo[a] > hi[axis] - lo[axis]) axis = a;
  }
  std::sort(order.begin() + static_cast<ptrdiff_t>(begin),
            order.begin() + static_cast<ptrdiff_t>(end), [&](uint32_t p, uint32_t q) {
              const float cp = coord(p, axis);
              const float cq = coord(q, axis);
              return cp < cq || (cp == cq && p < q);
            });
  const size_t half = (end - begin) / 2;
  const size_t mid = begin + (half + 7) / 8 * 8;
  splitIntoChunks(palette, order, begin, mid);
  splitIntoChunks(palette, order, mid, end);
}

}  // namespace

bool remapImage(const Oklab* image, uint32_t width, uint32_t height, const NearestColorMap& map,
                const uint8_t* srgbPalette, float diffusion, uint8_t* out, size_t outStride,
                const StopCheck& stop) {
  if (width == 0 || height == 0) return true;
  const std::vector<Oklab>& palette = map.palette();
  const size_t count = palette.size();
  std::vector<uint32_t> order(count);
  for (uint32_t i = 0; i < count; ++i) order[i] = i;
  splitIntoChunks(palette, order, 0, count);

  const float inf = std::numeric_limits<float>::infinity();
  const size_t chunkCount = (count + 7) / 8;
  const size_t paddedCount = (chunkCount + 7) / 8 * 8;
  std::vector<SearchChunk> search(chunkCount);
  SearchBoxes boxes;
  for (auto& b : boxes.bound) b.assign(paddedCount, inf);
  for (size_t c = 0; c < chunkCount; ++c) {
    SearchChunk& chunk = search[c];
    float* box[6];
    for (int k = 0; k < 6; ++k) box[k] = &boxes.bound[k][c];
    *box[0] = *box[2] = *box[4] = inf;
    *box[1] = *box[3] = *box[5] = -inf;
    for (size_t j = 0; j < 8; ++j) {
      const size_t k = c * 8 + j;
      if (k >= count) {
        chunk.l[j] = chunk.a[j] = chunk.b[j] = inf;
        chunk.key[j] = kNoKey;
        continue;
      }
      const Oklab& p = palette[order[k]];
      chunk.l[j] = p.l;
      chunk.a[j] = p.a;
      chunk.b[j] = p.b;
      chunk.key[j] = tieKey(order[k]);
      *box[0] = std::min(*box[0], p.l);
      *box[1] = std::max(*box[1], p.l);
      *box[2] = std::min(*box[2], p.a);
      *box[3] = std::max(*box[3], p.a);
      *box[4] = std::min(*box[4], p.b);
      *box[5] = std::max(*box[5], p.b);
    }
  }
  const float* boxPointers[6];
  for (int k = 0; k < 6; ++k) boxPointers[k] = boxes.bound[k].data();
  const Neighbourhoods neighbourhoods = neighbourhoodsOf(palette);
  std::vector<Oklab> rows(2 * (size_t{width} + 2), Oklab{0.0f, 0.0f, 0.0f});
  return HWY_DYNAMIC_DISPATCH(RemapImage)(
      image, width, height, search.data(), chunkCount, boxPointers, neighbourhoods.chunks.data(),
      neighbourhoods.reach.data(), palette.data(), srgbPalette, diffusion, out, outStride,
      rows.data(), rows.data() + width + 2, &stop);
}

}  // namespace quorvane::quant
#endif  // HWY_ONCE
