// Online (MacQueen) k-means refinement of a palette on randomly drawn pixels, with
// a fixed-seed generator so that the result is deterministic.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quantizer/nearest_color_map.h"
#include "quantizer/oklab.h"

namespace quorvane::quant {

// Xoroshiro128++ (Blackman and Vigna, 2019). The default state is the SplitMix64
// expansion of seed 0.
class Xoroshiro128PlusPlus {
 public:
  Xoroshiro128PlusPlus() = default;
  Xoroshiro128PlusPlus(uint64_t s0, uint64_t s1) : m_s0(s0), m_s1(s1) {}
  uint64_t next();

 private:
  uint64_t m_s0 = 0xE220A8397B1DCDAFull;
  uint64_t m_s1 = 0x6E789E6AA1B965F4ull;
};

// Uniform integers in [0, range) by widening multiplication with rejection of the
// biased low products. range is 1..2^32-1.
class UniformIndex {
 public:
  explicit UniformIndex(uint32_t range);
  uint32_t draw(Xoroshiro128PlusPlus& rng) const;

 private:
  uint32_t m_range;
  uint32_t m_threshold;  // (2^32 - range) mod range
};

inline constexpr uint32_t kKmeansSampleCap = 0x40000;
inline constexpr size_t kKmeansBatchSize = 256;

// One k-means update per sample, in order: the nearest centroid moves towards the
// sample by 1/sqrt(count). `counters` holds one count per palette entry.
void kmeansAddSamples(NearestColorMap& map, uint32_t* counters, const Oklab* samples, size_t count);

// Refines the map's palette on min(count, 262144) pixels drawn with replacement
// from `image` (count >= 1, < 2^32), then writes the centroids back into the
// palette list. Length and order of the palette are kept. Throws std::bad_alloc.
void refinePalette(NearestColorMap& map, const Oklab* image, size_t count);

}  // namespace quorvane::quant
