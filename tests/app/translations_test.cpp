// Which translation is installed at start-up.
#include "app/translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace quorvane::gui {

namespace {

QString settingsTitle() {
  return QCoreApplication::translate("quorvane::gui::SettingsView", "Settings");
}
// A text of Qt's own, from its qtbase translation.
QString qtCancel() {
  return QCoreApplication::translate("QPlatformTheme", "Cancel");
}

bool hasQtGerman() {
  return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                       QStringLiteral("/qtbase_de.qm"));
}

}  // namespace

class TranslationsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(m_dir.isValid());
    m_store = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("Quorvane.conf")),
                                          QSettings::IniFormat);
    m_store->clear();
  }
  void cleanup() {
    // Back to English for the next test.
    const auto translators = QCoreApplication::instance()->findChildren<QTranslator*>();
    qDeleteAll(translators);
    QCOMPARE(settingsTitle(), QStringLiteral("Settings"));
  }

  void testStoredLanguageLoadsBuiltInTranslation() {
    m_store->setValue(QStringLiteral("selectedLanguage"), QStringLiteral("de"));
    QCOMPARE(installTranslations(*QCoreApplication::instance(), *m_store), QStringLiteral("de"));
    QCOMPARE(settingsTitle(), QStringLiteral("Einstellungen"));
    if (!hasQtGerman()) QSKIP("Qt's German translation (qt6-translations-l10n) is not installed");
    QCOMPARE(qtCancel(), QStringLiteral("Abbrechen"));
  }

  void testSystemLanguageUsedWhenNothingStored() {
    QCOMPARE(installTranslations(*QCoreApplication::instance(), *m_store, {"de-CH", "en-US"},
                                 QStringLiteral(":/i18n")),
             QStringLiteral("de"));
    QCOMPARE(settingsTitle(), QStringLiteral("Einstellungen"));
  }

  void testEnglishLoadsNothing() {
    m_store->setValue(QStringLiteral("selectedLanguage"), QStringLiteral("en"));
    QCOMPARE(installTranslations(*QCoreApplication::instance(), *m_store, {"de-DE"},
                                 QStringLiteral(":/i18n")),
             QStringLiteral("en"));
    QCOMPARE(settingsTitle(), QStringLiteral("Settings"));
    QCOMPARE(qtCancel(), QStringLiteral("Cancel"));
  }

  void testMissingTranslationFallsBackToEnglish() {
    // Korean is supported but this build carries no Korean file: English,
    // and not a mix with Qt's Korean.
    m_store->setValue(QStringLiteral("selectedLanguage"), QStringLiteral("ko"));
    QCOMPARE(installTranslations(*QCoreApplication::instance(), *m_store, {"de-DE"},
                                 QStringLiteral(":/i18n")),
             QStringLiteral("en"));
    QCOMPARE(settingsTitle(), QStringLiteral("Settings"));
    QCOMPARE(qtCancel(), QStringLiteral("Cancel"));
    QVERIFY(QCoreApplication::instance()->findChildren<QTranslator*>().isEmpty());
  }

 private:
  QTemporaryDir m_dir;
  std::unique_ptr<QSettings> m_store;
};

}  // namespace quorvane::gui

QTEST_GUILESS_MAIN(quorvane::gui::TranslationsTest)

#include "translations_test.moc"
