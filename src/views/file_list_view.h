// The table of the main window: one row per listed image.
#pragma once

#include <QTableView>
#include <QTimer>

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class FileListModel;
class FileRowDelegate;

class FileListView : public QTableView {
  Q_OBJECT

 public:
  explicit FileListView(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  FileListModel* listModel() const { return m_model; }
  // Removes the items of the selected rows (or of `row` when it is not
  // selected) from the list.
  void deleteRows(int row);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void animateSpinners();

  core::ConversionViewModel& m_controller;
  FileListModel* m_model = nullptr;
  FileRowDelegate* m_delegate = nullptr;
  QTimer m_spinnerTimer;
  int m_spinnerStep = 0;
};

}  // namespace quorvane::gui
