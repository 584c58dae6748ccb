#include "cli/progress_printer.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "services/file_service.h"

namespace quorvane::cli {

using core::ConversionStatus;
using core::FileService::formatFileSize;

ProgressPrinter::ProgressPrinter(std::FILE* output, std::FILE* errors, bool progressBar, int total)
    : m_output(output), m_errors(errors), m_progressBar(progressBar), m_total(total) {
  drawBar();
}

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

void ProgressPrinter::itemFinished(const QString& name, const core::ImageItem& item) {
  ++m_done;
  clearBar();
  switch (item.status().kind) {
    case ConversionStatus::Kind::Completed: {
      ++m_totals.converted;
      m_totals.originalBytes += item.originalSize();
      m_totals.compressedBytes += item.compressedSize().value_or(0);
      const QString line =
          name + QStringLiteral(": ") + sizeChange(item.originalSize(), item.compressedSize().value_or(0));
      std::fprintf(m_output, "%s\n", line.toLocal8Bit().constData());
      std::fflush(m_output);
      break;
    }
    case ConversionStatus::Kind::Error:
      ++m_totals.failed;
      std::fprintf(m_errors, "quorvane: error: '%s': %s\n", name.toLocal8Bit().constData(),
                   item.status().message.toLocal8Bit().constData());
      break;
    default:
      ++m_totals.cancelled;
      break;
  }
  drawBar();
}

void ProgressPrinter::finish(bool interrupted) {
  clearBar();
  QString line = QString::asprintf("%d converted", m_totals.converted);
  if (m_totals.failed) line += QString::asprintf(", %d failed", m_totals.failed);
  const int cancelled = m_total - m_totals.converted - m_totals.failed;
  if (cancelled > 0) line += QString::asprintf(", %d cancelled", cancelled);
  if (m_totals.converted) {
    line += QStringLiteral(": ") + sizeChange(m_totals.originalBytes, m_totals.compressedBytes);
  }
  if (interrupted) line += QStringLiteral(" (interrupted)");
  std::fprintf(m_output, "%s\n", line.toLocal8Bit().constData());
  std::fflush(m_output);
}

void ProgressPrinter::clearBar() {
  if (!m_progressBar) return;
  std::fputs("\r\033[K", m_errors);
  std::fflush(m_errors);
}

void ProgressPrinter::drawBar() {
  if (!m_progressBar || m_total <= 0) return;
  constexpr int kWidth = 30;
  const int filled = m_done * kWidth / m_total;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kWidth - filled), '.');
  std::fprintf(m_errors, "\r[%s] %d/%d", bar.c_str(), m_done, m_total);
  std::fflush(m_errors);
}

}  // namespace quorvane::cli
