// One conversion's request: which file, made into what, written where.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "models/encode_settings.h"

namespace quorvane::core {

struct PreparedInput;

struct ConversionJob {
  std::filesystem::path input;
  std::filesystem::path outputDirectory;  // where the output goes
  // The exact name to write (custom naming); otherwise the input's name with
  // the format's extension, numbered when taken.
  std::optional<std::filesystem::path> customOutputURL{};
  EncodeSettings settings{};
  // The input already opened and decoded for these settings (see
  // Converter::prepare); used only where it serves them.
  std::shared_ptr<PreparedInput> prepared{};
};

}  // namespace quorvane::core
