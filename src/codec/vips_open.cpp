#include "codec/vips_open.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

#include "codec/exif_block.h"
#include "codec/heif_layout.h"
#include "codec/heif_xmp.h"
#include "codec/icc_profile.h"
#include "codec/opened_image.h"
#include "codec/png_chunks.h"

namespace quorvane::codec {

namespace {

using detail::HeifLayout;

constexpr std::uint16_t kExifOrientation = 0x0112;

// Why libheif could not read a HEIF or AVIF file, in the words the user is
// told: a sequence with no still image, a primary image put together from
// others that this libheif cannot assemble, or damage.
CodecError heifFailure(const HeifLayout& heif, const char* action,
                       const std::filesystem::path& path, const std::string& reason) {
  CodecError error =
      detail::makeError(CodecError::Kind::Unsupported, action, path, "HEIF: " + reason);
  error.container = heif.avif ? "AVIF" : "HEIF";
  if (!heif.still && heif.sequence) {
    error.feature = CodecError::Feature::ImageSequence;
  } else if (detail::isDerivedItemType(heif.primaryType)) {
    error.feature = CodecError::Feature::DerivedImage;
  } else {
    error.kind = CodecError::Kind::Damaged;
  }
  return error;
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

}  // namespace

namespace detail {

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

std::span<const std::uint8_t> profileOf(VipsImage* image) {
  const void* data = nullptr;
  size_t length = 0;
  if (!vips_image_get_typeof(image, VIPS_META_ICC_NAME) ||
      vips_image_get_blob(image, VIPS_META_ICC_NAME, &data, &length) != 0 || !data) {
    return {};
  }
  return {static_cast<const std::uint8_t*>(data), length};
}

bool profileFits(VipsImage* image) {
  const auto profile = profileOf(image);
  if (profile.empty()) return true;
  const int bands = vips_image_get_bands(image);
  const bool cmyk = vips_image_get_interpretation(image) == VIPS_INTERPRETATION_CMYK && bands >= 4;
  const std::uint32_t wanted = cmyk ? kIccCmyk : bands <= 2 ? kIccGrey : kIccRgb;
  return iccColourSpace(profile) == wanted;
}

bool needsRandomAccess(int orientation) {
  // 1 is upright and 2 mirrors each row in place, so rows stream top to
  // bottom. Every other orientation needs the whole image before its first
  // output row; a random-access load decodes it once into memory instead of
  // going through the sequential loader's line cache.
  return orientation != 1 && orientation != 2;
}

Result<Probe> probe(const std::filesystem::path& path, const char* action) {
  Probe result;
  result.file = openInput(path);
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
  const auto prefix = readPrefix(result.file.fd.get(), kBmpHeaderBytes);
  if (looksLikeBmp(prefix)) {
    result.bmp = parseBmpHeader(prefix);
    if (!result.bmp)
      return makeError(CodecError::Kind::Damaged, action, path, "damaged BMP header");
  }
  return result;
}

Result<ImagePtr> openWithVips(int fd, bool sequential, const std::filesystem::path& path,
                              const char* action, const char* loaderOptions) {
  const VipsAccess access = sequential ? VIPS_ACCESS_SEQUENTIAL : VIPS_ACCESS_RANDOM;
  SourcePtr source(vips_source_new_from_descriptor(fd));
  if (!source) return vipsError(CodecError::Kind::FileSystem, action, path, "cannot read");
  // libvips sniffs the major brand only: a still image in a file branded as
  // a sequence first ("avis", "msf1") goes to no loader or to one that
  // guesses wrong. Every HEIF and AVIF goes to libheif, which reads it or
  // says why not.
  if (const HeifLayout heif = readHeifLayout(fd); heif.heif) {
    VipsImage* image = nullptr;
    if (vips_heifload_source(source.get(), &image, "access", access, "fail_on",
                             VIPS_FAIL_ON_TRUNCATED, nullptr) == 0) {
      return ImagePtr(image);
    }
    return heifFailure(heif, action, path, takeVipsError());
  }
  VipsImage* image = vips_image_new_from_source(source.get(), loaderOptions, "access", access,
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
    header.iccProfileIsSrgb = iccProfileIsSrgb(profile);
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

ImageHeader headerOf(const BmpHeader& bmp) {
  ImageHeader header;
  header.width = bmp.width;
  header.height = bmp.height;
  header.bands = bmp.hasAlpha ? 4 : 3;
  header.hasAlpha = bmp.hasAlpha;
  header.colourModel = ColourModel::Srgb;
  header.loader = "bmp";
  return header;
}

Metadata metadataOf(VipsImage* image) {
  const auto blob = [&](const char* name) {
    std::vector<std::uint8_t> bytes;
    const void* data = nullptr;
    size_t length = 0;
    if (vips_image_get_typeof(image, name) &&
        vips_image_get_blob(image, name, &data, &length) == 0 && data) {
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
  if (metadata.xmp.empty()) metadata.xmp = heifXmp(image);
  metadata.icc = blob(VIPS_META_ICC_NAME);
  return metadata;
}

}  // namespace detail

using detail::probe;

bool exceedsPixelLimit(std::int64_t width, std::int64_t height) {
  return width <= 0 || height <= 0 || width > kMaxPixels / height;
}

Result<Metadata> readMetadata(const std::filesystem::path& path) {
  auto opened = OpenedImage::open(path);
  if (!opened) return opened.error();
  return opened.value().metadata();
}

Result<ImageHeader> readHeader(const std::filesystem::path& path) {
  auto opened = OpenedImage::open(path);
  if (!opened) return opened.error();
  return opened.value().header();
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
  // The same descriptor: one open of the file whatever its format.
  auto image = detail::openWithVips(input.value().file.fd.get(), true, path, "read size of");
  if (!image) return image.error();
  const ImageHeader header = detail::headerOf(image.value().get());
  return ImageSize{header.width, header.height};
}

}  // namespace quorvane::codec
