#include "models/image_item.h"

#include <QFile>
#include <cmath>
#include <cstdio>

#include "models/conversion_settings.h"

namespace quorvane::core {

namespace {

QString formatPercent(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return QString::fromLatin1(text);
}

template <typename T>
bool assign(T& field, T value) {
  if (field == value) return false;
  field = std::move(value);
  return true;
}

}  // namespace

ImageItem::ImageItem(ImageFacts facts) : m_id(QUuid::createUuid()), m_facts(std::move(facts)) {
  m_inputFormat = QFile::decodeName(QByteArray::fromStdString(lowerCaseExtension(m_facts.url)));
}

QString ImageItem::fileName() const {
  return QFile::decodeName(QByteArray::fromStdString(m_facts.url.filename().native()));
}

bool ImageItem::resetResult() {
  // Every field is reset, whichever changed.
  bool changed = setStatus(ConversionStatus::waiting());
  changed |= setOutputURL(std::nullopt);
  changed |= setCompressedSize(std::nullopt);
  changed |= setErrorMessage(std::nullopt);
  changed |= setBatchFormat(std::nullopt);
  changed |= setBatchAuto(false);
  changed |= setNote({});
  changed |= setDurationMs(0);
  changed |= setScore(std::nullopt);
  return changed;
}

bool ImageItem::setOutputURL(std::optional<std::filesystem::path> url) {
  return assign(m_outputURL, std::move(url));
}

bool ImageItem::setCompressedSize(std::optional<qint64> size) {
  return assign(m_compressedSize, size);
}

bool ImageItem::setStatus(ConversionStatus status) {
  return assign(m_status, std::move(status));
}

bool ImageItem::setErrorMessage(std::optional<QString> message) {
  return assign(m_errorMessage, std::move(message));
}

bool ImageItem::setBatchFormat(std::optional<OutputFormat> format) {
  return assign(m_batchFormat, format);
}

bool ImageItem::setBatchAuto(bool isAuto) {
  return assign(m_batchAuto, isAuto);
}

bool ImageItem::setNote(QString note) {
  return assign(m_note, std::move(note));
}

bool ImageItem::setDurationMs(qint64 ms) {
  return assign(m_durationMs, ms);
}

bool ImageItem::setScore(std::optional<double> score) {
  return assign(m_score, score);
}

bool ImageItem::setQualityBoost(int boost) {
  return assign(m_qualityBoost, boost);
}

bool ImageItem::setChosenQuality(std::optional<int> quality) {
  return assign(m_chosenQuality, quality);
}

std::optional<double> ImageItem::compressionRatio() const {
  if (!m_compressedSize || m_facts.originalSize <= 0) return std::nullopt;
  return 1.0 - static_cast<double>(*m_compressedSize) / static_cast<double>(m_facts.originalSize);
}

std::optional<QString> ImageItem::compressionPercentText() const {
  const auto ratio = compressionRatio();
  if (!ratio) return std::nullopt;
  // printf's "%.0f" rounds half to even (12.5 -> 12), which the texts keep.
  if (*ratio >= 0) return formatPercent("-%.0f%%", *ratio * 100);
  return formatPercent("+%.0f%%", std::fabs(*ratio) * 100);
}

}  // namespace quorvane::core
