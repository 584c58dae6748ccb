#include <vips/vips.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <span>
#include <utility>

#include "codec/bmp_header.h"
#include "codec/file_io.h"
#include "codec/heif_xmp.h"
#include "codec/icc_profile.h"
#include "codec/image_codec.h"
#include "codec/png_chunks.h"
#include "codec/vips_handles.h"

namespace quorvane::codec {

using detail::apply;
using detail::ImagePtr;
using detail::InputFile;
using detail::makeError;
using detail::SourcePtr;
using detail::takeVipsError;
using detail::vipsError;

namespace {

constexpr std::uint16_t kExifOrientation = 0x0112;

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

// The orientation to show the pixels in: libvips' reading of the EXIF
// block, or ours where libvips found none. libexif, which libvips reads
// EXIF with, gives up on blocks over 64 kB, so a block whose IFD0 lies past
// that (PNG, WebP and HEIF hold such blocks) reads as upright to libvips
// and as turned to every other reader.
int orientationOf(VipsImage* image) {
  const int found = vips_image_get_orientation(image);
  if (found >= 2 && found <= 8) return found;
  const void* data = nullptr;
  size_t length = 0;
  if (!vips_image_get_typeof(image, VIPS_META_EXIF_NAME) ||
      vips_image_get_blob(image, VIPS_META_EXIF_NAME, &data, &length) != 0 || !data) {
    return 1;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  const auto tagged = exifNumber({bytes, bytes + length}, kExifOrientation);
  return tagged && *tagged >= 1 && *tagged <= 8 ? static_cast<int>(*tagged) : 1;
}

// The embedded profile, if any.
std::span<const std::uint8_t> profileOf(VipsImage* image) {
  const void* data = nullptr;
  size_t length = 0;
  if (!vips_image_get_typeof(image, VIPS_META_ICC_NAME) ||
      vips_image_get_blob(image, VIPS_META_ICC_NAME, &data, &length) != 0 || !data) {
    return {};
  }
  return {static_cast<const std::uint8_t*>(data), length};
}

// Whether the embedded profile (if any) is for the colour space the pixels
// are in: an RGB JPEG can carry a grey profile, which lcms refuses to apply
// only once the pixels are asked for.
bool profileFits(VipsImage* image) {
  const auto profile = profileOf(image);
  if (profile.empty()) return true;
  const int bands = vips_image_get_bands(image);
  const bool cmyk = vips_image_get_interpretation(image) == VIPS_INTERPRETATION_CMYK && bands >= 4;
  const std::uint32_t wanted = cmyk         ? detail::kIccCmyk
                               : bands <= 2 ? detail::kIccGrey
                                            : detail::kIccRgb;
  return detail::iccColourSpace(profile) == wanted;
}

bool needsRandomAccess(int orientation) {
  // 1 is upright and 2 mirrors each row in place, so rows stream top to
  // bottom. Every other orientation needs the whole image before its first
  // output row; a random-access load decodes it once into memory instead of
  // going through the sequential loader's line cache.
  return orientation != 1 && orientation != 2;
}

// An opened input, sniffed: either a BMP (header parsed here) or something
// libvips has a source loader for.
struct Probe {
  InputFile file;
  std::optional<detail::BmpHeader> bmp;
};

Result<Probe> probe(const std::filesystem::path& path, const char* action) {
  Probe result;
  result.file = detail::openInput(path);
  switch (result.file.failure) {
    case InputFile::Failure::None:
      break;
    case InputFile::Failure::System: {
      const int error = result.file.systemError;
      CodecError failure =
          makeError(error == ENOENT ? CodecError::Kind::Missing : CodecError::Kind::FileSystem,
                    action, path, std::strerror(error));
      failure.systemError = error;
      return failure;
    }
    case InputFile::Failure::NotRegularFile:
      return makeError(CodecError::Kind::NotAnImage, action, path, "not a regular file");
    case InputFile::Failure::EmptyFile:
      return makeError(CodecError::Kind::Empty, action, path, "empty file");
  }
  const auto prefix = detail::readPrefix(result.file.fd.get(), detail::kBmpHeaderBytes);
  if (detail::looksLikeBmp(prefix)) {
    result.bmp = detail::parseBmpHeader(prefix);
    if (!result.bmp)
      return makeError(CodecError::Kind::Damaged, action, path, "damaged BMP header");
  }
  return result;
}

// Opens the file's frame 0 through a libvips source: this reads the header
// only. fail_on=truncated makes a short file an error instead of grey rows.
// `loaderOptions` ("shrink=4") go to the loader.
Result<ImagePtr> openWithVips(int fd, bool sequential, const std::filesystem::path& path,
                              const char* action, const char* loaderOptions = "") {
  SourcePtr source(vips_source_new_from_descriptor(fd));
  if (!source) return vipsError(CodecError::Kind::FileSystem, action, path, "cannot read");
  VipsImage* image =
      vips_image_new_from_source(source.get(), loaderOptions, "access",
                                 sequential ? VIPS_ACCESS_SEQUENTIAL : VIPS_ACCESS_RANDOM,
                                 "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr);
  if (image) return ImagePtr(image);
  // Only now ask whether any loader knows the format: on the way to success
  // the content is sniffed once, not twice.
  const std::string reason = takeVipsError();
  if (!vips_foreign_find_load_source(source.get())) {
    takeVipsError();
    return makeError(CodecError::Kind::NotAnImage, action, path, "not a supported image");
  }
  return makeError(CodecError::Kind::Damaged, action, path, "damaged header: " + reason);
}

CodecError tooLarge(const char* action, const std::filesystem::path& path, std::int64_t width,
                    std::int64_t height) {
  CodecError error = makeError(CodecError::Kind::TooLarge, action, path, "too many pixels");
  error.width = width;
  error.height = height;
  return error;
}

ImageHeader headerOf(VipsImage* image) {
  ImageHeader header;
  header.orientation = orientationOf(image);
  header.width = vips_image_get_width(image);
  header.height = vips_image_get_height(image);
  if (header.orientation >= 5) std::swap(header.width, header.height);
  header.bands = vips_image_get_bands(image);
  header.bitsPerSample = bitsFor(vips_image_get_format(image));
  header.hasAlpha = vips_image_hasalpha(image) != 0;
  header.colourModel = colourModelFor(vips_image_get_interpretation(image));
  header.frameCount = std::max(1, vips_image_get_n_pages(image));
  if (const auto profile = profileOf(image); !profile.empty()) {
    header.hasIccProfile = true;
    header.iccProfileIsSrgb = detail::iccProfileIsSrgb(profile);
    header.iccProfileFits = profileFits(image);
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
std::string shrinkOnLoad(VipsImage* header, int orientation, const DecodeOptions& options) {
  if (options.fitWidth <= 0 && options.fitHeight <= 0) return {};
  const char* loaderName = nullptr;
  if (!vips_image_get_typeof(header, VIPS_META_LOADER) ||
      vips_image_get_string(header, VIPS_META_LOADER, &loaderName) != 0 || !loaderName) {
    return {};
  }
  const std::string loader = loaderName;
  const bool jpeg = loader.starts_with("jpegload");
  const bool webp = loader.starts_with("webpload");
  if (!jpeg && !webp) return {};
  std::int64_t width = vips_image_get_width(header);
  std::int64_t height = vips_image_get_height(header);
  if (orientation >= 5) std::swap(width, height);
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

Result<Metadata> readMetadata(const std::filesystem::path& path) {
  constexpr const char* kAction = "read metadata of";
  auto input = probe(path, kAction);
  if (!input) return input.error();
  if (input.value().bmp) return Metadata{};
  auto image = openWithVips(input.value().file.fd.get(), true, path, kAction);
  if (!image) return image.error();
  const auto blob = [&](const char* name) {
    std::vector<std::uint8_t> bytes;
    const void* data = nullptr;
    size_t length = 0;
    if (vips_image_get_typeof(image.value().get(), name) &&
        vips_image_get_blob(image.value().get(), name, &data, &length) == 0 && data) {
      bytes.assign(static_cast<const std::uint8_t*>(data),
                   static_cast<const std::uint8_t*>(data) + length);
    }
    return bytes;
  };
  Metadata metadata;
  metadata.exif = blob(VIPS_META_EXIF_NAME);
  if (metadata.exif.size() >= 6 && std::memcmp(metadata.exif.data(), "Exif\0\0", 6) == 0) {
    metadata.exif.erase(metadata.exif.begin(), metadata.exif.begin() + 6);
  }
  metadata.xmp = blob(VIPS_META_XMP_NAME);
  if (metadata.xmp.empty()) metadata.xmp = detail::heifXmp(image.value().get());
  metadata.icc = blob(VIPS_META_ICC_NAME);
  return metadata;
}

bool exceedsPixelLimit(std::int64_t width, std::int64_t height) {
  return width <= 0 || height <= 0 || width > kMaxPixels / height;
}

Result<ImageHeader> readHeader(const std::filesystem::path& path) {
  constexpr const char* kAction = "read header of";
  auto input = probe(path, kAction);
  if (!input) return input.error();
  if (input.value().bmp) return headerOf(*input.value().bmp);
  auto image = openWithVips(input.value().file.fd.get(), true, path, kAction);
  if (!image) return image.error();
  return headerOf(image.value().get());
}

Result<RgbaImage> decode(const std::filesystem::path& path, const DecodeOptions& options) {
  constexpr const char* kAction = "decode";
  auto input = probe(path, kAction);
  if (!input) return input.error();
  const Probe& in = input.value();

  std::vector<std::uint8_t> bmpBytes;  // outlives image
  ImagePtr image;
  int orientation = 1;
  if (in.bmp) {
    if (exceedsPixelLimit(in.bmp->width, in.bmp->height)) {
      return tooLarge(kAction, path, in.bmp->width, in.bmp->height);
    }
    auto loaded = loadBmp(in, bmpBytes, path, kAction);
    if (!loaded) return loaded.error();
    image = std::move(loaded).value();
  } else {
    // A header-only open first: the size limit, the orientation (which
    // decides whether the pixels can stream) and the scale come from it.
    auto opened = openWithVips(in.file.fd.get(), false, path, kAction);
    if (!opened) return opened.error();
    image = std::move(opened).value();
    const int width = vips_image_get_width(image.get());
    const int height = vips_image_get_height(image.get());
    if (exceedsPixelLimit(width, height)) return tooLarge(kAction, path, width, height);
    orientation = orientationOf(image.get());
    const std::string shrink = shrinkOnLoad(image.get(), orientation, options);
    if (!needsRandomAccess(orientation) || !shrink.empty()) {
      image.reset();
      auto reopened = openWithVips(in.file.fd.get(), !needsRandomAccess(orientation), path, kAction,
                                   shrink.c_str());
      if (!reopened) return reopened.error();
      image = std::move(reopened).value();
    }
  }

  if (orientation != 1 && vips_image_get_orientation(image.get()) != orientation) {
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
  return detail::copyOut(image.get(), path, kAction, options.stopRequested);
}

namespace {

// A PNG's size from its first chunks, when they give it (see png_chunks.h).
std::optional<ImageSize> pngSize(int fd) {
  const auto size = detail::pngSizeBeforeData(detail::readPrefix(fd, detail::kPngScanBytes));
  if (!size) return std::nullopt;
  return ImageSize{size->first, size->second};
}

}  // namespace

Result<ImageSize> readImageSize(const std::filesystem::path& path) {
  auto input = probe(path, "read size of");
  if (!input) return input.error();
  if (const auto& bmp = input.value().bmp) return ImageSize{bmp->width, bmp->height};
  if (const auto png = pngSize(input.value().file.fd.get())) return *png;
  auto header = readHeader(path);
  if (!header) return header.error();
  return ImageSize{header.value().width, header.value().height};
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

}  // namespace quorvane::codec
