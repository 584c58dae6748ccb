// writeHdrHeic: the HDR signal of a 16-bit PNG (as OpenedImage::writeHdrPng
// writes it) as a 10-bit HEIC with the code points it came with.
#include <vips/vips.h>

#include <algorithm>
#include <memory>

#include "codec/heic_encode.h"
#include "codec/image_codec.h"
#include "codec/vips_handles.h"

namespace quorvane::codec {

namespace {

struct ImageRelease {
  void operator()(heif_image* image) const { heif_image_release(image); }
};
struct NclxFree {
  void operator()(heif_color_profile_nclx* nclx) const { heif_nclx_color_profile_free(nclx); }
};
struct GFree {
  void operator()(void* memory) const { g_free(memory); }
};

constexpr int kBits = 10;

}  // namespace

Result<void> writeHdrHeic(const std::filesystem::path& png, const std::filesystem::path& path,
                          double quality, const HdrSignal& signal, const Metadata* metadata) {
  constexpr const char* kAction = "write HDR HEIC";
  using detail::makeError;
  detail::ImagePtr image(
      vips_image_new_from_file(png.c_str(), "access", VIPS_ACCESS_SEQUENTIAL, nullptr));
  if (!image) return detail::vipsError(CodecError::Kind::Damaged, kAction, png, "read");
  const int width = vips_image_get_width(image.get());
  const int height = vips_image_get_height(image.get());
  const int bands = vips_image_get_bands(image.get());
  if (vips_image_get_format(image.get()) != VIPS_FORMAT_USHORT || (bands != 3 && bands != 4) ||
      exceedsPixelLimit(width, height)) {
    return makeError(CodecError::Kind::Unsupported, kAction, png, "not 16-bit RGB");
  }
  size_t size = 0;
  const std::unique_ptr<void, GFree> memory(vips_image_write_to_memory(image.get(), &size));
  if (!memory || size != static_cast<size_t>(width) * height * bands * 2) {
    return detail::vipsError(CodecError::Kind::Damaged, kAction, png, "pixels");
  }
  const bool alpha = bands == 4;
  heif_image* rawImage = nullptr;
  if (heif_image_create(
          width, height, heif_colorspace_RGB,
          alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE,
          &rawImage)
          .code != heif_error_Ok) {
    return makeError(CodecError::Kind::OutOfMemory, kAction, path, "picture");
  }
  const std::unique_ptr<heif_image, ImageRelease> picture(rawImage);
  if (heif_image_add_plane(picture.get(), heif_channel_interleaved, width, height, kBits).code !=
      heif_error_Ok) {
    return makeError(CodecError::Kind::OutOfMemory, kAction, path, "no pixel plane");
  }
  int stride = 0;
  std::uint8_t* plane = heif_image_get_plane(picture.get(), heif_channel_interleaved, &stride);
  if (!plane) return makeError(CodecError::Kind::OutOfMemory, kAction, path, "no pixel plane");
  const auto* samples = static_cast<const std::uint16_t*>(memory.get());
  const std::size_t rowValues = static_cast<std::size_t>(width) * bands;
  for (int y = 0; y < height; ++y) {
    const std::uint16_t* from = samples + rowValues * y;
    std::uint8_t* to = plane + static_cast<std::ptrdiff_t>(y) * stride;
    for (std::size_t i = 0; i < rowValues; ++i) {
      // 16 bits to 10, rounded; little-endian as the chroma says.
      const unsigned value = std::min(1023u, (static_cast<unsigned>(from[i]) + 32) >> 6);
      to[2 * i] = static_cast<std::uint8_t>(value & 0xff);
      to[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
  }
  const std::unique_ptr<heif_color_profile_nclx, NclxFree> nclx(heif_nclx_color_profile_alloc());
  if (!nclx) return makeError(CodecError::Kind::OutOfMemory, kAction, path, "nclx");
  nclx->color_primaries = static_cast<heif_color_primaries>(signal.primaries);
  nclx->transfer_characteristics = static_cast<heif_transfer_characteristics>(signal.transfer);
  nclx->matrix_coefficients = static_cast<heif_matrix_coefficients>(signal.matrix);
  nclx->full_range_flag = signal.fullRange ? 1 : 0;
  if (heif_image_set_nclx_color_profile(picture.get(), nclx.get()).code != heif_error_Ok) {
    return makeError(CodecError::Kind::WriteFailed, kAction, path, "nclx");
  }
  return detail::encodeHeic(picture.get(), alpha, path, quality, metadata, nclx.get());
}

}  // namespace quorvane::codec
