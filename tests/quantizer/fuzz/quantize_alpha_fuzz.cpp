// libFuzzer target for quorvane_quantize_rgba_alpha. Input: 1 byte width, 1
// byte height, 2 bytes colour count (taken modulo 300, so invalid counts occur
// too), then pixel bytes, repeated to fill the image. Checks the contract and
// compares every result with the scalar reference byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "quantizer/quorvane_quantize.h"
#include "quantizer/reference/reference_alpha_quantizer.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const uint32_t width = 1 + data[0] % 128;
  const uint32_t height = 1 + data[1] % 48;
  const uint32_t colours = (uint32_t{data[2]} | uint32_t{data[3]} << 8) % 300;
  const uint8_t* bytes = data + 4;
  const size_t byteCount = size - 4;
  const size_t pixels = size_t{width} * height;

  std::vector<uint8_t> image(pixels * 4);
  for (size_t i = 0; i < image.size(); ++i) image[i] = bytes[i % byteCount];
  const std::vector<uint8_t> original = image;

  std::vector<uint8_t> indices(pixels, 0xEE), palette(1024, 0xEE);
  uint32_t entries = 0xEEEE;
  const int32_t status =
      quorvane_quantize_rgba_alpha(image.data(), width, height, colours, indices.data(),
                                   palette.data(), &entries, nullptr, nullptr);
  check(image == original);
  if (colours < 2 || colours > 256) {
    check(status == -1 && entries == 0xEEEE);
    for (uint8_t b : indices) check(b == 0xEE);
    return 0;
  }
  check(status == 0);
  check(entries >= 1 && entries <= colours);
  bool anyTransparent = false;
  for (size_t i = 0; i < pixels; ++i) {
    check(indices[i] < entries);
    const uint8_t* entry = &palette[size_t{indices[i]} * 4];
    if (image[i * 4 + 3] == 0) {
      anyTransparent = true;
      check(indices[i] == 0 && entry[0] == 0 && entry[1] == 0 && entry[2] == 0 && entry[3] == 0);
    }
  }
  if (anyTransparent) check(palette[3] == 0);

  std::vector<uint8_t> expectedIndices(pixels), expectedPalette(1024, 0xEE);
  uint32_t expectedEntries = 0;
  check(quorvane::quant::reference::quantizeRgbaAlpha(
            image.data(), width, height, colours, expectedIndices.data(), expectedPalette.data(),
            &expectedEntries) == 0);
  check(expectedEntries == entries);
  check(expectedIndices == indices);
  for (size_t i = 0; i < size_t{entries} * 4; ++i) check(expectedPalette[i] == palette[i]);
  return 0;
}
