#include "views/file_list_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "models/quality_verdict.h"
#include "viewmodels/conversion_view_model.h"
#include "views/file_list_model.h"
#include "views/file_row_delegate.h"
#include "views/view_style.h"

namespace quorvane::gui {

FileListView::FileListView(core::ConversionViewModel& controller, QWidget* parent)
    : QTableView(parent), m_controller(controller) {
  m_model = new FileListModel(controller, this);
  m_sorted = new QSortFilterProxyModel(this);
  m_sorted->setSourceModel(m_model);
  m_sorted->setSortRole(FileListModel::SortRole);
  m_delegate = new FileRowDelegate(this);
  setModel(m_sorted);
  setItemDelegate(m_delegate);
  setAccessibleName(tr("Images"));
  QEvent paletteChange(QEvent::PaletteChange);
  changeEvent(&paletteChange);
  // One Tab stop: the arrows move between rows, Tab moves on to the buttons.
  setTabKeyNavigation(false);
  connect(this, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { openOutput(index.row()); });

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
  verticalHeader()->setDefaultSectionSize(FileRowDelegate::rowHeight(font()));

  QHeaderView* header = horizontalHeader();
  header->setHighlightSections(false);
  // Room between the window edge and the first column, in rows and header.
  header->setStyleSheet(
      QStringLiteral("QHeaderView::section { padding-left: 8px; padding-right: 8px; }"));
  // Sorted by a click on a heading; until then, in the order added.
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  header->setSortIndicator(-1, Qt::AscendingOrder);
  setSortingEnabled(true);
  header->setSectionResizeMode(FileListModel::FileColumn, QHeaderView::Stretch);
  // Each column as wide as its widest text in this language and font, so
  // nothing is cut short: the heading, or a sample of its content.
  const QFontMetrics caption(style::captionFont(font()));
  QFont boldCaption = style::captionFont(font());
  boldCaption.setBold(true);
  const QFontMetrics bold(boldCaption);  // verdicts from "visible" on are bold
  const auto fits = [&](int column, const QString& sample) {
    const QString heading = m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const int width =
        std::max(caption.horizontalAdvance(heading) + 24, bold.horizontalAdvance(sample) + 16);
    header->setSectionResizeMode(column, QHeaderView::Fixed);
    header->resizeSection(column, width);
  };
  fits(FileListModel::ConversionColumn, QStringLiteral("WEBP \u2192 WebP"));
  fits(FileListModel::SizeColumn, QStringLiteral("999.9 MB \u2192 999.9 MB"));
  fits(FileListModel::SavingColumn, QStringLiteral("+100%"));
  QString longestVerdict;
  for (auto verdict :
       {core::QualityVerdict::Identical, core::QualityVerdict::VeryClose,
        core::QualityVerdict::VisibleOnCloseLook, core::QualityVerdict::VisiblyChanged}) {
    const QString text = core::verdictText(verdict);
    if (bold.horizontalAdvance(text) > bold.horizontalAdvance(longestVerdict)) {
      longestVerdict = text;
    }
  }
  fits(FileListModel::QualityColumn, longestVerdict);
  fits(FileListModel::StatusColumn, tr("Waiting"));

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

const core::ImageItem* FileListView::itemAtViewRow(int row) const {
  return m_model->itemAt(m_sorted->mapToSource(m_sorted->index(row, 0)).row());
}

std::vector<QUuid> FileListView::chosenItems(int row) const {
  std::vector<QUuid> chosen;
  const QModelIndexList selected = selectionModel()->selectedRows();
  const bool rowSelected = std::any_of(selected.begin(), selected.end(),
                                       [row](const QModelIndex& i) { return i.row() == row; });
  const auto add = [&](int r) {
    if (const core::ImageItem* item = itemAtViewRow(r)) chosen.push_back(item->id());
  };
  if (rowSelected) {
    for (const QModelIndex& index : selected) add(index.row());
  } else {
    add(row);
  }
  return chosen;
}

void FileListView::deleteRows(int row) {
  // By id: each removal moves the rows after it.
  for (const QUuid& id : chosenItems(row)) m_controller.removeItem(id);
}

void FileListView::openOutput(int row) {
  const core::ImageItem* item = itemAtViewRow(row);
  if (item && item->outputURL()) m_controller.openOutput(item->id());
}

QMenu* FileListView::makeContextMenu(int row, QWidget* parent) {
  auto* menu = new QMenu(parent);
  const core::ImageItem* item = itemAtViewRow(row);
  const bool hasOutput = item && item->outputURL();
  const QUuid id = item ? item->id() : QUuid();
  QAction* open = menu->addAction(tr("&Open"), this, [this, row] { openOutput(row); });
  open->setEnabled(hasOutput);
  QAction* compare =
      menu->addAction(tr("Com&pare"), this, [this, id] { emit compareRequested(id); });
  compare->setShortcut(QKeySequence(Qt::Key_Space));
  compare->setEnabled(item && item->status().kind == core::ConversionStatus::Kind::Completed &&
                      hasOutput);
  QAction* show = menu->addAction(tr("Show in File &Manager"), this,
                                  [this, id] { m_controller.showOutputInFileManager(id); });
  show->setEnabled(hasOutput);
  menu->addSeparator();
  const bool idle = !m_controller.isConverting();
  QAction* again =
      menu->addAction(tr("Convert &All Again"), this, [this] { m_controller.convertAllAgain(); });
  again->setEnabled(idle && m_controller.hasItems());
  QAction* higher = menu->addAction(tr("Convert Again at &Higher Quality"), this,
                                    [this, id] { m_controller.convertAgainAtHigherQuality(id); });
  higher->setEnabled(idle && item && item->outputURL() && m_controller.settings().quality < 100);
  QAction* retry =
      menu->addAction(tr("&Retry Failed"), this, [this] { m_controller.startConversion(); });
  retry->setEnabled(idle && m_controller.failedCount() > 0);
  QAction* finished =
      menu->addAction(tr("Remove &Finished"), this, [this] { m_controller.removeFinished(); });
  finished->setEnabled(m_controller.completedCount() > 0);
  menu->addAction(tr("Remove From &List"), this, [this, row] { deleteRows(row); });
  return menu;
}

QUuid FileListView::comparableCurrentItem() const {
  const core::ImageItem* item =
      currentIndex().isValid() ? itemAtViewRow(currentIndex().row()) : nullptr;
  if (!item || !item->outputURL() ||
      item->status().kind != core::ConversionStatus::Kind::Completed) {
    return {};
  }
  return item->id();
}

void FileListView::contextMenuEvent(QContextMenuEvent* event) {
  QModelIndex index = indexAt(event->pos());
  // From the keyboard (the menu key): the current row.
  if (event->reason() == QContextMenuEvent::Keyboard) index = currentIndex();
  if (!index.isValid()) return;
  QMenu* menu = makeContextMenu(index.row(), this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->reason() == QContextMenuEvent::Keyboard
                  ? viewport()->mapToGlobal(visualRect(index).center())
                  : event->globalPos());
}

int FileListView::heightForRows(int rows) const {
  return horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize() +
         2 * frameWidth();
}

void FileListView::returnPressed(QKeyEvent* event) {
  event->accept();
  // A held-down key (one that closed a dialog) opens and starts nothing.
  if (event->isAutoRepeat()) return;
  const core::ImageItem* item =
      currentIndex().isValid() ? itemAtViewRow(currentIndex().row()) : nullptr;
  if (item && item->outputURL()) {
    m_controller.openOutput(item->id());
  } else {
    emit startRequested();
  }
}

void FileListView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() != QEvent::PaletteChange) return;
  // A selected row's text on the accent colour of the surroundings,
  // darkened (or lightened) until it reads. Setting it sends this event
  // again, which then finds nothing to change.
  const QPalette around = parentWidget() ? parentWidget()->palette() : QApplication::palette();
  QPalette adjusted = palette();
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    const QColor text = around.color(group, QPalette::HighlightedText);
    adjusted.setColor(group, QPalette::Highlight,
                      style::fillFor(text, around.color(group, QPalette::Highlight)));
  }
  if (adjusted != palette()) setPalette(adjusted);
}

void FileListView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  viewport()->update();
}

void FileListView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  viewport()->update();
}

void FileListView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  if (!hasFocus()) return;
  // The whole current row (or the list, without one) in the text colour:
  // seen on the window, on a selected row and on an unselected one.
  QRect ring = viewport()->rect();
  if (currentIndex().isValid()) {
    const QRect first = visualRect(currentIndex().siblingAtColumn(0));
    ring = QRect(0, first.top(), viewport()->width(), first.height());
  }
  QPainter painter(viewport());
  painter.setPen(QPen(palette().color(QPalette::Text), 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(ring).adjusted(1, 1, -1, -1));
}

void FileListView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    return returnPressed(event);
  }
  if (!currentIndex().isValid()) return QTableView::keyPressEvent(event);
  switch (event->key()) {
    case Qt::Key_Space:
      if (event->modifiers() == Qt::NoModifier) {
        if (const QUuid id = comparableCurrentItem(); !id.isNull()) emit compareRequested(id);
        return;
      }
      return QTableView::keyPressEvent(event);
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
      deleteRows(currentIndex().row());
      return;
    default:
      QTableView::keyPressEvent(event);
  }
}

}  // namespace quorvane::gui
