#include "codec/vips_handles.h"

#include <cstring>
#include <new>
#include <utility>

namespace quorvane::codec::detail {

std::string takeVipsError() {
  char* text = vips_error_buffer_copy();
  std::string result = text ? text : "";
  g_free(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == ' ')) result.pop_back();
  return result;
}

CodecError makeError(CodecError::Kind kind, const char* action, const std::filesystem::path& path,
                     const std::string& reason) {
  std::string detail = action;
  detail += " '";
  detail += path.filename().string();
  detail += "'";
  if (!reason.empty()) {
    detail += ": ";
    detail += reason;
  }
  return CodecError{kind, std::move(detail)};
}

CodecError vipsError(CodecError::Kind kind, const char* action, const std::filesystem::path& path,
                     const char* step) {
  std::string reason = step;
  const std::string vips = takeVipsError();
  if (!vips.empty()) reason += ": " + vips;
  return makeError(kind, action, path, reason);
}

ImagePtr wrap(const RgbaImage& image) {
  VipsImage* wrapped = vips_image_new_from_memory(image.data(), image.byteSize(), image.width(),
                                                  image.height(), 4, VIPS_FORMAT_UCHAR);
  if (!wrapped) return nullptr;
  wrapped->Type = VIPS_INTERPRETATION_sRGB;
  return ImagePtr(wrapped);
}

bool isOpaque(const RgbaImage& image) {
  const std::uint8_t* p = image.data();
  const std::size_t n = image.byteSize();
  for (std::size_t i = 3; i < n; i += 4) {
    if (p[i] != 255) return false;
  }
  return true;
}

Result<RgbaImage> copyOut(VipsImage* image, const std::filesystem::path& path, const char* action,
                          const StopRequested& stopRequested) {
  const int width = vips_image_get_width(image);
  const int height = vips_image_get_height(image);
  if (vips_image_get_bands(image) != 4 || vips_image_get_format(image) != VIPS_FORMAT_UCHAR) {
    return makeError(CodecError::Kind::Unsupported, action, path, "unexpected pixel layout");
  }
  RegionPtr region(vips_region_new(image));
  if (!region) return vipsError(CodecError::Kind::OutOfMemory, action, path, "region");
  RgbaImage rgba;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
  constexpr int kStrip = 16;
  for (int top = 0; top < height; top += kStrip) {
    if (stopRequested && stopRequested()) {
      return makeError(CodecError::Kind::Cancelled, action, path, "stopped");
    }
    VipsRect rect{0, top, width, std::min(kStrip, height - top)};
    if (vips_region_prepare(region.get(), &rect) != 0) {
      return vipsError(CodecError::Kind::Damaged, action, path, "damaged or truncated pixels");
    }
    if (rgba.empty()) {
      try {
        rgba = RgbaImage::uninitialized(width, height);
      } catch (const std::bad_alloc&) {
        return makeError(CodecError::Kind::OutOfMemory, action, path, "no memory for pixels");
      }
    }
    for (int y = 0; y < rect.height; ++y) {
      std::memcpy(rgba.data() + static_cast<std::size_t>(top + y) * rowBytes,
                  VIPS_REGION_ADDR(region.get(), 0, top + y), rowBytes);
    }
  }
  return rgba;
}

}  // namespace quorvane::codec::detail
