#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "models/byte_size.h"

namespace quorvane::cli {

namespace {

// Levenshtein distance, for "did you mean" hints.
std::size_t editDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The choice within two edits of `word`, or the only one it begins
// ("keep" for "keep-original"); empty when there is none.
std::string nearest(const std::string& word, const std::vector<std::string>& choices) {
  std::string prefixed;
  int prefixes = 0;
  for (const auto& choice : choices) {
    if (word.size() >= 2 && choice.starts_with(word)) {
      prefixed = choice;
      ++prefixes;
    }
  }
  if (prefixes == 1) return prefixed;
  std::string best;
  std::size_t bestDistance = 3;  // farther than 2 edits is no hint
  for (const auto& choice : choices) {
    const std::size_t d = editDistance(word, choice);
    if (d < bestDistance) {
      bestDistance = d;
      best = choice;
    }
  }
  return best;
}

std::string withHint(std::string message, const std::string& word,
                     const std::vector<std::string>& choices) {
  const std::string hint = nearest(word, choices);
  if (!hint.empty()) message += " (did you mean '" + hint + "'?)";
  return message;
}

std::optional<int> parseInt(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

const std::vector<std::string> kOptions = {"--format",
                                           "--quality",
                                           "--max-width",
                                           "--max-height",
                                           "--naming",
                                           "--prefix",
                                           "--start",
                                           "--output",
                                           "--jobs",
                                           "--min-saving",
                                           "--max-file-size",
                                           "--if-larger",
                                           "--report",
                                           "--preset",
                                           "--list-presets",
                                           "--keep-metadata",
                                           "--keep-icc",
                                           "--keep-alpha",
                                           "--keep-dates",
                                           "--keep-structure",
                                           "--skip-converted",
                                           "--check-quality",
                                           "--lossless",
                                           "--auto-jxl",
                                           "--auto-best-effort",
                                           "--no-quality-check",
                                           "--no-check-quality",
                                           "--verbose",
                                           "--help",
                                           "--version"};

// The switches that take no value, and what each turns on.
bool* switchOf(const std::string& name, core::OutputOptions& options) {
  if (name == "--keep-metadata") return &options.keepMetadata;
  if (name == "--keep-icc") return &options.keepColorProfile;
  if (name == "--keep-alpha") return &options.keepAlpha;
  if (name == "--keep-dates") return &options.keepFileDates;
  if (name == "--keep-structure") return &options.keepFolderStructure;
  if (name == "--skip-converted") return &options.skipConverted;
  if (name == "--check-quality") return &options.checkQuality;
  if (name == "--lossless") return &options.lossless;
  if (name == "--auto-jxl") return &options.autoJpegXl;
  if (name == "--auto-best-effort") return &options.autoBestEffort;
  return nullptr;
}

}  // namespace

CliOptions optionsFrom(const core::ConversionSettings& settings) {
  CliOptions options;
  options.encode = core::encodeSettingsOf(settings);
  options.naming = settings.namingMode;
  options.prefix = settings.namePrefix;
  options.startNumber = settings.nameStartNumber;
  return options;
}

std::string unknownPresetMessage(const std::string& name, const std::vector<std::string>& available,
                                 const std::vector<std::string>& keys) {
  std::vector<std::string> choices = keys;
  choices.insert(choices.end(), available.begin(), available.end());
  std::string message = withHint("unknown preset '" + name + "'", name, choices);
  message += "; the presets are";
  for (std::size_t i = 0; i < available.size(); ++i) {
    message += (i == 0 ? " '" : ", '") + available[i] + "'";
  }
  return message;
}

ParseResult parseArguments(const std::vector<std::string>& arguments, const CliOptions& base) {
  CliOptions options = base;
  bool onlyPaths = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (onlyPaths || argument.empty() || argument[0] != '-' || argument == "-") {
      options.paths.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      onlyPaths = true;
      continue;
    }
    if (argument == "-h" || argument == "--help") return ShowHelp{};
    if (argument == "--version") return ShowVersion{};
    if (argument == "--list-presets") return ListPresets{};
    if (argument == "--verbose" || argument == "-v") {
      options.verbose = true;
      continue;
    }
    if (bool* flag = switchOf(argument, options.encode.options)) {
      *flag = true;
      continue;
    }
    if (argument == "--no-quality-check") {
      options.encode.options.checkQuality = false;
      continue;
    }
    // Every switch has its "--no-" form, to turn off what a preset turns on.
    if (argument.starts_with("--no-")) {
      if (bool* flag = switchOf("--" + argument.substr(5), options.encode.options)) {
        *flag = false;
        continue;
      }
    }

    std::string name = argument;
    std::optional<std::string> value;
    if (const auto equals = argument.find('='); equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    }
    if (switchOf(name, options.encode.options) ||
        (name.starts_with("--no-") && switchOf("--" + name.substr(5), options.encode.options))) {
      return UsageError{"option '" + name + "' takes no value"};
    }
    if (std::find(kOptions.begin(), kOptions.end(), name) == kOptions.end()) {
      return UsageError{withHint("unknown option '" + name + "'", name, kOptions)};
    }
    if (!value) {
      if (i + 1 >= arguments.size()) return UsageError{"option '" + name + "' needs a value"};
      value = arguments[++i];
    }
    const std::string& v = *value;
    if (name == "--format") {
      const std::string format = v == "jpg" ? "jpeg" : v;
      options.encode.autoFormat = format == "auto";
      options.encode.sameFormat = format == "same";
      if (options.encode.autoFormat || options.encode.sameFormat) continue;
      const auto parsed = core::outputFormatFromRawValue(QString::fromStdString(format));
      if (!parsed) {
        return UsageError{withHint("unknown format '" + v + "'", v,
                                   {"webp", "jpeg", "png", "heic", "avif", "jxl", "auto", "same"})};
      }
      options.encode.format = *parsed;
    } else if (name == "--quality") {
      const auto quality = parseInt(v);
      if (!quality || *quality < 0 || *quality > 100) {
        return UsageError{"quality must be a whole number from 0 to 100, not '" + v + "'"};
      }
      options.encode.quality = *quality;
    } else if (name == "--max-width" || name == "--max-height") {
      const auto size = parseInt(v);
      if (!size || *size < 1) {
        return UsageError{name.substr(2) + " must be a whole number of pixels above 0, not '" + v +
                          "'"};
      }
      (name == "--max-width" ? options.encode.maxWidth : options.encode.maxHeight) = *size;
    } else if (name == "--naming") {
      const auto mode = core::namingModeFromRawValue(QString::fromStdString(v));
      if (!mode)
        return UsageError{withHint("unknown naming '" + v + "'", v, {"original", "custom"})};
      options.naming = *mode;
    } else if (name == "--prefix") {
      options.prefix = QString::fromLocal8Bit(v);
    } else if (name == "--start") {
      options.startNumber = QString::fromLocal8Bit(v);
    } else if (name == "--output") {
      if (v.empty()) return UsageError{"option '--output' needs a folder"};
      options.outputDirectory = std::filesystem::path(v);
    } else if (name == "--min-saving") {
      const auto percent = parseInt(v);
      if (!percent || *percent < 0 || *percent > 99) {
        return UsageError{"min-saving must be a whole number from 0 to 99, not '" + v + "'"};
      }
      options.encode.options.minSaving = *percent;
    } else if (name == "--max-file-size") {
      const auto bytes = core::parseByteSize(v);
      if (!bytes) {
        return UsageError{std::string("max-file-size must be a size from 1 byte to 1G, in bytes "
                                      "or with k (1000), M (1000000) or G, like 200k or 1.5M, "
                                      "not '") +
                          v + "'"};
      }
      options.encode.options.maxFileSize = *bytes;
    } else if (name == "--if-larger") {
      const auto choice = core::ifLargerFromRawValue(QString::fromStdString(v));
      if (!choice) {
        return UsageError{withHint("unknown choice '" + v + "' for --if-larger", v,
                                   {"keep-original", "skip", "write"})};
      }
      options.encode.options.ifLarger = *choice;
    } else if (name == "--preset") {
      if (v.empty()) return UsageError{"option '--preset' needs a name"};
      options.preset = v;
    } else if (name == "--report") {
      if (v.empty()) return UsageError{"option '--report' needs a file"};
      options.report = std::filesystem::path(v);
    } else if (name == "--jobs") {
      const auto jobs = parseInt(v);
      if (!jobs || *jobs < 1)
        return UsageError{"jobs must be a whole number above 0, not '" + v + "'"};
      options.jobs = *jobs;
    }
  }
  if (options.paths.empty()) return UsageError{"no files or folders given"};
  return options;
}

std::string usageText(int defaultJobs) {
  char jobs[16];
  std::snprintf(jobs, sizeof jobs, "%d", defaultJobs);
  return std::string(
             "usage: quorvane-cli [options] PATH...\n"
             "\n"
             "Makes image files smaller. Every image in the given files and folders\n"
             "(searched recursively, hidden entries skipped) is decoded, downscaled when\n"
             "it exceeds the maximum size, re-encoded and written into one output folder.\n"
             "Input files are never changed, and existing files are never replaced.\n"
             "\n"
             "options:\n"
             "  --preset NAME     start from a preset saved in the window, or a built-in\n"
             "                    one ('web', 'email', 'archive' or their names); the\n"
             "                    options given here replace its values\n"
             "  --list-presets    show the names of the presets and exit\n"
             "  --format FORMAT   webp, jpeg, png, heic, avif or jxl (JPEG XL) [webp];\n"
             "                    auto: per image the smallest of WebP, JPEG, AVIF (and\n"
             "                    PNG for few colours or transparency) that looks the\n"
             "                    same; same: each image in its own format (TIFF, BMP\n"
             "                    and GIF as PNG)\n"
             "  --quality N       0 (smallest) to 100 (best) [80]; with auto, how alike\n"
             "                    the output must look, as the score it must reach (of\n"
             "                    100): 40 + N / 2, so 100 asks for 90 (identical to the\n"
             "                    eye), 80 for 80 (very close), 60 for 70\n"
             "  --max-width N     shrink wider images to N pixels, keeping proportions\n"
             "  --max-height N    shrink taller images to N pixels, keeping proportions\n"
             "  --naming MODE     original (photo.jpg -> photo.webp) or custom\n"
             "                    (PREFIX-NUMBER) [original]\n"
             "  --prefix TEXT     prefix of custom names [image]\n"
             "  --start NUMBER    first custom number; its length sets the zero padding\n"
             "                    [01: image-01, image-02, ...]\n"
             "  --output DIR      output folder, created when missing\n"
             "                    [a folder 'compressed' beside the first image]\n"
             "  --jobs N          conversions at once [") +
         jobs +
         "; the CPUs available]\n"
         "  --min-saving N    an output must be at least N% smaller than its input\n"
         "                    (0 to 99) [0: smaller at all]\n"
         "  --max-file-size SIZE\n"
         "                    encode each image at the highest quality, up to --quality,\n"
         "                    whose file is at most SIZE: bytes, or with k = 1000,\n"
         "                    M = 1000000, G (200k, 1.5M); with auto, the smallest that\n"
         "                    looks the same when it fits, else the best-looking that\n"
         "                    fits; PNG and --lossless outputs are only checked\n"
         "  --if-larger WHAT  for an output that is not (enough) smaller: keep-original\n"
         "                    (copy the original to the output folder instead, without\n"
         "                    camera data unless kept), skip (write nothing) or write\n"
         "                    (write it anyway) [keep-original]\n"
         "  --keep-metadata   carry camera data (EXIF, XMP: camera, date, GPS, ...)\n"
         "                    into the output [strip it]\n"
         "  --keep-icc        keep an RGB colour profile and its colours [convert to sRGB]\n"
         "  --keep-alpha      PNG outputs keep transparency [transparent areas on white]\n"
         "  --lossless        change no pixel: JPEG inputs to JPEG rearranged by jpegtran,\n"
         "                    or to JPEG XL from which djxl gives the JPEG back byte\n"
         "                    for byte; PNG, WebP, AVIF and JPEG XL lossless (the\n"
         "                    colour profile and transparency kept); HEIC and auto\n"
         "                    cannot; --quality is unused\n"
         "  --auto-jxl        auto also tries JPEG XL (not every viewer opens it) [off]\n"
         "  --auto-best-effort\n"
         "                    when auto picks AVIF or JPEG XL, encode the chosen quality\n"
         "                    once more at the encoder's slower setting and keep the\n"
         "                    smaller file that still looks the same [off]\n"
         "  --keep-dates      give each output its input's modification time\n"
         "  --keep-structure  write images found in a folder at the same place under\n"
         "                    the output folder [all in the output folder]\n"
         "  --skip-converted  leave alone images this program converted before into\n"
         "                    the output folder with the same settings\n"
         "  --check-quality   compare each output with its input and print how it\n"
         "                    looks: identical to the eye, very close, visible on\n"
         "                    close look or visibly changed, with its score of 100\n"
         "                    [on; --no-check-quality: off]\n"
         "  --no-SWITCH       turns off a switch above that a preset turns on\n"
         "                    (--no-keep-metadata, --no-lossless, ...)\n"
         "  --report FILE     write what became of every image to FILE (CSV, or JSON\n"
         "                    when FILE ends in .json)\n"
         "  --verbose, -v     with each failure, print what the encoder said\n"
         "  --help            show this text and exit\n"
         "  --version         show the version and exit\n"
         "\n"
         "exit status: 0 when no image failed (skipped ones count as done), 1 when\n"
         "any failed, 2 on a usage error (nothing converted), 130 when interrupted\n"
         "(finished outputs are kept).\n";
}

}  // namespace quorvane::cli
