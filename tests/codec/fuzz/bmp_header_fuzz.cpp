// libFuzzer target for the BMP header parser. Input: the file's first bytes.
#include "codec/bmp_header.h"
#include "fuzz_check.h"

using quorvane::codec::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace detail = quorvane::codec::detail;
  const std::span<const std::uint8_t> bytes(data, size);
  const bool signature = detail::looksLikeBmp(bytes);
  const auto header = detail::parseBmpHeader(bytes);
  if (!header) return 0;
  check(signature);
  check(header->width > 0 && header->height > 0);
  check(header->bitsPerPixel > 0 && header->bitsPerPixel <= 64);
  return 0;
}
