#include "codec/image_codec.h"

#include <unistd.h>
#include <vips/vips.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <utility>

#include "codec/bmp_header.h"
#include "codec/file_io.h"
#include "codec/icc_profile.h"
#include "codec/tga_writer.h"

namespace quorvane::codec {

using detail::InputFile;
using detail::OutputFile;

RgbaImage::RgbaImage(int width, int height)
    : m_width(width),
      m_height(height),
      m_pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {}

RgbaImage RgbaImage::clone() const {
  RgbaImage copy;
  copy.m_width = m_width;
  copy.m_height = m_height;
  copy.m_pixels = m_pixels;
  return copy;
}

namespace {

struct GObjectUnref {
  void operator()(void* object) const noexcept {
    if (object) g_object_unref(object);
  }
};
using ImagePtr = std::unique_ptr<VipsImage, GObjectUnref>;
using SourcePtr = std::unique_ptr<VipsSource, GObjectUnref>;
using TargetPtr = std::unique_ptr<VipsTarget, GObjectUnref>;
using RegionPtr = std::unique_ptr<VipsRegion, GObjectUnref>;

// The process-wide error buffer may hold text from another thread's failure
// too; it only ever goes into CodecError::detail (logs), after our own
// context. Taking a copy also clears it, so it cannot grow without bound.
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

// Replaces image by op(image) when op succeeds.
template <typename Op>
bool apply(ImagePtr& image, Op&& op) {
  VipsImage* out = nullptr;
  if (op(image.get(), &out) != 0) {
    if (out) g_object_unref(out);
    return false;
  }
  image.reset(out);
  return true;
}

int bitsFor(VipsBandFormat format) {
  switch (format) {
    case VIPS_FORMAT_UCHAR:
    case VIPS_FORMAT_CHAR:
      return 8;
    case VIPS_FORMAT_USHORT:
    case VIPS_FORMAT_SHORT:
      return 16;
    case VIPS_FORMAT_DOUBLE:
    case VIPS_FORMAT_DPCOMPLEX:
      return 64;
    default:
      return 32;
  }
}

ColourModel colourModelFor(VipsInterpretation interpretation) {
  switch (interpretation) {
    case VIPS_INTERPRETATION_sRGB:
    case VIPS_INTERPRETATION_RGB:
    case VIPS_INTERPRETATION_RGB16:
    case VIPS_INTERPRETATION_scRGB:
      return ColourModel::Srgb;
    case VIPS_INTERPRETATION_B_W:
    case VIPS_INTERPRETATION_GREY16:
      return ColourModel::Grey;
    case VIPS_INTERPRETATION_CMYK:
      return ColourModel::Cmyk;
    default:
      return ColourModel::Other;
  }
}

bool needsRandomAccess(int orientation) {
  // 1 is upright and 2 mirrors each row in place, so rows stream top to
  // bottom. Every other orientation needs the whole image before its first
  // output row; a random-access load decodes it once into memory instead of
  // going through the sequential loader's line cache.
  return orientation != 1 && orientation != 2;
}

bool exceedsLimit(std::int64_t width, std::int64_t height) {
  return width <= 0 || height <= 0 || width * height > kMaxPixels;
}

// An opened input, sniffed: either a BMP (header parsed here) or something
// libvips has a source loader for.
struct Probe {
  InputFile file;
  std::optional<detail::BmpHeader> bmp;
};

Result<Probe> probe(const std::filesystem::path& path, const char* action) {
  std::string reason;
  Probe result;
  result.file = detail::openInput(path, reason);
  if (!result.file.fd.valid()) return makeError(CodecError::Kind::Unreadable, action, path, reason);
  const auto prefix = detail::readPrefix(result.file.fd.get(), detail::kBmpHeaderBytes);
  if (detail::looksLikeBmp(prefix)) {
    result.bmp = detail::parseBmpHeader(prefix);
    if (!result.bmp) {
      return makeError(CodecError::Kind::Unreadable, action, path, "damaged BMP header");
    }
  }
  return result;
}

// Opens the file's frame 0 through a libvips source: this reads the header
// only. fail_on=truncated makes a short file an error instead of grey rows.
Result<ImagePtr> openWithVips(int fd, bool sequential, const std::filesystem::path& path,
                              const char* action) {
  SourcePtr source(vips_source_new_from_descriptor(fd));
  if (!source) return vipsError(CodecError::Kind::Unreadable, action, path, "cannot read");
  if (!vips_foreign_find_load_source(source.get())) {
    takeVipsError();
    return makeError(CodecError::Kind::Unreadable, action, path, "not a supported image");
  }
  VipsImage* image = vips_image_new_from_source(
      source.get(), "", "access", sequential ? VIPS_ACCESS_SEQUENTIAL : VIPS_ACCESS_RANDOM,
      "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr);
  if (!image) return vipsError(CodecError::Kind::Unreadable, action, path, "damaged header");
  return ImagePtr(image);
}

ImageHeader headerOf(VipsImage* image) {
  ImageHeader header;
  header.orientation = std::clamp(vips_image_get_orientation(image), 1, 8);
  header.width = vips_image_get_width(image);
  header.height = vips_image_get_height(image);
  if (header.orientation >= 5) std::swap(header.width, header.height);
  header.bands = vips_image_get_bands(image);
  header.bitsPerSample = bitsFor(vips_image_get_format(image));
  header.hasAlpha = vips_image_hasalpha(image) != 0;
  header.colourModel = colourModelFor(vips_image_get_interpretation(image));
  header.frameCount = std::max(1, vips_image_get_n_pages(image));
  if (vips_image_get_typeof(image, VIPS_META_ICC_NAME)) {
    const void* data = nullptr;
    size_t length = 0;
    if (vips_image_get_blob(image, VIPS_META_ICC_NAME, &data, &length) == 0 && data) {
      header.hasIccProfile = true;
      header.iccProfileIsSrgb = detail::iccProfileIsSrgb(
          std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data), length));
    }
  }
  const char* loader = nullptr;
  if (vips_image_get_typeof(image, VIPS_META_LOADER) &&
      vips_image_get_string(image, VIPS_META_LOADER, &loader) == 0 && loader) {
    header.loader = loader;
    // "jpegload_source" and "jpegload" name the same decoder.
    for (const char* suffix : {"_source", "_buffer"}) {
      const std::size_t n = std::strlen(suffix);
      if (header.loader.size() > n && header.loader.ends_with(suffix)) {
        header.loader.resize(header.loader.size() - n);
      }
    }
  }
  return header;
}

ImageHeader headerOf(const detail::BmpHeader& bmp) {
  ImageHeader header;
  header.width = bmp.width;
  header.height = bmp.height;
  header.bands = bmp.hasAlpha ? 4 : 3;
  header.hasAlpha = bmp.hasAlpha;
  header.colourModel = ColourModel::Srgb;
  header.loader = "bmp";
  return header;
}

// Splits off alpha (scaled to 8 bits), converts the colour bands to 8-bit
// sRGB through the embedded profile (or libvips' CMYK profile), and joins
// them again as RGBA.
bool toSrgbRgba(ImagePtr& image) {
  VipsImage* in = image.get();
  const int bands = vips_image_get_bands(in);
  const VipsInterpretation interpretation = vips_image_get_interpretation(in);
  const bool cmyk = interpretation == VIPS_INTERPRETATION_CMYK && bands >= 4;
  // Grey has one colour band, CMYK four, everything else three; the first
  // band after them is alpha (libvips puts it there for every loader).
  const int colourBands = std::min(bands, cmyk ? 4 : (bands <= 2 ? 1 : 3));
  const bool alpha = bands > colourBands;
  if (colourBands < 1) return false;

  ImagePtr colour(image.get());
  g_object_ref(colour.get());
  ImagePtr alphaBand;
  if (colourBands != bands) {
    if (!apply(colour, [&](VipsImage* i, VipsImage** o) {
          return vips_extract_band(i, o, 0, "n", colourBands, nullptr);
        })) {
      return false;
    }
  }
  if (alpha) {
    alphaBand.reset(image.get());
    g_object_ref(alphaBand.get());
    if (!apply(alphaBand, [&](VipsImage* i, VipsImage** o) {
          return vips_extract_band(i, o, colourBands, nullptr);
        })) {
      return false;
    }
  }

  // Colour: an embedded profile wins; CMYK without one goes through the
  // built-in CMYK profile. A profile lcms cannot use (damaged, or for another
  // colour space than the pixels) is ignored rather than failing the image.
  const bool hasProfile = vips_image_get_typeof(in, VIPS_META_ICC_NAME) != 0;
  bool converted = false;
  if (hasProfile || cmyk) {
    converted = apply(colour, [](VipsImage* i, VipsImage** o) {
      return vips_icc_transform(i, o, "srgb", "embedded", TRUE, "intent", VIPS_INTENT_RELATIVE,
                                "depth", 8, nullptr);
    });
    if (!converted) takeVipsError();
  }
  if (!converted) {
    VipsInterpretation from = vips_image_get_interpretation(colour.get());
    if (from == VIPS_INTERPRETATION_MULTIBAND || from == VIPS_INTERPRETATION_HISTOGRAM ||
        from == VIPS_INTERPRETATION_MATRIX || from == VIPS_INTERPRETATION_FOURIER) {
      from = vips_image_guess_interpretation(colour.get());
    }
    if (!apply(colour, [&](VipsImage* i, VipsImage** o) {
          return vips_colourspace(i, o, VIPS_INTERPRETATION_sRGB, "source_space", from, nullptr);
        })) {
      return false;
    }
  }
  const auto to8Bit = [](ImagePtr& band) {
    const VipsBandFormat format = vips_image_get_format(band.get());
    if (format == VIPS_FORMAT_UCHAR) return true;
    const bool wide = format == VIPS_FORMAT_USHORT || format == VIPS_FORMAT_SHORT;
    return apply(band, [&](VipsImage* i, VipsImage** o) {
      return vips_cast(i, o, VIPS_FORMAT_UCHAR, "shift", wide ? TRUE : FALSE, nullptr);
    });
  };
  if (!to8Bit(colour)) return false;
  if (vips_image_get_bands(colour.get()) != 3) return false;

  if (alpha) {
    if (!to8Bit(alphaBand)) return false;
    VipsImage* parts[2] = {colour.get(), alphaBand.get()};
    VipsImage* joined = nullptr;
    if (vips_bandjoin(parts, &joined, 2, nullptr) != 0) return false;
    image.reset(joined);
  } else {
    image = std::move(colour);
    if (!apply(image, [](VipsImage* i, VipsImage** o) {
          return vips_bandjoin_const1(i, o, 255.0, nullptr);
        })) {
      return false;
    }
  }
  return true;
}

// Computes the pipeline strip by strip (top to bottom, as sequential loads
// need) straight into an RgbaImage.
Result<RgbaImage> copyOut(VipsImage* image, const std::filesystem::path& path, const char* action) {
  const int width = vips_image_get_width(image);
  const int height = vips_image_get_height(image);
  if (vips_image_get_bands(image) != 4 || vips_image_get_format(image) != VIPS_FORMAT_UCHAR) {
    return makeError(CodecError::Kind::Unsupported, action, path, "unexpected pixel layout");
  }
  RgbaImage rgba;
  try {
    rgba = RgbaImage(width, height);
  } catch (const std::bad_alloc&) {
    return makeError(CodecError::Kind::OutOfMemory, action, path, "no memory for pixels");
  }
  RegionPtr region(vips_region_new(image));
  if (!region) return vipsError(CodecError::Kind::OutOfMemory, action, path, "region");
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
  constexpr int kStrip = 16;
  for (int top = 0; top < height; top += kStrip) {
    VipsRect rect{0, top, width, std::min(kStrip, height - top)};
    if (vips_region_prepare(region.get(), &rect) != 0) {
      return vipsError(CodecError::Kind::Unreadable, action, path, "damaged or truncated pixels");
    }
    for (int y = 0; y < rect.height; ++y) {
      std::memcpy(rgba.data() + static_cast<std::size_t>(top + y) * rowBytes,
                  VIPS_REGION_ADDR(region.get(), 0, top + y), rowBytes);
    }
  }
  return rgba;
}

// magickload has no source loader, so it gets the file's bytes; they must
// outlive the image. The size limit was checked on our own header read
// before this allocation.
Result<ImagePtr> loadBmp(const Probe& input, std::vector<std::uint8_t>& bytes,
                         const std::filesystem::path& path, const char* action) {
  bytes = detail::readAll(input.file.fd.get(), input.file.size);
  if (bytes.empty()) return makeError(CodecError::Kind::Unreadable, action, path, "read failed");
  VipsImage* image = nullptr;
  if (vips_magickload_buffer(bytes.data(), bytes.size(), &image, "fail_on", VIPS_FAIL_ON_TRUNCATED,
                             nullptr) != 0) {
    return vipsError(CodecError::Kind::Unreadable, action, path, "damaged BMP");
  }
  ImagePtr loaded(image);
  if (vips_image_get_width(image) != input.bmp->width ||
      vips_image_get_height(image) != input.bmp->height) {
    return makeError(CodecError::Kind::Unreadable, action, path, "BMP size differs from header");
  }
  return loaded;
}

// Wraps caller-owned RGBA pixels without copying; the image must not outlive
// them.
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

// Saves through a libvips target on our own descriptor, so the file name is
// never parsed for options.
template <typename Save>
Result<void> saveWith(const RgbaImage& image, const std::filesystem::path& path, const char* action,
                      Save&& save) {
  if (image.empty()) return makeError(CodecError::Kind::WriteFailed, action, path, "empty image");
  ImagePtr wrapped = wrap(image);
  if (!wrapped) return vipsError(CodecError::Kind::WriteFailed, action, path, "wrap pixels");
  if (isOpaque(image) && !apply(wrapped, [](VipsImage* i, VipsImage** o) {
        return vips_extract_band(i, o, 0, "n", 3, nullptr);
      })) {
    return vipsError(CodecError::Kind::WriteFailed, action, path, "drop alpha");
  }
  OutputFile out(path);
  if (!out.isOpen()) return makeError(CodecError::Kind::WriteFailed, action, path, out.error());
  {
    TargetPtr target(vips_target_new_to_descriptor(out.fd()));
    if (!target) return vipsError(CodecError::Kind::WriteFailed, action, path, "open target");
    if (save(wrapped.get(), target.get()) != 0) {
      return vipsError(CodecError::Kind::WriteFailed, action, path, "encode");
    }
  }
  if (!out.commit()) return makeError(CodecError::Kind::WriteFailed, action, path, out.error());
  return {};
}

}  // namespace

