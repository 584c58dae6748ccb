#include "app/qt_desktop_integration.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QUrl>
#include <canberra.h>

namespace quorvane::gui {

// A libcanberra context, made on first use (opening the sound system can
// take a moment, and most runs never need it).
struct QtDesktopIntegration::Sound {
  ca_context* context = nullptr;
  bool tried = false;
  ~Sound() {
    if (context) ca_context_destroy(context);
  }
};

QtDesktopIntegration::QtDesktopIntegration() : m_sound(std::make_unique<Sound>()) {}
QtDesktopIntegration::~QtDesktopIntegration() = default;

void QtDesktopIntegration::playCompletionSound() {
  if (!m_sound->tried) {
    m_sound->tried = true;
    if (ca_context_create(&m_sound->context) != CA_SUCCESS) m_sound->context = nullptr;
  }
  if (!m_sound->context) return;
  // Errors (no sound server, no theme) are not worth a message: the
  // attention request still shows the batch has ended.
  ca_context_play(m_sound->context, 0, CA_PROP_EVENT_ID, "complete", CA_PROP_EVENT_DESCRIPTION,
                  "Conversion finished", nullptr);
}

void QtDesktopIntegration::openFolder(const std::filesystem::path& folder) {
  QDesktopServices::openUrl(
      QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(folder.native()))));
}

bool QtDesktopIntegration::isApplicationActive() const {
  return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void QtDesktopIntegration::requestAttention() {
  if (m_window) QApplication::alert(m_window);
}

void QtDesktopIntegration::announce(const QString& text) {
  if (m_window) m_window->setAccessibleDescription(text);
}

}  // namespace quorvane::gui
