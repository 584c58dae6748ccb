// A small indeterminate progress spinner.
#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>
#include <optional>

namespace quorvane::gui {

class Spinner : public QWidget {
  Q_OBJECT

 public:
  explicit Spinner(QWidget* parent = nullptr, int size = 14);
  // Draws in this colour instead of the text colour.
  void setColor(std::optional<QColor> color);
  QSize sizeHint() const override { return {m_size, m_size}; }

  // Paints one frame (used by delegates that draw spinners in cells).
  static void paintFrame(QPainter& painter, const QRectF& rect, const QColor& color, int step);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QTimer m_timer;
  int m_step = 0;
  int m_size;
  std::optional<QColor> m_color;
};

}  // namespace quorvane::gui
