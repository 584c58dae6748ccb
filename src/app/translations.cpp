#include "app/translations.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "views/language_options.h"

namespace quorvane::gui {

namespace {

// A translator owned by `app` once it is installed; nothing when loading fails.
bool installTranslator(QCoreApplication& app, const QString& fileName, const QString& directory) {
  auto translator = std::make_unique<QTranslator>();
  // load() also fails on a .qm without a single message; that counts as
  // missing too.
  if (!translator->load(fileName, directory)) return false;
  if (!QCoreApplication::installTranslator(translator.get())) return false;
  translator.release()->setParent(&app);
  return true;
}

}  // namespace

QString installTranslations(QCoreApplication& app, const QSettings& store) {
  return installTranslations(app, store, QLocale::system().uiLanguages(), QStringLiteral(":/i18n"));
}

QString installTranslations(QCoreApplication& app, const QSettings& store,
                            const QStringList& systemLanguages, const QString& translationsDir) {
  const QString tag =
      currentLanguageTag(store.value(kSelectedLanguageKey).toString(), systemLanguages);
  // The source texts are English.
  if (tag == QLatin1String("en")) return tag;
  if (!installTranslator(app, QStringLiteral("quorvane_") + tag, translationsDir)) {
    return QStringLiteral("en");
  }
  // Qt's own texts (standard buttons, file dialog). Optional: without them
  // those few texts stay English.
  installTranslator(app, QStringLiteral("qtbase_") + tag,
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  return tag;
}

}  // namespace quorvane::gui
