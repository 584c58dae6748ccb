// An image file opened once: its descriptor, what its header says and the
// metadata it carries (read in one parse), and its pixels decoded from the
// same descriptor, as often as needed. Everything a conversion knows of its
// input comes from here, so the file is opened once per conversion.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "codec/codec_result.h"
#include "codec/image_codec.h"
#include "codec/metadata.h"

namespace quorvane::codec {

class OpenedImage {
 public:
  // Opens the file and reads its header and metadata. Fails (see
  // CodecError::Kind) for files that are missing, empty, not regular, not
  // images or whose header is damaged; the pixel limit is the decoder's.
  static Result<OpenedImage> open(const std::filesystem::path& path);

  OpenedImage(OpenedImage&&) noexcept;
  OpenedImage& operator=(OpenedImage&&) noexcept;
  ~OpenedImage();

  const std::filesystem::path& path() const;
  const ImageHeader& header() const;
  const Metadata& metadata() const;
  std::int64_t fileSize() const;

  // Frame 0 as decode() gives it. Thread-compatible: one call at a time.
  Result<RgbaImage> decode(const DecodeOptions& options = {}) const;
  // For an HDR input (header().hdr): its signal as it is, upright, at
  // width x height, as a 16-bit PNG at `png` without metadata.
  Result<void> writeHdrPng(int width, int height, const std::filesystem::path& png,
                           const StopRequested& stopRequested = {}) const;
  // The file's bytes as they are.
  Result<std::string> bytes() const;
  // Whether the compressed data is all there (see verifyComplete).
  bool isComplete() const;

 private:
  struct State;
  explicit OpenedImage(std::unique_ptr<State> state);
  std::unique_ptr<State> m_state;
};

}  // namespace quorvane::codec
