// The user's choices a batch runs with, and which files count as images.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "models/encode_settings.h"
#include "models/naming_mode.h"
#include "models/output_format.h"
#include "models/output_options.h"

namespace quorvane::core {

struct ConversionSettings {
  OutputFormat outputFormat = OutputFormat::Webp;
  // Auto: per image, the smallest format that looks the same; `quality`
  // then sets how close it must look.
  bool autoFormat = false;
  // Same as Original: each image keeps its format (PNG for those not written).
  bool sameFormat = false;
  int quality = 80;  // 0..100 from the window; not clamped here
  // Absent: the batch writes into "compressed" beside its first listed file.
  std::optional<std::filesystem::path> outputDirectory;
  bool resizeEnabled = false;
  // Kept while resizing is off; a batch uses them only while it is on.
  std::optional<int> maxWidth;
  std::optional<int> maxHeight;
  NamingMode namingMode = NamingMode::Original;
  QString namePrefix = QStringLiteral("image");
  // Its length sets the zero padding of custom names: "01" pads to two digits.
  QString nameStartNumber = QStringLiteral("01");
  OutputOptions options;

  bool operator==(const ConversionSettings&) const = default;

  // The eleven lower-case input extensions, without dots.
  static const std::set<std::string>& supportedExtensions();
  // Looks at the name only: the text after the last dot of the last path
  // component, lower-cased (ASCII), must be a supported extension. The file is
  // not opened and need not exist; a folder named like an image passes too.
  static bool isSupportedImage(const std::filesystem::path& path);
};

// What a batch started with these settings makes of each image: the bounds
// only while resizing is on.
EncodeSettings encodeSettingsOf(const ConversionSettings& settings);

// The prefix of custom names made safe for a file name: "/", "\" and ".."
// become "_".
QString sanitizedNamePrefix(const QString& prefix);
// The first `maxCharacters` numeric characters of `text` (any script), as
// the start number of custom names keeps them.
QString numericPrefix(const QString& text, int maxCharacters);

// The text after the last dot of the file name, lower-cased (ASCII), as raw
// bytes; empty when the name has no dot.
std::string lowerCaseExtension(const std::filesystem::path& path);

}  // namespace quorvane::core
