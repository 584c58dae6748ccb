// A dashed, rounded drop target for files and folders. Every dropped local
// location reaches the controller's addFiles() in a call of its own, queued,
// so the drop itself returns at once and the file manager never waits on us.
#pragma once

#include <QWidget>

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class DropArea : public QWidget {
  Q_OBJECT

 public:
  struct Look {
    double inset = 0;       // from the widget's edges to the dashed outline
    double radius = 6;
    double penWidth = 1;
    double dash = 4;        // on and off lengths in pixels
    double gap = 3;
    double idleOpacity = 0.2;  // of the dimmed outline while nothing hovers
  };

  DropArea(core::ConversionViewModel& controller, Look look, QWidget* parent = nullptr);

  // True while a drag carrying files hovers over the area.
  bool isTargeted() const { return m_targeted; }

 signals:
  void targetedChanged(bool targeted);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

  core::ConversionViewModel& controller() { return m_controller; }

 private:
  void setTargeted(bool targeted);

  core::ConversionViewModel& m_controller;
  Look m_look;
  bool m_targeted = false;
};

}  // namespace quorvane::gui
