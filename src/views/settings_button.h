// The gear button that opens the preferences, at the top right of the window.
#pragma once

#include <QToolButton>

namespace quorvane::gui {

class SettingsButton : public QToolButton {
  Q_OBJECT

 public:
  explicit SettingsButton(QWidget* parent = nullptr);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void updateIcon();
};

}  // namespace quorvane::gui
