#include "models/conversion_settings.h"

namespace quorvane::core {

const std::set<std::string>& ConversionSettings::supportedExtensions() {
  static const std::set<std::string> extensions = {
      "png", "jpg", "jpeg", "heic", "heif", "webp", "tiff", "tif", "gif", "bmp", "avif"};
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

}  // namespace quorvane::core