Result<ImageHeader> readHeader(const std::filesystem::path& path) {
  constexpr const char* kAction = "read header of";
  auto input = probe(path, kAction);
  if (!input) return input.error();
  if (input.value().bmp) return headerOf(*input.value().bmp);
  auto image = openWithVips(input.value().file.fd.get(), true, path, kAction);
  if (!image) return image.error();
  return headerOf(image.value().get());
}

Result<RgbaImage> decode(const std::filesystem::path& path) {
  constexpr const char* kAction = "decode";
  auto input = probe(path, kAction);
  if (!input) return input.error();
  const Probe& in = input.value();

  std::vector<std::uint8_t> bmpBytes;  // outlives image
  ImagePtr image;
  int orientation = 1;
  if (in.bmp) {
    if (exceedsLimit(in.bmp->width, in.bmp->height)) {
      return makeError(CodecError::Kind::TooLarge, kAction, path, "too many pixels");
    }
    auto loaded = loadBmp(in, bmpBytes, path, kAction);
    if (!loaded) return loaded.error();
    image = std::move(loaded).value();
  } else {
    // A header-only open first: the size limit and the orientation (which
    // decides whether the pixels can stream) come from it.
    auto opened = openWithVips(in.file.fd.get(), false, path, kAction);
    if (!opened) return opened.error();
    image = std::move(opened).value();
    if (exceedsLimit(vips_image_get_width(image.get()), vips_image_get_height(image.get()))) {
      return makeError(CodecError::Kind::TooLarge, kAction, path, "too many pixels");
    }
    orientation = std::clamp(vips_image_get_orientation(image.get()), 1, 8);
    if (!needsRandomAccess(orientation)) {
      image.reset();
      auto streamed = openWithVips(in.file.fd.get(), true, path, kAction);
      if (!streamed) return streamed.error();
      image = std::move(streamed).value();
    }
  }

  if (orientation != 1 &&
      !apply(image, [](VipsImage* i, VipsImage** o) { return vips_autorot(i, o, nullptr); })) {
    return vipsError(CodecError::Kind::Unreadable, kAction, path, "orientation");
  }
  if (!toSrgbRgba(image)) {
    return vipsError(CodecError::Kind::Unsupported, kAction, path, "cannot convert to sRGB");
  }
  return copyOut(image.get(), path, kAction);
}

