// The settings bar's "Change Folder" button: a menu to pick the output folder
// with the file dialog, to take one of the recent output folders again, or to
// go back to the default beside the first file. The menu is built each time
// it opens, so it lists only folders that are still there.
#pragma once

#include <QToolButton>

class QActionGroup;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class OutputFolderButton : public QToolButton {
  Q_OBJECT

 public:
  explicit OutputFolderButton(core::ConversionViewModel& controller, QWidget* parent = nullptr);

 private:
  void fillMenu();

  core::ConversionViewModel& m_controller;
  QActionGroup* m_choices = nullptr;  // the folder entries, made anew with them
};

}  // namespace quorvane::gui
