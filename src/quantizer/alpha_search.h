// Palette entries of the alpha-aware palette laid out for eight-wide search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "quantizer/premultiplied.h"

namespace quorvane::quant {

// Eight entries as rows of their four coordinates, with each entry's palette
// index. Unused lanes hold +infinity and the index kNoEntry, so they are never
// nearest.
struct alignas(32) AlphaChunk {
  float l[8];
  float a[8];
  float b[8];
  float alpha[8];
  int32_t index[8];
};

inline constexpr int32_t kNoEntry = std::numeric_limits<int32_t>::max();

// Some entries of a palette (a search is restricted to a kind of entry), in the
// order they were added: the k-th added sits in lane k % 8 of chunk k / 8.
class AlphaSearchSet {
 public:
  void add(const Premultiplied& entry, uint32_t index) {
    if (m_size % 8 == 0) {
      const float inf = std::numeric_limits<float>::infinity();
      AlphaChunk empty;
      for (int j = 0; j < 8; ++j) {
        empty.l[j] = empty.a[j] = empty.b[j] = empty.alpha[j] = inf;
        empty.index[j] = kNoEntry;
      }
      m_chunks.push_back(empty);
    }
    AlphaChunk& chunk = m_chunks.back();
    const size_t lane = m_size % 8;
    chunk.l[lane] = entry.l;
    chunk.a[lane] = entry.a;
    chunk.b[lane] = entry.b;
    chunk.alpha[lane] = entry.alpha;
    chunk.index[lane] = static_cast<int32_t>(index);
    ++m_size;
  }
  size_t size() const { return m_size; }
  size_t chunkCount() const { return m_chunks.size(); }
  AlphaChunk* chunks() { return m_chunks.data(); }
  const AlphaChunk* chunks() const { return m_chunks.data(); }

 private:
  std::vector<AlphaChunk> m_chunks;
  size_t m_size = 0;
};

}  // namespace quorvane::quant
