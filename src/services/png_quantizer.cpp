#include "services/png_quantizer.h"

#include <QCoreApplication>

#include "codec/image_codec.h"
#include "quantizer/quorvane_quantize.h"
#include "services/image_converter.h"

namespace quorvane::core {

QString PNGQuantizer::QuantizeError::description() const {
  switch (m_kind) {
    case Kind::DecodingFailed:
      return QCoreApplication::translate("QuantizeError", "Image decoding failed");
    case Kind::ContextCreationFailed:
      return QCoreApplication::translate("QuantizeError", "Pixel buffer creation failed");
    case Kind::QuantizationFailed:
      return QCoreApplication::translate("QuantizeError", "Color quantization failed");
    case Kind::PngWriteFailed:
      return QCoreApplication::translate("QuantizeError", "PNG write failed");
  }
  Q_UNREACHABLE();
}

int PNGQuantizer::colorCount(int quality) {
  if (quality < 51) return 64;
  if (quality <= 75) return 128;
  return 256;
}

void PNGQuantizer::quantize(const std::filesystem::path& input,
                            const std::filesystem::path& output, int quality,
                            std::optional<int> maxWidth, std::optional<int> maxHeight) {
  auto decoded = codec::decode(input);
  if (!decoded) throw QuantizeError(QuantizeError::Kind::DecodingFailed);
  codec::RgbaImage image = std::move(decoded).value();
  try {
    if (auto smaller = ImageConverter::resizedImage(image, maxWidth, maxHeight)) {
      image = std::move(*smaller);
    }
  } catch (const ConversionError&) {
    throw QuantizeError(QuantizeError::Kind::ContextCreationFailed);
  }
  // Transparent areas come out white: the written PNG has no transparency.
  codec::flattenOnto(image, 255, 255, 255);
  const int status = quorvane_quantize_rgba(image.data(), static_cast<std::uint32_t>(image.width()),
                                            static_cast<std::uint32_t>(image.height()),
                                            static_cast<std::uint32_t>(colorCount(quality)));
  if (status != 0) throw QuantizeError(QuantizeError::Kind::QuantizationFailed);
  if (!codec::writePng(image, output)) throw QuantizeError(QuantizeError::Kind::PngWriteFailed);
}

}  // namespace quorvane::core
