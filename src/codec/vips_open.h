// Private to the codec layer: opening an input once (our own checks, the BMP
// header, libvips' header parse) and what a header and its metadata say.
#pragma once

#include <vips/vips.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "codec/bmp_header.h"
#include "codec/file_io.h"
#include "codec/image_codec.h"
#include "codec/vips_handles.h"

namespace quorvane::codec::detail {

// An opened input, sniffed: either a BMP (header parsed here) or something
// libvips has a source loader for.
struct Probe {
  InputFile file;
  std::optional<BmpHeader> bmp;
};

Result<Probe> probe(const std::filesystem::path& path, const char* action);

// Opens the file's frame 0 through a libvips source on a duplicate of `fd`:
// this reads the header only. fail_on=truncated makes a short file an error
// instead of grey rows. `loaderOptions` ("shrink=4") go to the loader.
Result<ImagePtr> openWithVips(int fd, bool sequential, const std::filesystem::path& path,
                              const char* action, const char* loaderOptions = "");

CodecError tooLarge(const char* action, const std::filesystem::path& path, std::int64_t width,
                    std::int64_t height);

// The orientation to show the pixels in: libvips' reading of the EXIF
// block, or ours where libvips found none. libexif, which libvips reads
// EXIF with, gives up on blocks over 64 kB, so a block whose IFD0 lies past
// that (PNG, WebP and HEIF hold such blocks) reads as upright to libvips
// and as turned to every other reader.
int orientationOf(VipsImage* image);

// The embedded profile, if any; it lives as long as the image.
std::span<const std::uint8_t> profileOf(VipsImage* image);

// Whether the embedded profile (if any) is for the colour space the pixels
// are in: an RGB JPEG can carry a grey profile, which lcms refuses to apply
// only once the pixels are asked for.
bool profileFits(VipsImage* image);

ImageHeader headerOf(VipsImage* image);
ImageHeader headerOf(const BmpHeader& bmp);
// EXIF (without its "Exif" prefix), XMP and the ICC profile of an opened image.
Metadata metadataOf(VipsImage* image);

// Orientations whose first output row needs the whole image.
bool needsRandomAccess(int orientation);

// Frame 0 of an opened input as upright 8-bit sRGB RGBA (see decode()).
Result<RgbaImage> decodeProbed(const Probe& input, const ImageHeader& header,
                               const std::filesystem::path& path, const DecodeOptions& options);

// Whether an opened input's compressed data is all there (see verifyComplete).
bool completeProbed(const Probe& input);

}  // namespace quorvane::codec::detail
