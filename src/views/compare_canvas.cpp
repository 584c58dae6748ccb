#include "views/compare_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace quorvane::gui {

namespace {

constexpr double kMinZoom = 0.02;
constexpr double kMaxZoom = 16.0;
constexpr int kSplitGrab = 6;    // pixels either side of the split line
constexpr int kPaneGap = 4;      // between the sides, side by side
constexpr double kPanStep = 48;  // screen pixels per arrow key

}  // namespace

CompareCanvas::CompareCanvas(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(240, 180);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  setAccessibleName(tr("Original and output"));
  setAccessibleDescription(
      tr("Arrow keys move the picture; plus and minus zoom; "
         "comma and period move the split line"));
}

void CompareCanvas::setOriginal(QImage image, QSize size, std::shared_ptr<const void> keep) {
  const QSize before = pictureSize();
  m_original = {std::move(image), std::move(keep)};
  m_originalSize = size;
  if (m_centre.isNull()) m_centre = QPointF(pictureSize().width(), pictureSize().height()) / 2;
  update();
  if (pictureSize() != before) emit zoomChanged();  // the fitted scale differs
}

void CompareCanvas::setOutput(QImage image, QSize size, std::shared_ptr<const void> keep) {
  const bool resized = size != m_outputSize;
  m_output = {std::move(image), std::move(keep)};
  m_outputSize = size;
  if (resized || m_centre.isNull()) {
    m_centre = QPointF(pictureSize().width(), pictureSize().height()) / 2;
  }
  update();
  if (resized) emit zoomChanged();
}

void CompareCanvas::setOverlay(QImage image, std::shared_ptr<const void> keep) {
  m_overlay = {std::move(image), std::move(keep)};
  update();
}

void CompareCanvas::setLayout(Layout layout) {
  if (m_layout == layout) return;
  m_layout = layout;
  clampCentre();
  update();
  emit zoomChanged();  // the fitted scale differs
}

void CompareCanvas::setZoom(std::optional<double> zoom) {
  if (zoom) zoom = std::clamp(*zoom, kMinZoom, kMaxZoom);
  if (m_zoom == zoom) return;
  m_zoom = zoom;
  clampCentre();
  update();
  emit zoomChanged();
}

void CompareCanvas::setSplit(double split) {
  m_split = std::clamp(split, 0.0, 1.0);
  update();
}

QSize CompareCanvas::pictureSize() const {
  return m_outputSize.isEmpty() ? m_originalSize : m_outputSize;
}

QRect CompareCanvas::pane(int index) const {
  if (m_layout == Layout::Split) return rect();
  const int half = (width() - kPaneGap) / 2;
  return index == 0 ? QRect(0, 0, half, height()) : QRect(width() - half, 0, half, height());
}

double CompareCanvas::fitScale() const {
  const QSize size = pictureSize();
  if (size.isEmpty()) return 1.0;
  const QRect area = pane(0);
  return std::min(1.0, std::min(static_cast<double>(area.width()) / size.width(),
                                static_cast<double>(area.height()) / size.height()));
}

double CompareCanvas::scale() const {
  return m_zoom.value_or(fitScale());
}

QRectF CompareCanvas::pictureRect(const QRect& area) const {
  const double s = scale();
  const QSizeF size = QSizeF(pictureSize()) * s;
  const QPointF topLeft = QPointF(area.center()) + QPointF(0.5, 0.5) - m_centre * s;
  return {topLeft, size};
}

void CompareCanvas::clampCentre() {
  // The centre stays on the picture; a picture smaller than its side stays
  // in the middle of it.
  const QSize size = pictureSize();
  const double s = scale();
  const QRect area = pane(0);
  const auto clampAxis = [s](double centre, int picture, int view) {
    const double half = view / (2.0 * s);
    if (picture <= 2 * half) return picture / 2.0;
    return std::clamp(centre, half, picture - half);
  };
  m_centre = QPointF(clampAxis(m_centre.x(), size.width(), area.width()),
                     clampAxis(m_centre.y(), size.height(), area.height()));
}

void CompareCanvas::zoomAbout(double zoom, QPointF anchor) {
  const QRect area = m_layout == Layout::Split || anchor.x() < pane(1).left() ? pane(0) : pane(1);
  const double before = scale();
  const QPointF picturePoint = m_centre + (anchor - QPointF(area.center())) / before;
  setZoom(zoom);
  const double after = scale();
  m_centre = picturePoint - (anchor - QPointF(area.center())) / after;
  clampCentre();
  update();
}

void CompareCanvas::panBy(QPointF screenDelta) {
  m_centre -= screenDelta / scale();
  clampCentre();
  update();
}

