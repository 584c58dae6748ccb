// libFuzzer target for the TIFF walk of EXIF blocks. Input: one byte for the
// orientation the decoder applied (taken modulo 10, so 0 and 9 occur), two
// for the new size, then the block. Checks the rewrite's contract.
#include "codec/exif_block.h"
#include "fuzz_check.h"

using quorvane::codec::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int applied = data[0] % 10;
  const int width = 1 + data[1];
  const int height = 1 + data[2];
  const std::vector<std::uint8_t> block = quorvane::codec::fuzz::after(data, size, 3);
  namespace codec = quorvane::codec;

  constexpr std::uint16_t kOrientation = 0x0112;
  (void)codec::exifText(block, 0x010F);
  (void)codec::exifHasGps(block);
  (void)codec::exifEntryCount(block, kOrientation);
  const int tagged = static_cast<int>(codec::exifNumber(block, kOrientation).value_or(1));
  const int after = codec::orientationAfter(tagged, applied);
  check(after >= 1 && after <= 8);

  const std::vector<std::uint8_t> upright = codec::uprightExif(block, width, height, applied);
  if (upright.empty()) return 0;
  // The block keeps its size (less an "Exif\0\0" prefix), holds at most one
  // orientation, and that one is a real one.
  const bool prefixed = block.size() >= 6 && block[0] == 'E' && block[1] == 'x';
  check(upright.size() == block.size() || (prefixed && upright.size() + 6 == block.size()));
  check(codec::exifEntryCount(upright, kOrientation) <= 1);
  if (const auto orientation = codec::exifNumber(upright, kOrientation)) {
    check(*orientation >= 1 && *orientation <= 8);
  }
  return 0;
}
