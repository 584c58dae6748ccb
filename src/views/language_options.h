// The interface languages Quorvane ships, and which of them applies given the
// user's stored choice and the system's preferences. Pure functions, shared by
// the preferences sheet and the translation loader at start-up.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace quorvane::gui {

// The settings key holding the language the user picked ("" when never set).
inline constexpr char kSelectedLanguageKey[] = "selectedLanguage";

struct LanguageOption {
  QString tag;          // language code, also the option's identity
  QString displayName;  // the language's own name; never translated
};

// English, Japanese, Korean, German, in display order.
const std::vector<LanguageOption>& languageOptions();

// Whether `tag` is exactly one of the tags of languageOptions().
bool isSupportedLanguageTag(const QString& tag);

// The language the interface uses: `selectedLanguage` when it is a supported
// tag; otherwise the language of the first entry of `systemLanguages` (BCP 47
// or POSIX style, "ko-KR", "de_DE") when supported; otherwise "en". Pass
// QLocale::system().uiLanguages() as the system list.
QString currentLanguageTag(const QString& selectedLanguage, const QStringList& systemLanguages);

}  // namespace quorvane::gui
