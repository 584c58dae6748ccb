// The desktop as the windowed application meets it: file manager, active
// state, attention requests.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "viewmodels/desktop_integration.h"

namespace quorvane::gui {

class QtDesktopIntegration final : public core::DesktopIntegration {
 public:
  void setMainWindow(QWidget* window) { m_window = window; }

  QtDesktopIntegration();
  ~QtDesktopIntegration() override;
  QtDesktopIntegration(const QtDesktopIntegration&) = delete;
  QtDesktopIntegration& operator=(const QtDesktopIntegration&) = delete;

  void openFolder(const std::filesystem::path& folder) override;
  void openFile(const std::filesystem::path& file) override;
  // The file manager's own "show items" (org.freedesktop.FileManager1),
  // else its folder.
  void showInFileManager(const std::filesystem::path& file) override;
  // The Unity launcher API (com.canonical.Unity.LauncherEntry), which the
  // docks of KDE, GNOME and others read.
  void setTaskbarProgress(std::optional<double> progress) override;
  // org.freedesktop.Notifications; nothing when no notification server runs.
  void notify(const QString& title, const QString& body) override;
  bool isApplicationActive() const override;
  // The freedesktop sound event "complete"; silent without a sound server.
  void playCompletionSound() override;
  void requestAttention() override;
  void announce(const QString& text) override;

 private:
  QPointer<QWidget> m_window;
  struct Sound;
  std::unique_ptr<Sound> m_sound;
};

}  // namespace quorvane::gui
