// The remap's search layout of the colour palette: chunks of eight entries,
// each entry with a key that encodes the tie rule of the plain chunk search
// ("lowest index % 8, then highest index / 8"), lower key winning.
#pragma once

#include <cstdint>
#include <limits>

namespace quorvane::quant {

inline constexpr int32_t kNoKey = std::numeric_limits<int32_t>::max();

inline int32_t tieKey(uint32_t index) {
  return static_cast<int32_t>((index % 8) * 32 + (31 - index / 8));
}
inline uint32_t indexOfKey(int32_t key) {
  return (31 - static_cast<uint32_t>(key & 31)) * 8 + static_cast<uint32_t>(key >> 5);
}

struct alignas(32) SearchChunk {
  float l[8];
  float a[8];
  float b[8];
  int32_t key[8];
};

}  // namespace quorvane::quant
