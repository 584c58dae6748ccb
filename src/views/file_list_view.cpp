#include "views/file_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

#include "viewmodels/conversion_view_model.h"
#include "views/file_list_model.h"
#include "views/file_row_delegate.h"

namespace quorvane::gui {

FileListView::FileListView(core::ConversionViewModel& controller, QWidget* parent)
    : QTableView(parent), m_controller(controller) {
  m_model = new FileListModel(controller, this);
  m_delegate = new FileRowDelegate(this);
  setModel(m_model);
  setItemDelegate(m_delegate);
  setAccessibleName(tr("Images"));

  setShowGrid(false);
  setWordWrap(false);
  setTextElideMode(Qt::ElideMiddle);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFrameShape(QFrame::NoFrame);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  // Fixed row heights let the view place 10,000 rows without measuring them.
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 14);

  QHeaderView* header = horizontalHeader();
  header->setHighlightSections(false);
  // Room between the window edge and the first column, in rows and header.
  header->setStyleSheet(
      QStringLiteral("QHeaderView::section { padding-left: 8px; padding-right: 8px; }"));
  header->setSectionsClickable(false);
  header->setSectionResizeMode(FileListModel::FileColumn, QHeaderView::Stretch);
  const std::pair<int, int> widths[] = {{FileListModel::ConversionColumn, 80},
                                        {FileListModel::SizeColumn, 180},
                                        {FileListModel::SavingColumn, 60},
                                        {FileListModel::StatusColumn, 70}};
  for (auto [column, width] : widths) {
    header->setSectionResizeMode(column, QHeaderView::Fixed);
    header->resizeSection(column, width);
  }

  m_spinnerTimer.setInterval(80);
  connect(&m_spinnerTimer, &QTimer::timeout, this, &FileListView::animateSpinners);
  connect(&controller, &core::ConversionViewModel::isConvertingChanged, this,
          [this](bool converting) {
            if (converting) {
              m_spinnerTimer.start();
            } else {
              m_spinnerTimer.stop();
            }
          });
}

void FileListView::animateSpinners() {
  m_spinnerStep = (m_spinnerStep + 1) % 12;
  m_delegate->setSpinnerStep(m_spinnerStep);
  // Only the status column of the visible rows is painted again.
  const int x = columnViewportPosition(FileListModel::StatusColumn);
  viewport()->update(QRect(x, 0, columnWidth(FileListModel::StatusColumn), viewport()->height()));
}

void FileListView::deleteRows(int row) {
  std::vector<QUuid> doomed;
  const QModelIndexList selected = selectionModel()->selectedRows();
  const bool rowSelected = std::any_of(selected.begin(), selected.end(),
                                       [row](const QModelIndex& i) { return i.row() == row; });
  const auto add = [&](int r) {
    if (const core::ImageItem* item = m_model->itemAt(r)) doomed.push_back(item->id());
  };
  if (rowSelected) {
    for (const QModelIndex& index : selected) add(index.row());
  } else {
    add(row);
  }
  // By id: each removal moves the rows after it.
  for (const QUuid& id : doomed) m_controller.removeItem(id);
}

void FileListView::contextMenuEvent(QContextMenuEvent* event) {
  const QModelIndex index = indexAt(event->pos());
  if (!index.isValid()) return;
  QMenu menu(this);
  const int row = index.row();
  menu.addAction(tr("Delete"), this, [this, row] { deleteRows(row); });
  menu.exec(event->globalPos());
}

void FileListView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) &&
      currentIndex().isValid()) {
    deleteRows(currentIndex().row());
    return;
  }
  QTableView::keyPressEvent(event);
}

}  // namespace quorvane::gui
