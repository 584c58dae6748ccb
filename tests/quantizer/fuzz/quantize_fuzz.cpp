// libFuzzer target for quorvane_quantize_rgba. Input: 2 bytes width, 1 byte height,
// 2 bytes colour count (taken modulo 300, so invalid counts occur too), then pixel
// bytes, repeated to fill the image. Checks the contract and compares every result
// with the scalar reference pipeline byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

#include "quantizer/quorvane_quantize.h"
#include "quantizer/reference/reference_quantizer.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const uint32_t width = 1 + ((uint32_t{data[0]} | uint32_t{data[1]} << 8) % 256);
  const uint32_t height = 1 + data[2] % 64;
  const uint32_t colours = (uint32_t{data[3]} | uint32_t{data[4]} << 8) % 300;
  const uint8_t* bytes = data + 5;
  const size_t byteCount = size - 5;

  std::vector<uint8_t> original(size_t{width} * height * 4);
  for (size_t i = 0; i < original.size(); ++i) original[i] = bytes[i % byteCount];

  std::vector<uint8_t> pixels = original;
  const int32_t status = quorvane_quantize_rgba(pixels.data(), width, height, colours);
  if (colours < 1 || colours > 256) {
    check(status == -1);
    check(pixels == original);
    return 0;
  }
  check(status == 0);

  std::set<uint32_t> distinct;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    check(pixels[i + 3] == original[i + 3]);
    distinct.insert(uint32_t{pixels[i]} | uint32_t{pixels[i + 1]} << 8 |
                    uint32_t{pixels[i + 2]} << 16);
  }
  check(distinct.size() <= colours);

  std::vector<uint8_t> expected = original;
  check(quorvane::quant::reference::quantizeRgba(expected.data(), width, height, colours) == 0);
  check(expected == pixels);
  return 0;
}
