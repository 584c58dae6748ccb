// libFuzzer target for our reading of ICC profiles (the checks that decide
// whether one is sRGB, what it is for and whether it can be kept). Input:
// the profile.
#include "codec/icc_profile.h"
#include "codec/metadata.h"
#include "fuzz_check.h"

using quorvane::codec::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace codec = quorvane::codec;
  const std::span<const std::uint8_t> profile(data, size);
  (void)codec::detail::iccProfileIsSrgb(profile);
  (void)codec::detail::iccColourSpace(profile);
  const bool wellFormed = codec::detail::iccProfileIsWellFormed(profile);
  const std::vector<std::uint8_t> bytes(data, data + size);
  // Kept only when well formed and for RGB.
  if (codec::iccCanBeKept(bytes)) check(wellFormed && codec::iccIsRgb(bytes));
  return 0;
}
