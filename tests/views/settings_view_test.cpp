// The preferences dialog: which language shows as chosen, what choosing one
// stores and shows, and the output folder row.
#include "views/settings_view.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "services/bookmark_service.h"
#include "services/settings_persistence.h"
#include "services/settings_store.h"
#include "viewmodels/conversion_view_model.h"
#include "viewmodels/desktop_integration.h"
#include "views/elided_label.h"
#include "views/language_options.h"

namespace quorvane::gui {

class SettingsViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void testCurrentLanguageTag_data();
  void testCurrentLanguageTag();
  void testAbbreviatedHomePath_data();
  void testAbbreviatedHomePath();

  void testShowsStoredLanguageAsChosen();
  void testChoosingLanguageStoresItAndShowsNotice();
  void testReopeningHidesNotice();
  void testOutputFolderShownWithTildeUntilResetAndFollowsChanges();
  void testLongPathElidedInMiddle();

 private:
  std::shared_ptr<QSettings> store() const { return core::settingsStoreAt(m_storePath); }
  std::unique_ptr<core::ConversionViewModel> makeController() {
    return std::make_unique<core::ConversionViewModel>(
        std::make_unique<core::SettingsPersistence>(store()),
        std::make_unique<core::BookmarkService>(store()), m_desktop);
  }
  static QRadioButton* radio(const SettingsView& view, const QString& tag) {
    return view.findChild<QRadioButton*>(QStringLiteral("language_") + tag);
  }
  static QWidget* notice(const SettingsView& view) {
    return view.findChild<QWidget*>(QStringLiteral("restartNotice"));
  }
  static ElidedLabel* outputPath(const SettingsView& view) {
    return view.findChild<ElidedLabel*>(QStringLiteral("outputPath"));
  }
  static QPushButton* resetButton(const SettingsView& view) {
    return view.findChild<QPushButton*>(QStringLiteral("resetOutputButton"));
  }
  static QWidget* defaultLabel(const SettingsView& view) {
    return view.findChild<QWidget*>(QStringLiteral("defaultLabel"));
  }

  std::unique_ptr<QTemporaryDir> m_home;
  QByteArray m_savedHome;
  QString m_storePath;
  core::NoDesktopIntegration m_desktop;
};

void SettingsViewTest::init() {
  // A home folder of our own, so output folders can lie inside it.
  m_home = std::make_unique<QTemporaryDir>();
  QVERIFY(m_home->isValid());
  m_savedHome = qgetenv("HOME");
  qputenv("HOME", m_home->path().toLocal8Bit());
  QCOMPARE(QDir::homePath(), m_home->path());
  m_storePath = m_home->filePath(QStringLiteral("Quorvane.conf"));
}

void SettingsViewTest::cleanup() {
  qputenv("HOME", m_savedHome);
  m_home.reset();
}

void SettingsViewTest::testCurrentLanguageTag_data() {
  QTest::addColumn<QString>("selected");
  QTest::addColumn<QStringList>("system");
  QTest::addColumn<QString>("expected");

  QTest::newRow("nothing stored, Korean system") << "" << QStringList{"ko-KR", "en-US"} << "ko";
  QTest::newRow("nothing stored, French system") << "" << QStringList{"fr-FR", "de-DE"} << "en";
  QTest::newRow("stored wins over system") << "de" << QStringList{"ja-JP"} << "de";
  QTest::newRow("stored garbage falls to system") << "klingon" << QStringList{"ja-JP"} << "ja";
  QTest::newRow("stored region tag is no choice") << "de-AT" << QStringList{"ko"} << "ko";
  QTest::newRow("empty system list") << "" << QStringList{} << "en";
  QTest::newRow("POSIX style system tag") << "" << QStringList{"de_DE"} << "de";
  QTest::newRow("script subtag") << "" << QStringList{"ja-Jpan-JP"} << "ja";
}

void SettingsViewTest::testCurrentLanguageTag() {
  QFETCH(QString, selected);
  QFETCH(QStringList, system);
  QFETCH(QString, expected);
  QCOMPARE(currentLanguageTag(selected, system), expected);
}

void SettingsViewTest::testAbbreviatedHomePath_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("home");
  QTest::addColumn<QString>("expected");

  QTest::newRow("inside home") << "/home/ann/Pictures/out"
                               << "/home/ann"
                               << "~/Pictures/out";
  QTest::newRow("home itself") << "/home/ann"
                               << "/home/ann"
                               << "~";
  QTest::newRow("every occurrence") << "/home/ann/backup/home/ann"
                                    << "/home/ann"
                                    << "~/backup~";
  QTest::newRow("outside home") << "/srv/images"
                                << "/home/ann"
                                << "/srv/images";
  QTest::newRow("root as home is left alone") << "/srv/images"
                                              << "/"
                                              << "/srv/images";
}

void SettingsViewTest::testAbbreviatedHomePath() {
  QFETCH(QString, path);
  QFETCH(QString, home);
  QFETCH(QString, expected);
  QCOMPARE(abbreviatedHomePath(path, home), expected);
}

