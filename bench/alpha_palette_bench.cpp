// Transparent PNGs through the PNG road (Keep Transparency on, quality 80:
// 256 colours) against pngquant (256 colours, speed 4) followed by the same
// optimiser at -o 4: bytes, an alpha-aware error and time, per image and in
// total.
//
//   alpha_palette_bench [--pngquant PROGRAM] IMAGE...
//
// The set: bench/fetch_transparent_set.sh DIR. Error: mean Oklab difference
// between input and output composited over black and over white (the mean of
// both), x100. "road" is the whole conversion (decode, quantise, write,
// optimiser); "quantise" the PNG road without the optimiser.
#include <spawn.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "services/cancellation_token.h"
#include "services/image_converter.h"
#include "services/png_quantizer.h"
#include "services/run_conversion.h"
#include "services/tool_manager.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace quorvane;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs a program to its end; false when it could not start or failed.
bool run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Oklab, in double precision, of a pixel composited over black (0) or white (1).
std::array<double, 3> shownOver(const std::uint8_t* p, double background) {
  double lin[3];
  const double alpha = p[3] / 255.0;
  for (int c = 0; c < 3; ++c) {
    const double v = p[c] / 255.0;
    const double linear = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    lin[c] = linear * alpha + background * (1 - alpha);
  }
  const double l = std::cbrt(0.4122214708 * lin[0] + 0.5363325363 * lin[1] + 0.0514459929 * lin[2]);
  const double m = std::cbrt(0.2119034982 * lin[0] + 0.6806995451 * lin[1] + 0.1073969566 * lin[2]);
  const double s = std::cbrt(0.0883024619 * lin[0] + 0.2817188376 * lin[1] + 0.6299787005 * lin[2]);
  return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
          1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
          0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

// x100; -1 when either file does not decode at the same size.
double compositeError(const fs::path& input, const fs::path& output) {
  auto a = codec::decode(input);
  auto b = codec::decode(output);
  if (!a || !b || a.value().byteSize() != b.value().byteSize()) return -1;
  double sum = 0;
  const std::size_t pixels = a.value().byteSize() / 4;
  for (std::size_t i = 0; i < pixels; ++i) {
    for (double background : {0.0, 1.0}) {
      const auto x = shownOver(a.value().data() + i * 4, background);
      const auto y = shownOver(b.value().data() + i * 4, background);
      sum += std::sqrt((x[0] - y[0]) * (x[0] - y[0]) + (x[1] - y[1]) * (x[1] - y[1]) +
                       (x[2] - y[2]) * (x[2] - y[2]));
    }
  }
  return 100 * sum / (2.0 * static_cast<double>(pixels));
}

struct Side {
  std::uintmax_t bytes = 0;
  double error = 0;
  double seconds = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  std::string pngquant = "pngquant";
  std::vector<fs::path> images;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--pngquant" && i + 1 < argc) {
      pngquant = argv[++i];
    } else {
      images.emplace_back(arg);
    }
  }
  const core::ImageConverter converter;
  const fs::path oxipng =
      core::ToolManager::forApplication().toolPath(QStringLiteral("oxipng")).native();
  core::CancellationToken token;
  QTemporaryDir work;
  const fs::path out = work.path().toStdString();
  Side ours, theirs;
  double quantiseSeconds = 0;
  std::uintmax_t inputBytes = 0;
  std::printf("%-24s %9s | %9s %7s %6s | %9s %7s %6s\n", "image", "input", "ours", "error", "s",
              "pngquant", "error", "s");
  for (const fs::path& image : images) {
    core::OutputOptions options;
    options.keepAlpha = true;
    options.checkQuality = false;
    options.ifLarger = core::IfLarger::Write;  // the palette's own file, whatever its size
    auto start = Clock::now();
    const fs::path written =
        core::runConversion(
            converter,
            {image, out, std::nullopt, {.format = core::OutputFormat::Png, .options = options}},
            token, {})
            .output;
    const Side mine{fs::file_size(written), compositeError(image, written), secondsSince(start)};
    fs::remove(written);

    const auto header = codec::readHeader(image);
    const fs::path direct = out / "direct.png";
    start = Clock::now();
    core::PNGQuantizer::quantize(image, direct, 80, {header.value().width, header.value().height},
                                 token, nullptr, true);
    quantiseSeconds += secondsSince(start);

    const fs::path other = out / "pngquant.png";
    start = Clock::now();
    const bool ran = run({pngquant, "256", "--speed", "4", "--force", "--output", other.native(),
                          image.native()}) &&
                     run({oxipng.native(), "-o", "4", "--strip", "safe", "-q", other.native()});
    if (!ran) {
      std::fprintf(stderr, "pngquant or the optimiser failed on %s\n", image.c_str());
      return 1;
    }
    const Side pq{fs::file_size(other), compositeError(image, other), secondsSince(start)};

    std::printf("%-24s %9ju | %9ju %7.3f %6.2f | %9ju %7.3f %6.2f\n", image.filename().c_str(),
                fs::file_size(image), mine.bytes, mine.error, mine.seconds, pq.bytes, pq.error,
                pq.seconds);
    inputBytes += fs::file_size(image);
    for (auto [total, one] : {std::pair{&ours, &mine}, std::pair{&theirs, &pq}}) {
      total->bytes += one->bytes;
      total->error += one->error;
      total->seconds += one->seconds;
    }
  }
  const double n = static_cast<double>(images.size());
  std::printf("%-24s %9ju | %9ju %7.3f %6.2f | %9ju %7.3f %6.2f\n", "total (error: mean)",
              inputBytes, ours.bytes, ours.error / n, ours.seconds, theirs.bytes, theirs.error / n,
              theirs.seconds);
  std::printf("PNG road without the optimiser: %.2f s\n", quantiseSeconds);
  return 0;
}
