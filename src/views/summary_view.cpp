#include "views/summary_view.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <cmath>
#include <cstdio>

#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/icons.h"
#include "views/view_style.h"

namespace quorvane::gui {

using core::FileService::formatFileSize;

namespace {

// Rich text wants opaque colours: blend a translucent one onto the background.
QString opaqueName(const QColor& color, const QColor& background) {
  const double a = color.alphaF();
  const auto mix = [a](int fg, int bg) {
    return static_cast<int>(std::lround(fg * a + bg * (1 - a)));
  };
  return QColor(mix(color.red(), background.red()), mix(color.green(), background.green()),
                mix(color.blue(), background.blue()))
      .name();
}

}  // namespace

SummaryView::SummaryView(core::ConversionViewModel& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::AlternateBase);
  const QFont caption = style::captionFont(font());
  m_countIcon = new QLabel(this);
  m_count = new QLabel(this);
  m_count->setFont(caption);
  m_divider = new QFrame(this);
  m_divider->setFrameShape(QFrame::VLine);
  m_divider->setFrameShadow(QFrame::Sunken);
  m_divider->setFixedHeight(16);
  m_sizes = new QLabel(this);
  m_sizes->setFont(caption);
  m_sizes->setTextFormat(Qt::RichText);
  m_saving = new QLabel(this);
  QFont medium = caption;
  medium.setWeight(QFont::Medium);
  m_saving->setFont(medium);
  m_progress = new QProgressBar(this);
  m_progress->setTextVisible(false);
  m_progress->setFixedWidth(140);
  m_progress->setAccessibleName(tr("Conversion progress"));
  m_timeLeft = new QLabel(this);
  m_timeLeft->setFont(caption);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(12, 8, 12, 8);
  layout->addWidget(m_countIcon);
  layout->addWidget(m_count);
  layout->addWidget(m_divider);
  layout->addWidget(m_sizes);
  layout->addWidget(m_saving);
  layout->addStretch(1);
  layout->addWidget(m_timeLeft);
  layout->addWidget(m_progress);

  connect(&controller, &core::ConversionViewModel::totalsChanged, this, &SummaryView::refresh);
  connect(&controller, &core::ConversionViewModel::isConvertingChanged, this,
          &SummaryView::refresh);
  connect(&controller, &core::ConversionViewModel::batchProgressChanged, this,
          &SummaryView::refresh);
  m_tick.setInterval(1000);
  connect(&m_tick, &QTimer::timeout, this, &SummaryView::refresh);
  refresh();
}

QString SummaryView::savingText(qint64 original, qint64 compressed) {
  const double saving =
      (1.0 - static_cast<double>(compressed) / static_cast<double>(original)) * 100;
  // U+2212 MINUS SIGN for a saving; a growth shows with a plus sign instead.
  // The C library's printf rounds halves to even (12.5 gives 12); Qt's own
  // asprintf would round them up.
  char text[32];
  std::snprintf(text, sizeof text, saving >= 0 ? "(\u2212%.0f%%)" : "(+%.0f%%)", std::fabs(saving));
  return QString::fromUtf8(text);
}

QString SummaryView::countText() const {
  return m_count->text();
}
QString SummaryView::sizesText() const {
  return m_sizes->text();  // hidden, it holds nothing
}
bool SummaryView::showsProgress() const {
  return !m_progress->isHidden();
}

QString SummaryView::timeLeftText(std::optional<qint64> msLeft) {
  if (!msLeft) return {};
  const double left = static_cast<double>(*msLeft) / 1000.0;
  if (left < 60) return tr("less than a minute left");
  // Under two minutes in steps of ten seconds: "about 1 min" would stand
  // for a minute and a half while the estimate still moves.
  if (left < 115) {
    return tr("about %n seconds left", nullptr, static_cast<int>(std::lround(left / 10)) * 10);
  }
  return tr("about %n min left", nullptr, static_cast<int>(std::lround(left / 60)));
}

void SummaryView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && m_count) refresh();
  QWidget::changeEvent(event);
}

void SummaryView::refresh() {
  const QPalette& pal = palette();
  const QColor secondary = style::secondary(pal);
  m_countIcon->setPixmap(icons::document(secondary).pixmap(12, 12));
  QString count = tr("%1 of %2 converted")
                      .arg(m_controller.completedCount())
                      .arg(static_cast<qlonglong>(m_controller.items().size()));
  if (m_controller.failedCount() > 0) {
    count += QStringLiteral(" \u00b7 ") + tr("%1 failed").arg(m_controller.failedCount());
  }
  if (m_controller.skippedCount() > 0) {
    //: images not kept (too little saving) or converted before
    count += QStringLiteral(" \u00b7 ") + tr("%1 skipped").arg(m_controller.skippedCount());
  }
  if (m_controller.keptOriginalCount() > 0) {
    //: images whose converted file would have been larger: the original was kept
    count += QStringLiteral(" \u00b7 ") +
             tr("%n original(s) kept", nullptr, m_controller.keptOriginalCount());
  }
  m_count->setText(count);
  style::setTextColor(m_count, secondary);

  // The converted files before and after: files not (yet) converted count
  // on neither side.
  const qint64 original = m_controller.convertedOriginalSize();
  const qint64 compressed = m_controller.totalCompressedSize();
  const bool sizes = compressed > 0;
  // Hidden labels keep no old text: screen readers may still read it.
  if (!sizes) m_sizes->clear();
  if (!sizes || original <= 0) m_saving->clear();
  m_divider->setVisible(sizes);
  m_sizes->setVisible(sizes);
  m_saving->setVisible(sizes && original > 0);
  if (sizes) {
    const QColor good = style::green(pal);
    m_sizes->setText(QStringLiteral("%1 <span style=\"color:%2\">\u2192</span> "
                                    "<span style=\"color:%3\">%4</span>")
                         .arg(formatFileSize(original).toHtmlEscaped(),
                              opaqueName(secondary, pal.color(QPalette::AlternateBase)),
                              good.name(), formatFileSize(compressed).toHtmlEscaped()));
    if (original > 0) {
      m_saving->setText(savingText(original, compressed));
      style::setTextColor(m_saving, compressed <= original ? good : style::red(pal));
    }
  }
  const bool converting = m_controller.isConverting();
  const core::ConversionViewModel::Progress progress = m_controller.batchProgress();
  m_progress->setVisible(converting);
  m_timeLeft->setVisible(converting);
  m_progress->setRange(0, std::max(1, progress.total));
  m_progress->setValue(progress.done);
  //: the batch's progress for screen readers, e.g. "3 of 20"
  m_progress->setAccessibleDescription(tr("%1 of %2").arg(progress.done).arg(progress.total));
  m_timeLeft->setText(converting && progress.done < progress.total ? timeLeftText(progress.msLeft)
                                                                   : QString());
  if (converting && !m_tick.isActive()) m_tick.start();
  if (!converting) m_tick.stop();
  style::setTextColor(m_timeLeft, secondary);
}

}  // namespace quorvane::gui
