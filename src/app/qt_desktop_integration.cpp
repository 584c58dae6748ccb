#include "app/qt_desktop_integration.h"

#include <canberra.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

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

namespace {

QUrl urlOf(const std::filesystem::path& path) {
  return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path.native())));
}

}  // namespace

void QtDesktopIntegration::openFolder(const std::filesystem::path& folder) {
  if (QDesktopServices::openUrl(urlOf(folder))) return;
  // Nothing on this system opens folders: say where the outputs are.
  QMessageBox::warning(
      m_window, QCoreApplication::translate("DesktopIntegration", "Cannot Open the Folder"),
      QCoreApplication::translate("DesktopIntegration",
                                  "No program to show folders is set up on this system. The "
                                  "outputs are in:\n%1")
          .arg(QFile::decodeName(QByteArray::fromStdString(folder.native()))));
}

void QtDesktopIntegration::openFile(const std::filesystem::path& file) {
  if (QDesktopServices::openUrl(urlOf(file))) return;
  QMessageBox::warning(
      m_window, QCoreApplication::translate("DesktopIntegration", "Cannot Open the File"),
      QCoreApplication::translate("DesktopIntegration",
                                  "No program to open this file is set up on this system:\n%1")
          .arg(QFile::decodeName(QByteArray::fromStdString(file.native()))));
}

void QtDesktopIntegration::showInFileManager(const std::filesystem::path& file) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"),
      QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{urlOf(file).toString()} << QString();
  // Asynchronous: starting a file manager may take a moment.
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call));
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                   [this, folder = file.parent_path()](QDBusPendingCallWatcher* call) {
                     if (call->isError()) openFolder(folder);
                     call->deleteLater();
                   });
}

void QtDesktopIntegration::setTaskbarProgress(std::optional<double> progress) {
  QDBusMessage update = QDBusMessage::createSignal(
      QStringLiteral("/org/quorvane/Quorvane"), QStringLiteral("com.canonical.Unity.LauncherEntry"),
      QStringLiteral("Update"));
  QVariantMap properties;
  properties.insert(QStringLiteral("progress-visible"), progress.has_value());
  properties.insert(QStringLiteral("progress"), progress.value_or(0.0));
  update << QStringLiteral("application://%1.desktop").arg(QGuiApplication::desktopFileName())
         << properties;
  QDBusConnection::sessionBus().send(update);
}

void QtDesktopIntegration::notify(const QString& title, const QString& body) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName());
  call << QStringLiteral("Quorvane") << uint{0} << QGuiApplication::desktopFileName() << title
       << body << QStringList() << hints << int{-1};
  QDBusConnection::sessionBus().send(call);
}

bool QtDesktopIntegration::isApplicationActive() const {
  return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void QtDesktopIntegration::requestAttention() {
  if (m_window) QApplication::alert(m_window);
}

namespace {
// How long an announcement stands as the window's description.
constexpr int kAnnouncementMs = 3000;
}  // namespace

void QtDesktopIntegration::announce(const QString& text) {
  if (!m_window) return;
  m_window->setAccessibleDescription(text);
  // Said once, not left standing as what the window is about.
  QWidget* window = m_window.data();
  QTimer::singleShot(kAnnouncementMs, window, [window, text] {
    if (window->accessibleDescription() == text) window->setAccessibleDescription(QString());
  });
}

}  // namespace quorvane::gui
