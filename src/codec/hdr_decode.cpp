#include "codec/hdr_decode.h"

#include <libheif/heif.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "codec/hdr_tone_map.h"
#include "codec/vips_handles.h"

namespace quorvane::codec::detail {

namespace {

constexpr int kRowsPerStop = 64;  // rows between looks at stopRequested

struct ContextFree {
  void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
  void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
  void operator()(heif_image* image) const { heif_image_release(image); }
};
struct NclxFree {
  void operator()(heif_color_profile_nclx* nclx) const { heif_nclx_color_profile_free(nclx); }
};
struct DecodingOptionsFree {
  void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

// libheif reads through the descriptor the conversion opened, with pread:
// the file as it was opened, whatever has happened to its name since.
struct DescriptorReader {
  int fd;
  std::int64_t size;
  std::int64_t position = 0;
};

heif_reader descriptorReader() {
  heif_reader reader{};
  reader.reader_api_version = 1;
  reader.get_position = [](void* user) { return static_cast<DescriptorReader*>(user)->position; };
  reader.read = [](void* data, size_t size, void* user) {
    auto* in = static_cast<DescriptorReader*>(user);
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
      const ssize_t got = ::pread(in->fd, bytes, size, in->position);
      if (got <= 0) return 1;
      bytes += got;
      size -= static_cast<size_t>(got);
      in->position += got;
    }
    return 0;
  };
  reader.seek = [](std::int64_t position, void* user) {
    auto* in = static_cast<DescriptorReader*>(user);
    if (position < 0 || position > in->size) return 1;
    in->position = position;
    return 0;
  };
  reader.wait_for_file_size = [](std::int64_t target, void* user) {
    return target <= static_cast<DescriptorReader*>(user)->size
               ? heif_reader_grow_status_size_reached
               : heif_reader_grow_status_size_beyond_eof;
  };
  return reader;
}

struct Opened {
  DescriptorReader source;
  heif_reader reader;
  std::unique_ptr<heif_context, ContextFree> context;
  std::unique_ptr<heif_image_handle, HandleRelease> primary;
};

std::unique_ptr<Opened> openPrimary(const InputFile& file) {
  auto opened = std::make_unique<Opened>();
  opened->source = {file.fd.get(), file.size};
  opened->reader = descriptorReader();
  opened->context.reset(heif_context_alloc());
  if (!opened->context) return nullptr;
  if (heif_context_read_from_reader(opened->context.get(), &opened->reader, &opened->source,
                                    nullptr)
          .code != heif_error_Ok) {
    return nullptr;
  }
  heif_image_handle* handle = nullptr;
  if (heif_context_get_primary_image_handle(opened->context.get(), &handle).code != heif_error_Ok) {
    return nullptr;
  }
  opened->primary.reset(handle);
  return opened;
}

// The primary image's samples, RGB or RGBA, 16 bits each holding values of
// `bits` bits, with its light level boxes.
// The picture is read where libheif decoded it, a row at a time: a copy
// would add 6 bytes a pixel to the peak of every conversion.
struct Samples {
  int width = 0;
  int height = 0;
  int channels = 3;
  int bits = 8;
  HdrLightLevels levels;
  std::unique_ptr<heif_image, ImageRelease> image;
  const std::uint8_t* plane = nullptr;
  int stride = 0;
  bool wide = false;  // two bytes a sample, little-endian

