#include "models/image_item.h"

#include <QFile>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

#include "codec/image_codec.h"
#include "models/conversion_settings.h"

namespace quorvane::core {

namespace {

qint64 fileSizeOrZero(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > static_cast<std::uintmax_t>(std::numeric_limits<qint64>::max())) return 0;
  return static_cast<qint64>(size);
}

QString formatPercent(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return QString::fromLatin1(text);
}

}  // namespace

ImageItem::ImageItem(std::filesystem::path path, QObject* parent)
    : QObject(parent), m_id(QUuid::createUuid()), m_url(std::move(path)) {
  m_inputFormat = QFile::decodeName(QByteArray::fromStdString(lowerCaseExtension(m_url)));
  m_originalSize = fileSizeOrZero(m_url);
  if (auto header = codec::readHeader(m_url)) {
    m_pixelWidth = header.value().width;
    m_pixelHeight = header.value().height;
  }
}

QString ImageItem::fileName() const {
  return QFile::decodeName(QByteArray::fromStdString(m_url.filename().native()));
}

void ImageItem::setOutputURL(std::optional<std::filesystem::path> url) {
  if (url == m_outputURL) return;
  m_outputURL = std::move(url);
  emit outputURLChanged();
}

void ImageItem::setCompressedSize(std::optional<qint64> size) {
  if (size == m_compressedSize) return;
  m_compressedSize = size;
  emit compressedSizeChanged();
}

void ImageItem::setStatus(ConversionStatus status) {
  if (status == m_status) return;
  m_status = std::move(status);
  emit statusChanged();
}

void ImageItem::setErrorMessage(std::optional<QString> message) {
  if (message == m_errorMessage) return;
  m_errorMessage = std::move(message);
  emit errorMessageChanged();
}

std::optional<double> ImageItem::compressionRatio() const {
  if (!m_compressedSize || m_originalSize <= 0) return std::nullopt;
  return 1.0 - static_cast<double>(*m_compressedSize) / static_cast<double>(m_originalSize);
}

std::optional<QString> ImageItem::compressionPercentText() const {
  const auto ratio = compressionRatio();
  if (!ratio) return std::nullopt;
  // printf's "%.0f" rounds half to even (12.5 -> 12), which the texts keep.
  if (*ratio >= 0) return formatPercent("-%.0f%%", *ratio * 100);
  return formatPercent("+%.0f%%", std::fabs(*ratio) * 100);
}

}  // namespace quorvane::core
