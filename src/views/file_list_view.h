// The table of the main window: one row per listed image.
#pragma once

#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QUuid>
#include <vector>

class QMenu;

namespace quorvane::core {
class ConversionViewModel;
class ImageItem;
}  // namespace quorvane::core

namespace quorvane::gui {

class FileListModel;
class FileRowDelegate;

class FileListView : public QTableView {
  Q_OBJECT

 public:
  explicit FileListView(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  FileListModel* listModel() const { return m_model; }
  // What the view shows: the list in the order the user sorted it.
  QSortFilterProxyModel* sortedModel() const { return m_sorted; }
  // Removes the items of the selected rows (or of `row`, a row of the view,
  // when it is not selected) from the list.
  void deleteRows(int row);
  // The height that shows the header and `rows` whole rows.
  int heightForRows(int rows) const;
  // The context menu of `row` (a row of the view), for tests and keyboards.
  QMenu* makeContextMenu(int row, QWidget* parent);
  // The image of the current row when it has an output to compare; null
  // otherwise.
  QUuid comparableCurrentItem() const;

 signals:
  // Return on a row with no output to open (or with no row current): the
  // window's main button is meant.
  void startRequested();
  // Space on a row, or its menu's Compare: the compare view of that image.
  void compareRequested(const QUuid& id);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Draws a ring around the current row while the list has the focus.
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void animateSpinners();
  // The items of the selected rows, or of `row` when it is not selected.
  std::vector<QUuid> chosenItems(int row) const;
  const core::ImageItem* itemAtViewRow(int row) const;
  void openOutput(int row);
  void returnPressed(QKeyEvent* event);

  core::ConversionViewModel& m_controller;
  FileListModel* m_model = nullptr;
  QSortFilterProxyModel* m_sorted = nullptr;
  FileRowDelegate* m_delegate = nullptr;
  QTimer m_spinnerTimer;
  int m_spinnerStep = 0;
};

}  // namespace quorvane::gui