  std::size_t rowValues() const { return static_cast<std::size_t>(width) * channels; }
  // Row y into `to` (rowValues() samples).
  void row(int y, std::uint16_t* to) const {
    const std::uint8_t* from = plane + static_cast<std::ptrdiff_t>(y) * stride;
    const std::size_t n = rowValues();
    for (std::size_t i = 0; i < n; ++i) {
      to[i] = wide ? static_cast<std::uint16_t>(from[2 * i] | (from[2 * i + 1] << 8)) : from[i];
    }
  }
};

Result<Samples> decodeSamples(const Probe& input, const std::filesystem::path& path,
                              const char* action) {
  const auto opened = openPrimary(input.file);
  if (!opened) return makeError(CodecError::Kind::Damaged, action, path, "libheif cannot read it");
  heif_image_handle* handle = opened->primary.get();
  const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
  const bool wide = heif_image_handle_get_luma_bits_per_pixel(handle) > 8;
  const heif_chroma chroma =
      wide ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
           : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
  const std::unique_ptr<heif_decoding_options, DecodingOptionsFree> options(
      heif_decoding_options_alloc());
  heif_image* decoded = nullptr;
  const heif_error error =
      heif_decode_image(handle, &decoded, heif_colorspace_RGB, chroma, options.get());
  std::unique_ptr<heif_image, ImageRelease> image(decoded);
  if (error.code != heif_error_Ok || !image) {
    return makeError(CodecError::Kind::Damaged, action, path,
                     std::string("damaged pixels: ") + (error.message ? error.message : ""));
  }
  Samples out;
  out.width = heif_image_get_width(image.get(), heif_channel_interleaved);
  out.height = heif_image_get_height(image.get(), heif_channel_interleaved);
  out.channels = alpha ? 4 : 3;
  out.bits =
      std::clamp(heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved), 8, 16);
  out.plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &out.stride);
  out.wide = wide;
  if (!out.plane || out.width <= 0 || out.height <= 0 || exceedsPixelLimit(out.width, out.height)) {
    return makeError(CodecError::Kind::Damaged, action, path, "no pixels");
  }
  if (heif_image_has_content_light_level(image.get())) {
    heif_content_light_level level{};
    heif_image_get_content_light_level(image.get(), &level);
    out.levels.maxContentLight = level.max_content_light_level;
  }
  if (heif_image_has_mastering_display_colour_volume(image.get())) {
    heif_mastering_display_colour_volume volume{};
    heif_image_get_mastering_display_colour_volume(image.get(), &volume);
    heif_decoded_mastering_display_colour_volume decodedVolume{};
    if (heif_mastering_display_colour_volume_decode(&volume, &decodedVolume).code ==
        heif_error_Ok) {
      out.levels.masteringPeak = decodedVolume.max_display_mastering_luminance;
    }
  }
  out.image = std::move(image);
  return out;
}

// Turns and mirrors 8- or 16-bit pixels by `orientation` as the other
// inputs are, through libvips.
bool orient(ImagePtr& image, int orientation) {
  if (orientation == 1) return true;
  if (!apply(image, [](VipsImage* i, VipsImage** o) { return vips_copy(i, o, nullptr); })) {
    return false;
  }
  vips_image_set_int(image.get(), VIPS_META_ORIENTATION, orientation);
  return apply(image, [](VipsImage* i, VipsImage** o) { return vips_autorot(i, o, nullptr); });
}

}  // namespace

std::optional<HdrSignal> readHdrSignal(const InputFile& file) {
  const auto opened = openPrimary(file);
  if (!opened) return std::nullopt;
  heif_image_handle* handle = opened->primary.get();
  if (heif_image_handle_get_raw_color_profile_size(handle) > 0) return std::nullopt;
  heif_color_profile_nclx* found = nullptr;
  if (heif_image_handle_get_nclx_color_profile(handle, &found).code != heif_error_Ok || !found) {
    return std::nullopt;
  }
  const std::unique_ptr<heif_color_profile_nclx, NclxFree> nclx(found);
  HdrSignal signal;
  signal.primaries = nclx->color_primaries;
  signal.transfer = nclx->transfer_characteristics;
  signal.matrix = nclx->matrix_coefficients;
  signal.fullRange = nclx->full_range_flag != 0;
  if (!signal.isHdr()) return std::nullopt;
  return signal;
}

