// The application shell: the one controller, the update checker, the main
// window with its menus, and the preferences dialog.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSettings>
#include <memory>

#include "app/check_for_updates_view_model.h"
#include "app/qt_desktop_integration.h"
#include "viewmodels/conversion_view_model.h"
#include "views/settings_view.h"

class QAction;

namespace quorvane::gui {

class ContentView;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(core::ConversionViewModel& controller, CheckForUpdatesViewModel& updates,
             std::shared_ptr<QSettings> store);

  ContentView* content() const { return m_content; }
  QAction* settingsAction() const { return m_settingsAction; }
  QAction* checkForUpdatesAction() const { return m_checkForUpdates; }
  QAction* exportReportAction() const { return m_exportReport; }
  // The question closing asks while a batch runs; true: quit anyway.
  static bool confirmQuitDuringBatch(QWidget* parent);
  // Shows the preferences; does nothing while they are shown.
  void showSettings();
  SettingsView* settingsDialog() const { return m_settings; }
  // What a later launch or the desktop asks for: the window shown and in
  // front (restored when minimised), then `files` listed. `activationToken`
  // is the desktop's permission to take the focus, when it gave one.
  void openFromDesktop(const std::vector<std::filesystem::path>& files,
                       const QString& activationToken);

 protected:
  void showEvent(QShowEvent* event) override;
  // Asks before a running batch is cancelled by closing the window.
  void closeEvent(QCloseEvent* event) override;
  // Files dropped anywhere on the window are listed.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void buildMenus();
  void showAbout();

  core::ConversionViewModel& m_controller;
  CheckForUpdatesViewModel& m_updates;
  std::shared_ptr<QSettings> m_store;
  ContentView* m_content = nullptr;
  QAction* m_settingsAction = nullptr;
  QAction* m_checkForUpdates = nullptr;
  QAction* m_exportReport = nullptr;
  QPointer<SettingsView> m_settings;
};

}  // namespace quorvane::gui
