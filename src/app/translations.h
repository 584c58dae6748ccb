// Chooses and installs the interface translation at start-up.
#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace quorvane::gui {

// Installs the translation of the interface language: the store's
// "selectedLanguage" when it names a shipped language, otherwise the system's
// preferred language when shipped, otherwise English. For a language other
// than English it loads ":/i18n/quorvane_<tag>.qm" (built into the program)
// and then Qt's own "qtbase_<tag>.qm" from Qt's translations folder when that
// is installed. English needs no translation; when ours fails to load, the
// interface stays English, silently, and Qt's is not loaded either.
// Call once, after `app` exists and before the first widget is made; the
// translators live as children of `app`. Returns the tag now in force.
QString installTranslations(QCoreApplication& app, const QSettings& store);

// As above with the system's language list and the folder holding our .qm
// files given, for tests.
QString installTranslations(QCoreApplication& app, const QSettings& store,
                            const QStringList& systemLanguages, const QString& translationsDir);

}  // namespace quorvane::gui
