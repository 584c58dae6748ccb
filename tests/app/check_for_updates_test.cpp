// The update checker against a feed served from 127.0.0.1, and the box that
// tells the user the result.
#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <memory>

#include "app/check_for_updates_view_model.h"
#include "app/update_result_dialog.h"

namespace quorvane::gui {

namespace {

using Result = CheckForUpdatesViewModel::Result;
using Kind = Result::Kind;

// Answers every request with one canned HTTP response, or never answers.
class FeedServer : public QObject {
 public:
  FeedServer() {
    connect(&m_server, &QTcpServer::newConnection, this, &FeedServer::accept);
    m_listening = m_server.listen(QHostAddress::LocalHost, 0);
  }

  bool isListening() const { return m_listening; }
  QUrl url() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/feed.json").arg(m_server.serverPort()));
  }
  void respond(int status, const QByteArray& body) {
    m_response =
        "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Not Found") +
        "\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) +
        "\r\nConnection: close\r\n\r\n" + body;
  }
  void stayQuiet() { m_response.clear(); }
  int requestCount() const { return m_requests.size(); }
  const QList<QByteArray>& requests() const { return m_requests; }

 private:
  void accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
      socket->setParent(this);
      auto buffer = std::make_shared<QByteArray>();
      connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
        buffer->append(socket->readAll());
        if (!buffer->contains("\r\n\r\n")) return;
        m_requests.append(*buffer);
        buffer->clear();
        if (m_response.isEmpty()) return;
        socket->write(m_response);
        socket->disconnectFromHost();
      });
    }
  }

  QTcpServer m_server;
  bool m_listening = false;
  QByteArray m_response;
  QList<QByteArray> m_requests;
};

// Stands in for the browser.
class UrlCatcher : public QObject {
  Q_OBJECT
 public slots:
  void open(const QUrl& url) { opened.append(url); }

 public:
  QList<QUrl> opened;
};

QByteArray feed(const char* version) {
  return QByteArray(R"({"version": ")") + version +
         R"(", "url": "https://example.org/quorvane/download", "notes": "Smaller PNGs."})";
}

// Starts one check and waits for its result.
Result checkOnce(CheckForUpdatesViewModel& model) {
  QSignalSpy finished(&model, &CheckForUpdatesViewModel::checkFinished);
  if (!QTest::qWaitFor([&] { return model.canCheckForUpdates(); })) return {};
  model.checkForUpdates();
  if (!finished.wait(10000) || finished.count() != 1) return {};
  return finished.takeFirst().at(0).value<Result>();
}

}  // namespace

class CheckForUpdatesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QCoreApplication::setApplicationVersion(QStringLiteral("1.9.0")); }

  void testNoFeedAddressNeverAllowsCheck_data();
  void testNoFeedAddressNeverAllowsCheck();
  void testCanCheckOnceStarted();
  void testEvaluateFeed_data();
  void testEvaluateFeed();
  void testNewerFeedOffersUpdate();
  void testMissingFeedOrClosedPortFails();
  void testSilentServerTimesOut();
  void testCannotCheckWhileCheckRuns();
  void testDownloadOpensUrlAndFailureBoxNamesReason();
};

void CheckForUpdatesTest::testNoFeedAddressNeverAllowsCheck_data() {
  QTest::addColumn<QUrl>("feedUrl");
  QTest::newRow("empty") << QUrl();
  QTest::newRow("not a web address") << QUrl(QStringLiteral("ftp://example.org/feed.json"));
  QTest::newRow("no host") << QUrl(QStringLiteral("https:feed.json"));
}

void CheckForUpdatesTest::testNoFeedAddressNeverAllowsCheck() {
  QFETCH(QUrl, feedUrl);
  CheckForUpdatesViewModel model(feedUrl);
  QSignalSpy changes(&model, &CheckForUpdatesViewModel::canCheckForUpdatesChanged);
  QSignalSpy finished(&model, &CheckForUpdatesViewModel::checkFinished);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  QVERIFY(!model.canCheckForUpdates());
  model.checkForUpdates();
  QCoreApplication::processEvents();
  QCOMPARE(changes.count(), 0);
  QCOMPARE(finished.count(), 0);
}

