#include "views/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <functional>

namespace quorvane::gui::icons {

namespace {

using Drawing = std::function<void(QPainter&, const QColor&)>;

// Draws on a 24 x 24 canvas, rendered at a few sizes for sharp results.
QIcon drawn(const QColor& color, const Drawing& draw) {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 96}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 24.0, size / 24.0);
    draw(painter, color);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QIcon themed(const char* name, const QColor& color, const Drawing& draw) {
  // Our drawings are preferred for the status symbols, whose colour carries
  // meaning; themed icons only for the neutral ones.
  if (name) {
    const QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
    if (!icon.isNull()) return icon;
  }
  return drawn(color, draw);
}

QPen pen(const QColor& color, double width) {
  QPen p(color, width);
  p.setCapStyle(Qt::RoundCap);
  p.setJoinStyle(Qt::RoundJoin);
  return p;
}

}  // namespace

QIcon gear(const QColor& color) {
  return themed("preferences-system", color, [](QPainter& p, const QColor& c) {
    QPainterPath teeth;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 2; ++i) {
      const double angle = M_PI * i / kTeeth;
      const double radius = (i % 2 == 0) ? 10.5 : 8.0;
      const double spread = M_PI / kTeeth * 0.45;
      const QPointF a(12 + radius * std::cos(angle - spread), 12 + radius * std::sin(angle - spread));
      const QPointF b(12 + radius * std::cos(angle + spread), 12 + radius * std::sin(angle + spread));
      if (i == 0) teeth.moveTo(a); else teeth.lineTo(a);
      teeth.lineTo(b);
    }
    teeth.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(12, 12), 3.5, 3.5);
    p.fillPath(teeth.subtracted(hole), c);
  });
}

QIcon documents(const QColor& color) {
  return themed(nullptr, color, [](QPainter& p, const QColor& c) {
    p.setPen(pen(c, 1.6));
    p.drawRoundedRect(QRectF(4, 2.5, 12, 15), 2, 2);
    p.setBrush(Qt::NoBrush);
    QPainterPath back;
    back.moveTo(8, 21.5);
    back.lineTo(18, 21.5);
    back.quadTo(20, 21.5, 20, 19.5);
    back.lineTo(20, 7);
    p.drawPath(back);
  });
}

QIcon document(const QColor& color) {
  return themed(nullptr, color, [](QPainter& p, const QColor& c) {
    QPainterPath page;
    page.moveTo(6, 2.5);
    page.lineTo(14, 2.5);
    page.lineTo(19, 7.5);
    page.lineTo(19, 21.5);
    page.lineTo(6, 21.5);
    page.closeSubpath();
    p.fillPath(page, c);
  });
}

QIcon plusCircle(const QColor& color) {
  return themed(nullptr, color, [](QPainter& p, const QColor& c) {
    p.setPen(pen(c, 1.6));
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.drawLine(QPointF(12, 7.5), QPointF(12, 16.5));
    p.drawLine(QPointF(7.5, 12), QPointF(16.5, 12));
  });
}

QIcon checkmarkCircle(const QColor& color) {
  return drawn(color, [](QPainter& p, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setPen(pen(Qt::white, 2.4));
    QPainterPath tick;
    tick.moveTo(7.5, 12.5);
    tick.lineTo(10.5, 15.5);
    tick.lineTo(16.5, 8.5);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
  });
}

QIcon warningTriangle(const QColor& color) {
  return drawn(color, [](QPainter& p, const QColor& c) {
    QPainterPath triangle;
    triangle.moveTo(12, 2.5);
    triangle.lineTo(22, 20.5);
    triangle.lineTo(2, 20.5);
    triangle.closeSubpath();
    p.setPen(pen(c, 2));
    p.setBrush(c);
    p.drawPath(triangle);
    p.setPen(pen(Qt::white, 2.2));
    p.drawLine(QPointF(12, 8.5), QPointF(12, 13.5));
    p.drawPoint(QPointF(12, 17));
  });
}

QIcon refresh(const QColor& color) {
  return themed("view-refresh", color, [](QPainter& p, const QColor& c) {
    p.setPen(pen(c, 2));
    p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 300 * 16);
    QPainterPath head;
    head.moveTo(16, 2.5);
    head.lineTo(20.5, 6);
    head.lineTo(15, 8.5);
    p.drawPath(head);
  });
}

}  // namespace quorvane::gui::icons
