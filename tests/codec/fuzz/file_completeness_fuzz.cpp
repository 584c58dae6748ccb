// libFuzzer target for the structural checks of encoded files: any bytes,
// each check in turn. None may read outside the bytes (ASan), and a file
// that is whole stays whole with bytes appended after its end (what comes
// after EOI or IEND is not looked at).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/file_completeness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvane::codec;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::string longer = std::string(file) + std::string("\xFF\x00tail", 6);
  if (jpegIsWhole(file) && !jpegIsWhole(longer)) std::abort();
  if (pngIsWhole(file) && !pngIsWhole(longer)) std::abort();
  (void)webpIsWhole(file);
  return 0;
}
