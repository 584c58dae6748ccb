// What quorvane-cli prints: a line per finished image, a progress bar on a
// terminal (nothing extra when output goes to a file or a pipe), and a
// closing summary. A reader that closes the pipe early only ends the
// printing, never the batch.
#pragma once

#include <QString>
#include <cstdio>
#include <filesystem>

#include "services/batch_runner.h"

namespace quorvane::cli {

struct BatchTotals {
  int converted = 0;
  int skipped = 0;  // not kept, or converted before
  int keptOriginal = 0;  // would have grown: the original stands
  int failed = 0;   // images and unreadable paths
  int cancelled = 0;
  qint64 originalBytes = 0;    // of converted images
  qint64 compressedBytes = 0;  // of their outputs
};

class ProgressPrinter {
 public:
  // `progressBar`: draw a bar on `errors` (a terminal) between item lines.
  // `verbose`: follow a failure with what the encoder tool said.
  ProgressPrinter(std::FILE* output, std::FILE* errors, bool progressBar, bool verbose = false);

  // A path named on the command line that cannot be read; counts as failed.
  void pathFailed(const QString& name, const QString& reason);
  // More images were found; the bar shows them, as still counting until
  // allListed().
  void addImages(int images);
  void allListed();
  // `name` is the input as shown; `input` its path, of `originalSize` bytes.
  void itemFinished(const QString& name, const std::filesystem::path& input, qint64 originalSize,
                    const core::ConversionOutcome& outcome);
  // A line about the batch, not about one image (a warning).
  void notice(const QString& text);
  void finish(bool interrupted);
  const BatchTotals& totals() const { return m_totals; }

  // "1.2 MB -> 345.6 kB (-71%)"
  static QString sizeChange(qint64 before, qint64 after);

 private:
  void print(std::FILE* stream, const QString& line);
  void clearBar();
  void drawBar();

  std::FILE* m_output;
  std::FILE* m_errors;
  bool m_progressBar;
  bool m_verbose;
  bool m_outputClosed = false;
  bool m_errorsClosed = false;
  int m_images = 0;
  bool m_counting = true;
  int m_done = 0;
  int m_failedImages = 0;
  BatchTotals m_totals;
};

}  // namespace quorvane::cli