bool verifyComplete(const std::filesystem::path& path) {
  auto input = probe(path, "verify");
  if (!input) return false;
  if (input.value().bmp) return true;
  SourcePtr source(vips_source_new_from_descriptor(input.value().file.fd.get()));
  if (!source) {
    takeVipsError();
    return false;
  }
  const char* loader = vips_foreign_find_load_source(source.get());
  if (!loader || std::strcmp(loader, "VipsForeignLoadJpegSource") != 0) {
    takeVipsError();
    return loader != nullptr;
  }
  // A JPEG ends with its end-of-image marker only when it was written to
  // the end: inside the compressed data every 0xFF byte is followed by 0x00
  // or a restart marker, so FF D9 at the very end cannot be chance.
  const std::int64_t size = input.value().file.size;
  if (size >= 4) {
    unsigned char tail[2] = {0, 0};
    if (::pread(input.value().file.fd.get(), tail, 2, size - 2) == 2 && tail[0] == 0xff &&
        tail[1] == 0xd9) {
      return true;
    }
  }
  VipsImage* scaled = nullptr;
  if (vips_jpegload_source(source.get(), &scaled, "shrink", 8, "access", VIPS_ACCESS_SEQUENTIAL,
                           "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr) != 0) {
    takeVipsError();
    return false;
  }
  const ImagePtr image(scaled);
  double mean = 0;
  if (vips_avg(image.get(), &mean, nullptr) != 0) {
    takeVipsError();
    return false;
  }
  return true;
}

Result<RgbaImage> resize(const RgbaImage& image, int width, int height) {
  const std::filesystem::path none("(pixels)");
  constexpr const char* kAction = "resize";
  if (image.empty() || width < 1 || height < 1) {
    return makeError(CodecError::Kind::Unsupported, kAction, none, "bad size");
  }
  if (exceedsLimit(width, height)) {
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
  return copyOut(pipe.get(), none, kAction);
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

Result<void> writePng(const RgbaImage& image, const std::filesystem::path& path) {
  return saveWith(image, path, "write PNG", [](VipsImage* in, VipsTarget* target) {
    return vips_pngsave_target(in, target, "strip", TRUE, nullptr);
  });
}

namespace {

// libheif's Q (x265 CRF = (100 - Q) / 2) for our quality 0..1, chosen so that
// HEIC at a quality looks as good as our JPEG road at the same quality. Each
// entry is the Q whose mean luma SSIM over 10 photos (at most 3 MP, camera
// originals downscaled) equals that of the JPEG road (cjpeg -optimize
// -progressive) at quality 0, 10, ..., 100; measured by bench/heic_calibration.
// At those points the HEIC files came out 0.36 to 0.62 times the JPEG's size
// up to quality 90, and 0.78 at 100. JPEG at quality 0 is worse than any HEIC,
// so 0 takes libvips' lowest Q (it refuses 0). Linear in between, rounded.
int heifQualityFor(double quality) {
  static constexpr std::array<double, 11> kQAtTenths = {1.0,  13.0, 23.2, 28.4, 31.3, 33.9,
                                                        36.3, 39.7, 44.5, 53.6, 80.6};
  const double q = std::isnan(quality) ? 0.0 : std::clamp(quality, 0.0, 1.0) * 10.0;
  const std::size_t below = std::min<std::size_t>(static_cast<std::size_t>(q), 9);
  const double t = q - static_cast<double>(below);
  const double heifQ = kQAtTenths[below] + t * (kQAtTenths[below + 1] - kQAtTenths[below]);
  return std::clamp(static_cast<int>(std::lround(heifQ)), 1, 100);
}

}  // namespace

Result<void> writeHeic(const RgbaImage& image, const std::filesystem::path& path, double quality) {
  const int heifQ = heifQualityFor(quality);
  // 4:2:0 at every Q, as calibrated and as the JPEG road stores chroma
  // (libvips' default would switch to 4:4:4 from Q 90).
  return saveWith(image, path, "write HEIC", [heifQ](VipsImage* in, VipsTarget* target) {
    return vips_heifsave_target(in, target, "Q", heifQ, "bitdepth", 8, "compression",
                                VIPS_FOREIGN_HEIF_COMPRESSION_HEVC, "subsample_mode",
                                VIPS_FOREIGN_SUBSAMPLE_ON, "strip", TRUE, nullptr);
  });
}

Result<void> writeTga(const RgbaImage& image, const std::filesystem::path& path) {
  constexpr const char* kAction = "write TGA";
  if (image.empty() || image.width() > detail::kTgaMaxSide ||
      image.height() > detail::kTgaMaxSide) {
    return makeError(CodecError::Kind::WriteFailed, kAction, path, "size not storable in TGA");
  }
  OutputFile out(path);
  if (!out.isOpen()) return makeError(CodecError::Kind::WriteFailed, kAction, path, out.error());
  if (!detail::writeTgaFile(out, image.data(), image.width(), image.height()) || !out.commit()) {
    return makeError(CodecError::Kind::WriteFailed, kAction, path, out.error());
  }
  return {};
}

void releaseThreadResources() {
  vips_thread_shutdown();
}

}  // namespace quorvane::codec
