#include "app/quorvane_app.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "app/update_result_dialog.h"
#include "services/file_service.h"
#include "views/content_view.h"
#include "views/file_dialogs.h"
#include "views/settings_view.h"

namespace quorvane::gui {

MainWindow::MainWindow(core::ConversionViewModel& controller, CheckForUpdatesViewModel& updates,
                       std::shared_ptr<QSettings> store)
    : m_controller(controller), m_updates(updates), m_store(std::move(store)) {
  setWindowTitle(QStringLiteral("Quorvane"));
  m_content = new ContentView(controller, this);
  setCentralWidget(m_content);
  connect(m_content, &ContentView::settingsRequested, this, &MainWindow::showSettings);
  buildMenus();
  setAcceptDrops(true);
  // Eight rows of the list, as far as the screen's free area allows, or
  // the size it had when last closed.
  QSize size = m_content->sizeShowingRows(8).expandedTo(QSize(760, 0));
  size.rheight() += menuBar()->sizeHint().height();
  if (const QScreen* screen = this->screen()) {
    size = size.boundedTo(screen->availableGeometry().size() * 0.95);
  }
  resize(size);
  restoreGeometry(m_store->value(QStringLiteral("windowGeometry")).toByteArray());
}

bool MainWindow::confirmQuitDuringBatch(QWidget* parent) {
  QMessageBox box(QMessageBox::Question, tr("Quit Quorvane?"),
                  tr("A conversion is running. Quitting cancels it; the images converted so far "
                     "are kept."),
                  QMessageBox::NoButton, parent);
  QPushButton* quit = box.addButton(tr("Cancel and &Quit"), QMessageBox::DestructiveRole);
  QPushButton* keep = box.addButton(tr("&Keep Converting"), QMessageBox::RejectRole);
  box.setDefaultButton(keep);
  box.exec();
  return box.clickedButton() == quit;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (m_controller.isConverting() && !confirmQuitDuringBatch(this)) {
    event->ignore();
    return;
  }
  m_store->setValue(QStringLiteral("windowGeometry"), saveGeometry());
  m_controller.cancelConversion();
  QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
    event->acceptProposedAction();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::filesystem::path> dropped;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (auto path = core::FileService::localPathFromUrl(url)) dropped.push_back(*path);
  }
  if (dropped.empty()) return;
  event->acceptProposedAction();
  // Queued: the drop returns at once and the file manager never waits on us.
  QMetaObject::invokeMethod(
      &m_controller, [controller = &m_controller, dropped] { controller->addFiles(dropped); },
      Qt::QueuedConnection);
}

void MainWindow::buildMenus() {
  QMenu* app = menuBar()->addMenu(tr("&File"));
  QAction* addFiles = app->addAction(tr("Add &Files\u2026"), this,
                                     [this] { addFilesFromDialog(this, m_controller); });
  addFiles->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  QAction* addFolder = app->addAction(tr("Add F&older\u2026"), this,
                                      [this] { addFolderFromDialog(this, m_controller); });
  addFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  app->addSeparator();
  m_exportReport = app->addAction(tr("Export &Report\u2026"), this,
                                  [this] { exportReportFromDialog(this, m_controller); });
  const auto reportReady = [this] {
    m_exportReport->setEnabled(!m_controller.isConverting() && !m_controller.lastReport().empty());
  };
  connect(&m_controller, &core::ConversionViewModel::isConvertingChanged, this, reportReady);
  reportReady();
  app->addSeparator();
  m_settingsAction = app->addAction(tr("&Settings\u2026"), this, &MainWindow::showSettings);
  // The platform has no standard preferences key here: Ctrl+, as users expect.
  m_settingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
  m_settingsAction->setShortcutContext(Qt::ApplicationShortcut);
  app->addSeparator();
  QAction* quit = app->addAction(tr("&Quit"), this, &QWidget::close);
  quit->setShortcut(QKeySequence::Quit);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  m_checkForUpdates = help->addAction(tr("Check for Updates\u2026"), &m_updates,
                                      &CheckForUpdatesViewModel::checkForUpdates);
  m_checkForUpdates->setEnabled(m_updates.canCheckForUpdates());
  connect(&m_updates, &CheckForUpdatesViewModel::canCheckForUpdatesChanged, m_checkForUpdates,
          &QAction::setEnabled);
  connect(
      &m_updates, &CheckForUpdatesViewModel::checkFinished, this,
      [this](const CheckForUpdatesViewModel::Result& result) { showUpdateResult(this, result); });
  help->addSeparator();
  help->addAction(tr("About Quorvane"), this, &MainWindow::showAbout);
}

void MainWindow::showEvent(QShowEvent* event) {
  // Each time the window appears the saved settings are put back.
  m_controller.loadSavedSettings();
  QMainWindow::showEvent(event);
}

void MainWindow::openFromDesktop(const std::vector<std::filesystem::path>& files,
                                 const QString& activationToken) {
  // Wayland lets a window take the focus only with a token from the
  // launching side; Qt's Wayland plugin reads it from here when asked to
  // activate.
  if (!activationToken.isEmpty() && QGuiApplication::platformName().startsWith(u"wayland")) {
    qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
  }
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
  if (!files.empty()) m_controller.addFiles(files);
}

void MainWindow::showSettings() {
  if (m_settings) return;
  m_settings = new SettingsView(m_controller, m_store, this);
  m_settings->setAttribute(Qt::WA_DeleteOnClose);
  m_settings->setWindowModality(Qt::WindowModal);
  m_settings->show();
}

void MainWindow::showAbout() {
  QMessageBox::about(this, tr("About Quorvane"),
                     tr("<h3>Quorvane %1</h3><p>Makes image files smaller: WebP, JPEG, PNG, HEIC, "
                        "AVIF and JPEG XL, several at a time.</p>")
                         .arg(QApplication::applicationVersion()));
}

}  // namespace quorvane::gui
