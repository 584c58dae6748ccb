#include "views/content_view.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/compare_view.h"
#include "views/drop_zone_view.h"
#include "views/file_dialogs.h"
#include "views/file_list_view.h"
#include "views/filled_button.h"
#include "views/settings_bar.h"
#include "views/settings_button.h"
#include "views/settings_view.h"
#include "views/spinner.h"
#include "views/summary_view.h"
#include "views/view_style.h"

namespace quorvane::gui {

namespace {

QFrame* divider(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

ContentView::ContentView(core::ConversionViewModel& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller) {
  // No fixed minimum: the layout's, so no label or button is ever cut short.
  setMinimumHeight(420);
  m_pages = new QStackedWidget(this);
  m_dropZone = new DropZoneView(controller, m_pages);
  connect(m_dropZone, &DropZoneView::settingsRequested, this, &ContentView::settingsRequested);
  m_pages->addWidget(m_dropZone);
  m_listPage = makeListPage();
  m_pages->addWidget(m_listPage);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_pages);

  // Return presses the main button where it has the focus, and in the list
  // on a row with nothing to open (FileListView); nowhere else, so Return
  // in another control, or one left over from a dialog, starts nothing.
  // Escape cancels.
  connect(m_fileList, &FileListView::startRequested, this, [this] {
    if (m_start->isVisible() && m_start->isEnabled()) m_start->click();
  });
  auto* cancelKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(cancelKey, &QShortcut::activated, this, [this] {
    if (m_cancel->isVisible() && m_cancel->isEnabled()) m_cancel->click();
  });

  // The summary row and "Open in File Manager" follow the totals.
  using Controller = core::ConversionViewModel;
  connect(&controller, &Controller::totalsChanged, this, &ContentView::refresh);
  connect(&controller, &Controller::outputImagesSkipped, this, [this](int count) {
    showNotice(tr("Images in output folders, left out: %1").arg(count));
  });
  connect(&controller, &Controller::unreadableFound, this,
          [this](const std::vector<core::UnreadablePath>& paths) {
            //: %1 is how many, %2 the first of them, %3 why it could not be read
            showNotice(tr("Locations that could not be read: %1, such as %2 (%3)")
                           .arg(static_cast<qlonglong>(paths.size()))
                           .arg(core::FileService::displayPath(paths.front().path),
                                core::systemErrorText(paths.front().error)));
          });
  connect(&controller, &Controller::itemsCleared, this, [this] { showNotice({}); });
  connect(&controller, &Controller::isConvertingChanged, this, &ContentView::refresh);
  connect(&controller, &Controller::isCancellingChanged, this, &ContentView::refresh);
  connect(&controller, &Controller::outputFolderRefused, this, &ContentView::showFolderRefusal);
  styleButtons();
  refresh();
}

QSize ContentView::sizeShowingRows(int rows) const {
  QSize size = m_listPage->sizeHint();
  // The summary and a notice may show later: room for them too.
  for (QWidget* row : {m_summaryRow, static_cast<QWidget*>(m_notice)}) {
    if (row->isHidden()) size.rheight() += row->sizeHint().height();
  }
  size.rheight() += m_fileList->heightForRows(rows) - m_fileList->sizeHint().height();
  return size.expandedTo(m_dropZone->sizeHint());
}

QWidget* ContentView::makeListPage() {
  auto* page = new QWidget(m_pages);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* header = new QHBoxLayout;
  header->setContentsMargins(12, 8, 12, 0);
  header->addStretch(1);
  m_compare = new QPushButton(tr("Comp&are"), page);
  m_compare->setToolTip(tr("Original and output of the selected image side by side (Space)"));
  m_compare->setAccessibleName(tr("Compare the selected image"));
  m_compare->setAutoDefault(false);
  connect(m_compare, &QPushButton::clicked, this, [this] {
    if (const QUuid id = m_fileList->comparableCurrentItem(); !id.isNull()) openCompare(id);
  });
  header->addWidget(m_compare);
  auto* settings = new SettingsButton(page);
  connect(settings, &QToolButton::clicked, this, &ContentView::settingsRequested);
  header->addWidget(settings);
  layout->addLayout(header);

  m_settingsBar = new SettingsBar(m_controller, page);
  layout->addWidget(m_settingsBar);
  layout->addWidget(divider(page));
  m_fileList = new FileListView(m_controller, page);
  layout->addWidget(m_fileList, 1);
  connect(m_fileList, &FileListView::compareRequested, this, &ContentView::openCompare);
  connect(m_fileList->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &ContentView::refreshCompare);
  connect(&m_controller, &core::ConversionViewModel::itemChanged, this,
          &ContentView::refreshCompare);

  m_summaryRow = new QWidget(page);
  auto* summaryLayout = new QVBoxLayout(m_summaryRow);
  summaryLayout->setContentsMargins(0, 0, 0, 0);
  summaryLayout->setSpacing(0);
  summaryLayout->addWidget(divider(m_summaryRow));
  m_summary = new SummaryView(m_controller, m_summaryRow);
  summaryLayout->addWidget(m_summary);
  layout->addWidget(m_summaryRow);

  m_notice = new QLabel(page);
  m_notice->setWordWrap(true);
  m_notice->setContentsMargins(12, 4, 12, 4);
  m_notice->setFont(style::captionFont(font()));
  m_notice->hide();
  layout->addWidget(m_notice);

  layout->addWidget(divider(page));
  layout->addWidget(makeBottomBar());
  return page;
}

QWidget* ContentView::makeBottomBar() {
  auto* bar = new QWidget(m_listPage);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(12, 10, 12, 10);

  m_openFolder = new QPushButton(tr("Op&en in File Manager"), bar);
  connect(m_openFolder, &QPushButton::clicked, this, [this] { m_controller.openOutputFolder(); });
  layout->addWidget(m_openFolder);
  layout->addStretch(1);

  m_clear = new QPushButton(tr("C&lear"), bar);
  connect(m_clear, &QPushButton::clicked, this, [this] { m_controller.clearItems(); });
  layout->addWidget(m_clear);

  // The main button: one title at a time, both with the same mnemonic.
  m_start = new FilledButton(startTitle(), bar);
  m_start->setTakesReturn(true);
  connect(m_start, &QPushButton::clicked, this, &ContentView::start);
  layout->addWidget(m_start);

  // The cancel button keeps its width when its text changes.
  m_cancel = new FilledButton({}, bar);
  m_cancel->setMinimumWidth(110);
  auto* cancelLayout = new QHBoxLayout(m_cancel);
  cancelLayout->setContentsMargins(10, 0, 10, 0);
  cancelLayout->setSpacing(6);
  m_cancelSpinner = new Spinner(m_cancel, 12);
  m_cancelSpinner->setColor(QColor(Qt::white));
  m_cancelLabel = new QLabel(m_cancel);
  m_cancelLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
  // Inside a button a label would take the button's text colour.
  m_cancelLabel->setForegroundRole(QPalette::WindowText);
  cancelLayout->addStretch(1);
  cancelLayout->addWidget(m_cancelSpinner);
  cancelLayout->addWidget(m_cancelLabel);
  cancelLayout->addStretch(1);
  m_cancel->setTakesReturn(true);  // as the main button it replaces
  connect(m_cancel, &QPushButton::clicked, this, &ContentView::cancel);
  layout->addWidget(m_cancel);
  for (QPushButton* button : {m_openFolder, m_clear}) button->setAutoDefault(false);
  return bar;
}

QString ContentView::startTitle() {
  //: the main button while images wait; the same mnemonic as "&Convert All Again"
  return tr("Start &Conversion");
}

QString ContentView::convertAllAgainTitle() {
  //: the main button once every image is finished; the same mnemonic as "Start &Conversion"
  return tr("&Convert All Again");
}

void ContentView::start() {
  if (const auto refused = m_controller.startRefusal()) {
    showNotice(*refused);
    return;
  }
  m_controller.startOrConvertAllAgain();
}

void ContentView::showFolderRefusal(const QString& folder, const QString& reason) {
  auto* box = new QMessageBox(QMessageBox::Warning, tr("Output Folder Cannot Be Written"),
                              //: %1 the folder, %2 the system's reason, such as "Permission denied"
                              tr("Nothing was converted: %1 cannot be written to (%2).")
                                  .arg(abbreviatedHomePath(folder, QDir::homePath()), reason),
                              QMessageBox::NoButton, window());
  box->setInformativeText(
      tr("Choose another folder for the outputs, or make this one writable and start again."));
  QPushButton* choose = box->addButton(tr("C&hoose Another Folder\u2026"), QMessageBox::AcceptRole);
  box->addButton(QMessageBox::Cancel);
  box->setDefaultButton(choose);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->setObjectName(QStringLiteral("folderRefusal"));
  connect(box, &QMessageBox::buttonClicked, this, [this, choose](QAbstractButton* clicked) {
    if (clicked != choose) return;
    // Queued: the message closes first, then the folder dialog opens.
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (chooseOutputFolder(window(), m_controller)) m_controller.retryRefusedStart();
        },
        Qt::QueuedConnection);
  });
  box->open();
}

