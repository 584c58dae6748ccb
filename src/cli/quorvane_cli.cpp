// quorvane-cli: the conversion of the windowed application for scripts and
// servers, on the same controller and batch code, without a display.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/cli_options.h"
#include "cli/progress_printer.h"
#include "codec/libvips_runtime.h"
#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"

namespace quorvane::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

int signalPipe[2] = {-1, -1};

// The handler only writes to a pipe; the event loop does the cancelling.
void onSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

void installSignalHandlers() {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
}

int usageError(const std::string& message) {
  std::fprintf(stderr, "quorvane: error: %s\nTry 'quorvane-cli --help' for more information.\n",
               message.c_str());
  return kExitUsage;
}

int fatal(const std::string& message) {
  std::fprintf(stderr, "quorvane: error: %s\n", message.c_str());
  return kExitFailure;
}

// Shows paths as given: relative to the working folder when inside it.
QString displayName(const fs::path& path) {
  std::error_code error;
  const fs::path current = fs::current_path(error);
  if (!error) {
    const fs::path relative = path.lexically_relative(current);
    if (!relative.empty() && *relative.begin() != "..")
      return core::FileService::displayPath(relative);
  }
  return core::FileService::displayPath(path);
}

// Why a path named on the command line cannot be read (a typo, a dangling
// link, a link loop), or nothing when it can.
std::optional<std::string> unreadableReason(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return std::nullopt;
  return std::strerror(errno);
}

int run(const CliOptions& options) {
  codec::LibvipsRuntime vips;
  // The window's saved settings are neither read nor changed: this
  // controller has no settings store.
  core::NoDesktopIntegration desktop;
  core::ConversionViewModel controller(nullptr, nullptr, desktop);
  controller.setParallelLimit(options.jobs);
  controller.updateOutputFormat(options.format);
  controller.updateQuality(options.quality);
  controller.updateNamingMode(options.naming);
  if (options.prefix) controller.updateNamePrefix(*options.prefix);
  if (options.startNumber) {
    controller.updateNameStartNumber(*options.startNumber);
    if (controller.settings().nameStartNumber !=
        core::ConversionViewModel::numericPrefix(*options.startNumber, 6)) {
      return usageError("start number '" + options.startNumber->toStdString() + "' has no digits");
    }
  }
  controller.updateMaxWidth(options.maxWidth);
  controller.updateMaxHeight(options.maxHeight);
  controller.updateResizeEnabled(options.maxWidth || options.maxHeight);

  if (options.outputDirectory) {
    const fs::path folder = fs::absolute(*options.outputDirectory);
    if (const auto error = core::FileService::ensureDirectory(folder)) {
      return fatal("cannot create output folder '" + folder.native() + "': " + error.message());
    }
    if (!fs::is_directory(folder) || ::access(folder.c_str(), W_OK | X_OK) != 0) {
      return fatal("cannot write into output folder '" + folder.native() + "'");
    }
    controller.setOutputDirectory(folder);
  }

  // A path that cannot be read fails alone, like an image that cannot be
  // decoded; the others are converted.
  ProgressPrinter printer(stdout, stderr, ::isatty(STDERR_FILENO) == 1, options.verbose);
  std::vector<fs::path> paths;
  for (const fs::path& given : options.paths) {
    if (const auto reason = unreadableReason(given)) {
      printer.pathFailed(displayName(fs::absolute(given)), QString::fromLocal8Bit(*reason));
    } else {
      paths.push_back(fs::absolute(given));
    }
  }
  controller.addFiles(paths);
  const int total = static_cast<int>(controller.items().size());
  if (total == 0) {
    if (printer.totals().failed == 0) {
      std::fprintf(stderr, "quorvane: no images found\n");
      return kExitSuccess;
    }
    printer.finish(false);
    return kExitFailure;
  }

  printer.start(total);
  bool interrupted = false;
  installSignalHandlers();
  QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
  QObject::connect(&signalNotifier, &QSocketNotifier::activated, [&] {
    char buffer[16];
    while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
    }
    interrupted = true;
    controller.cancelConversion();
  });
  QObject::connect(&controller, &core::ConversionViewModel::itemFinished,
                   [&](const std::shared_ptr<core::ImageItem>& item) {
                     printer.itemFinished(displayName(item->url()), *item);
                   });
  QObject::connect(&controller, &core::ConversionViewModel::conversionFinished,
                   [] { QCoreApplication::quit(); });
  controller.startConversion();
  QCoreApplication::exec();

  printer.finish(interrupted);
  if (interrupted) return kExitInterrupted;
  return printer.totals().failed == 0 && printer.totals().converted == total ? kExitSuccess
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
    std::fputs(usageText(quorvane::core::ConversionViewModel::availableCpuCount()).c_str(), stdout);
    return kExitSuccess;
  }
  if (std::holds_alternative<ShowVersion>(parsed)) {
    std::printf("quorvane-cli %s\n", QUORVANE_VERSION);
    return kExitSuccess;
  }
  if (const auto* error = std::get_if<UsageError>(&parsed)) return usageError(error->message);
  return run(std::get<CliOptions>(parsed));
}
