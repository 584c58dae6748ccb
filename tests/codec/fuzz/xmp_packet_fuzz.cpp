// libFuzzer target for the one-pass XMP rewrite and the JPEG split of what
// it writes. Input: one byte for the applied orientation (modulo 10), two
// for the new size, then the packet. Each part a JPEG gets must fit a
// segment.
#include "codec/jpeg_xmp.h"
#include "codec/xmp_packet.h"
#include "fuzz_check.h"

using quorvane::codec::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  namespace codec = quorvane::codec;
  const std::vector<std::uint8_t> packet = codec::fuzz::after(data, size, 3);
  int asked = 0;
  const auto upright = codec::uprightXmp(packet, 1 + data[1], 1 + data[2], data[0] % 10,
                                         [&asked] { return ++asked > 1'000'000; });
  if (!upright) return 0;
  const auto payloads = codec::detail::jpegXmpPayloads(*upright);
  check(payloads.empty() != codec::detail::jpegCanHoldXmp(*upright));
  for (const std::string& payload : payloads) {
    check(payload.size() <= codec::detail::kJpegMaxPayload);
  }
  return 0;
}
