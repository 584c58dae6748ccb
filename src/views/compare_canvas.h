// The compare view's picture: an original and its output over one another
// with a movable split line, or side by side, at one zoom and position for
// both, with the difference map laid over the output when given.
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <memory>
#include <optional>

namespace quorvane::gui {

class CompareCanvas : public QWidget {
  Q_OBJECT

 public:
  enum class Layout { Split, SideBySide };

  explicit CompareCanvas(QWidget* parent = nullptr);

  // Each picture is shown at `size` (the file's own pixels), whatever its
  // pixels are (a reduced decode is stretched); `keep` holds what the
  // image's pixels belong to. Both sides take the output's size.
  void setOriginal(QImage image, QSize size, std::shared_ptr<const void> keep);
  void setOutput(QImage image, QSize size, std::shared_ptr<const void> keep);
  // Laid over the output; a null image shows none.
  void setOverlay(QImage image, std::shared_ptr<const void> keep);
  bool hasOverlay() const { return !m_overlay.image.isNull(); }
  // Whether each side has a picture to show.
  bool showsBoth() const { return !m_original.image.isNull() && !m_output.image.isNull(); }

  void setLayout(Layout layout);
  Layout layout() const { return m_layout; }
  // Absent: the whole picture fits. 1.0: one file pixel per screen pixel.
  void setZoom(std::optional<double> zoom);
  std::optional<double> zoom() const { return m_zoom; }
  // The scale the pictures are drawn at now.
  double scale() const;
  // Where the split line is, 0 (left) to 1 (right).
  void setSplit(double split);
  double split() const { return m_split; }
  // The picture's point shown in the middle of each side.
  QPointF centre() const { return m_centre; }

 signals:
  void zoomChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Side {
    QImage image;
    std::shared_ptr<const void> keep;
  };
  QSize pictureSize() const;
  // The area each side shows the picture in.
  QRect pane(int index) const;
  // Where the whole picture lies on screen in `area`.
  QRectF pictureRect(const QRect& area) const;
  double fitScale() const;
  // Zooms to `zoom`, keeping the picture point under `anchor` where it is.
  void zoomAbout(double zoom, QPointF anchor);
  void panBy(QPointF screenDelta);
  void clampCentre();
  int splitX() const;
  bool nearSplit(QPointF pos) const;
  void drawPicture(QPainter& painter, const QRect& area, const QImage& image, bool overlay) const;

  Side m_original;
  Side m_output;
  Side m_overlay;
  QSize m_originalSize;
  QSize m_outputSize;
  Layout m_layout = Layout::Split;
  std::optional<double> m_zoom;
  QPointF m_centre;
  double m_split = 0.5;
  enum class Drag { None, Pan, Split } m_drag = Drag::None;
  QPointF m_lastPos;
};

}  // namespace quorvane::gui