Result<RgbaImage> decodeHdr(const Probe& input, const ImageHeader& header,
                            const std::filesystem::path& path, const DecodeOptions& options) {
  constexpr const char* kAction = "decode";
  const auto stopped = [&] { return options.stopRequested && options.stopRequested(); };
  if (stopped()) return makeError(CodecError::Kind::Cancelled, kAction, path, "stopped");
  auto decoded = decodeSamples(input, path, kAction);
  if (!decoded) return decoded.error();
  const Samples& samples = decoded.value();
  HdrToneMap mapper(header.hdr, samples.bits);
  double peak = samples.levels.maxContentLight > 0 ? samples.levels.maxContentLight
                                                   : samples.levels.masteringPeak;
  std::vector<std::uint16_t> row(samples.rowValues());
  if (peak <= 0) {
    for (int y = 0; y < samples.height; ++y) {
      samples.row(y, row.data());
      for (int x = 0; x < samples.width; ++x) {
        peak = std::max(
            peak, mapper.lightOf(row.data() + static_cast<std::ptrdiff_t>(x) * samples.channels));
      }
    }
  }
  mapper.setSourcePeak(peak);
  RgbaImage out = RgbaImage::uninitialized(samples.width, samples.height);
  const std::size_t rowBytes = static_cast<std::size_t>(samples.width) * 4;
  for (int y = 0; y < samples.height; ++y) {
    if (y % kRowsPerStop == 0 && stopped()) {
      return makeError(CodecError::Kind::Cancelled, kAction, path, "stopped");
    }
    samples.row(y, row.data());
    mapper.mapRow(row.data(), samples.channels, samples.width, out.data() + rowBytes * y);
  }
  if (header.orientation == 1) return out;
  ImagePtr image = wrap(out);
  if (!orient(image, header.orientation)) {
    return vipsError(CodecError::Kind::Damaged, kAction, path, "orientation");
  }
  return copyOut(image.get(), path, kAction, options.stopRequested);
}

Result<void> writeHdrPng(const Probe& input, const ImageHeader& header,
                         const std::filesystem::path& path, int width, int height,
                         const std::filesystem::path& png, const StopRequested& stopRequested) {
  constexpr const char* kAction = "write the HDR pixels of";
  auto decoded = decodeSamples(input, path, kAction);
  if (!decoded) return decoded.error();
  const Samples& samples = decoded.value();
  if (stopRequested && stopRequested()) {
    return makeError(CodecError::Kind::Cancelled, kAction, path, "stopped");
  }
  // To the full 16 bits, the top bits repeated below as a PNG decoder would.
  const int shift = 16 - samples.bits;
  const int refill = std::max(0, samples.bits - shift);
  std::vector<std::uint16_t> values(samples.rowValues() * samples.height);
  for (int y = 0; y < samples.height; ++y) {
    std::uint16_t* row = values.data() + samples.rowValues() * y;
    samples.row(y, row);
    for (std::size_t i = 0; i < samples.rowValues(); ++i) {
      row[i] = static_cast<std::uint16_t>((row[i] << shift) | (row[i] >> refill));
    }
  }
  ImagePtr image(vips_image_new_from_memory(values.data(), values.size() * sizeof(std::uint16_t),
                                            samples.width, samples.height, samples.channels,
                                            VIPS_FORMAT_USHORT));
  if (!image) return vipsError(CodecError::Kind::OutOfMemory, kAction, path, "pixels");
  if (!apply(image,
             [](VipsImage* i, VipsImage** o) {
               return vips_copy(i, o, "interpretation", VIPS_INTERPRETATION_RGB16, nullptr);
             }) ||
      !orient(image, header.orientation)) {
    return vipsError(CodecError::Kind::Damaged, kAction, path, "orientation");
  }
  const int stored = vips_image_get_width(image.get());
  const int storedHeight = vips_image_get_height(image.get());
  if ((stored != width || storedHeight != height) &&
      !apply(image, [&](VipsImage* i, VipsImage** o) {
        return vips_resize(i, o, static_cast<double>(width) / stored, "vscale",
                           static_cast<double>(height) / storedHeight, "kernel",
                           VIPS_KERNEL_LANCZOS3, nullptr);
      })) {
    return vipsError(CodecError::Kind::OutOfMemory, kAction, path, "resize");
  }
  if (vips_pngsave(image.get(), png.c_str(), "bitdepth", 16, "strip", TRUE, "compression", 1,
                   nullptr) != 0) {
    return vipsError(CodecError::Kind::WriteFailed, kAction, png, "PNG");
  }
  return {};
}

}  // namespace quorvane::codec::detail
