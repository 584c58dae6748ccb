#include <vips/vips.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <span>
#include <utility>

#include "codec/hdr_decode.h"
#include "codec/heif_layout.h"
#include "codec/icc_profile.h"
#include "codec/opened_image.h"
#include "codec/vips_open.h"

namespace quorvane::codec {

using detail::apply;
using detail::copyOut;
using detail::ImagePtr;
using detail::makeError;
using detail::openWithVips;
using detail::Probe;
using detail::probe;
using detail::profileFits;
using detail::SourcePtr;
using detail::takeVipsError;
using detail::tooLarge;
using detail::vipsError;

namespace {

// Splits off alpha (scaled to 8 bits), converts the colour bands to 8-bit
// sRGB through the embedded profile (or libvips' CMYK profile), and joins
// them again as RGBA.
bool toSrgbRgba(ImagePtr& image, bool keepRgbProfile) {
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
  if (hasProfile && !cmyk && colourBands == 3) {
    const void* data = nullptr;
    size_t length = 0;
    if (vips_image_get_blob(in, VIPS_META_ICC_NAME, &data, &length) == 0 && data) {
      const auto* bytes = static_cast<const std::uint8_t*>(data);
      // Kept, the numbers stay those of the profile's space; a profile that
      // is sRGB in all but name needs no transform (a quarter of a large
      // JPEG's decode went into one that changed nothing).
      converted = (keepRgbProfile && iccCanBeKept({bytes, bytes + length})) ||
                  detail::iccProfileIsSrgb({bytes, length});
    }
  }
  if (!converted && (hasProfile || cmyk)) {
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

// magickload has no source loader, so it gets the file's bytes; they must
// outlive the image. The size limit was checked on our own header read
// before this allocation.
Result<ImagePtr> loadBmp(const Probe& input, std::vector<std::uint8_t>& bytes,
                         const std::filesystem::path& path, const char* action) {
  bytes = detail::readAll(input.file.fd.get(), input.file.size);
  if (bytes.empty()) return makeError(CodecError::Kind::Damaged, action, path, "read failed");
  VipsImage* image = nullptr;
  if (vips_magickload_buffer(bytes.data(), bytes.size(), &image, "fail_on", VIPS_FAIL_ON_TRUNCATED,
                             nullptr) != 0) {
    return vipsError(CodecError::Kind::Damaged, action, path, "damaged BMP");
  }
  ImagePtr loaded(image);
  if (vips_image_get_width(image) != input.bmp->width ||
      vips_image_get_height(image) != input.bmp->height) {
    return makeError(CodecError::Kind::Damaged, action, path, "BMP size differs from header");
  }
  return loaded;
}

// The loader options that decode a JPEG or WebP at a reduced scale when the
// caller shrinks it anyway: the largest power-of-two shrink (up to 8) that
// still leaves at least twice the fitted size, so the final Lanczos step has
// real detail to work with. Empty when no shrink applies.
std::string shrinkOnLoad(const ImageHeader& header, const DecodeOptions& options) {
  if (options.fitWidth <= 0 && options.fitHeight <= 0) return {};
  const bool jpeg = header.loader.starts_with("jpegload");
  const bool webp = header.loader.starts_with("webpload");
  if (!jpeg && !webp) return {};
  // The displayed size: the fit is asked in displayed pixels, the loader
  // shrinks the stored ones by the same factor.
  const std::int64_t width = header.width;
  const std::int64_t height = header.height;
  double scale = 1.0;
  if (options.fitWidth > 0 && width > options.fitWidth) {
    scale = static_cast<double>(options.fitWidth) / static_cast<double>(width);
  }
  if (options.fitHeight > 0 && height > options.fitHeight) {
    scale = std::min(scale, static_cast<double>(options.fitHeight) / static_cast<double>(height));
  }
  const double fittedWidth = std::max(1.0, std::round(static_cast<double>(width) * scale));
  const double fittedHeight = std::max(1.0, std::round(static_cast<double>(height) * scale));
  for (int shrink : {8, 4, 2}) {
    // libjpeg rounds a scaled side up; WebP's scaler likewise keeps at least
    // the rounded-up size.
    const double shrunkWidth = std::ceil(static_cast<double>(width) / shrink);
    const double shrunkHeight = std::ceil(static_cast<double>(height) / shrink);
    if (shrunkWidth >= 2 * fittedWidth && shrunkHeight >= 2 * fittedHeight) {
      return jpeg ? "shrink=" + std::to_string(shrink)
                  : "scale=" + std::string(shrink == 8   ? "0.125"
                                           : shrink == 4 ? "0.25"
                                                         : "0.5");
    }
  }
  return {};
}

}  // namespace

namespace detail {

Result<RgbaImage> decodeProbed(const Probe& in, const ImageHeader& header,
                               const std::filesystem::path& path, const DecodeOptions& options) {
  constexpr const char* kAction = "decode";
  std::vector<std::uint8_t> bmpBytes;  // outlives image
  ImagePtr image;
  const int orientation = header.orientation;
  if (exceedsPixelLimit(header.width, header.height)) {
    return tooLarge(kAction, path, header.width, header.height);
  }
  if (header.hdr.isHdr()) return decodeHdr(in, header, path, options);
  if (in.bmp) {
    auto loaded = loadBmp(in, bmpBytes, path, kAction);
    if (!loaded) return loaded.error();
    image = std::move(loaded).value();
  } else {
    // The header (size, orientation) is known: open for the pixels as they
    // stream best, at the scale the caller shrinks to anyway.
    const std::string shrink = shrinkOnLoad(header, options);
    auto opened = openWithVips(in.file.fd.get(), !needsRandomAccess(orientation), path, kAction,
                               shrink.c_str());
    if (!opened) return opened.error();
    image = std::move(opened).value();
  }

  if (!in.bmp && orientation != 1 && vips_image_get_orientation(image.get()) != orientation) {
    // Ours, not libvips': autorot turns by the image's own field.
    if (!apply(image, [](VipsImage* i, VipsImage** o) { return vips_copy(i, o, nullptr); })) {
      return vipsError(CodecError::Kind::Damaged, kAction, path, "orientation");
    }
    vips_image_set_int(image.get(), VIPS_META_ORIENTATION, orientation);
  }
  if (orientation != 1 &&
      !apply(image, [](VipsImage* i, VipsImage** o) { return vips_autorot(i, o, nullptr); })) {
    return vipsError(CodecError::Kind::Damaged, kAction, path, "orientation");
  }
  if (!profileFits(image.get())) {
    // Ignored, as if absent (the header says so).
    if (!apply(image, [](VipsImage* i, VipsImage** o) { return vips_copy(i, o, nullptr); })) {
      return vipsError(CodecError::Kind::Damaged, kAction, path, "colour profile");
    }
    vips_image_remove(image.get(), VIPS_META_ICC_NAME);
  }
  if (!toSrgbRgba(image, options.keepRgbProfile)) {
    return vipsError(CodecError::Kind::Unsupported, kAction, path, "cannot convert to sRGB");
  }
  return copyOut(image.get(), path, kAction, options.stopRequested);
}

}  // namespace detail

Result<RgbaImage> decode(const std::filesystem::path& path, const DecodeOptions& options) {
  auto opened = OpenedImage::open(path);
  if (!opened) return opened.error();
  return opened.value().decode(options);
}

bool decodesCompletely(const std::filesystem::path& path) {
  auto input = probe(path, "verify");
  if (!input || input.value().bmp) return input.ok();
  auto image = openWithVips(input.value().file.fd.get(), true, path, "verify");
  if (!image) return false;
  double mean = 0;
  if (vips_avg(image.value().get(), &mean, nullptr) != 0) {
    takeVipsError();
    return false;
  }
  return true;
}

namespace detail {

bool completeProbed(const Probe& input) {
  if (input.bmp) return true;
  SourcePtr source(vips_source_new_from_descriptor(input.file.fd.get()));
  if (!source) {
    takeVipsError();
    return false;
  }
  const char* loader = vips_foreign_find_load_source(source.get());
  if (!loader || std::strcmp(loader, "VipsForeignLoadJpegSource") != 0) {
    takeVipsError();
    // HEIF branded as a sequence first opens through libheif directly.
    return loader != nullptr || readHeifLayout(input.file.fd.get()).heif;
  }
  // A JPEG ends with its end-of-image marker only when it was written to
  // the end: inside the compressed data every 0xFF byte is followed by 0x00
  // or a restart marker, so FF D9 at the very end cannot be chance.
  const std::int64_t size = input.file.size;
  if (size >= 4) {
    unsigned char tail[2] = {0, 0};
    if (::pread(input.file.fd.get(), tail, 2, size - 2) == 2 && tail[0] == 0xff &&
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

}  // namespace detail

bool verifyComplete(const std::filesystem::path& path) {
  auto input = probe(path, "verify");
  return input && detail::completeProbed(input.value());
}

}  // namespace quorvane::codec
