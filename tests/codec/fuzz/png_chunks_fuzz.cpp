// libFuzzer target for the scan of a PNG's first chunks (the quick size
// read of a drop of many files). Input: the file's first bytes.
#include "codec/png_chunks.h"
#include "fuzz_check.h"

using quorvane::codec::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto found = quorvane::codec::detail::pngSizeBeforeData({data, size});
  if (found) check(found->first > 0 && found->second > 0);
  return 0;
}
