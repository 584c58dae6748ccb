#include "views/summary_view.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <cmath>
#include <cstdio>

#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/icons.h"
#include "views/spinner.h"
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
  m_spinner = new Spinner(this, 12);
  m_converting = new QLabel(tr("Converting..."), this);
  m_converting->setFont(caption);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(12, 8, 12, 8);
  layout->addWidget(m_countIcon);
  layout->addWidget(m_count);
  layout->addWidget(m_divider);
  layout->addWidget(m_sizes);
  layout->addWidget(m_saving);
  layout->addStretch(1);
  layout->addWidget(m_spinner);
  layout->addWidget(m_converting);

  connect(&controller, &core::ConversionViewModel::totalsChanged, this, &SummaryView::refresh);
  connect(&controller, &core::ConversionViewModel::isConvertingChanged, this,
          &SummaryView::refresh);
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
  return m_sizes->isHidden() ? QString() : m_sizes->text();
}
bool SummaryView::showsProgress() const {
  return !m_converting->isHidden();
}

void SummaryView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && m_count) refresh();
  QWidget::changeEvent(event);
}

void SummaryView::refresh() {
  const QPalette& pal = palette();
  const QColor secondary = style::secondary(pal);
  m_countIcon->setPixmap(icons::document(secondary).pixmap(12, 12));
  m_count->setText(tr("%1/%2 files")
                       .arg(m_controller.completedCount())
                       .arg(static_cast<qlonglong>(m_controller.items().size())));
  style::setTextColor(m_count, secondary);

  const qint64 original = m_controller.totalOriginalSize();
  const qint64 compressed = m_controller.totalCompressedSize();
  const bool sizes = compressed > 0;
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
  m_spinner->setVisible(converting);
  m_converting->setVisible(converting);
  m_spinner->setColor(secondary);
  style::setTextColor(m_converting, secondary);
}

}  // namespace quorvane::gui
