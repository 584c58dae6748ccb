#include <vips/vips.h>

#include <algorithm>
#include <cstdint>

#include "codec/file_io.h"
#include "codec/image_codec.h"
#include "codec/tga_writer.h"
#include "codec/vips_handles.h"

namespace quorvane::codec {

using detail::apply;
using detail::ImagePtr;
using detail::isOpaque;
using detail::makeError;
using detail::OutputFile;
using detail::TargetPtr;
using detail::vipsError;
using detail::wrap;

namespace {

CodecError writeError(const char* action, const std::filesystem::path& path,
                      const OutputFile& out) {
  CodecError error = makeError(CodecError::Kind::WriteFailed, action, path, out.error());
  error.systemError = out.systemError();
  return error;
}

// Saves through a libvips target on our own descriptor, so the file name is
// never parsed for options.
// Puts the metadata on the image a saver is about to write.
void attach(VipsImage* image, const Metadata* metadata) {
  if (!metadata) return;
  if (!metadata->exif.empty()) {
    // libvips keeps EXIF as a JPEG stores it, behind "Exif\0\0".
    std::vector<std::uint8_t> exif = {'E', 'x', 'i', 'f', 0, 0};
    exif.insert(exif.end(), metadata->exif.begin(), metadata->exif.end());
    vips_image_set_blob_copy(image, VIPS_META_EXIF_NAME, exif.data(), exif.size());
  }
  if (!metadata->xmp.empty()) {
    vips_image_set_blob_copy(image, VIPS_META_XMP_NAME, metadata->xmp.data(), metadata->xmp.size());
  }
  if (!metadata->icc.empty()) {
    vips_image_set_blob_copy(image, VIPS_META_ICC_NAME, metadata->icc.data(), metadata->icc.size());
  }
}

template <typename Save>
Result<void> saveWith(const RgbaImage& image, const std::filesystem::path& path, const char* action,
                      const Metadata* metadata, Save&& save) {
  if (image.empty()) return makeError(CodecError::Kind::WriteFailed, action, path, "empty image");
  ImagePtr wrapped = wrap(image);
  if (!wrapped) return vipsError(CodecError::Kind::WriteFailed, action, path, "wrap pixels");
  if (isOpaque(image) && !apply(wrapped, [](VipsImage* i, VipsImage** o) {
        return vips_extract_band(i, o, 0, "n", 3, nullptr);
      })) {
    return vipsError(CodecError::Kind::WriteFailed, action, path, "drop alpha");
  }
  attach(wrapped.get(), metadata);
  OutputFile out(path);
  if (!out.isOpen()) return writeError(action, path, out);
  {
    TargetPtr target(vips_target_new_to_descriptor(out.fd()));
    if (!target) return vipsError(CodecError::Kind::WriteFailed, action, path, "open target");
    if (save(wrapped.get(), target.get()) != 0) {
      return vipsError(CodecError::Kind::WriteFailed, action, path, "encode");
    }
  }
  if (!out.commit()) return writeError(action, path, out);
  return {};
}

}  // namespace

Result<void> writePng(const RgbaImage& image, const std::filesystem::path& path,
                      const Metadata* metadata) {
  const gboolean strip = !metadata || metadata->empty();
  return saveWith(image, path, "write PNG", metadata, [strip](VipsImage* in, VipsTarget* target) {
    return vips_pngsave_target(in, target, "strip", strip, nullptr);
  });
}

Result<void> writeScratchPng(const RgbaImage& image, const std::filesystem::path& path,
                             const Metadata* metadata) {
  // Stored, not deflated: about ten times faster to write (and to read) than
  // writePng, and a photo is barely larger. Beyond 64 MP the fastest
  // deflate, so that a flat giant does not fill the temporary folder.
  constexpr std::int64_t kStoredPixels = 64'000'000;
  const int level =
      static_cast<std::int64_t>(image.width()) * image.height() <= kStoredPixels ? 0 : 1;
  const gboolean strip = !metadata || metadata->empty();
  return saveWith(image, path, "write PNG", metadata,
                  [strip, level](VipsImage* in, VipsTarget* target) {
                    return vips_pngsave_target(in, target, "strip", strip, "compression", level,
                                               "filter", VIPS_FOREIGN_PNG_FILTER_NONE, nullptr);
                  });
}

Result<void> writeBytes(const std::filesystem::path& path, std::string_view bytes) {
  OutputFile out(path);
  if (!out.isOpen() || !out.write(bytes.data(), bytes.size()) || !out.commit()) {
    return writeError("write", path, out);
  }
  return {};
}

std::string tgaBytes(const RgbaImage& image) {
  return detail::tgaBytes(image.data(), image.width(), image.height());
}

Result<void> writeTga(const RgbaImage& image, const std::filesystem::path& path) {
  constexpr const char* kAction = "write TGA";
  if (image.empty() || image.width() > detail::kTgaMaxSide ||
      image.height() > detail::kTgaMaxSide) {
    return makeError(CodecError::Kind::WriteFailed, kAction, path, "size not storable in TGA");
  }
  OutputFile out(path);
  if (!out.isOpen()) return writeError(kAction, path, out);
  if (!detail::writeTgaFile(out, image.data(), image.width(), image.height()) || !out.commit()) {
    return writeError(kAction, path, out);
  }
  return {};
}

}  // namespace quorvane::codec
