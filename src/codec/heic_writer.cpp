// writeHeic, through libheif itself: libvips' HEIF saver rebuilds EXIF
// through libexif, which keeps only what it knows of the first 64 kB (a
// 70 kB block came out as 156 bytes, an 8 MB one not at all). Here the
// blocks go in as they are, with the encoder settings libvips' saver used,
// so the pixels come out as before.
#include <libheif/heif.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

#include "codec/file_io.h"
#include "codec/heic_encode.h"
#include "codec/image_codec.h"
#include "codec/vips_handles.h"

namespace quorvane::codec {

namespace {

using detail::makeError;
using detail::OutputFile;

// libheif's Q (x265 CRF = (100 - Q) / 2) for our quality 0..1, chosen so that
// HEIC at a quality looks as good as our JPEG road at the same quality. Each
// entry is the Q whose mean luma SSIM over 10 photos (at most 3 MP, camera
// originals downscaled) equals that of the JPEG road (cjpeg -optimize
// -progressive) at quality 0, 10, ..., 100; measured by bench/heic_calibration.
// At those points the HEIC files came out 0.36 to 0.62 times the JPEG's size
// up to quality 90, and 0.78 at 100. JPEG at quality 0 is worse than any HEIC,
// so 0 takes the lowest Q libvips took (it refuses 0). Linear in between,
// rounded.
int heifQualityFor(double quality) {
  static constexpr std::array<double, 11> kQAtTenths = {1.0,  13.0, 23.2, 28.4, 31.3, 33.9,
                                                        36.3, 39.7, 44.5, 53.6, 80.6};
  const double q = std::isnan(quality) ? 0.0 : std::clamp(quality, 0.0, 1.0) * 10.0;
  const std::size_t below = std::min<std::size_t>(static_cast<std::size_t>(q), 9);
  const double t = q - static_cast<double>(below);
  const double heifQ = kQAtTenths[below] + t * (kQAtTenths[below + 1] - kQAtTenths[below]);
  return std::clamp(static_cast<int>(std::lround(heifQ)), 1, 100);
}

struct ContextFree {
  void operator()(heif_context* context) const { heif_context_free(context); }
};
struct EncoderRelease {
  void operator()(heif_encoder* encoder) const { heif_encoder_release(encoder); }
};
struct ImageRelease {
  void operator()(heif_image* image) const { heif_image_release(image); }
};
struct HandleRelease {
  void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct OptionsFree {
  void operator()(heif_encoding_options* options) const { heif_encoding_options_free(options); }
};

// Loads libheif's encoder plugins (Debian 13 ships them apart) once per
// process; reference counted by libheif, and never undone, as another
// thread may be writing.
void initialiseLibheif() {
  static const bool initialised = [] {
    heif_init(nullptr);
    return true;
  }();
  (void)initialised;
}

heif_error writeChunk(heif_context*, const void* data, size_t size, void* userdata) {
  auto* out = static_cast<OutputFile*>(userdata);
  const bool written = out->write(data, size);
  return {written ? heif_error_Ok : heif_error_Encoding_error, heif_suberror_Unspecified,
          written ? "" : "write failed"};
}

}  // namespace

namespace detail {

Result<void> encodeHeic(heif_image* picture, bool alpha, const std::filesystem::path& path,
                        double quality, const Metadata* metadata, heif_color_profile_nclx* nclx) {
  constexpr const char* kAction = "write HEIC";
  initialiseLibheif();
  const auto failed = [&](const heif_error& error) {
    return makeError(CodecError::Kind::WriteFailed, kAction, path,
                     std::string("libheif: ") + (error.message ? error.message : "failed"));
  };

  std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
  heif_encoder* rawEncoder = nullptr;
  if (const heif_error error =
          heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder);
      error.code != heif_error_Ok) {
    return failed(error);
  }
  const std::unique_ptr<heif_encoder, EncoderRelease> encoder(rawEncoder);
  heif_encoder_set_lossy_quality(encoder.get(), heifQualityFor(quality));
  heif_encoder_set_lossless(encoder.get(), 0);
  // 4:2:0 at every Q, as calibrated and as the JPEG road stores chroma.
  heif_encoder_set_parameter_string(encoder.get(), "chroma", "420");

