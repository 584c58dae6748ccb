#include <vips/vips.h>

#include <filesystem>

#include "codec/image_codec.h"
#include "codec/vips_handles.h"

namespace quorvane::codec {

using detail::apply;
using detail::copyOut;
using detail::ImagePtr;
using detail::isOpaque;
using detail::makeError;
using detail::vipsError;
using detail::wrap;

Result<RgbaImage> resize(const RgbaImage& image, int width, int height,
                         const StopRequested& stopRequested) {
  const std::filesystem::path none("(pixels)");
  constexpr const char* kAction = "resize";
  if (image.empty() || width < 1 || height < 1) {
    return makeError(CodecError::Kind::Unsupported, kAction, none, "bad size");
  }
  if (exceedsPixelLimit(width, height)) {
    return makeError(CodecError::Kind::TooLarge, kAction, none, "too many pixels");
  }
  ImagePtr pipe = wrap(image);
  if (!pipe) return vipsError(CodecError::Kind::OutOfMemory, kAction, none, "wrap");
  const double hscale = static_cast<double>(width) / image.width();
  const double vscale = static_cast<double>(height) / image.height();
  // Premultiplying only matters where alpha varies; an opaque image keeps
  // libvips' 8-bit path, about three times faster than the float one.
  const bool premultiply = !isOpaque(image);
  const auto unless = [](bool skip, auto&& op) { return skip || op(); };
  const bool ok =
      unless(!premultiply,
             [&] {
               return apply(pipe, [](VipsImage* i, VipsImage** o) {
                 return vips_premultiply(i, o, nullptr);
               });
             }) &&
      apply(pipe,
            [&](VipsImage* i, VipsImage** o) {
              return vips_resize(i, o, hscale, "vscale", vscale, "kernel", VIPS_KERNEL_LANCZOS3,
                                 nullptr);
            }) &&
      // Rounding of the scale factors can leave a side one pixel off; pin
      // the exact size by repeating the edge or cutting it.
      (vips_image_get_width(pipe.get()) == width && vips_image_get_height(pipe.get()) == height
           ? true
           : apply(pipe,
                   [&](VipsImage* i, VipsImage** o) {
                     return vips_embed(i, o, 0, 0, width, height, "extend", VIPS_EXTEND_COPY,
                                       nullptr);
                   })) &&
      unless(!premultiply, [&] {
        return apply(pipe, [](VipsImage* i,
                              VipsImage** o) { return vips_unpremultiply(i, o, nullptr); }) &&
               apply(pipe, [](VipsImage* i, VipsImage** o) { return vips_rint(i, o, nullptr); }) &&
               apply(pipe, [](VipsImage* i, VipsImage** o) {
                 return vips_cast(i, o, VIPS_FORMAT_UCHAR, nullptr);  // clamps overshoot
               });
      });
  if (!ok) return vipsError(CodecError::Kind::OutOfMemory, kAction, none, "resample");
  return copyOut(pipe.get(), none, kAction, stopRequested);
}

void flattenOnto(RgbaImage& image, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const std::uint32_t background[3] = {red, green, blue};
  std::uint8_t* p = image.data();
  const std::size_t n = image.byteSize();
  for (std::size_t i = 0; i < n; i += 4) {
    const std::uint32_t a = p[i + 3];
    if (a != 255) {
      for (int c = 0; c < 3; ++c) {
        // Straight alpha over an opaque colour, rounded to nearest.
        p[i + c] =
            static_cast<std::uint8_t>((p[i + c] * a + background[c] * (255 - a) + 127) / 255);
      }
      p[i + 3] = 255;
    }
  }
}

}  // namespace quorvane::codec
