// libFuzzer target for the size parser. Input: what a user may type after
// --max-file-size or in the Fit Under dialog. A size read is within range,
// reads the same with spaces around it, and a whole number of bytes reads
// as itself.
//
// Built with clang only:
//   build-fuzz/bin/byte_size_fuzz -max_total_time=30
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "models/byte_size.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using quorvane::core::parseByteSize;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto bytes = parseByteSize(text);
  if (!bytes) return 0;
  check(*bytes >= 1 && *bytes <= quorvane::core::kMaxByteSize);
  check(parseByteSize(" " + std::string(text) + " ") == bytes);
  check(parseByteSize(std::to_string(*bytes)) == bytes);
  check(parseByteSize(std::to_string(*bytes) + "B") == bytes);
  return 0;
}
