// Lossless conversions: what cannot be written without loss, said before a
// batch starts or when an image comes to it, and the check that every
// pixel of an output is the pixel it was made from.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

#include "codec/image_codec.h"
#include "models/encode_settings.h"
#include "services/cancellation_token.h"
#include "services/conversion_errors.h"

namespace quorvane::core {

class LosslessError final : public ConversionFailure {
 public:
  explicit LosslessError(QString text) : m_text(std::move(text)) {}
  QString description() const override { return m_text; }

 private:
  QString m_text;
};

// Why a batch with these settings cannot start: lossless HEIC (the HEVC
// encoder here cannot keep every pixel) or lossless Auto; absent otherwise.
std::optional<QString> losslessUnavailable(const EncodeSettings& settings);

// The format a lossless image is written in: HEIC inputs kept in their
// format (Same as Original) become PNG.
OutputFormat losslessFormat(OutputFormat format);

// Decodes `output` as the receipt does and compares every pixel, alpha
// included, with `reference`. Throws a LosslessError naming the first pixel
// that differs; ConversionError::outputUnreadable when it does not decode.
void checkEveryPixel(const codec::RgbaImage& reference, const std::filesystem::path& output,
                     bool keepProfile, const CancellationToken& token);

}  // namespace quorvane::core
