// What the controller asks of the desktop, behind an interface so the core
// stays free of widget code and tests can watch the calls.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

namespace quorvane::core {

class DesktopIntegration {
 public:
  virtual ~DesktopIntegration() = default;

  // Shows the folder in the user's file manager.
  virtual void openFolder(const std::filesystem::path& folder) = 0;
  // Opens a file in the application the desktop chose for it.
  virtual void openFile(const std::filesystem::path&) {}
  // Shows a file selected in its folder in the file manager.
  virtual void showInFileManager(const std::filesystem::path&) {}
  // The batch's progress (0..1) on the task bar's launcher; absent hides it.
  virtual void setTaskbarProgress(std::optional<double>) {}
  // A desktop notification (a batch ended while the window was away).
  virtual void notify(const QString& /*title*/, const QString& /*body*/) {}
  // Whether the application is the active (frontmost) one.
  virtual bool isApplicationActive() const = 0;
  // The "complete" sound; silent when no sound system answers.
  virtual void playCompletionSound() = 0;
  // Asks the desktop to draw the user's attention to the window once.
  virtual void requestAttention() = 0;
  // A short spoken or displayed notice for assistive technology.
  virtual void announce(const QString& text) = 0;
};

// Does nothing: for front ends without a desktop (the command line).
class NoDesktopIntegration final : public DesktopIntegration {
 public:
  void openFolder(const std::filesystem::path&) override {}
  bool isApplicationActive() const override { return true; }
  void playCompletionSound() override {}
  void requestAttention() override {}
  void announce(const QString&) override {}
};

}  // namespace quorvane::core
