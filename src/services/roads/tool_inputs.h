// The decoded pixels of one conversion and the files and streams the encoder
// tools read, each made at most once, on first use, whatever number of
// encodes use them (Auto's trials among them).
#pragma once

#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "codec/image_codec.h"
#include "codec/opened_image.h"
#include "services/cancellation_token.h"
#include "services/image_fitting.h"
#include "services/temporary_files.h"

namespace quorvane::core {

class ToolInputs {
 public:
  // Decodes `source` at `size` (upright, in sRGB or with `keepProfile` in
  // the space of its RGB profile) when first asked. `source` and `token`
  // must outlive this object.
  ToolInputs(const codec::OpenedImage& source, PixelSize size, bool keepProfile,
             const CancellationToken& token);

  // The decoded pixels. Throws the decode's failure (every call, once it
  // failed); CancellationError once cancelled.
  const codec::RgbaImage& pixels();
  // The pixels on white where they have transparency (JPEG has no alpha,
  // PNG without kept transparency puts it on white); the pixels otherwise.
  const codec::RgbaImage& pixelsOnWhite();
  // The pixels in sRGB: pixels() unless a profile is kept, else decoded
  // again, once, converted to sRGB. Throws as pixels() does.
  const codec::RgbaImage& pixelsInSrgb();
  // Whether the pixels have transparent areas.
  bool hasTransparency();
  bool isDecoded() const;

  // A PNG of the pixels in the private temporary folder, removed with this
  // object. Throws FileSystemError.
  const std::filesystem::path& png();
  // For an HDR input: its signal as it is, at the size, as a 16-bit PNG in
  // the private temporary folder (see OpenedImage::writeHdrPng). Throws
  // the failure; CancellationError once cancelled.
  const std::filesystem::path& hdrPng();
  // pixelsOnWhite() as a 24-bit TGA file's bytes.
  const std::string& tgaOnWhite();

 private:
  const codec::RgbaImage& decodedLocked();
  const codec::RgbaImage& onWhiteLocked();

  const codec::OpenedImage& m_source;
  const PixelSize m_size;
  const bool m_keepProfile;
  const CancellationToken& m_token;
  mutable std::mutex m_mutex;  // trials of one conversion may run side by side
  std::optional<codec::RgbaImage> m_pixels;
  std::exception_ptr m_failure;
  std::optional<bool> m_transparent;
  std::optional<codec::RgbaImage> m_onWhite;  // only for transparent pixels
  std::optional<codec::RgbaImage> m_srgb;     // only with a kept profile
  std::optional<TemporaryFile> m_png;
  std::optional<TemporaryFile> m_hdrPng;
  std::optional<std::string> m_tga;
};

}  // namespace quorvane::core
