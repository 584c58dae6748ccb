#include "views/language_options.h"

#include <QLocale>
#include <algorithm>

namespace quorvane::gui {

const std::vector<LanguageOption>& languageOptions() {
  // Each name is written in its own language so that a user who cannot read
  // the current interface still finds theirs.
  static const std::vector<LanguageOption> options = {
      {QStringLiteral("en"), QStringLiteral("English")},
      {QStringLiteral("ja"), QStringLiteral("日本語")},
      {QStringLiteral("ko"), QStringLiteral("한국어")},
      {QStringLiteral("de"), QStringLiteral("Deutsch")},
  };
  return options;
}

bool isSupportedLanguageTag(const QString& tag) {
  const auto& options = languageOptions();
  return std::any_of(options.begin(), options.end(),
                     [&](const LanguageOption& option) { return option.tag == tag; });
}

QString currentLanguageTag(const QString& selectedLanguage, const QStringList& systemLanguages) {
  if (isSupportedLanguageTag(selectedLanguage)) return selectedLanguage;
  const QString preferred =
      systemLanguages.isEmpty() ? QStringLiteral("en") : systemLanguages.first();
  // QLocale turns an identifier it cannot place into the "C" locale, whose
  // code is no supported tag, so unknown identifiers end in English as well.
  const QLocale locale(preferred);
  const QString code = QLocale::languageToCode(locale.language());
  return isSupportedLanguageTag(code) ? code : QStringLiteral("en");
}

}  // namespace quorvane::gui
