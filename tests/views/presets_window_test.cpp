// Widget test of the settings bar's Presets menu, on the offscreen platform,
// with scripted answers in place of its dialogs.
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "codec/libvips_runtime.h"
#include "views/presets_button.h"
#include "views/settings_bar.h"
#include "window_fixture.h"

namespace fs = std::filesystem;
using namespace quorvane;

class PresetsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(m_window.setUp());
    m_files = m_window.files;
    m_vm = m_window.vm.get();
    m_view = m_window.view.get();
  }
  void cleanup() { m_window.tearDown(); }
  void testPresetsMenuAppliesSavesRenamesAndDeletes();

 private:
  test::WindowFixture m_window;
  fs::path m_files;
  core::ConversionViewModel* m_vm = nullptr;
  gui::ContentView* m_view = nullptr;
};

void PresetsWindowTest::testPresetsMenuAppliesSavesRenamesAndDeletes() {
  gui::PresetsButton* button = m_view->settingsBar()->presetsButton();
  QVERIFY(button);
  // Scripted answers in place of the dialogs.
  QStringList names;
  QList<bool> answers;
  QStringList told;
  button->setPrompts({[&](const QString&, const QString&, const QString&) {
                        return names.isEmpty() ? std::nullopt
                                               : std::optional<QString>(names.takeFirst());
                      },
                      [&](const QString&, const QString&, const QString&) {
                        return !answers.isEmpty() && answers.takeFirst();
                      },
                      [&](const QString&, const QString& text) { told << text; }});
  const auto entries = [&] {
    button->rebuildMenu();
    QStringList texts;
    for (QAction* a : button->menu()->actions()) {
      if (!a->isSeparator()) texts << a->text() + (a->isChecked() ? QStringLiteral(" *") : "");
    }
    return texts;
  };
  const auto action = [&](const QString& text) -> QAction* {
    button->rebuildMenu();
    for (QAction* a : button->menu()->actions()) {
      if (a->text() == text) return a;
    }
    return nullptr;
  };
  const QStringList commands = {QStringLiteral("&Save Current Settings as Preset\u2026"),
                                QStringLiteral("&Rename Preset"), QStringLiteral("&Delete Preset")};
  const QStringList builtIns = {QStringLiteral("Web: WebP, 1920 px"),
                                QStringLiteral("Email: JPEG, 1280 px, under 500 kB"),
                                QStringLiteral("Archive: lossless")};
  QCOMPARE(entries(), builtIns + commands);
  QVERIFY(!action(QStringLiteral("&Delete Preset"))->isEnabled());

  // Applying sets every setting the preset holds and leaves the folder.
  m_vm->setOutputDirectory(m_files);
  action(builtIns[0])->trigger();
  QCOMPARE(m_vm->settings().maxWidth, std::optional<int>(1920));
  QVERIFY(m_vm->settings().resizeEnabled);
  QCOMPARE(m_vm->settings().outputDirectory, std::optional<fs::path>(m_files));
  QVERIFY(m_view->settingsBar()->resizeBox()->isChecked());
  QCOMPARE(entries().first(), builtIns[0] + QStringLiteral(" *"));
  QCOMPARE(button->accessibleDescription(), builtIns[0]);

  // Saving asks again for an unusable name; its own "&" is no mnemonic.
  m_vm->updateQuality(50);
  names = {QStringLiteral("  "), QStringLiteral("Fish & Chips")};
  button->saveCurrentSettings();
  QCOMPARE(told, QStringList{"A preset needs a name."});
  QCOMPARE(entries(), builtIns + QStringList{"Fish && Chips *"} + commands);

  // The same name asks before it replaces.
  m_vm->updateQuality(60);
  names = {QStringLiteral("fish & chips")};
  answers = {false};
  button->saveCurrentSettings();
  QCOMPARE(m_vm->presets().back().settings.quality, 50);
  names = {QStringLiteral("fish & chips")};
  answers = {true};
  button->saveCurrentSettings();
  QCOMPARE(m_vm->presets().back().settings.quality, 60);
  QCOMPARE(m_vm->presets().size(), std::size_t{4});

  // Only the user's presets can be renamed or deleted; a built-in name is
  // not taken.
  QMenu* rename = action(QStringLiteral("&Rename Preset"))->menu();
  QVERIFY(rename->isEnabled());
  QCOMPARE(rename->actions().size(), 1);
  told.clear();
  names = {QStringLiteral("archive"), QStringLiteral("Supper")};
  rename->actions().front()->trigger();
  QCOMPARE(told.size(), 1);
  QCOMPARE(m_vm->presets().back().name, QStringLiteral("Supper"));
  answers = {false};
  button->deletePreset(QStringLiteral("Supper"));
  QCOMPARE(m_vm->presets().size(), std::size_t{4});
  answers = {true};
  action(QStringLiteral("&Delete Preset"))->menu()->actions().front()->trigger();
  QCOMPARE(m_vm->presets().size(), std::size_t{3});
  QVERIFY(!action(QStringLiteral("&Rename Preset"))->isEnabled());
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  QApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  PresetsWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "presets_window_test.moc"
