// The desktop as the windowed application meets it: file manager, active
// state, attention requests.
#pragma once

#include <QPointer>
#include <QWidget>

#include "viewmodels/desktop_integration.h"

namespace quorvane::gui {

class QtDesktopIntegration final : public core::DesktopIntegration {
 public:
  void setMainWindow(QWidget* window) { m_window = window; }

  void openFolder(const std::filesystem::path& folder) override;
  bool isApplicationActive() const override;
  // TODO(#5): the "complete" sound event through libcanberra.
  void playCompletionSound() override {}
  void requestAttention() override;
  void announce(const QString& text) override;

 private:
  QPointer<QWidget> m_window;
};

}  // namespace quorvane::gui
