// A record of what a batch did with every image, for the user to keep or
// feed to a spreadsheet: CSV, or JSON when the file name ends in ".json".
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

#include "models/output_format.h"
#include "services/batch_runner.h"

namespace quorvane::core {

struct ReportRow {
  enum class Status { Converted, Skipped, AlreadyConverted, KeptOriginal, Failed, Cancelled };
  std::filesystem::path input;
  std::filesystem::path output;  // empty when nothing was written
  OutputFormat format = OutputFormat::Webp;
  int quality = 0;
  bool autoUnchosen = false;  // Auto, and no format was chosen
  bool sameUnchosen = false;  // Same as Original, and the image was not read
  bool lossless = false;      // the quality did not apply
  qint64 inputSize = 0;
  std::optional<qint64> outputSize;
  Status status = Status::Cancelled;
  QString reason;  // why skipped or failed; a note beside a converted one
  qint64 durationMs = 0;
  std::optional<double> score;  // perceptual, of a converted output
  std::optional<int> searchEncodes;  // trial encodes of Auto's or a size limit's search
  std::optional<bool> fits;          // with a size limit: the encoded file was no larger
};

// The row of one image of a batch run with `settings`.
ReportRow reportRowFor(const std::filesystem::path& input, qint64 inputSize,
                       const ConversionOutcome& outcome, const BatchSettings& settings);

// The status as written in a report: "converted", "skipped", …
QString reportStatusText(ReportRow::Status status);

// The report's text. Paths are their bytes, escaped as escapedName() does
// (a byte that is not UTF-8 reads "\xff").
QByteArray reportCsv(const std::vector<ReportRow>& rows);
QByteArray reportJson(const std::vector<ReportRow>& rows);

// Writes the report to `file`, a path of bytes (atomically: a reader, a
// crash or a full disk leaves the old file or the whole new one); the format
// follows the extension. Returns the system's reason when it failed.
std::optional<QString> writeReport(const std::filesystem::path& file,
                                   const std::vector<ReportRow>& rows);

}  // namespace quorvane::core
