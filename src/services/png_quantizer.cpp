#include "services/png_quantizer.h"

#include <QCoreApplication>

#include "codec/image_codec.h"
#include "codec/indexed_png.h"
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

bool PNGQuantizer::quantize(const std::filesystem::path& input, const std::filesystem::path& output,
                            int quality, PixelSize size, const CancellationToken& token,
                            const codec::Metadata* metadata, bool keepAlpha) {
  const bool keepProfile = metadata && !metadata->icc.empty();
  return quantize(decodeFitted(input, size, token, keepProfile), output, quality, token, metadata,
                  keepAlpha);
}

bool PNGQuantizer::quantize(codec::RgbaImage image, const std::filesystem::path& output,
                            int quality, const CancellationToken& token,
                            const codec::Metadata* metadata, bool keepAlpha) {
  const bool transparent = codec::hasTransparency(image);
  if (keepAlpha) {
    // What nobody sees takes no palette entry: one colour for all of it.
    std::uint8_t* p = image.data();
    for (std::size_t i = 0; i < image.byteSize(); i += 4) {
      if (p[i + 3] == 0) p[i] = p[i + 1] = p[i + 2] = 0;
    }
  } else {
    codec::flattenOnto(image, 255, 255, 255);
  }
  const int colours = colorCount(quality);
  // An image that already fits the palette is written as it is.
  std::optional<codec::IndexedImage> indexed = codec::indexedIfFits(image, colours);
  const auto stop = [](void* context) -> std::int32_t {
    return static_cast<const CancellationToken*>(context)->isCancelled() ? 1 : 0;
  };
  if (!indexed && keepAlpha && transparent) {
    // Colour and alpha quantised together: always a palette.
    codec::IndexedImage quantised;
    quantised.width = image.width();
    quantised.height = image.height();
    quantised.indices.resize(image.byteSize() / 4);
    std::uint8_t entries[256 * 4];
    std::uint32_t entryCount = 0;
    const int status = quorvane_quantize_rgba_alpha(
        image.data(), static_cast<std::uint32_t>(image.width()),
        static_cast<std::uint32_t>(image.height()), static_cast<std::uint32_t>(colours),
        quantised.indices.data(), entries, &entryCount, stop,
        const_cast<CancellationToken*>(&token));
    if (status == -2) throw CancellationError();
    if (status != 0) throw QuantizeError(QuantizeError::Kind::QuantizationFailed);
    for (std::uint32_t i = 0; i < entryCount; ++i) {
      quantised.palette.push_back(
          {entries[i * 4], entries[i * 4 + 1], entries[i * 4 + 2], entries[i * 4 + 3]});
    }
    indexed = codec::compactPalette(quantised);
  } else if (!indexed) {
    const int status = quorvane_quantize_rgba_stoppable(
        image.data(), static_cast<std::uint32_t>(image.width()),
        static_cast<std::uint32_t>(image.height()), static_cast<std::uint32_t>(colours), stop,
        const_cast<CancellationToken*>(&token));
    if (status == -2) throw CancellationError();
    if (status != 0) throw QuantizeError(QuantizeError::Kind::QuantizationFailed);
    // At most `colours` colours, but alpha may split them further.
    indexed = codec::indexedIfFits(image, 256);
  }
  token.throwIfCancelled();
  const auto written = indexed ? codec::writeIndexedPng(*indexed, output, metadata)
                               : codec::writePng(image, output, metadata);
  if (!written) {
    if (written.error().systemError != 0) throwCodecFailure(written.error());
    throw QuantizeError(QuantizeError::Kind::PngWriteFailed);
  }
  return transparent && !keepAlpha;
}

}  // namespace quorvane::core
