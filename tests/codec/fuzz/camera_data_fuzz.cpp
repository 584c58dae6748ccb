// libFuzzer target for withoutCameraData: any bytes, treated as a JPEG, PNG or
// WebP by their first bytes. Whatever it returns must be a file the same
// function accepts again, and give the same bytes the second time (nothing is
// left to remove), never longer than its input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/camera_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const auto once = quorvane::codec::withoutCameraData(file);
  if (!once) return 0;
  if (once->size() > size) std::abort();
  const auto twice = quorvane::codec::withoutCameraData(*once);
  if (!twice || *twice != *once) std::abort();
  return 0;
}
