// The PNG road on a set of images: bytes, mean Oklab error and time.
//
//   png_road_bench [--keep-alpha] [--outputs DIR] IMAGE...
//
// Converts each image to PNG at quality 80 with the current converter and
// prints its bytes, the mean Oklab distance (x100) from the input and the
// time; with --outputs, measures existing outputs instead (DIR/<stem>.png,
// from another build). Both images are compared over white, and alpha
// separately (the share of pixels whose alpha changed). Then, for the
// palette step, the road's file before the optimiser against the same
// pixels written as RGB(A), in bytes and in the optimiser's time.
#include <spawn.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QTemporaryDir>
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

std::array<double, 3> oklab(const std::uint8_t* p) {
  double lin[3];
  for (int c = 0; c < 3; ++c) {
    // Over white.
    const double v = (p[c] * p[3] + 255.0 * (255 - p[3])) / 255.0 / 255.0;
    lin[c] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  }
  const double l = std::cbrt(0.4122214708 * lin[0] + 0.5363325363 * lin[1] + 0.0514459929 * lin[2]);
  const double m = std::cbrt(0.2119034982 * lin[0] + 0.6806995451 * lin[1] + 0.1073969566 * lin[2]);
  const double s = std::cbrt(0.0883024619 * lin[0] + 0.2817188376 * lin[1] + 0.6299787005 * lin[2]);
  return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
          1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
          0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

struct Error {
  double meanOklab = 0;     // x100
  double alphaChanged = 0;  // share of pixels
};

Error errorOf(const fs::path& input, const fs::path& output) {
  auto a = codec::decode(input);
  auto b = codec::decode(output);
  if (!a || !b || a.value().byteSize() != b.value().byteSize()) return {-1, -1};
  double sum = 0;
  std::size_t changed = 0;
  const std::size_t pixels = a.value().byteSize() / 4;
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::uint8_t* p = a.value().data() + i * 4;
    const std::uint8_t* q = b.value().data() + i * 4;
    const auto x = oklab(p);
    const auto y = oklab(q);
    sum += std::sqrt((x[0] - y[0]) * (x[0] - y[0]) + (x[1] - y[1]) * (x[1] - y[1]) +
                     (x[2] - y[2]) * (x[2] - y[2]));
    changed += p[3] != q[3];
  }
  return {100 * sum / pixels, static_cast<double>(changed) / pixels};
}

double optimiserSeconds(const fs::path& tool, const fs::path& file) {
  const std::vector<std::string> args = {tool.native(), "-o", "4",          "--strip",
                                         "safe",        "-q", file.native()};
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return secondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  bool keepAlpha = false;
  std::optional<fs::path> outputs;
  std::vector<fs::path> images;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--keep-alpha") {
      keepAlpha = true;
    } else if (arg == "--outputs" && i + 1 < argc) {
      outputs = argv[++i];
    } else {
      images.emplace_back(arg);
    }
  }
  const core::ImageConverter converter;
  const core::ToolManager tools = core::ToolManager::forApplication();
  const fs::path oxipng = tools.toolPath(QStringLiteral("oxipng"));
  core::CancellationToken token;
  QTemporaryDir work;
  const fs::path out = work.path().toStdString();
  std::uintmax_t totalBytes = 0, indexedBytes = 0, plainBytes = 0;
  double totalError = 0, totalSeconds = 0, indexedOpt = 0, plainOpt = 0;
  for (const fs::path& image : images) {
    fs::path written;
    double seconds = 0;
    if (outputs) {
      written = *outputs / (image.stem().native() + ".png");
    } else {
      core::OutputOptions options;
      options.keepAlpha = keepAlpha;
      const auto start = Clock::now();
      options.ifLarger = core::IfLarger::Write;
      written =
          core::runConversion(
              converter,
              {image, out, std::nullopt, {.format = core::OutputFormat::Png, .options = options}},
              token, {})
              .output;
      seconds = secondsSince(start);
    }
    const Error error = errorOf(image, written);
    const auto bytes = fs::file_size(written);
    std::printf("%-28s %9ju bytes  error %.3f  alpha changed %.4f  %.2f s\n",
                image.filename().c_str(), bytes, error.meanOklab, error.alphaChanged, seconds);
    totalBytes += bytes;
    totalError += error.meanOklab;
    totalSeconds += seconds;
    if (outputs) continue;
    // The road's file before the optimiser, and the same pixels as RGB(A).
    const fs::path indexed = out / "before-optimiser.png";
    const auto header = codec::readHeader(image);
    core::PNGQuantizer::quantize(image, indexed, 80, {header.value().width, header.value().height},
                                 token, nullptr, keepAlpha);
    const fs::path plain = out / "plain.png";
    if (!codec::writePng(codec::decode(indexed).value(), plain)) return 1;
    indexedBytes += fs::file_size(indexed);
    plainBytes += fs::file_size(plain);
    indexedOpt += optimiserSeconds(oxipng, indexed);
    plainOpt += optimiserSeconds(oxipng, plain);
  }
  std::printf("total %ju bytes, mean error %.3f, %.2f s\n", totalBytes, totalError / images.size(),
              totalSeconds);
  if (!outputs) {
    std::printf(
        "before the optimiser: indexed %ju bytes (optimiser %.2f s), as RGB(A) %ju bytes "
        "(optimiser %.2f s)\n",
        indexedBytes, indexedOpt, plainBytes, plainOpt);
  }
  return 0;
}
