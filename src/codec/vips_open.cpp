#include "codec/vips_open.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

#include "codec/icc_profile.h"
#include "codec/opened_image.h"

namespace quorvane::codec {

namespace {

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
      header.iccProfileIsSrgb = iccProfileIsSrgb(
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

std::uint32_t bigEndian32(const std::uint8_t* at) {
  return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
         at[3];
}

// A PNG's IHDR size, when the chunks before the first IDAT hold no eXIf
// (whose orientation would swap the sides); nothing otherwise.
std::optional<ImageSize> pngSize(int fd) {
  constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  const auto bytes = detail::readPrefix(fd, 64 * 1024);
  if (bytes.size() < 33 || !std::equal(kSignature, kSignature + 8, bytes.begin()))
    return std::nullopt;
  if (bigEndian32(&bytes[8]) != 13 || std::memcmp(&bytes[12], "IHDR", 4) != 0) return std::nullopt;
  const std::uint32_t width = bigEndian32(&bytes[16]);
  const std::uint32_t height = bigEndian32(&bytes[20]);
  if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff) return std::nullopt;
  for (std::size_t at = 33; at + 8 <= bytes.size();) {
    const std::uint32_t length = bigEndian32(&bytes[at]);
    if (std::memcmp(&bytes[at + 4], "IDAT", 4) == 0) {
      return ImageSize{static_cast<int>(width), static_cast<int>(height)};
    }
    if (std::memcmp(&bytes[at + 4], "eXIf", 4) == 0 || length > bytes.size()) return std::nullopt;
    at += 12 + std::size_t{length};
  }
  return std::nullopt;
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
