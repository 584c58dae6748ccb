#include "cli/progress_printer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <string>

#include "models/quality_verdict.h"
#include "services/escaped_text.h"
#include "services/file_service.h"

namespace quorvane::cli {

using core::FileService::formatFileSize;

ProgressPrinter::ProgressPrinter(std::FILE* output, std::FILE* errors, bool progressBar,
                                 bool verbose)
    : m_output(output), m_errors(errors), m_progressBar(progressBar), m_verbose(verbose) {}

QString ProgressPrinter::sizeChange(qint64 before, qint64 after) {
  QString text = formatFileSize(before) + QStringLiteral(" -> ") + formatFileSize(after);
  if (before > 0) {
    const double ratio = 1.0 - static_cast<double>(after) / static_cast<double>(before);
    // printf rounds halves to even, as the window's texts do.
    char percent[32];
    std::snprintf(percent, sizeof percent, ratio >= 0 ? " (-%.0f%%)" : " (+%.0f%%)",
                  std::fabs(ratio) * 100);
    text += QString::fromLatin1(percent);
  }
  return text;
}

void ProgressPrinter::print(std::FILE* stream, const QString& line) {
  bool& closed = stream == m_output ? m_outputClosed : m_errorsClosed;
  if (closed) return;
  // Names come escaped; this catches what else may hold a control character
  // (an encoder's words, a system message naming a file).
  const QByteArray bytes = core::escapedControls(line).toLocal8Bit();
  if (std::fprintf(stream, "%s\n", bytes.constData()) < 0 || std::fflush(stream) != 0) {
    // EPIPE: nobody reads any more. Other errors (a full disk behind a
    // redirection) end the printing the same way; the batch goes on.
    closed = true;
  }
}

void ProgressPrinter::pathFailed(const QString& name, const QString& reason) {
  ++m_totals.failed;
  print(m_errors, QStringLiteral("quorvane: error: '%1': %2").arg(name, reason));
}

void ProgressPrinter::addImages(int images) {
  m_images += images;
  clearBar();
  drawBar();
}

void ProgressPrinter::allListed() {
  m_counting = false;
  clearBar();
  drawBar();
}

void ProgressPrinter::itemFinished(const QString& name, const std::filesystem::path& input,
                                   qint64 originalSize, const core::ConversionOutcome& outcome) {
  using Kind = core::ConversionOutcome::Kind;
  ++m_done;
  clearBar();
  switch (outcome.kind) {
    case Kind::Completed: {
      ++m_totals.converted;
      m_totals.originalBytes += originalSize;
      m_totals.compressedBytes += outcome.size;
      // The output's name when it is not simply the input's with another
      // extension (a taken name became "-1", or custom naming).
      QString shown = name;
      if (outcome.output.stem() != input.stem()) {
        shown += QStringLiteral(" -> ") + core::escapedName(outcome.output.filename().native());
      }
      QString line = shown + QStringLiteral(": ") + sizeChange(originalSize, outcome.size);
      if (outcome.chosenFormat) {
        line += QStringLiteral(", %1 at quality %2")
                    .arg(core::displayName(*outcome.chosenFormat))
                    .arg(outcome.chosenQuality);
      }
      if (outcome.score) {
        line += QStringLiteral(", %1 (%2)")
                    .arg(core::verdictText(core::verdictFor(*outcome.score)))
                    .arg(*outcome.score, 0, 'f', 1);
      }
      if (!outcome.message.isEmpty()) line += QStringLiteral(" (") + outcome.message + u')';
      print(m_output, line);
      break;
    }
    case Kind::Skipped:
      ++m_totals.skipped;
      print(m_output, QStringLiteral("%1: %2").arg(name, outcome.message));
      break;
    case Kind::KeptOriginal:
      ++m_totals.keptOriginal;
      if (outcome.output == input) {
        print(m_output, QStringLiteral("%1: %2").arg(name, outcome.message));
      } else {
        print(m_output, QStringLiteral("%1: %2 -> %3")
                            .arg(name, outcome.message,
                                 core::FileService::displayPath(outcome.output.filename())));
      }
      break;
    case Kind::AlreadyConverted:
      ++m_totals.skipped;
      print(m_output, QStringLiteral("%1: already converted -> %2")
                          .arg(name, core::escapedName(outcome.output.filename().native())));
      break;
    case Kind::Failed:
      ++m_totals.failed;
      ++m_failedImages;
      print(m_errors, QStringLiteral("quorvane: error: '%1': %2").arg(name, outcome.message));
      if (m_verbose && !outcome.detail.isEmpty()) {
        for (const QString& line : outcome.detail.split(u'\n', Qt::SkipEmptyParts)) {
          print(m_errors, QStringLiteral("  ") + line);
        }
      }
      break;
    case Kind::Cancelled:
      ++m_totals.cancelled;
      break;
  }
  drawBar();
}

void ProgressPrinter::notice(const QString& text) {
  clearBar();
  print(m_errors, QStringLiteral("quorvane: warning: ") + text);
  drawBar();
}

void ProgressPrinter::finish(bool interrupted) {
  clearBar();
  // Images that never reached a conversion were cancelled too.
  m_totals.cancelled =
      m_images - m_totals.converted - m_totals.skipped - m_totals.keptOriginal - m_failedImages;
  QString line = QString::asprintf("%d converted", m_totals.converted);
  if (m_totals.keptOriginal) {
    line += QString::asprintf(", %d kept as %s", m_totals.keptOriginal,
                              m_totals.keptOriginal == 1 ? "the original" : "the originals");
  }
  if (m_totals.skipped) line += QString::asprintf(", %d skipped", m_totals.skipped);
  if (m_totals.failed) line += QString::asprintf(", %d failed", m_totals.failed);
  if (m_totals.cancelled > 0) line += QString::asprintf(", %d cancelled", m_totals.cancelled);
  if (m_totals.converted) {
    line += QStringLiteral(": ") + sizeChange(m_totals.originalBytes, m_totals.compressedBytes);
  }
  if (interrupted) line += QStringLiteral(" (interrupted)");
  print(m_output, line);
}

void ProgressPrinter::clearBar() {
  if (!m_progressBar || m_errorsClosed) return;
  std::fputs("\r\033[K", m_errors);
  std::fflush(m_errors);
}

void ProgressPrinter::drawBar() {
  if (!m_progressBar || m_errorsClosed || m_images <= 0) return;
  constexpr int kWidth = 30;
  const int filled = m_done * kWidth / m_images;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kWidth - filled), '.');
  std::fprintf(m_errors, "\r[%s] %d/%d%s", bar.c_str(), m_done, m_images, m_counting ? "+" : "");
  std::fflush(m_errors);
}

}  // namespace quorvane::cli
