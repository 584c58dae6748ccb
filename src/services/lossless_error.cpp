#include "services/lossless_error.h"

#include <QCoreApplication>
#include <cstring>

#include "services/image_fitting.h"

namespace quorvane::core {

std::optional<QString> losslessUnavailable(const EncodeSettings& settings) {
  if (!settings.options.lossless) return std::nullopt;
  if (settings.autoFormat) {
    return QCoreApplication::translate(
        "ConversionError",
        "Lossless cannot be combined with Auto: choose a format, or Same as Original");
  }
  if (!settings.sameFormat && settings.format == OutputFormat::Heic) {
    return QCoreApplication::translate(
        "ConversionError",
        "Lossless HEIC is not available: the HEIC encoder cannot keep every pixel. Choose PNG, "
        "WebP or AVIF, or turn Lossless off");
  }
  return std::nullopt;
}

OutputFormat losslessFormat(OutputFormat format) {
  return format == OutputFormat::Heic ? OutputFormat::Png : format;
}

void checkEveryPixel(const codec::RgbaImage& reference, const std::filesystem::path& output,
                     bool keepProfile, const CancellationToken& token) {
  token.throwIfCancelled();
  std::optional<codec::RgbaImage> decoded;
  try {
    decoded.emplace(
        decodeFitted(output, {reference.width(), reference.height()}, token, keepProfile));
  } catch (const CancellationError&) {
    throw;
  } catch (const ConversionFailure&) {
    throw ConversionError::outputUnreadable();
  }
  const bool sameSize =
      decoded->width() == reference.width() && decoded->height() == reference.height();
  if (sameSize && std::memcmp(decoded->data(), reference.data(), reference.byteSize()) == 0) {
    return;
  }
  std::size_t first = 0;
  while (sameSize && first + 4 <= reference.byteSize() &&
         std::memcmp(decoded->data() + first, reference.data() + first, 4) == 0) {
    first += 4;
  }
  const std::size_t pixel = first / 4;
  const auto width = static_cast<std::size_t>(std::max(1, reference.width()));
  //: %1, %2: the column and row of the first pixel that changed
  throw LosslessError(QCoreApplication::translate("ConversionError",
                                                  "The output is not lossless: the pixel at "
                                                  "%1, %2 changed")
                          .arg(pixel % width)
                          .arg(pixel / width));
}

}  // namespace quorvane::core
