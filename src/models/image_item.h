// One input image in the list: what was measured when it was added, and what
// the last batch did with it. Lives on the main thread; workers only ever get
// a copy of its path.
#pragma once

#include <QObject>
#include <QString>
#include <QUuid>
#include <filesystem>
#include <optional>

#include "models/conversion_status.h"

namespace quorvane::core {

class ImageItem : public QObject {
  Q_OBJECT

 public:
  // Measures the file at once: its size and, from the image header only, its
  // pixel size. Never fails: what cannot be read is recorded as 0.
  explicit ImageItem(std::filesystem::path path, QObject* parent = nullptr);

  const QUuid& id() const { return m_id; }
  const std::filesystem::path& url() const { return m_url; }
  qint64 originalSize() const { return m_originalSize; }
  int pixelWidth() const { return m_pixelWidth; }
  int pixelHeight() const { return m_pixelHeight; }
  // Lower-cased extension of the file name ("png"); empty without a dot.
  const QString& inputFormat() const { return m_inputFormat; }
  // The file name as text for display (undecodable bytes become U+FFFD).
  QString fileName() const;

  const std::optional<std::filesystem::path>& outputURL() const { return m_outputURL; }
  const std::optional<qint64>& compressedSize() const { return m_compressedSize; }
  const ConversionStatus& status() const { return m_status; }
  const std::optional<QString>& errorMessage() const { return m_errorMessage; }

  // Each setter notifies only when the value really changes.
  void setOutputURL(std::optional<std::filesystem::path> url);
  void setCompressedSize(std::optional<qint64> size);
  void setStatus(ConversionStatus status);
  void setErrorMessage(std::optional<QString> message);

  // 1 - compressed / original: positive is a saving, negative a growth.
  // Absent without an output size or when the input size is 0 or less.
  std::optional<double> compressionRatio() const;
  // "-46%" for a saving (and "-0%" for none), "+30%" for a growth; absent
  // when the ratio is.
  std::optional<QString> compressionPercentText() const;

 signals:
  void outputURLChanged();
  void compressedSizeChanged();
  void statusChanged();
  void errorMessageChanged();

 private:
  const QUuid m_id;
  const std::filesystem::path m_url;
  qint64 m_originalSize = 0;
  int m_pixelWidth = 0;
  int m_pixelHeight = 0;
  QString m_inputFormat;

  std::optional<std::filesystem::path> m_outputURL;
  std::optional<qint64> m_compressedSize;
  ConversionStatus m_status;
  std::optional<QString> m_errorMessage;
};

}  // namespace quorvane::core
