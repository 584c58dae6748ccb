#include "codec/heif_xmp.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace quorvane::codec::detail {

std::vector<std::uint8_t> heifXmp(VipsImage* image) {
  std::vector<std::uint8_t> found;
  vips_image_map(
      image,
      [](VipsImage* in, const char* name, GValue*, void* out) -> void* {
        if (std::strncmp(name, "heif-mime-", 10) != 0) return nullptr;
        const void* data = nullptr;
        size_t length = 0;
        if (vips_image_get_blob(in, name, &data, &length) != 0 || !data) return nullptr;
        const std::string_view text(static_cast<const char*>(data), std::min<size_t>(length, 4096));
        if (text.find("<x:xmpmeta") == std::string_view::npos &&
            text.find("<?xpacket") == std::string_view::npos) {
          return nullptr;
        }
        auto* bytes = static_cast<std::vector<std::uint8_t>*>(out);
        bytes->assign(static_cast<const std::uint8_t*>(data),
                      static_cast<const std::uint8_t*>(data) + length);
        return in;  // the first one is the file's
      },
      &found);
  return found;
}

}  // namespace quorvane::codec::detail
