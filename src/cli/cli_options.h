// The command line of quorvane-cli.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

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
  std::vector<std::filesystem::path> paths;
};

struct ShowHelp {};
struct ShowVersion {};
// A usage error: what to print after "quorvane: error: ".
struct UsageError {
  std::string message;
};

using ParseResult = std::variant<CliOptions, ShowHelp, ShowVersion, UsageError>;

// Parses argv[1..]; paths are kept as the bytes given.
ParseResult parseArguments(const std::vector<std::string>& arguments);

// The --help text; `defaultJobs` is shown as the default of --jobs.
std::string usageText(int defaultJobs);

}  // namespace quorvane::cli
