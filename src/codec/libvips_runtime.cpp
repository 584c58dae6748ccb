#include "codec/libvips_runtime.h"

#include <vips/vips.h>

#include <stdexcept>

namespace quorvane::codec {

LibvipsRuntime::LibvipsRuntime(const char* argv0) {
  if (VIPS_INIT(argv0 ? argv0 : "quorvane") != 0) {
    vips_error_clear();
    throw std::runtime_error("libvips could not be initialised");
  }
  // libvips reports oddities of files it still decodes ("ignoring nclx
  // profile") on stderr; failures reach callers as results instead.
  g_log_set_handler("VIPS", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE |
                                                        G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG),
                    [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
  vips_cache_set_max(0);
  vips_concurrency_set(1);
}

LibvipsRuntime::~LibvipsRuntime() { vips_shutdown(); }

}  // namespace quorvane::codec
