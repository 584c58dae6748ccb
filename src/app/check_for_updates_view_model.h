// Checks a release feed for a newer version of Quorvane, on the user's
// request. Behind the "Check for Updates…" menu entry.
//
// The feed is a small JSON document served over HTTP(S), its address fixed at
// build time (QUORVANE_UPDATE_FEED_URL):
//
//   {
//     "version": "1.2.0",                            (required) dot-separated numbers
//     "url": "https://example.org/quorvane/download",  (required when newer) http(s)
//     "notes": "Faster PNG output."                  (optional) shown to the user
//   }
//
// Versions compare component by component as numbers, missing components
// counting as 0 ("1.2" equals "1.2.0", "1.10" is newer than "1.9"); a suffix
// after "-" or "+" ("0.2.0-beta") is ignored.
#pragma once

#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVersionNumber>
#include <chrono>
#include <optional>

class QNetworkReply;
class QTimer;

namespace quorvane::gui {

// The version a text names ("1.2.0", "v1.2", "1.2.0-beta"), or nothing when
// it names none.
std::optional<QVersionNumber> parseVersion(const QString& text);

class CheckForUpdatesViewModel : public QObject {
  Q_OBJECT

 public:
  struct Result {
    enum class Kind { UpdateAvailable, UpToDate, Failed };
    Kind kind = Kind::Failed;
    QString version;  // the feed's version (UpdateAvailable, UpToDate)
    QUrl url;         // where to download it (UpdateAvailable)
    QString message;  // the feed's notes (UpdateAvailable) or what went wrong (Failed)
  };

  static constexpr std::chrono::milliseconds kDefaultTimeout{15000};

  // Starts the checker. canCheckForUpdates() is false until the event loop
  // first runs, then true when `feedUrl` is an http or https address; with
  // none (an empty URL) it stays false for good. Checks only on request.
  explicit CheckForUpdatesViewModel(QUrl feedUrl, QObject* parent = nullptr);
  ~CheckForUpdatesViewModel() override;

  // Whether checkForUpdates() would start a check now: false while one runs.
  bool canCheckForUpdates() const { return m_canCheckForUpdates; }

  // Fetches the feed and compares its version with
  // QCoreApplication::applicationVersion(); checkFinished() tells the outcome.
  // Does nothing while canCheckForUpdates() is false.
  void checkForUpdates();

  // How long a check may take, all of it, before it fails.
  void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

  // The result of a feed `body` for the running version `currentVersion`.
  static Result evaluateFeed(const QByteArray& body, const QString& currentVersion);

 signals:
  void canCheckForUpdatesChanged(bool canCheck);
  // Exactly once per check started.
  void checkFinished(const quorvane::gui::CheckForUpdatesViewModel::Result& result);

 private:
  void start();
  void setCanCheckForUpdates(bool canCheck);
  void replyFinished();
  void finishCheck(const Result& result);

  QUrl m_feedUrl;
  bool m_canCheckForUpdates = false;
  bool m_started = false;
  std::chrono::milliseconds m_timeout = kDefaultTimeout;
  QNetworkAccessManager m_network;
  QPointer<QNetworkReply> m_reply;  // set while a check runs
  QTimer* m_deadline = nullptr;
  bool m_timedOut = false;
  bool m_tooLarge = false;
};

}  // namespace quorvane::gui

Q_DECLARE_METATYPE(quorvane::gui::CheckForUpdatesViewModel::Result)
