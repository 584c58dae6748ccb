// The desktop's services as the window uses them, on the offscreen platform.
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/qt_desktop_integration.h"

namespace quorvane::gui {

class DesktopIntegrationTest : public QObject {
  Q_OBJECT

 private slots:
  // With nothing to open folders or files with (no xdg-open, no desktop),
  // the window says so and where the outputs are, instead of nothing.
  void testNoProgramToOpenWithIsSaidWithThePath() {
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "");
    qunsetenv("XDG_CURRENT_DESKTOP");
    QTemporaryDir dir;
    QWidget window;
    QtDesktopIntegration desktop;
    desktop.setMainWindow(&window);
    QStringList said;
    const auto answerTheBox = [&said] {
      QTimer::singleShot(0, [&said] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        said << box->windowTitle() + QStringLiteral(" | ") + box->text();
        box->close();
      });
    };
    answerTheBox();
    desktop.openFolder(dir.path().toStdString());
    answerTheBox();
    desktop.openFile((dir.path() + QStringLiteral("/a.webp")).toStdString());
    qputenv("PATH", path);
    QCOMPARE(said.size(), 2);
    QCOMPARE(said[0],
             QStringLiteral("Cannot Open the Folder | No program to show folders is set up "
                            "on this system. The outputs are in:\n") +
                 dir.path());
    QVERIFY(said[1].startsWith(QStringLiteral("Cannot Open the File | ")));
    QVERIFY(said[1].endsWith(dir.path() + QStringLiteral("/a.webp")));
  }
};

}  // namespace quorvane::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quorvane::gui::DesktopIntegrationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "desktop_integration_test.moc"
