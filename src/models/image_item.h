// One input image in the list: what intake measured when it was found, and
// what the last batch did with it. A value: the controller owns the list,
// changes items only on the GUI thread and tells its observers which rows
// changed; workers only ever get a copy of the path.
#pragma once

#include <QString>
#include <QUuid>
#include <filesystem>
#include <optional>

#include "models/conversion_status.h"
#include "models/output_format.h"

namespace quorvane::core {

// What intake measures of a file, off the GUI thread: its size, and its
// pixel size from the image header only (0 x 0 when it cannot be read).
struct ImageFacts {
  std::filesystem::path url;
  qint64 originalSize = 0;
  int pixelWidth = 0;
  int pixelHeight = 0;
  // The folder of the url relative to the dropped folder it was found in;
  // empty for a file dropped on its own (or found at that folder's top).
  std::filesystem::path relativeFolder{};
  // The dropped folder it was found in; empty for a file dropped on its own.
  std::filesystem::path root{};
};

class ImageItem {
 public:
  // A new item (a fresh id), waiting.
  explicit ImageItem(ImageFacts facts);

  const QUuid& id() const { return m_id; }
  const std::filesystem::path& url() const { return m_facts.url; }
  qint64 originalSize() const { return m_facts.originalSize; }
  int pixelWidth() const { return m_facts.pixelWidth; }
  int pixelHeight() const { return m_facts.pixelHeight; }
  const std::filesystem::path& relativeFolder() const { return m_facts.relativeFolder; }
  const std::filesystem::path& root() const { return m_facts.root; }
  // Lower-cased extension of the file name ("png"); empty without a dot.
  const QString& inputFormat() const { return m_inputFormat; }
  // The file name as text for display (undecodable bytes become U+FFFD).
  QString fileName() const;

  const std::optional<std::filesystem::path>& outputURL() const { return m_outputURL; }
  const std::optional<qint64>& compressedSize() const { return m_compressedSize; }
  const ConversionStatus& status() const { return m_status; }
  const std::optional<QString>& errorMessage() const { return m_errorMessage; }
  // The format of the batch the item last ran in (set when it is scheduled).
  // For Auto, the format it chose, and none until then.
  const std::optional<OutputFormat>& batchFormat() const { return m_batchFormat; }
  bool batchAuto() const { return m_batchAuto; }
  // What else the last conversion has to say ("colour profile converted");
  // how long it took.
  const QString& note() const { return m_note; }
  qint64 durationMs() const { return m_durationMs; }
  // How alike the output looks to its input, 100 the same (see
  // QualityVerdict); absent when not measured.
  const std::optional<double>& score() const { return m_score; }
  // How much higher than the batch's quality it converts next (for a
  // "higher quality" retry of one image).
  int qualityBoost() const { return m_qualityBoost; }
  // The quality the user chose for this image alone (0..100), which its
  // conversions use instead of the batch's; absent: the batch's.
  const std::optional<int>& chosenQuality() const { return m_chosenQuality; }

  // Each setter says whether the value really changed.
  bool setOutputURL(std::optional<std::filesystem::path> url);
  bool setCompressedSize(std::optional<qint64> size);
  bool setStatus(ConversionStatus status);
  bool setErrorMessage(std::optional<QString> message);
  bool setBatchFormat(std::optional<OutputFormat> format);
  bool setBatchAuto(bool isAuto);
  bool setNote(QString note);
  bool setDurationMs(qint64 ms);
  bool setScore(std::optional<double> score);
  bool setQualityBoost(int boost);
  bool setChosenQuality(std::optional<int> quality);
  // Forgets what the last conversion did (status, output, sizes, score,
  // note, failure, the batch's format): waiting again, as if never
  // converted. The quality boost and the chosen quality are requests, not
  // results: they stay.
  bool resetResult();

  // 1 - compressed / original: positive is a saving, negative a growth.
  // Absent without an output size or when the input size is 0 or less.
  std::optional<double> compressionRatio() const;
  // "-46%" for a saving (and "-0%" for none), "+30%" for a growth; absent
  // when the ratio is.
  std::optional<QString> compressionPercentText() const;

 private:
  QUuid m_id;
  ImageFacts m_facts;
  QString m_inputFormat;

  std::optional<std::filesystem::path> m_outputURL;
  std::optional<qint64> m_compressedSize;
  ConversionStatus m_status;
  std::optional<QString> m_errorMessage;
  std::optional<OutputFormat> m_batchFormat;
  bool m_batchAuto = false;
  QString m_note;
  qint64 m_durationMs = 0;
  std::optional<double> m_score;
  int m_qualityBoost = 0;
  std::optional<int> m_chosenQuality;
};

}  // namespace quorvane::core
