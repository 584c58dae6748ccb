#include "models/conversion_settings.h"

#include <QList>

namespace quorvane::core {

const std::set<std::string>& ConversionSettings::supportedExtensions() {
  static const std::set<std::string> extensions = {"png",  "jpg", "jpeg", "heic", "heif", "webp",
                                                   "tiff", "tif", "gif",  "bmp",  "avif"};
  return extensions;
}

bool ConversionSettings::isSupportedImage(const std::filesystem::path& path) {
  return supportedExtensions().count(lowerCaseExtension(path)) > 0;
}

std::string lowerCaseExtension(const std::filesystem::path& path) {
  // Works on bytes so names that are not UTF-8 are judged like any other;
  // only ASCII letters change case, which is all the extensions contain.
  const std::string name = path.filename().native();
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

QString sanitizedNamePrefix(const QString& prefix) {
  QString safe = prefix;
  safe.replace(u'/', u'_');
  safe.replace(u'\\', u'_');
  safe.replace(QStringLiteral(".."), QStringLiteral("_"));
  return safe;
}

QString numericPrefix(const QString& text, int maxCharacters) {
  // By code point, so digits outside the Basic Multilingual Plane count once.
  QList<char32_t> kept;
  for (char32_t c : text.toUcs4()) {
    if (kept.size() == maxCharacters) break;
    if (QChar::isNumber(c)) kept.append(c);
  }
  return QString::fromUcs4(kept.constData(), kept.size());
}

EncodeSettings encodeSettingsOf(const ConversionSettings& settings) {
  EncodeSettings encode{.format = settings.outputFormat,
                        .autoFormat = settings.autoFormat,
                        .sameFormat = settings.sameFormat,
                        .quality = settings.quality,
                        .options = settings.options};
  if (settings.resizeEnabled) {
    encode.maxWidth = settings.maxWidth;
    encode.maxHeight = settings.maxHeight;
  }
  return encode;
}

}  // namespace quorvane::core