  const std::unique_ptr<heif_encoding_options, OptionsFree> options(heif_encoding_options_alloc());
  options->save_alpha_channel = alpha ? 1 : 0;
  if (nclx) {
    // Written, not left out as libheif does by default for the sake of
    // viewers that take an nclx box for a reason to ignore the image.
    options->output_nclx_profile = nclx;
    options->macOS_compatibility_workaround_no_nclx_profile = 0;
  }
  heif_image_handle* rawHandle = nullptr;
  if (const heif_error error = heif_context_encode_image(context.get(), picture, encoder.get(),
                                                         options.get(), &rawHandle);
      error.code != heif_error_Ok) {
    return failed(error);
  }
  const std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
  if (metadata && !metadata->exif.empty()) {
    if (const heif_error error =
            heif_context_add_exif_metadata(context.get(), handle.get(), metadata->exif.data(),
                                           static_cast<int>(metadata->exif.size()));
        error.code != heif_error_Ok) {
      return failed(error);
    }
  }
  if (metadata && !metadata->xmp.empty()) {
    if (const heif_error error =
            heif_context_add_XMP_metadata(context.get(), handle.get(), metadata->xmp.data(),
                                          static_cast<int>(metadata->xmp.size()));
        error.code != heif_error_Ok) {
      return failed(error);
    }
  }

  OutputFile out(path);
  if (!out.isOpen()) {
    CodecError error = makeError(CodecError::Kind::WriteFailed, kAction, path, out.error());
    error.systemError = out.systemError();
    return error;
  }
  heif_writer writer{1, writeChunk};
  const heif_error written = heif_context_write(context.get(), &writer, &out);
  if (written.code != heif_error_Ok || !out.commit()) {
    CodecError error = makeError(CodecError::Kind::WriteFailed, kAction, path,
                                 out.error().empty() ? "libheif: write failed" : out.error());
    error.systemError = out.systemError();
    return error;
  }
  return {};
}

}  // namespace detail

Result<void> writeHeic(const RgbaImage& image, const std::filesystem::path& path, double quality,
                       const Metadata* metadata) {
  constexpr const char* kAction = "write HEIC";
  if (image.empty()) return makeError(CodecError::Kind::WriteFailed, kAction, path, "empty image");
  initialiseLibheif();
  const auto failed = [&](const heif_error& error) {
    return makeError(CodecError::Kind::WriteFailed, kAction, path,
                     std::string("libheif: ") + (error.message ? error.message : "failed"));
  };

  const bool alpha = !detail::isOpaque(image);
  heif_image* rawImage = nullptr;
  if (const heif_error error = heif_image_create(
          image.width(), image.height(), heif_colorspace_RGB,
          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &rawImage);
      error.code != heif_error_Ok) {
    return failed(error);
  }
  const std::unique_ptr<heif_image, ImageRelease> picture(rawImage);
  if (const heif_error error = heif_image_add_plane(picture.get(), heif_channel_interleaved,
                                                    image.width(), image.height(), 8);
      error.code != heif_error_Ok) {
    return failed(error);
  }
  int stride = 0;
  std::uint8_t* plane = heif_image_get_plane(picture.get(), heif_channel_interleaved, &stride);
  if (!plane) return makeError(CodecError::Kind::OutOfMemory, kAction, path, "no pixel plane");
  const auto width = static_cast<std::size_t>(image.width());
  for (int y = 0; y < image.height(); ++y) {
    const std::uint8_t* from = image.data() + static_cast<std::size_t>(y) * width * 4;
    std::uint8_t* to = plane + static_cast<std::ptrdiff_t>(y) * stride;
    if (alpha) {
      std::memcpy(to, from, width * 4);
    } else {
      for (std::size_t x = 0; x < width; ++x, from += 4, to += 3) std::memcpy(to, from, 3);
    }
  }
  if (metadata && !metadata->icc.empty()) {
    if (const heif_error error = heif_image_set_raw_color_profile(
            picture.get(), "prof", metadata->icc.data(), metadata->icc.size());
        error.code != heif_error_Ok) {
      return failed(error);
    }
  }

  return detail::encodeHeic(picture.get(), alpha, path, quality, metadata, nullptr);
}

}  // namespace quorvane::codec
