#include "codec/libvips_runtime.h"

#include <vips/vips.h>

#include <stdexcept>

namespace quorvane::codec {

LibvipsRuntime::LibvipsRuntime(const char* argv0) {
  if (VIPS_INIT(argv0 ? argv0 : "quorvane") != 0) {
    vips_error_clear();
    throw std::runtime_error("libvips could not be initialised");
  }
  vips_cache_set_max(0);
  vips_concurrency_set(1);
}

LibvipsRuntime::~LibvipsRuntime() { vips_shutdown(); }

}  // namespace quorvane::codec
