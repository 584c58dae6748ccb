#include "app/quorvane_app.h"

#include "app/update_result_dialog.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>

#include "views/content_view.h"
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
  resize(700, 600);
}

void MainWindow::buildMenus() {
  QMenu* app = menuBar()->addMenu(tr("&Quorvane"));
  m_settingsAction = app->addAction(tr("Settings\u2026"), this, &MainWindow::showSettings);
  // The platform has no standard preferences key here: Ctrl+, as users expect.
  m_settingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
  m_settingsAction->setShortcutContext(Qt::ApplicationShortcut);
  app->addSeparator();
  QAction* quit = app->addAction(tr("&Quit"), qApp, &QApplication::closeAllWindows);
  quit->setShortcut(QKeySequence::Quit);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  m_checkForUpdates =
      help->addAction(tr("Check for Updates\u2026"), &m_updates, &CheckForUpdatesViewModel::checkForUpdates);
  m_checkForUpdates->setEnabled(m_updates.canCheckForUpdates());
  connect(&m_updates, &CheckForUpdatesViewModel::canCheckForUpdatesChanged, m_checkForUpdates,
          &QAction::setEnabled);
  connect(&m_updates, &CheckForUpdatesViewModel::checkFinished, this,
          [this](const CheckForUpdatesViewModel::Result& result) { showUpdateResult(this, result); });
  help->addSeparator();
  help->addAction(tr("About Quorvane"), this, &MainWindow::showAbout);
}

void MainWindow::showEvent(QShowEvent* event) {
  // Each time the window appears the saved settings are put back.
  m_controller.loadSavedSettings();
  QMainWindow::showEvent(event);
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
                     tr("<h3>Quorvane %1</h3><p>Makes image files smaller: WebP, JPEG, PNG, HEIC "
                        "and AVIF, several at a time.</p>")
                         .arg(QApplication::applicationVersion()));
}

}  // namespace quorvane::gui
