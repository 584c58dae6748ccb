// What the codec's fuzz targets share: a check that stops the run (libFuzzer
// keeps the input that broke it), and the input split into a few leading
// control bytes and the bytes under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace quorvane::codec::fuzz {

inline void check(bool ok) {
  if (!ok) std::abort();
}

// The bytes after the first `skip`, empty when there are none.
inline std::vector<std::uint8_t> after(const std::uint8_t* data, std::size_t size,
                                       std::size_t skip) {
  return size > skip ? std::vector<std::uint8_t>(data + skip, data + size)
                     : std::vector<std::uint8_t>();
}

}  // namespace quorvane::codec::fuzz