void CheckForUpdatesTest::testCanCheckOnceStarted() {
  CheckForUpdatesViewModel model(QUrl(QStringLiteral("https://example.org/feed.json")));
  // Before the checker has started, the menu entry is off.
  QVERIFY(!model.canCheckForUpdates());
  QSignalSpy changes(&model, &CheckForUpdatesViewModel::canCheckForUpdatesChanged);
  QVERIFY(changes.wait(5000));
  QCOMPARE(changes.count(), 1);
  QCOMPARE(changes.at(0).at(0).toBool(), true);
  QVERIFY(model.canCheckForUpdates());
}

void CheckForUpdatesTest::testEvaluateFeed_data() {
  QTest::addColumn<QByteArray>("body");
  QTest::addColumn<QString>("running");
  QTest::addColumn<Kind>("kind");

  QTest::newRow("newer by number, not by text")
      << feed("1.10.0") << "1.9.0" << Kind::UpdateAvailable;
  QTest::newRow("older by number, newer by text") << feed("1.9.0") << "1.10.0" << Kind::UpToDate;
  QTest::newRow("same") << feed("1.9.0") << "1.9.0" << Kind::UpToDate;
  QTest::newRow("missing components are zero") << feed("1.9") << "1.9.0" << Kind::UpToDate;
  QTest::newRow("one more component") << feed("1.9.0.1") << "1.9" << Kind::UpdateAvailable;
  QTest::newRow("development build") << feed("0.2.0") << "0.2.0-dev" << Kind::UpToDate;
  QTest::newRow("not JSON") << QByteArray("<html>404</html>") << "1.0" << Kind::Failed;
  QTest::newRow("cut short") << feed("2.0").left(20) << "1.0" << Kind::Failed;
  QTest::newRow("array") << QByteArray(R"(["2.0"])") << "1.0" << Kind::Failed;
  QTest::newRow("version missing")
      << QByteArray(R"({"url": "https://x.org/"})") << "1.0" << Kind::Failed;
  QTest::newRow("version words") << QByteArray(R"({"version": "latest", "url": "https://x.org/"})")
                                 << "1.0" << Kind::Failed;
  QTest::newRow("newer without url")
      << QByteArray(R"({"version": "2.0"})") << "1.0" << Kind::Failed;
  QTest::newRow("newer with a local url")
      << QByteArray(R"({"version": "2.0", "url": "file:///tmp/evil"})") << "1.0" << Kind::Failed;
  QTest::newRow("running version unknown") << feed("2.0") << "" << Kind::Failed;
}

void CheckForUpdatesTest::testEvaluateFeed() {
  QFETCH(QByteArray, body);
  QFETCH(QString, running);
  QFETCH(Kind, kind);
  const Result result = CheckForUpdatesViewModel::evaluateFeed(body, running);
  QCOMPARE(result.kind, kind);
  if (kind == Kind::Failed) QVERIFY(!result.message.isEmpty());
}

void CheckForUpdatesTest::testNewerFeedOffersUpdate() {
  FeedServer server;
  QVERIFY(server.isListening());
  server.respond(200, feed("1.10.0"));
  CheckForUpdatesViewModel model(server.url());

  const Result result = checkOnce(model);
  QCOMPARE(result.kind, Kind::UpdateAvailable);
  QCOMPARE(result.version, QStringLiteral("1.10.0"));
  QCOMPARE(result.url, QUrl(QStringLiteral("https://example.org/quorvane/download")));
  QCOMPARE(result.message, QStringLiteral("Smaller PNGs."));
  QCOMPARE(server.requestCount(), 1);
  QVERIFY2(server.requests().first().startsWith("GET /feed.json "), server.requests().first());
  QVERIFY(!server.requests().first().toLower().contains("\r\ncookie:"));
}

void CheckForUpdatesTest::testMissingFeedOrClosedPortFails() {
  {
    FeedServer server;
    QVERIFY(server.isListening());
    // A 404 page that happens to be a valid newer feed is still no feed.
    server.respond(404, feed("9.0"));
    CheckForUpdatesViewModel model(server.url());
    const Result result = checkOnce(model);
    QCOMPARE(result.kind, Kind::Failed);
    QVERIFY(!result.message.isEmpty());
  }
  QUrl url;
  {
    FeedServer server;  // a port that was free a moment ago, closed again
    QVERIFY(server.isListening());
    url = server.url();
  }
  CheckForUpdatesViewModel model(url);
  const Result result = checkOnce(model);
  QCOMPARE(result.kind, Kind::Failed);
  QVERIFY(!result.message.isEmpty());
  QVERIFY(model.canCheckForUpdates());  // the user may try again
}

void CheckForUpdatesTest::testSilentServerTimesOut() {
  FeedServer server;
  QVERIFY(server.isListening());
  server.stayQuiet();
  CheckForUpdatesViewModel model(server.url());
  model.setTimeout(std::chrono::milliseconds(300));
  const Result result = checkOnce(model);
  QCOMPARE(result.kind, Kind::Failed);
  QCOMPARE(result.message, QStringLiteral("The update server did not answer in time."));
  QCOMPARE(server.requestCount(), 1);
  QVERIFY(model.canCheckForUpdates());
}

void CheckForUpdatesTest::testCannotCheckWhileCheckRuns() {
  FeedServer server;
  QVERIFY(server.isListening());
  server.respond(200, feed("2.0.0"));
  CheckForUpdatesViewModel model(server.url());
  QTRY_VERIFY(model.canCheckForUpdates());

  QSignalSpy changes(&model, &CheckForUpdatesViewModel::canCheckForUpdatesChanged);
  QSignalSpy finished(&model, &CheckForUpdatesViewModel::checkFinished);
  // Whoever hears the result finds the entry enabled again.
  bool enabledWhenFinished = false;
  connect(&model, &CheckForUpdatesViewModel::checkFinished, this,
          [&] { enabledWhenFinished = model.canCheckForUpdates(); });

  model.checkForUpdates();
  QVERIFY(!model.canCheckForUpdates());
  QCOMPARE(changes.count(), 1);
  QCOMPARE(changes.at(0).at(0).toBool(), false);
  model.checkForUpdates();  // ignored: one check at a time

  QVERIFY(finished.wait(10000));
  QCOMPARE(finished.count(), 1);
  QVERIFY(enabledWhenFinished);
  QCOMPARE(changes.count(), 2);
  QCOMPARE(changes.at(1).at(0).toBool(), true);
  QCOMPARE(server.requestCount(), 1);
}

void CheckForUpdatesTest::testDownloadOpensUrlAndFailureBoxNamesReason() {
  UrlCatcher browser;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
  Result result;
  result.kind = Kind::UpdateAvailable;
  result.version = QStringLiteral("2.0.0");
  result.url = QUrl(QStringLiteral("https://example.org/quorvane/download"));
  QPointer<QMessageBox> box = showUpdateResult(nullptr, result);
  QVERIFY(box);
  QCOMPARE(box->text(), QStringLiteral("Quorvane 2.0.0 is available."));
  auto* download = box->findChild<QAbstractButton*>(QStringLiteral("downloadButton"));
  QVERIFY(download);
  download->click();
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  QCOMPARE(browser.opened, QList<QUrl>{result.url});
  // The box went away with the click.
  QTRY_VERIFY(box.isNull());

  Result failed;
  failed.kind = Kind::Failed;
  failed.message = QStringLiteral("Connection refused");
  box = showUpdateResult(nullptr, failed);
  QCOMPARE(box->text(), QStringLiteral("Could not check for updates: Connection refused"));
  QVERIFY(!box->findChild<QAbstractButton*>(QStringLiteral("downloadButton")));
  box->close();
  QTRY_VERIFY(box.isNull());
}

}  // namespace quorvane::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quorvane::gui::CheckForUpdatesTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "check_for_updates_test.moc"
