// One conversion's request: which file, to what, where.
#pragma once

#include <filesystem>
#include <optional>

#include "models/output_format.h"
#include "models/output_options.h"

namespace quorvane::core {

struct ConversionJob {
  std::filesystem::path input;
  std::filesystem::path outputDirectory;
  OutputFormat format = OutputFormat::Webp;
  int quality = 80;
  std::optional<int> maxWidth;  // absent, 0 or negative: no bound
  std::optional<int> maxHeight;
  // The exact name to write (custom naming); otherwise the input's name with
  // the format's extension, numbered when taken.
  std::optional<std::filesystem::path> customOutputURL;
  OutputOptions options{};
  // Auto: the smallest format that keeps the image looking the same, with
  // `quality` setting how close (see autoTargetScore); `format` is then
  // only the default of the settings.
  bool autoFormat = false;
};

}  // namespace quorvane::core