int CompareCanvas::splitX() const {
  return static_cast<int>(std::lround(m_split * width()));
}

bool CompareCanvas::nearSplit(QPointF pos) const {
  return m_layout == Layout::Split && std::abs(pos.x() - splitX()) <= kSplitGrab;
}

void CompareCanvas::drawPicture(QPainter& painter, const QRect& area, const QImage& image,
                                bool overlay) const {
  const QRectF target = pictureRect(area);
  if (!image.isNull()) painter.drawImage(target, image, QRectF(image.rect()));
  if (overlay && !m_overlay.image.isNull()) {
    painter.drawImage(target, m_overlay.image, QRectF(m_overlay.image.rect()));
  }
}

void CompareCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Smooth when shrinking; sharp pixels from 100 % up, to judge them.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, scale() < 1.0);
  const QPalette& pal = palette();
  const auto caption = [&](const QRect& area, const QString& text, bool right) {
    const QFontMetrics metrics(font());
    QRect box = metrics.boundingRect(text).adjusted(-6, -3, 6, 3);
    box.moveTop(area.top() + 8);
    if (right) {
      box.moveRight(area.right() - 8);
    } else {
      box.moveLeft(area.left() + 8);
    }
    painter.fillRect(box, pal.color(QPalette::Window));
    painter.setPen(pal.color(QPalette::WindowText));
    painter.drawText(box, Qt::AlignCenter, text);
  };
  if (m_layout == Layout::Split) {
    const int x = splitX();
    painter.save();
    painter.setClipRect(QRect(0, 0, x, height()));
    drawPicture(painter, rect(), m_original.image, false);
    painter.setClipRect(QRect(x, 0, width() - x, height()));
    drawPicture(painter, rect(), m_output.image, true);
    painter.restore();
    painter.setPen(QPen(pal.color(hasFocus() ? QPalette::Highlight : QPalette::WindowText), 2));
    painter.drawLine(x, 0, x, height());
    const QRect handle(x - 5, height() / 2 - 14, 10, 28);
    painter.fillRect(handle, pal.color(QPalette::Window));
    painter.drawRect(handle);
  } else {
    for (int i = 0; i < 2; ++i) {
      painter.save();
      painter.setClipRect(pane(i));
      drawPicture(painter, pane(i), i == 0 ? m_original.image : m_output.image, i == 1);
      painter.restore();
    }
    painter.fillRect(QRect(pane(0).right() + 1, 0, pane(1).left() - pane(0).right() - 1, height()),
                     pal.color(QPalette::Window));
  }
  caption(pane(0), tr("Original"), false);
  caption(m_layout == Layout::Split ? rect() : pane(1), tr("Output"), true);
  if (hasFocus()) {
    painter.setPen(QPen(pal.color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }
}

void CompareCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  m_drag = nearSplit(event->position()) ? Drag::Split : Drag::Pan;
  m_lastPos = event->position();
  setCursor(m_drag == Drag::Split ? Qt::SplitHCursor : Qt::ClosedHandCursor);
}

void CompareCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPointF pos = event->position();
  if (m_drag == Drag::Split) {
    setSplit(width() > 0 ? pos.x() / width() : 0.5);
  } else if (m_drag == Drag::Pan) {
    panBy(pos - m_lastPos);
  } else {
    setCursor(nearSplit(pos) ? Qt::SplitHCursor : Qt::OpenHandCursor);
  }
  m_lastPos = pos;
}

void CompareCanvas::mouseReleaseEvent(QMouseEvent* event) {
  m_drag = Drag::None;
  setCursor(nearSplit(event->position()) ? Qt::SplitHCursor : Qt::OpenHandCursor);
}

void CompareCanvas::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0) return;
  zoomAbout(scale() * std::pow(1.25, steps), event->position());
  event->accept();
}

void CompareCanvas::keyPressEvent(QKeyEvent* event) {
  const QPointF middle = QPointF(pane(0).center());
  switch (event->key()) {
    case Qt::Key_Left:
      return panBy({kPanStep, 0});
    case Qt::Key_Right:
      return panBy({-kPanStep, 0});
    case Qt::Key_Up:
      return panBy({0, kPanStep});
    case Qt::Key_Down:
      return panBy({0, -kPanStep});
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return zoomAbout(scale() * 1.25, middle);
    case Qt::Key_Minus:
      return zoomAbout(scale() / 1.25, middle);
    case Qt::Key_Comma:
      return setSplit(m_split - 0.05);
    case Qt::Key_Period:
      return setSplit(m_split + 0.05);
    default:
      QWidget::keyPressEvent(event);
  }
}

void CompareCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  clampCentre();
  if (!m_zoom) emit zoomChanged();
}

}  // namespace quorvane::gui
