// The command line of quorvane-cli.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "models/conversion_settings.h"
#include "models/encode_settings.h"
#include "models/naming_mode.h"

namespace quorvane::cli {

struct CliOptions {
  core::EncodeSettings encode;  // --format (auto: encode.autoFormat), --quality, sizes, options
  core::NamingMode naming = core::NamingMode::Original;
  std::optional<QString> prefix;
  std::optional<QString> startNumber;
  std::optional<std::filesystem::path> outputDirectory;
  std::optional<int> jobs;
  bool verbose = false;                         // failures also print what the encoder said
  std::optional<std::filesystem::path> report;  // CSV, or JSON by its extension
  std::optional<std::string> preset;            // --preset: the name given, as given
  std::vector<std::filesystem::path> paths;
};

struct ShowHelp {};
struct ShowVersion {};
struct ListPresets {};
// A usage error: what to print after "quorvane: error: ".
struct UsageError {
  std::string message;
};

using ParseResult = std::variant<CliOptions, ShowHelp, ShowVersion, ListPresets, UsageError>;

// Parses argv[1..] over `base` (a preset's options): what the arguments give
// replaces the base's value wherever it stands among them. Paths are kept as
// the bytes given.
ParseResult parseArguments(const std::vector<std::string>& arguments,
                           const CliOptions& base = CliOptions());

// The options a batch started from these settings runs with (no output
// folder: presets hold none).
CliOptions optionsFrom(const core::ConversionSettings& settings);

// The usage error for a --preset that names none of `available` (nor of the
// built-in presets' `keys`, which hints may suggest).
std::string unknownPresetMessage(const std::string& name, const std::vector<std::string>& available,
                                 const std::vector<std::string>& keys);

// The --help text; `defaultJobs` is shown as the default of --jobs.
std::string usageText(int defaultJobs);

}  // namespace quorvane::cli
