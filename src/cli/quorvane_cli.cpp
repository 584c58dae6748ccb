// quorvane-cli: the conversion of the windowed application for scripts and
// servers, on the same batch engine, without a display or saved settings.
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
#include "services/image_converter.h"
#include "services/image_intake.h"
#include "services/lossless_error.h"
#include "services/memory_budget.h"
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
  // decoded; the others are converted.
  ProgressPrinter printer(stdout, stderr, ::isatty(STDERR_FILENO) == 1, options.verbose);
  std::vector<fs::path> given;
  for (const fs::path& path : options.paths) given.push_back(fs::absolute(path));
  std::vector<core::BatchEntry> entries;
  fs::path firstRoot;
  QHash<QUuid, Listed> listed;
  core::FileService::walkImageFiles(
      given, {.image =
                  [&](const fs::path& file, const fs::path& root) {
                    const core::ImageFacts facts = core::measureImage(file, root);
                    if (entries.empty()) firstRoot = root;
                    const QUuid id = QUuid::createUuid();
                    entries.push_back(
                        {id, file, facts.pixelWidth, facts.pixelHeight, facts.relativeFolder});
                    listed.insert(id, {file, facts.originalSize});
                    return true;
                  },
              .unreadable =
                  [&](const fs::path& path, std::error_code error) {
                    printer.pathFailed(displayName(path), QString::fromLocal8Bit(error.message()));
                  }});
  const int total = static_cast<int>(entries.size());
  if (total == 0) {
    if (printer.totals().failed == 0) {
      std::fprintf(stderr, "quorvane: no images found\n");
      return kExitSuccess;
    }
    printer.finish(false);
    return kExitFailure;
  }
  if (!options.outputDirectory) {
    settings.folder = core::FileService::defaultOutputFolder(entries.front().input, firstRoot);
  }
  // Nothing is converted into a folder that cannot take the outputs.
  if (const auto error = core::FileService::outputFolderError(settings.folder, true)) {
    return fatal("cannot write into output folder '" + settings.folder.native() +
                 "': " + error.message());
  }

  const core::ImageConverter converter;
  core::BatchRunner batch(
      converter, settings,
      {options.jobs.value_or(availableCpuCount()), core::defaultMemoryBudget()});
  printer.start(total);
  bool interrupted = false;
  core::TerminationSignals termination;
  QObject::connect(&termination, &core::TerminationSignals::received, [&] {
    interrupted = true;
    batch.cancel();
  });
  std::vector<core::ReportRow> report;
  QObject::connect(
      &batch, &core::BatchRunner::finished,
      [&](const QUuid& id, const core::ConversionOutcome& outcome) {
        const Listed& image = listed[id];
        printer.itemFinished(displayName(image.input), image.input, image.originalSize, outcome);
        if (options.report) {
          report.push_back(core::reportRowFor(image.input, image.originalSize, outcome, settings));
        }
      });
  QObject::connect(&batch, &core::BatchRunner::notice,
                   [&](const QString& text) { printer.notice(text); });
  QObject::connect(&batch, &core::BatchRunner::done, [] { QCoreApplication::quit(); });
  batch.append(std::move(entries));
  batch.start();
  QCoreApplication::exec();

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

  const ParseResult parsed = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (std::holds_alternative<ShowHelp>(parsed)) {
    std::fputs(usageText(availableCpuCount()).c_str(), stdout);
    return kExitSuccess;
  }
  if (std::holds_alternative<ShowVersion>(parsed)) {
    std::printf("quorvane-cli %s\n", QUORVANE_VERSION);
    return kExitSuccess;
  }
  if (const auto* error = std::get_if<UsageError>(&parsed)) return usageError(error->message);
  return run(std::get<CliOptions>(parsed));
}
