#include "views/spinner.h"

#include <QPainter>
#include <cmath>

#include "views/view_style.h"

namespace quorvane::gui {

namespace {
constexpr int kSpokes = 12;
}

Spinner::Spinner(QWidget* parent, int size) : QWidget(parent), m_size(size) {
  setFixedSize(size, size);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  m_timer.setInterval(80);
  connect(&m_timer, &QTimer::timeout, this, [this] {
    m_step = (m_step + 1) % kSpokes;
    update();
  });
}

void Spinner::setColor(std::optional<QColor> color) {
  m_color = color;
  update();
}

void Spinner::paintFrame(QPainter& painter, const QRectF& rect, const QColor& color, int step) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QPointF centre = rect.center();
  const double outer = std::min(rect.width(), rect.height()) / 2;
  const double inner = outer * 0.45;
  for (int i = 0; i < kSpokes; ++i) {
    const double angle = 2 * M_PI * i / kSpokes;
    QColor spoke = color;
    const int age = (step - i + kSpokes) % kSpokes;
    spoke.setAlphaF(static_cast<float>(color.alphaF() * (1.0 - 0.8 * age / kSpokes)));
    QPen pen(spoke, std::max(1.2, outer * 0.22));
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(centre + QPointF(inner * std::sin(angle), -inner * std::cos(angle)),
                     centre + QPointF(outer * 0.92 * std::sin(angle), -outer * 0.92 * std::cos(angle)));
  }
  painter.restore();
}

void Spinner::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintFrame(painter, rect(), m_color.value_or(palette().color(QPalette::WindowText)), m_step);
}

void Spinner::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  m_timer.start();
}

void Spinner::hideEvent(QHideEvent* event) {
  m_timer.stop();
  QWidget::hideEvent(event);
}

}  // namespace quorvane::gui
