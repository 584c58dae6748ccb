// The settings bar's last row: where the next batch writes, the "Change
// Folder" menu and the Options menu.
#pragma once

#include <QWidget>

class QLabel;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class ElidedLabel;
class OptionsButton;
class OutputFolderButton;

class OutputFolderRow : public QWidget {
  Q_OBJECT

 public:
  explicit OutputFolderRow(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  ElidedLabel* outputPath() const { return m_outputPath; }
  OptionsButton* optionsButton() const { return m_options; }
  OutputFolderButton* outputFolderButton() const { return m_change; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void refresh();

  core::ConversionViewModel& m_controller;
  QLabel* m_title = nullptr;
  ElidedLabel* m_outputPath = nullptr;
  OptionsButton* m_options = nullptr;
  OutputFolderButton* m_change = nullptr;
};

}  // namespace quorvane::gui
