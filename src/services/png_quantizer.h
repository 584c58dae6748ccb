// Writes the PNG output of a conversion: the image decoded, fitted inside the
// bounds, flattened onto white and reduced to 64, 128 or 256 colours.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

#include "codec/metadata.h"
#include "services/cancellation_token.h"
#include "services/conversion_errors.h"
#include "services/image_fitting.h"

namespace quorvane::core {

class PNGQuantizer {
 public:
  class QuantizeError final : public ConversionFailure {
   public:
    enum class Kind { DecodingFailed, ContextCreationFailed, QuantizationFailed, PngWriteFailed };
    explicit QuantizeError(Kind kind) : m_kind(kind) {}
    Kind kind() const { return m_kind; }
    QString description() const override;
    bool operator==(const QuantizeError& other) const { return m_kind == other.m_kind; }

   private:
    Kind m_kind;
  };

  // 64 colours below quality 51, 128 up to 75, 256 from 76.
  static int colorCount(int quality);

  // Reads `input` at `size` (the fitted size) and writes an 8-bit PNG at
  // `output` (created or replaced): indexed whenever the colours fit a
  // palette; exact when the image has no more colours than the palette
  // holds, else quantised. Transparent areas go on white unless
  // `keepAlpha`: then an image with any alpha below 255 gets a palette of
  // colour and alpha together (a tRNS chunk carries the alpha), and an
  // opaque one the colour palette as without it.
  // Carries `metadata` when given (with its profile, the pixels stay in the
  // profile's space). Returns whether transparency was filled with white. Throws QuantizeError, or
  // the failure of the decode; CancellationError once `token` is cancelled, also part way through
  // the quantiser. Synchronous; calls may run at once.
  static bool quantize(const std::filesystem::path& input, const std::filesystem::path& output,
                       int quality, PixelSize size, const CancellationToken& token,
                       const codec::Metadata* metadata = nullptr, bool keepAlpha = false);
  // The same from pixels already decoded at the output's size.
  static bool quantize(codec::RgbaImage image, const std::filesystem::path& output, int quality,
                       const CancellationToken& token, const codec::Metadata* metadata = nullptr,
                       bool keepAlpha = false);
};

}  // namespace quorvane::core
