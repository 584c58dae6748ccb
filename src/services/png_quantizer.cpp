#include "services/png_quantizer.h"

#include <QCoreApplication>

#include "codec/image_codec.h"
#include "quantizer/quorvane_quantize.h"

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

void PNGQuantizer::quantize(const std::filesystem::path& input, const std::filesystem::path& output,
                            int quality, PixelSize size, const CancellationToken& token,
                            const codec::Metadata* metadata) {
  const bool keepProfile = metadata && !metadata->icc.empty();
  codec::RgbaImage image = decodeFitted(input, size, token, keepProfile);
  // Transparent areas come out white: the written PNG has no transparency.
  codec::flattenOnto(image, 255, 255, 255);
  const auto stop = [](void* context) -> std::int32_t {
    return static_cast<const CancellationToken*>(context)->isCancelled() ? 1 : 0;
  };
  const int status = quorvane_quantize_rgba_stoppable(
      image.data(), static_cast<std::uint32_t>(image.width()),
      static_cast<std::uint32_t>(image.height()), static_cast<std::uint32_t>(colorCount(quality)),
      stop, const_cast<CancellationToken*>(&token));
  if (status == -2) throw CancellationError();
  if (status != 0) throw QuantizeError(QuantizeError::Kind::QuantizationFailed);
  token.throwIfCancelled();
  if (auto written = codec::writePng(image, output, metadata); !written) {
    if (written.error().systemError != 0) throwCodecFailure(written.error());
    throw QuantizeError(QuantizeError::Kind::PngWriteFailed);
  }
}

}  // namespace quorvane::core
