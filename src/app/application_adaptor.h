// org.freedesktop.Application on the session bus, as the desktop and later
// launches of the program call it: Activate() raises the window, Open()
// also lists the files. ActivateAction() is left out: the program has no
// actions, and a caller gets the bus's "unknown method" error.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>
#include <QVariantMap>

namespace quorvane::gui {

class ApplicationAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

 public:
  static constexpr const char* kInterface = "org.freedesktop.Application";

  // Exported with `parent` when it is registered with ExportAdaptors.
  explicit ApplicationAdaptor(QObject* parent);

  // The interface's own method names and signatures: a{sv} and as, a{sv}.
 public slots:
  void Activate(const QVariantMap& platformData);
  void Open(const QStringList& uris, const QVariantMap& platformData);

 signals:
  // Either method; `uris` is empty for Activate().
  void openRequested(const QStringList& uris, const QVariantMap& platformData);
};

}  // namespace quorvane::gui
