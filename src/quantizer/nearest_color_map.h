// A palette laid out for exhaustive eight-wide nearest-colour search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "quantizer/oklab.h"

namespace quorvane::quant {

// Eight palette colours as rows of L, a and b values; entry i lives in lane i % 8
// of chunk i / 8.
struct alignas(32) PaletteChunk {
  float l[8];
  float a[8];
  float b[8];
};

class NearestColorMap {
 public:
  // Takes 1..256 colours. Lanes past the last colour hold +infinity, so they can
  // never be nearest. Throws std::bad_alloc.
  explicit NearestColorMap(std::vector<Oklab> palette);

  size_t size() const { return m_palette.size(); }
  const std::vector<Oklab>& palette() const { return m_palette; }

  // Index of the palette entry closest to `colour` (squared Euclidean distance in
  // single precision). Ties: the lowest lane (index % 8) wins, and within a lane the
  // highest chunk (largest index).
  uint8_t nearest(const Oklab& colour) const;

  PaletteChunk* chunks() { return m_chunks.data(); }
  const PaletteChunk* chunks() const { return m_chunks.data(); }
  size_t chunkCount() const { return m_chunks.size(); }

  // Copies the (moved) chunk lanes back into the palette list.
  void syncPaletteFromChunks();

 private:
  std::vector<Oklab> m_palette;
  std::vector<PaletteChunk> m_chunks;
};

// Nearest-search kernel on raw chunks; exposed for tests and benchmarks.
uint8_t nearestIndex(const PaletteChunk* chunks, size_t chunkCount, const Oklab& colour);

}  // namespace quorvane::quant
