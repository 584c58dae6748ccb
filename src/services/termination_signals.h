// SIGINT, SIGTERM and SIGHUP as a Qt signal: the handler only writes to a
// pipe, the event loop does the rest (cancel the batch, clean up, quit).
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace quorvane::core {

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers; one instance per process.
  explicit TerminationSignals(QObject* parent = nullptr);

 signals:
  void received();

 private:
  std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace quorvane::core