void ContentView::openCompare(const QUuid& id) {
  if (m_compareView || !core::compareSubjectFor(m_controller, id)) return;
  m_compareView = new CompareView(m_controller, id, window());
  m_compareView->setAttribute(Qt::WA_DeleteOnClose);
  m_compareView->setWindowModality(Qt::WindowModal);
  m_compareView->open();
}

CompareView* ContentView::compareView() const {
  return m_compareView.data();
}

void ContentView::refreshCompare() {
  m_compare->setEnabled(!m_fileList->comparableCurrentItem().isNull());
}

void ContentView::showNotice(const QString& text) {
  m_notice->setText(text);
  m_notice->setAccessibleName(text);
  m_notice->setVisible(!text.isEmpty());
}
void ContentView::cancel() {
  if (!m_controller.isCancelling()) m_controller.cancelConversion();
}

bool ContentView::showsList() const {
  return m_pages->currentWidget() == m_listPage;
}
bool ContentView::showsSummary() const {
  return !m_summaryRow->isHidden();
}
QString ContentView::cancelText() const {
  return m_cancelLabel->text();
}
QString ContentView::noticeText() const {
  return m_notice->isHidden() ? QString() : m_notice->text();
}

void ContentView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && m_cancelLabel) styleButtons();
  QWidget::changeEvent(event);
}

