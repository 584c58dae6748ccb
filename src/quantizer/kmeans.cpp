#include "quantizer/kmeans.h"

#include <cassert>
#include <cmath>
#include <limits>
#include <vector>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "quantizer/kmeans.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
#include "quantizer/nearest-inl.h"

HWY_BEFORE_NAMESPACE();
namespace quorvane::quant::HWY_NAMESPACE {

void Nearest(const PaletteChunk* HWY_RESTRICT chunks, size_t chunkCount, const Oklab* colour,
             uint32_t* index) {
  *index = NearestInChunks(chunks, chunkCount, colour->l, colour->a, colour->b);
}

void KmeansAddSamples(PaletteChunk* HWY_RESTRICT chunks, size_t chunkCount,
                      uint32_t* HWY_RESTRICT counters, const Oklab* HWY_RESTRICT samples,
                      size_t count) {
  for (size_t s = 0; s < count; ++s) {
    const Oklab x = samples[s];
    const uint32_t i = NearestInChunks(chunks, chunkCount, x.l, x.a, x.b);
    const uint32_t n = counters[i] + 1;
    const float rate = static_cast<float>(1.0 / std::sqrt(static_cast<double>(n)));
    PaletteChunk& chunk = chunks[i / 8];
    const uint32_t lane = i % 8;
    // Literally c + (x - c) * rate, also for rate 1, so the rounding is fixed.
    chunk.l[lane] = chunk.l[lane] + (x.l - chunk.l[lane]) * rate;
    chunk.a[lane] = chunk.a[lane] + (x.a - chunk.a[lane]) * rate;
    chunk.b[lane] = chunk.b[lane] + (x.b - chunk.b[lane]) * rate;
    counters[i] = n;
  }
}

}  // namespace quorvane::quant::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorvane::quant {

HWY_EXPORT(Nearest);
HWY_EXPORT(KmeansAddSamples);

NearestColorMap::NearestColorMap(std::vector<Oklab> palette)
    : m_palette(std::move(palette)), m_chunks((m_palette.size() + 7) / 8) {
  assert(!m_palette.empty() && m_palette.size() <= 256);
  const float inf = std::numeric_limits<float>::infinity();
  for (PaletteChunk& chunk : m_chunks) {
    for (int j = 0; j < 8; ++j) chunk.l[j] = chunk.a[j] = chunk.b[j] = inf;
  }
  for (size_t i = 0; i < m_palette.size(); ++i) {
    PaletteChunk& chunk = m_chunks[i / 8];
    chunk.l[i % 8] = m_palette[i].l;
    chunk.a[i % 8] = m_palette[i].a;
    chunk.b[i % 8] = m_palette[i].b;
  }
}

uint8_t NearestColorMap::nearest(const Oklab& colour) const {
  return nearestIndex(m_chunks.data(), m_chunks.size(), colour);
}

void NearestColorMap::syncPaletteFromChunks() {
  for (size_t i = 0; i < m_palette.size(); ++i) {
    const PaletteChunk& chunk = m_chunks[i / 8];
    m_palette[i] = {chunk.l[i % 8], chunk.a[i % 8], chunk.b[i % 8]};
  }
}

uint8_t nearestIndex(const PaletteChunk* chunks, size_t chunkCount, const Oklab& colour) {
  uint32_t index = 0;
  HWY_DYNAMIC_DISPATCH(Nearest)(chunks, chunkCount, &colour, &index);
  return static_cast<uint8_t>(index);
}

uint64_t Xoroshiro128PlusPlus::next() {
  const auto rotl = [](uint64_t x, int k) { return (x << k) | (x >> (64 - k)); };
  const uint64_t result = rotl(m_s0 + m_s1, 17) + m_s0;
  const uint64_t u = m_s1 ^ m_s0;
  m_s0 = rotl(m_s0, 49) ^ u ^ (u << 21);
  m_s1 = rotl(u, 28);
  return result;
}

UniformIndex::UniformIndex(uint32_t range) : m_range(range), m_threshold((0u - range) % range) {
  assert(range > 0);
}

uint32_t UniformIndex::draw(Xoroshiro128PlusPlus& rng) const {
  for (;;) {
    const uint32_t r = static_cast<uint32_t>(rng.next());
    const uint64_t m = uint64_t{r} * m_range;
    if (static_cast<uint32_t>(m) >= m_threshold) return static_cast<uint32_t>(m >> 32);
  }
}

void kmeansAddSamples(NearestColorMap& map, uint32_t* counters, const Oklab* samples,
                      size_t count) {
  HWY_DYNAMIC_DISPATCH(KmeansAddSamples)(map.chunks(), map.chunkCount(), counters, samples, count);
}

void refinePalette(NearestColorMap& map, const Oklab* image, size_t count) {
  assert(count >= 1 && count <= 0xFFFFFFFFu);
  // Sampling factor 1.0: N x 1.0 in double, truncated, then capped.
  const auto scaled = static_cast<uint64_t>(static_cast<double>(count) * static_cast<double>(1.0f));
  const uint32_t samples =
      static_cast<uint32_t>(scaled < kKmeansSampleCap ? scaled : kKmeansSampleCap);
  std::vector<uint32_t> counters(map.size(), 0);
  std::vector<Oklab> batch(kKmeansBatchSize);
  const UniformIndex distribution(static_cast<uint32_t>(count));
  Xoroshiro128PlusPlus rng;
  // All draws of a batch come before its updates; the draws do not depend on the
  // centroids, so this equals drawing and updating one sample at a time.
  for (uint32_t done = 0; done < samples;) {
    const size_t n = samples - done < kKmeansBatchSize ? samples - done : kKmeansBatchSize;
    for (size_t j = 0; j < n; ++j) batch[j] = image[distribution.draw(rng)];
    kmeansAddSamples(map, counters.data(), batch.data(), n);
    done += static_cast<uint32_t>(n);
  }
  map.syncPaletteFromChunks();
}

}  // namespace quorvane::quant
#endif  // HWY_ONCE
