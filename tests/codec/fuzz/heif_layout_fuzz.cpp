// libFuzzer target for the HEIF box walk. Input: a whole file.
#include <cstring>

#include "codec/heif_layout.h"
#include "fuzz_check.h"

using quorvane::codec::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace detail = quorvane::codec::detail;
  std::int64_t reads = 0;
  const detail::HeifLayout layout = detail::readHeifLayout(
      [&](std::int64_t offset, std::span<std::uint8_t> buffer) -> std::size_t {
        check(offset >= 0 && std::uint64_t(offset) <= size);
        ++reads;
        const std::size_t n = std::min(buffer.size(), size - std::size_t(offset));
        if (n > 0) std::memcpy(buffer.data(), data + offset, n);
        return n;
      },
      std::int64_t(size));
  check(reads <= 2 * 256);  // a header and at most one payload per box
  check(!layout.avif || layout.heif);
  check(layout.primaryType.empty() || (layout.still && layout.primaryType.size() == 4));
  return 0;
}
