// One window per desktop session. The first launch takes the application's
// name on the session bus and answers org.freedesktop.Application under it;
// a later launch hands its files to that one and ends. Main thread only.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <chrono>
#include <filesystem>
#include <vector>

namespace quorvane::gui {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Role {
    // Owns the name: opens the window and takes later launches' files.
    Primary,
    // The running instance took the files: nothing more to do.
    HandedOver,
    // No session bus, or the name's owner did not answer: a window of its own.
    Alone,
  };

  // `serviceName` is the application's id, e.g. "org.quorvane.Quorvane";
  // the object path follows from it ("/org/quorvane/Quorvane").
  SingleInstance(QDBusConnection bus, QString serviceName, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Takes the name (Primary), or hands `files` (absolute paths, any bytes)
  // to the instance that has it, waiting at most `timeout` for its answer
  // (HandedOver). Launch details such as the desktop's activation token go
  // along in `platformData`. Call once.
  Role start(const std::vector<std::filesystem::path>& files, const QVariantMap& platformData = {},
             std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Gives the name up: later launches open their own window. Call when the
  // window has closed and the program is on its way out.
  void release();

  // The platform data a launch passes on: the activation token
  // (XDG_ACTIVATION_TOKEN) or startup id (DESKTOP_STARTUP_ID) it was given.
  static QVariantMap launchPlatformData();
  static QString objectPathFor(const QString& serviceName);

 signals:
  // A later launch (or the desktop) asks for the window in front, with
  // `files` to list (none for a plain activation); `activationToken` is the
  // token it was started with, or empty.
  void openRequested(const std::vector<std::filesystem::path>& files,
                     const QString& activationToken);

 private:
  void received(const QStringList& uris, const QVariantMap& platformData);

  QDBusConnection m_bus;
  QString m_serviceName;
  QString m_objectPath;
  bool m_registered = false;
};

}  // namespace quorvane::gui
