#include "models/output_format.h"

namespace quorvane::core {

QString rawValue(OutputFormat format) {
  switch (format) {
    case OutputFormat::Webp: return QStringLiteral("webp");
    case OutputFormat::Jpeg: return QStringLiteral("jpeg");
    case OutputFormat::Png: return QStringLiteral("png");
    case OutputFormat::Heic: return QStringLiteral("heic");
    case OutputFormat::Avif: return QStringLiteral("avif");
    case OutputFormat::Jxl: return QStringLiteral("jxl");
  }
  Q_UNREACHABLE();
}

std::optional<OutputFormat> outputFormatFromRawValue(QStringView text) {
  for (OutputFormat format : kAllOutputFormats) {
    if (text == rawValue(format)) return format;
  }
  return std::nullopt;
}

QString displayName(OutputFormat format) {
  switch (format) {
    case OutputFormat::Webp: return QStringLiteral("WebP");
    case OutputFormat::Jpeg: return QStringLiteral("JPEG");
    case OutputFormat::Png: return QStringLiteral("PNG");
    case OutputFormat::Heic: return QStringLiteral("HEIC");
    case OutputFormat::Avif: return QStringLiteral("AVIF");
    case OutputFormat::Jxl: return QStringLiteral("JPEG XL");
  }
  Q_UNREACHABLE();
}

QString fileExtension(OutputFormat format) {
  return format == OutputFormat::Jpeg ? QStringLiteral("jpg") : rawValue(format);
}

OutputFormat sameFormatFor(QStringView extension) {
  if (extension == u"jpg" || extension == u"jpeg") return OutputFormat::Jpeg;
  if (extension == u"webp") return OutputFormat::Webp;
  if (extension == u"heic" || extension == u"heif") return OutputFormat::Heic;
  if (extension == u"avif") return OutputFormat::Avif;
  return OutputFormat::Png;
}

}  // namespace quorvane::core
