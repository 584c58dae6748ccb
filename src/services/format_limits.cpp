#include "services/format_limits.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>

#include "services/conversion_errors.h"

namespace quorvane::core {

namespace {

// Largest side cwebp reads or writes.
constexpr int kWebPMaxSide = 16383;
// Largest side libjpeg stores.
constexpr int kJpegMaxSide = 65500;
// What libheif with x265 writes so that it reads back (measured on Debian
// 12): a 16384-wide picture decodes only at some heights, wider ones never;
// from 4217 pixels on the long side, a short side under 32 gives a file no
// reader opens.
constexpr FormatLimits kHeicLimits{.maxSide = 16383, .longSideFrom = 4217, .shortSideFrom = 32};
// avifenc writes wider images, but libheif, and with it libvips and most
// image viewers on Linux, does not read them.
constexpr FormatLimits kAvifLimits{.maxSide = 16384};

enum class Exceeded { Nothing, MaxSide, ShortSide };

Exceeded exceeded(const FormatLimits& limits, PixelSize size) {
  const int longSide = std::max(size.width, size.height);
  const int shortSide = std::min(size.width, size.height);
  if (limits.maxSide > 0 && longSide > limits.maxSide) return Exceeded::MaxSide;
  if (limits.longSideFrom > 0 && longSide >= limits.longSideFrom &&
      shortSide < limits.shortSideFrom) {
    return Exceeded::ShortSide;
  }
  return Exceeded::Nothing;
}

}  // namespace

FormatLimits limitsOf(OutputFormat format) {
  switch (format) {
    case OutputFormat::Webp:
      return {.maxSide = kWebPMaxSide};
    case OutputFormat::Jpeg:
      return {.maxSide = kJpegMaxSide};
    case OutputFormat::Png:
      return {};
    case OutputFormat::Heic:
      return kHeicLimits;
    case OutputFormat::Avif:
      return kAvifLimits;
    case OutputFormat::Jxl:
      // Sides up to 2^18 and 2^28 pixels even at the basic level, beyond
      // what the decoder's pixel limit lets in.
      return {};
  }
  return {};
}

bool formatHolds(OutputFormat format, PixelSize size) {
  return exceeded(limitsOf(format), size) == Exceeded::Nothing;
}

void checkFormatHolds(OutputFormat format, PixelSize size) {
  const FormatLimits limits = limitsOf(format);
  const QLocale locale;
  const auto number = [&locale](int n) { return locale.toString(n); };
  QString limit;
  switch (exceeded(limits, size)) {
    case Exceeded::Nothing:
      return;
    case Exceeded::MaxSide:
      //: why a format cannot hold an image, e.g. "its sides are at most 16,383 pixels"
      limit = QCoreApplication::translate("ConversionError", "its sides are at most %1 pixels")
                  .arg(number(limits.maxSide));
      break;
    case Exceeded::ShortSide:
      //: why a format cannot hold an image
      limit = QCoreApplication::translate(
                  "ConversionError",
                  "it needs a short side of %1 pixels or more once the long side reaches %2")
                  .arg(number(limits.shortSideFrom), number(limits.longSideFrom));
      break;
  }
  throw ConversionError::sizeNotSupported(displayName(format), size.width, size.height, limit);
}

}  // namespace quorvane::core