void ContentView::styleButtons() {
  const QPalette& pal = palette();
  // Filled buttons keep their colour, darkened as far as white (or the
  // highlighted text) needs to read on it.
  const QColor startText = pal.color(QPalette::HighlightedText);
  m_start->setColors(style::fillFor(startText, style::accent(pal)), startText);
  m_cancel->setColors(style::fillFor(Qt::white, style::red(pal)), Qt::white);
  style::setTextColor(m_cancelLabel, Qt::white);
}

void ContentView::refresh() {
  const bool hasItems = m_controller.hasItems();
  m_pages->setCurrentWidget(hasItems ? m_listPage : static_cast<QWidget*>(m_dropZone));
  const int completed = m_controller.completedCount();
  const bool converting = m_controller.isConverting();
  const bool cancelling = m_controller.isCancelling();
  // Shown from the start of a batch on, so nothing moves when the first
  // image ends.
  m_summaryRow->setVisible(converting || completed > 0 || m_controller.failedCount() > 0 ||
                           m_controller.skippedCount() > 0);
  m_openFolder->setEnabled(completed > 0);
  m_clear->setEnabled(!converting);
  const bool startHadFocus = m_start->hasFocus();
  const bool cancelHadFocus = m_cancel->hasFocus();
  m_start->setVisible(!converting);
  m_start->setEnabled(m_controller.canStartConversion());
  m_start->setText(m_controller.allFinished() ? convertAllAgainTitle() : startTitle());
  m_cancel->setVisible(converting);
  // Left enabled while cancelling (a second press does nothing): disabled,
  // it would hand its focus to the next control in line, the settings gear.
  m_cancelSpinner->setVisible(cancelling);
  m_cancelLabel->setText(cancelling ? tr("Cancelling\u2026") : tr("Cancel"));
  m_cancel->setAccessibleName(cancelling ? tr("Cancelling conversion") : tr("Cancel conversion"));
  refreshCompare();
  if (converting != m_wasConverting) keepFocus(converting, startHadFocus || cancelHadFocus);
  m_wasConverting = converting;
}

void ContentView::keepFocus(bool converting, bool onTheMainButton) {
  // The main button that had the focus gives way to the other one; so does
  // a setting the batch locked (its focus would go nowhere, or to the next
  // control in line).
  FilledButton* const next = converting ? m_cancel : m_start;
  const auto settle = [this, next, onTheMainButton] {
    const QWidget* focus = QApplication::focusWidget();
    const bool lost = !focus || !focus->isEnabled() || !focus->isVisible();
    if ((onTheMainButton || lost) && next->isVisible() && next->isEnabled()) {
      next->setFocus(Qt::OtherFocusReason);
    }
  };
  settle();
  // The settings lock for the batch in a slot of their own, maybe after
  // this one: look again once they have.
  QTimer::singleShot(0, this, [settle, converting, this] {
    if (m_controller.isConverting() == converting) settle();
  });
}

}  // namespace quorvane::gui
