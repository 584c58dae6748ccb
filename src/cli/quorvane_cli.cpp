// quorvane-cli: the conversion of the windowed application for scripts and
// servers, on the same batch engine, without a display. Of the saved
// settings it reads only the presets, when one is asked for.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QHash>
#include <QUuid>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_options.h"
#include "cli/progress_printer.h"
#include "codec/libvips_runtime.h"
#include "models/conversion_settings.h"
#include "services/batch_report.h"
#include "services/batch_runner.h"
#include "services/escaped_text.h"
#include "services/file_service.h"
#include "services/fit_under.h"
#include "services/image_converter.h"
#include "services/image_intake.h"
#include "services/lossless_error.h"
#include "services/memory_budget.h"
#include "services/preset_store.h"
#include "services/settings_store.h"
#include "services/termination_signals.h"

namespace quorvane::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

// Messages quote what the user typed, names and paths among it: any control
// character in them is escaped before it reaches the terminal.
std::string printable(const std::string& message) {
  return core::escapedName(message).toLocal8Bit().toStdString();
}

int usageError(const std::string& message) {
  std::fprintf(stderr, "quorvane: error: %s\nTry 'quorvane-cli --help' for more information.\n",
               printable(message).c_str());
  return kExitUsage;
}

int fatal(const std::string& message) {
  std::fprintf(stderr, "quorvane: error: %s\n", printable(message).c_str());
  return kExitFailure;
}

// Shows paths as given: relative to the working folder when inside it, and
// escaped (control characters, bytes that are not UTF-8).
QString displayName(const fs::path& path) {
  std::error_code error;
  const fs::path current = fs::current_path(error);
  if (!error) {
    const fs::path relative = path.lexically_relative(current);
    if (!relative.empty() && *relative.begin() != "..") return core::escapedName(relative.native());
  }
  return core::escapedName(path.native());
}

// What the printer needs of each image when it ends.
struct Listed {
  fs::path input;
  qint64 originalSize = 0;
};

int availableCpuCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  return std::max(1, CPU_COUNT(&set));
}

int run(const CliOptions& options) {
  if (const auto unavailable = core::losslessUnavailable(options.encode)) {
    QString text = *unavailable;
    if (!text.isEmpty()) text[0] = text[0].toLower();
    return usageError(text.toStdString());
  }
  const core::ImageConverter converter;
  if (const auto refused = converter.startRefusal(options.encode)) {
    // It begins with a format's name ("JPEG XL"), kept as written.
    QString text = *refused;
    if (text.endsWith(u'.')) text.chop(1);
    return fatal(text.toStdString());
  }
  codec::LibvipsRuntime vips;
  core::BatchSettings settings;
  settings.encode = options.encode;
  settings.naming = options.naming;
  if (options.prefix) settings.namePrefix = core::sanitizedNamePrefix(*options.prefix);
  if (options.startNumber) {
    settings.nameStartNumber = core::numericPrefix(*options.startNumber, 6);
    if (settings.nameStartNumber.isEmpty()) {
      return usageError("start number '" + options.startNumber->toStdString() + "' has no digits");
    }
  }
  if (options.outputDirectory) {
    settings.folder = fs::absolute(*options.outputDirectory);
    if (const auto error = core::FileService::ensureDirectory(settings.folder)) {
      return fatal("cannot create output folder '" + settings.folder.native() +
                   "': " + error.message());
    }
  }

  // A path that cannot be read fails alone, like an image that cannot be
  // decoded; the others are converted. The walk goes on while the first
  // images convert: a large tree does not wait for its last folder.
  ProgressPrinter printer(stdout, stderr, ::isatty(STDERR_FILENO) == 1, options.verbose);
  if (const auto caveat = core::sizeLimitCaveat(options.encode)) printer.notice(*caveat);
  std::vector<fs::path> given;
  for (const fs::path& path : options.paths) given.push_back(fs::absolute(path));
  std::unique_ptr<core::BatchRunner> batch;
  QHash<QUuid, Listed> listed;
  int total = 0;
  int exitCode = -1;  // set when the run ends before its batch does
  bool interrupted = false;
  std::vector<core::ReportRow> report;

  // The batch begins with the first image found: without --output, that
  // image decides where the outputs go.
  const auto startBatch = [&](const core::ImageFacts& first) {
    if (!options.outputDirectory) {
      settings.folder = core::FileService::defaultOutputFolder(first.url, first.root);
    }
    // Nothing is converted into a folder that cannot take the outputs.
    if (const auto error = core::FileService::outputFolderError(settings.folder, true)) {
      exitCode = fatal("cannot write into output folder '" + settings.folder.native() +
                       "': " + error.message());
      return false;
    }
    batch = std::make_unique<core::BatchRunner>(
        converter, settings,
        core::BatchRunner::Limits{options.jobs.value_or(availableCpuCount()),
                                  core::defaultMemoryBudget()});
    QObject::connect(
        batch.get(), &core::BatchRunner::finished,
        [&](const QUuid& id, const core::ConversionOutcome& outcome) {
          const Listed& image = listed[id];
          printer.itemFinished(displayName(image.input), image.input, image.originalSize, outcome);
          if (options.report) {
            report.push_back(
                core::reportRowFor(image.input, image.originalSize, outcome, settings));
          }
        });
    QObject::connect(batch.get(), &core::BatchRunner::notice,
                     [&](const QString& text) { printer.notice(text); });
    QObject::connect(batch.get(), &core::BatchRunner::done, [] { QCoreApplication::quit(); });
    batch->openIntake();
    batch->start();
    return true;
  };

  core::ImageIntake intake;
  QObject::connect(
      &intake, &core::ImageIntake::found, [&](const std::vector<core::ImageFacts>& images) {
        if (exitCode >= 0 || interrupted) return;
        if (!batch && !startBatch(images.front())) {
          intake.cancel();
          QCoreApplication::quit();
          return;
        }
        std::vector<core::BatchEntry> entries;
        entries.reserve(images.size());
        for (const core::ImageFacts& facts : images) {
          const QUuid id = QUuid::createUuid();
          entries.push_back(
              {id, facts.url, facts.pixelWidth, facts.pixelHeight, facts.relativeFolder});
          listed.insert(id, {facts.url, facts.originalSize});
        }
        total += static_cast<int>(entries.size());
        printer.addImages(static_cast<int>(entries.size()));
        batch->append(std::move(entries));
      });
  QObject::connect(
      &intake, &core::ImageIntake::unreadable, [&](const std::vector<core::UnreadablePath>& paths) {
        for (const core::UnreadablePath& path : paths) {
          printer.pathFailed(displayName(path.path), QString::fromLocal8Bit(path.error.message()));
        }
      });
  QObject::connect(&intake, &core::ImageIntake::skipped, [&](int images) {
    printer.notice(QStringLiteral("images in the output folder, left out: %1").arg(images));
  });
  QObject::connect(&intake, &core::ImageIntake::requestFinished, [&] {
    printer.allListed();
    if (batch) {
      batch->closeIntake();
    } else {
      QCoreApplication::quit();
    }
  });
  core::TerminationSignals termination;
  QObject::connect(&termination, &core::TerminationSignals::received, [&] {
    interrupted = true;
    intake.cancel();
    if (batch) {
      batch->cancel();
    } else {
      QCoreApplication::quit();
    }
  });
  // Outputs written into a folder inside the walked tree are not inputs.
  intake.enqueue(given, [output = settings.folder](const fs::path& folder) {
    return !output.empty() && folder == output;
  });
  QCoreApplication::exec();
  intake.cancel();
  if (exitCode >= 0) return exitCode;
  if (total == 0 && !interrupted) {
    if (printer.totals().failed == 0) {
      std::fprintf(stderr, "quorvane: no images found\n");
      return kExitSuccess;
    }
    printer.finish(false);
    return kExitFailure;
  }

  printer.finish(interrupted);
  bool reportFailed = false;
  if (options.report) {
    if (const auto error = core::writeReport(fs::absolute(*options.report), report)) {
      std::fprintf(stderr, "quorvane: error: cannot write the report '%s': %s\n",
                   printable(options.report->native()).c_str(),
                   core::escapedControls(*error).toLocal8Bit().constData());
      reportFailed = true;
    }
  }
  if (interrupted) return kExitInterrupted;
  const BatchTotals& totals = printer.totals();
  return !reportFailed && totals.failed == 0 &&
                 totals.converted + totals.skipped + totals.keptOriginal == total
             ? kExitSuccess
             : kExitFailure;
}

