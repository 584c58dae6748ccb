// The large drop target that fills the window while the list is empty, with
// a "Select Files" button and the settings button.
#pragma once

#include "views/drop_area.h"

class QLabel;
class QPushButton;

namespace quorvane::gui {

class SettingsButton;

class DropZoneView : public DropArea {
  Q_OBJECT

 public:
  explicit DropZoneView(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  // Opens the file dialog and adds the chosen files in one call.
  void selectFiles();
  QPushButton* selectFilesButton() const { return m_selectFiles; }

 signals:
  void settingsRequested();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void updateColors();

  SettingsButton* m_settings = nullptr;
  QLabel* m_symbol = nullptr;
  QLabel* m_title = nullptr;
  QLabel* m_or = nullptr;
  QPushButton* m_selectFiles = nullptr;
  QLabel* m_formats = nullptr;
};

}  // namespace quorvane::gui
