#include "views/drop_area.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>

#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/view_style.h"

namespace quorvane::gui {

namespace {

bool carriesFiles(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return false;
  // text/uri-list may hold comment lines, which come back as URLs too.
  const QList<QUrl> urls = mime->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace

DropArea::DropArea(core::ConversionViewModel& controller, Look look, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_look(look) {
  setAcceptDrops(true);
}

void DropArea::setTargeted(bool targeted) {
  if (targeted == m_targeted) return;
  m_targeted = targeted;
  update();
  emit targetedChanged(targeted);
}

void DropArea::dragEnterEvent(QDragEnterEvent* event) {
  if (!carriesFiles(event->mimeData())) return;
  event->acceptProposedAction();
  setTargeted(true);
}

void DropArea::dragLeaveEvent(QDragLeaveEvent* event) {
  setTargeted(false);
  QWidget::dragLeaveEvent(event);
}

void DropArea::dropEvent(QDropEvent* event) {
  setTargeted(false);
  if (!carriesFiles(event->mimeData())) return;
  event->acceptProposedAction();
  for (const QUrl& url : event->mimeData()->urls()) {
    const auto path = core::FileService::localPathFromUrl(url);
    if (!path) continue;
    QMetaObject::invokeMethod(
        &m_controller, [controller = &m_controller, path = *path] { controller->addFiles({path}); },
        Qt::QueuedConnection);
  }
}

void DropArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPalette& pal = palette();
  if (m_targeted) {
    QColor fill = style::accent(pal);
    fill.setAlphaF(0.05f);
    painter.fillRect(rect(), fill);
  }
  QColor outline = m_targeted ? style::accent(pal) : style::secondary(pal);
  if (!m_targeted) outline.setAlphaF(static_cast<float>(outline.alphaF() * m_look.idleOpacity));
  // The stroke sits inside the outline, as a border drawn on a card would.
  const double half = m_look.penWidth / 2;
  const QRectF box = QRectF(rect()).adjusted(m_look.inset + half, m_look.inset + half,
                                             -m_look.inset - half, -m_look.inset - half);
  QPen pen(outline, m_look.penWidth);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  // Dash lengths are in units of the pen width.
  pen.setDashPattern({m_look.dash / m_look.penWidth, m_look.gap / m_look.penWidth});
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(box, m_look.radius, m_look.radius);
}

}  // namespace quorvane::gui
