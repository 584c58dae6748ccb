#include "views/filled_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include "views/view_style.h"

namespace quorvane::gui {

FilledButton::FilledButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  setAutoDefault(false);
  setAttribute(Qt::WA_Hover);
}

void FilledButton::setColors(const QColor& fill, const QColor& text) {
  m_fill = fill;
  m_text = text;
  update();
}

void FilledButton::setFilled(bool filled) {
  if (filled == m_filled) return;
  m_filled = filled;
  update();
}

QColor FilledButton::currentFill() const {
  if (isDown()) return m_fill.darker(115);
  // Lighter under the mouse, but never below the contrast of the text.
  if (underMouse()) return style::fillFor(m_text, m_fill.lighter(108));
  return m_fill;
}

void FilledButton::paintEvent(QPaintEvent* event) {
  if (!m_filled || !isEnabled() || !m_fill.isValid()) return QPushButton::paintEvent(event);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
  painter.setPen(QPen(m_fill.darker(125), 1));
  painter.setBrush(currentFill());
  painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  if (hasFocus()) {
    // A ring in the text's colour, inside the fill: as visible as the text.
    painter.setPen(QPen(m_text, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(area.adjusted(2.5, 2.5, -2.5, -2.5), 2, 2);
  }
  QStyleOptionButton option;
  initStyleOption(&option);
  option.palette.setColor(QPalette::ButtonText, m_text);
  option.state &= ~QStyle::State_HasFocus;  // the ring above is the focus
  style()->drawControl(QStyle::CE_PushButtonLabel, &option, &painter, this);
}

void FilledButton::keyPressEvent(QKeyEvent* event) {
  const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (m_takesReturn && isReturn && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    if (!event->isAutoRepeat()) click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

}  // namespace quorvane::gui
