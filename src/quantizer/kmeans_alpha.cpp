// k-means refinement of the alpha-aware palette.
#include <cassert>
#include <cmath>
#include <vector>

#include "quantizer/alpha_search.h"
#include "quantizer/alpha_stages.h"
#include "quantizer/kmeans.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "quantizer/kmeans_alpha.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
#include "quantizer/nearest_alpha-inl.h"

#ifndef QUORVANE_QUANT_KMEANS_ALPHA_
#define QUORVANE_QUANT_KMEANS_ALPHA_
namespace quorvane::quant {
namespace {
// Where an entry lives in the search sets.
struct Slot {
  AlphaChunk* chunk;
  uint32_t lane;
};
}  // namespace
}  // namespace quorvane::quant
#endif

HWY_BEFORE_NAMESPACE();
namespace quorvane::quant::HWY_NAMESPACE {

// sets[0] serves opaque samples, sets[1] the others (both the same set when
// opaque pixels are not pinned).
void KmeansAlphaAddSamples(AlphaChunk* const* HWY_RESTRICT sets, const size_t* chunkCounts,
                           const Slot* HWY_RESTRICT slots, uint32_t* HWY_RESTRICT counters,
                           const Premultiplied* HWY_RESTRICT samples, size_t count) {
  for (size_t s = 0; s < count; ++s) {
    const Premultiplied x = samples[s];
    const int set = x.alpha == kAlphaWeight ? 0 : 1;
    const uint32_t i = NearestAlphaInChunks(sets[set], chunkCounts[set], x);
    const uint32_t n = counters[i] + 1;
    const float rate = static_cast<float>(1.0 / std::sqrt(static_cast<double>(n)));
    AlphaChunk& chunk = *slots[i].chunk;
    const uint32_t lane = slots[i].lane;
    chunk.l[lane] = chunk.l[lane] + (x.l - chunk.l[lane]) * rate;
    chunk.a[lane] = chunk.a[lane] + (x.a - chunk.a[lane]) * rate;
    chunk.b[lane] = chunk.b[lane] + (x.b - chunk.b[lane]) * rate;
    chunk.alpha[lane] = chunk.alpha[lane] + (x.alpha - chunk.alpha[lane]) * rate;
    counters[i] = n;
  }
}

}  // namespace quorvane::quant::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorvane::quant {

HWY_EXPORT(KmeansAlphaAddSamples);

void refineAlphaPalette(AlphaEntries& palette, const Premultiplied* image, const uint32_t* pixels,
                        size_t count) {
  assert(count >= 1 && count <= 0xFFFFFFFFu);
  const size_t entries = palette.colours.size();
  AlphaSearchSet opaque;
  AlphaSearchSet others;
  std::vector<std::pair<int, size_t>> position(entries, {-1, 0});  // set, rank in the set
  for (size_t i = 0; i < entries; ++i) {
    if (palette.kinds[i] == Coverage::Transparent) continue;
    const bool toOpaque = palette.pinOpaque && palette.kinds[i] == Coverage::Opaque;
    AlphaSearchSet& set = toOpaque ? opaque : others;
    position[i] = {toOpaque ? 0 : 1, set.size()};
    set.add(palette.colours[i], static_cast<uint32_t>(i));
  }
  AlphaSearchSet* const sets[2] = {palette.pinOpaque ? &opaque : &others, &others};
  AlphaChunk* const chunks[2] = {sets[0]->chunks(), sets[1]->chunks()};
  const size_t chunkCounts[2] = {sets[0]->chunkCount(), sets[1]->chunkCount()};
  std::vector<Slot> slots(entries, Slot{nullptr, 0});
  for (size_t i = 0; i < entries; ++i) {
    if (position[i].first < 0) continue;
    AlphaSearchSet& set = position[i].first == 0 ? opaque : others;
    slots[i] = {set.chunks() + position[i].second / 8,
                static_cast<uint32_t>(position[i].second % 8)};
  }

  // Sampling as for the opaque palette: min(count x 1.0, 262144) draws.
  const auto scaled = static_cast<uint64_t>(static_cast<double>(count) * static_cast<double>(1.0f));
  const uint32_t samples =
      static_cast<uint32_t>(scaled < kKmeansSampleCap ? scaled : kKmeansSampleCap);
  std::vector<uint32_t> counters(entries, 0);
  std::vector<Premultiplied> batch(kKmeansBatchSize);
  const UniformIndex distribution(static_cast<uint32_t>(count));
  Xoroshiro128PlusPlus rng;
  for (uint32_t done = 0; done < samples;) {
    const size_t n = samples - done < kKmeansBatchSize ? samples - done : kKmeansBatchSize;
    for (size_t j = 0; j < n; ++j) {
      const uint32_t drawn = distribution.draw(rng);
      batch[j] = image[pixels ? pixels[drawn] : drawn];
    }
    HWY_DYNAMIC_DISPATCH(KmeansAlphaAddSamples)
    (chunks, chunkCounts, slots.data(), counters.data(), batch.data(), n);
    done += static_cast<uint32_t>(n);
  }
  for (size_t i = 0; i < entries; ++i) {
    if (!slots[i].chunk) continue;
    const AlphaChunk& c = *slots[i].chunk;
    const uint32_t lane = slots[i].lane;
    palette.colours[i] = {c.l[lane], c.a[lane], c.b[lane], c.alpha[lane]};
  }
}

}  // namespace quorvane::quant
#endif  // HWY_ONCE
