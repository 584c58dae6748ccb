// One window per desktop session, on a private session bus of the test's
// own: a later launch of the real program hands its files to the window
// that is open and ends.
#include "app/single_instance.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/check_for_updates_view_model.h"
#include "app/quorvane_app.h"
#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "services/file_service.h"
#include "services/settings_store.h"
#include "viewmodels/conversion_view_model.h"

namespace fs = std::filesystem;

namespace quorvane::gui {

namespace {

void writeImage(const fs::path& path) {
  fs::create_directories(path.parent_path());
  codec::RgbaImage pixels(4, 3);
  std::fill(pixels.data(), pixels.data() + pixels.byteSize(), 90);
  QVERIFY(codec::writePng(pixels, path));
}

std::vector<fs::path> listedFiles(const core::ConversionViewModel& controller) {
  std::vector<fs::path> files;
  for (const auto& item : controller.items()) files.push_back(item.url());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void testALaterInstanceHandsOverEveryName();
  void testASecondLaunchAddsItsFilesToTheOpenWindowAndEnds();
  void testWithoutAnAnsweringOwnerALaunchRunsAlone();
  void testAReleasedNameGoesToTheNextLaunch();

 private:
  // A new connection to the private bus, disconnected at the end.
  QDBusConnection connect();

  QProcess m_daemon;
  QString m_address;
  QStringList m_connections;
  QTemporaryDir m_dir;
};

void SingleInstanceTest::initTestCase() {
  m_daemon.start(
      QStringLiteral("dbus-daemon"),
      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
  QVERIFY2(m_daemon.waitForStarted(10000), "dbus-daemon is missing: run scripts/setup.sh");
  QVERIFY(QTest::qWaitFor([this] { return m_daemon.canReadLine(); }, 10000));
  m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
  QVERIFY(!m_address.isEmpty());
}

void SingleInstanceTest::cleanupTestCase() {
  for (const QString& name : m_connections) QDBusConnection::disconnectFromBus(name);
  m_daemon.terminate();
  QVERIFY(m_daemon.waitForFinished(10000));
}

QDBusConnection SingleInstanceTest::connect() {
  const QString name = QStringLiteral("test-%1").arg(m_connections.size());
  m_connections << name;
  return QDBusConnection::connectToBus(m_address, name);
}

void SingleInstanceTest::testALaterInstanceHandsOverEveryName() {
  const QString service = QStringLiteral("org.quorvane.HandOver");
  SingleInstance first(connect(), service);
  QCOMPARE(first.start({}), SingleInstance::Role::Primary);
  struct Request {
    std::vector<fs::path> files;
    QString token;
  };
  std::vector<Request> opened;
  QObject::connect(&first, &SingleInstance::openRequested,
                   [&](const std::vector<fs::path>& files, const QString& token) {
                     opened.push_back({files, token});
                   });

  // Bytes that are not UTF-8, characters URLs escape, a folder.
  const std::vector<fs::path> files = {"/tmp/caf\xe9 #1 100%.png", "/tmp/写真/a b.jpg",
                                       "/tmp/album"};
  SingleInstance second(connect(), service);
  QCOMPARE(second.start(files, {{QStringLiteral("activation-token"), QStringLiteral("t-42")}}),
           SingleInstance::Role::HandedOver);
  QTRY_COMPARE(opened.size(), std::size_t{1});
  QCOMPARE(opened[0].files, files);
  QCOMPARE(opened[0].token, QStringLiteral("t-42"));

  // Without files: only the window to the front.
  SingleInstance third(connect(), service);
  QCOMPARE(third.start({}), SingleInstance::Role::HandedOver);
  QTRY_COMPARE(opened.size(), std::size_t{2});
  QVERIFY(opened[1].files.empty());
  QVERIFY(opened[1].token.isEmpty());
}

void SingleInstanceTest::testASecondLaunchAddsItsFilesToTheOpenWindowAndEnds() {
  const fs::path files = fs::path(m_dir.path().toStdString()) / "photos";
  writeImage(files / "photo.png");
  writeImage(files / "trip/beach.png");
  writeImage(files / "caf\xe9.png");

  // The first window, wired as the program wires it, under the program's name.
  auto store = core::settingsStoreAt(m_dir.filePath(QStringLiteral("q.conf")));
  core::NoDesktopIntegration desktop;
  core::ConversionViewModel controller(std::make_unique<core::SettingsPersistence>(store),
                                       std::make_unique<core::BookmarkService>(store), desktop);
  CheckForUpdatesViewModel updates{QUrl()};
  MainWindow window(controller, updates, store);
  SingleInstance first(connect(), QStringLiteral("org.quorvane.Quorvane"));
  QCOMPARE(first.start({}), SingleInstance::Role::Primary);
  QObject::connect(&first, &SingleInstance::openRequested, &window, &MainWindow::openFromDesktop);
  window.showMinimized();

  const auto launch = [&](const QStringList& arguments) {
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(QString::fromStdString(files.native()));
    second.start(QStringLiteral(QUORVANE_BINARY), arguments);
    if (!second.waitForStarted(10000)) return -1;
    // The window answers while the launch waits, so the loop must run.
    if (!QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 30000)) {
      second.kill();
      second.waitForFinished();
      return -2;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -3;
  };

  // A name relative to the launch's folder, a folder, and a URL whose
  // escaped bytes are not UTF-8.
  QCOMPARE(launch({QStringLiteral("photo.png"), QStringLiteral("trip"),
                   core::FileService::urlFromLocalPath(files / "caf\xe9.png").toString()}),
           0);
  const std::vector<fs::path> expected = {files / "caf\xe9.png", files / "photo.png",
                                          files / "trip/beach.png"};
  QTRY_VERIFY_WITH_TIMEOUT(listedFiles(controller) == expected, 10000);
  QVERIFY(window.isVisible());
  QVERIFY(!window.isMinimized());

  // A plain second start brings the window up and lists nothing new.
  window.showMinimized();
  QCOMPARE(launch({}), 0);
  QTRY_VERIFY(!window.isMinimized());
  QCOMPARE(listedFiles(controller), expected);
  window.hide();
  // QTemporaryDir cannot remove a name that is not UTF-8.
  fs::remove_all(files);
}

void SingleInstanceTest::testWithoutAnAnsweringOwnerALaunchRunsAlone() {
  // No session bus at all.
  const QDBusConnection none = QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/quorvane-bus"), QStringLiteral("no-bus"));
  m_connections << QStringLiteral("no-bus");
  QVERIFY(!none.isConnected());
  QCOMPARE(SingleInstance(none, QStringLiteral("org.quorvane.NoBus")).start({"/tmp/a.png"}),
           SingleInstance::Role::Alone);

  // The name is taken by a program that does not answer the interface.
  const QString service = QStringLiteral("org.quorvane.Squatted");
  QDBusConnection squatter = connect();
  QCOMPARE(squatter.interface()->registerService(service).value(),
           QDBusConnectionInterface::ServiceRegistered);
  SingleInstance late(connect(), service);
  QCOMPARE(late.start({"/tmp/a.png"}), SingleInstance::Role::Alone);
  squatter.interface()->unregisterService(service);
}

void SingleInstanceTest::testAReleasedNameGoesToTheNextLaunch() {
  const QString service = QStringLiteral("org.quorvane.Released");
  SingleInstance first(connect(), service);
  QCOMPARE(first.start({}), SingleInstance::Role::Primary);
  first.release();
  SingleInstance next(connect(), service);
  QCOMPARE(next.start({"/tmp/a.png"}), SingleInstance::Role::Primary);
  // And the one before cannot take it back.
  SingleInstance again(connect(), service);
  QCOMPARE(again.start({}), SingleInstance::Role::HandedOver);
}

}  // namespace quorvane::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  QApplication app(argc, argv);
  quorvane::codec::LibvipsRuntime vips(argv[0]);
  quorvane::gui::SingleInstanceTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "single_instance_test.moc"
