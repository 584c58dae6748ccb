// What the controller asks of the desktop, behind an interface so the core
// stays free of widget code and tests can watch the calls.
#pragma once

#include <QString>
#include <filesystem>

namespace quorvane::core {

class DesktopIntegration {
 public:
  virtual ~DesktopIntegration() = default;

  // Shows the folder in the user's file manager.
  virtual void openFolder(const std::filesystem::path& folder) = 0;
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
