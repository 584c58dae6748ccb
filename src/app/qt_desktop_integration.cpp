#include "app/qt_desktop_integration.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace quorvane::gui {

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
