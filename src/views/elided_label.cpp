#include "views/elided_label.h"

namespace quorvane::gui {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  setTextFormat(Qt::PlainText);
}

void ElidedLabel::setFullText(const QString& text) {
  if (text == m_fullText && !QLabel::text().isEmpty()) return;
  m_fullText = text;
  setToolTip(text);
  setAccessibleName(text);
  elide();
}

QSize ElidedLabel::minimumSizeHint() const {
  return {fontMetrics().horizontalAdvance(QStringLiteral("M…M")), QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  elide();
}

void ElidedLabel::elide() {
  setText(fontMetrics().elidedText(m_fullText, Qt::ElideMiddle, std::max(0, width())));
}

}  // namespace quorvane::gui