void SettingsViewTest::testShowsStoredLanguageAsChosen() {
  store()->setValue(kSelectedLanguageKey, QStringLiteral("ko"));
  auto controller = makeController();
  SettingsView view(*controller, store());
  QVERIFY(radio(view, "ko")->isChecked());
  QVERIFY(!radio(view, "en")->isChecked());
}

void SettingsViewTest::testChoosingLanguageStoresItAndShowsNotice() {
  store()->setValue(kSelectedLanguageKey, QStringLiteral("en"));
  auto controller = makeController();
  SettingsView view(*controller, store());
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  QVERIFY(!notice(view)->isVisible());
  QCOMPARE(view.size(), QSize(420, 240));

  // Clicking the language already chosen changes nothing.
  radio(view, "en")->click();
  QVERIFY(!view.languageChanged());
  QVERIFY(!notice(view)->isVisible());

  radio(view, "de")->click();
  QVERIFY(view.languageChanged());
  QVERIFY(notice(view)->isVisible());
  QCOMPARE(view.size(), QSize(420, 260));
  // On disk, for the next start, as a fresh reader of the file sees it.
  QSettings onDisk(m_storePath, QSettings::IniFormat);
  QCOMPARE(onDisk.value(kSelectedLanguageKey).toString(), QStringLiteral("de"));

  radio(view, "ja")->click();
  QCOMPARE(QSettings(m_storePath, QSettings::IniFormat).value(kSelectedLanguageKey).toString(),
           QStringLiteral("ja"));
  QCOMPARE(view.size(), QSize(420, 260));
}

void SettingsViewTest::testReopeningHidesNotice() {
  auto controller = makeController();
  {
    SettingsView first(*controller, store());
    first.show();
    radio(first, "ko")->click();
    QVERIFY(notice(first)->isVisible());
  }
  SettingsView second(*controller, store());
  second.show();
  QVERIFY(QTest::qWaitForWindowExposed(&second));
  QVERIFY(!notice(second)->isVisible());
  QCOMPARE(second.size(), QSize(420, 240));
  QVERIFY(radio(second, "ko")->isChecked());
}

void SettingsViewTest::testOutputFolderShownWithTildeUntilResetAndFollowsChanges() {
  QVERIFY(QDir(m_home->path()).mkpath(QStringLiteral("Pictures/small")));
  auto controller = makeController();
  controller->setOutputDirectory(
      (m_home->path() + QStringLiteral("/Pictures/small")).toStdString());
  SettingsView view(*controller, store());
  view.show();
  QCOMPARE(outputPath(view)->fullText(), QStringLiteral("~/Pictures/small"));
  QVERIFY(resetButton(view)->isVisible());
  QVERIFY(!defaultLabel(view)->isVisible());

  resetButton(view)->click();
  QVERIFY(!controller->settings().outputDirectory.has_value());
  QCOMPARE(outputPath(view)->fullText(),
           QStringLiteral("(compressed/ folder next to the first file)"));
  QVERIFY(!resetButton(view)->isVisible());
  QVERIFY(defaultLabel(view)->isVisible());
  // Forgotten for the next start too.
  auto reloaded = makeController();
  reloaded->loadSavedSettings();
  QVERIFY(!reloaded->settings().outputDirectory.has_value());

  // The row follows a folder chosen elsewhere while it shows.
  QTemporaryDir elsewhere;  // outside the home folder: shown as it is
  QVERIFY(elsewhere.isValid());
  controller->setOutputDirectory(elsewhere.path().toStdString());
  QCOMPARE(outputPath(view)->fullText(), elsewhere.path());
  QVERIFY(resetButton(view)->isVisible());
  QVERIFY(!defaultLabel(view)->isVisible());
}

void SettingsViewTest::testLongPathElidedInMiddle() {
  const QString deep = QStringLiteral(
      "Pictures/Holidays 2025/Northern coast, second week/Exports for the family album/small");
  QVERIFY(QDir(m_home->path()).mkpath(deep));
  auto controller = makeController();
  controller->setOutputDirectory((m_home->path() + u'/' + deep).toStdString());
  SettingsView view(*controller, store());
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));

  ElidedLabel* label = outputPath(view);
  QCOMPARE(label->fullText(), QStringLiteral("~/") + deep);
  // Both ends stay readable, the middle gives way, and nothing is clipped.
  QTRY_VERIFY(label->text().contains(QChar(0x2026)));
  QVERIFY(label->text().startsWith(QStringLiteral("~/")));
  QVERIFY(label->text().endsWith(QStringLiteral("small")));
  QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width());
  QCOMPARE(label->toolTip(), label->fullText());
  // The row keeps its button inside the dialog.
  QPushButton* reset = resetButton(view);
  QVERIFY(reset->mapTo(&view, QPoint(reset->width(), 0)).x() <= view.width());
}

}  // namespace quorvane::gui

int main(int argc, char** argv) {
  // Runs without a display unless told otherwise.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quorvane::gui::SettingsViewTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "settings_view_test.moc"
