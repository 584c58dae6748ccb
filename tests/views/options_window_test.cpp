// Widget test of the Options menu's size limit, on the offscreen platform,
// with a scripted answer in place of its dialog.
#include <QApplication>
#include <QInputDialog>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "codec/libvips_runtime.h"
#include "services/file_service.h"
#include "views/options_button.h"
#include "views/settings_bar.h"
#include "window_fixture.h"

using namespace quorvane;

class OptionsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(m_window.setUp());
    m_vm = m_window.vm.get();
    m_view = m_window.view.get();
  }
  void cleanup() { m_window.tearDown(); }
  void testFitUnderSetsShowsAndTurnsOffASizeLimit();

 private:
  test::WindowFixture m_window;
  core::ConversionViewModel* m_vm = nullptr;
  gui::ContentView* m_view = nullptr;
};

void OptionsWindowTest::testFitUnderSetsShowsAndTurnsOffASizeLimit() {
  gui::OptionsButton* button = m_view->settingsBar()->optionsButton();
  QVERIFY(button);
  QMenu* fit = nullptr;
  for (QAction* a : button->menu()->actions()) {
    if (a->menu() && a->menu()->title().startsWith(QStringLiteral("Fit &Under"))) fit = a->menu();
  }
  QVERIFY(fit);
  QCOMPARE(fit->title(), QStringLiteral("Fit &Under"));
  const auto action = [&](const QString& text) -> QAction* {
    for (QAction* a : fit->actions()) {
      if (a->text() == text && a->isVisible()) return a;
    }
    return nullptr;
  };
  const QString size200 = core::FileService::formatFileSize(200'000);
  QAction* offered = action(size200);
  QVERIFY(offered && !offered->isChecked());
  QVERIFY(action(QStringLiteral("&No Limit"))->isChecked());
  offered->trigger();
  QCOMPARE(m_vm->settings().options.maxFileSize, std::optional<std::int64_t>(200'000));
  QCOMPARE(fit->title(), QStringLiteral("Fit &Under: ") + size200);
  QVERIFY(offered->isChecked());
  QCOMPARE(button->text(), QStringLiteral("O&ptions (1)"));

  // A size typed in the dialog; one it cannot read asks again, saying why.
  QStringList asked;
  QTimer answer;
  connect(&answer, &QTimer::timeout, this, [&] {
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    asked << dialog->labelText();
    dialog->setTextValue(asked.size() == 1 ? QStringLiteral("12q") : QStringLiteral("1.5M"));
    dialog->accept();
    if (asked.size() == 2) answer.stop();
  });
  answer.start(20);
  QAction* other = action(QStringLiteral("&Other Size\u2026"));
  QVERIFY(other);
  other->trigger();
  QCOMPARE(asked.size(), 2);
  QVERIFY(asked[1].contains(QStringLiteral("12q")));
  QCOMPARE(m_vm->settings().options.maxFileSize, std::optional<std::int64_t>(1'500'000));
  QAction* shown = action(core::FileService::formatFileSize(1'500'000));
  QVERIFY(shown && shown->isChecked());
  QVERIFY(!offered->isChecked());

  action(QStringLiteral("&No Limit"))->trigger();
  QVERIFY(!m_vm->settings().options.maxFileSize);
  QCOMPARE(fit->title(), QStringLiteral("Fit &Under"));
  QCOMPARE(button->text(), QStringLiteral("O&ptions"));
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  QApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  OptionsWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "options_window_test.moc"