// The arguments read over the preset they name, if they name one.
ParseResult withPreset(const std::vector<std::string>& arguments, ParseResult parsed) {
  const auto* options = std::get_if<CliOptions>(&parsed);
  if (!options || !options->preset) return parsed;
  const core::PresetStore presets(core::standardSettingsStore());
  const auto preset = presets.find(QString::fromLocal8Bit(*options->preset));
  if (!preset) {
    std::vector<std::string> names;
    std::vector<std::string> keys;
    for (const core::Preset& known : presets.all()) {
      names.push_back(known.name.toStdString());
      if (known.isBuiltIn()) keys.push_back(known.key.toStdString());
    }
    return UsageError{unknownPresetMessage(*options->preset, names, keys)};
  }
  CliOptions base = optionsFrom(preset->settings);
  base.preset = options->preset;
  return parseArguments(arguments, base);
}

}  // namespace
}  // namespace quorvane::cli

int main(int argc, char** argv) {
  using namespace quorvane::cli;
  // A reader that goes away (`quorvane-cli … | head -n 1`) must not end the
  // batch half way: writes to a closed pipe fail with EPIPE instead, and the
  // printer stops printing. Encoders get default handlers again.
  ::signal(SIGPIPE, SIG_IGN);
  QCoreApplication::setOrganizationName("Quorvane");
  QCoreApplication::setApplicationName("quorvane-cli");
  QCoreApplication::setApplicationVersion(QUORVANE_VERSION);
  QCoreApplication app(argc, argv);

  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const ParseResult parsed = withPreset(arguments, parseArguments(arguments));
  if (std::holds_alternative<ShowHelp>(parsed)) {
    std::fputs(usageText(availableCpuCount()).c_str(), stdout);
    return kExitSuccess;
  }
  if (std::holds_alternative<ShowVersion>(parsed)) {
    std::printf("quorvane-cli %s\n", QUORVANE_VERSION);
    return kExitSuccess;
  }
  if (std::holds_alternative<ListPresets>(parsed)) {
    for (const auto& preset :
         quorvane::core::PresetStore(quorvane::core::standardSettingsStore()).all()) {
      std::printf("%s\n", printable(preset.name.toStdString()).c_str());
    }
    return kExitSuccess;
  }
  if (const auto* error = std::get_if<UsageError>(&parsed)) return usageError(error->message);
  return run(std::get<CliOptions>(parsed));
}
