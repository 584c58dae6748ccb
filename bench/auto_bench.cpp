// What Auto costs and how close it comes to the best it could find. For each
// photo given (default: the samples), fitted into --max pixels (default
// 1920): one WebP conversion at the quality setting, one Auto conversion,
// and an exhaustive search — every format Auto considers at every --step of
// quality (AVIF once per quantizer), plus the original — for the smallest
// file whose score reaches Auto's target. Prints each photo, then the CPU
// time of Auto against WebP (this process and its encoders, one conversion
// at a time) and Auto's bytes against the exhaustive best.
//
//   auto_bench [--quality N] [--max PX] [--step N] [--no-exhaustive] [PHOTO...]
#include <sys/resource.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "codec/libvips_runtime.h"
#include "models/output_format.h"
#include "services/auto_format.h"
#include "services/cancellation_token.h"
#include "services/image_converter.h"
#include "services/roads/road_support.h"
#include "services/run_conversion.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvane;
using core::OutputFormat;

// CPU seconds of this process and of the children it has reaped.
double cpuSeconds() {
  const auto seconds = [](int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  return seconds(RUSAGE_SELF) + seconds(RUSAGE_CHILDREN);
}

struct Run {
  core::ConversionOutcome outcome;
  double cpu = 0;
};

struct Bench {
  core::ImageConverter converter;
  core::CancellationToken token;
  fs::path out;
  int maxSide = 1920;

  Run convert(const fs::path& photo, core::EncodeSettings settings) const {
    settings.maxWidth = maxSide;
    settings.maxHeight = maxSide;
    const double before = cpuSeconds();
    Run run{core::runConversion(converter, {photo, out, std::nullopt, settings}, token, {}), 0};
    run.cpu = cpuSeconds() - before;
    if (run.outcome.output != photo) fs::remove(run.outcome.output);
    return run;
  }
};

std::string label(OutputFormat format, int quality) {
  return QStringLiteral("%1 q%2").arg(core::rawValue(format)).arg(quality).toStdString();
}

struct Best {
  std::string what = "original";
  qint64 bytes = 0;
  std::string needed;  // per format, the lowest quality that met the target
};

Best exhaustive(const Bench& bench, const fs::path& photo, int quality, int step) {
  const double target = core::autoTargetScore(quality);
  Best best{"original", static_cast<qint64>(fs::file_size(photo)), {}};
  for (const OutputFormat format : {OutputFormat::Avif, OutputFormat::Webp, OutputFormat::Jpeg}) {
    int lastQuantizer = -1;
    std::optional<int> lowest;
    for (int q = 0; q <= 100; q = q == 100 ? 101 : std::min(100, q + step)) {
      if (format == OutputFormat::Avif) {
        if (core::avifQuantizer(q) == lastQuantizer) continue;
        lastQuantizer = core::avifQuantizer(q);
      }
      const Run run = bench.convert(
          photo, {.format = format,
                  .quality = q,
                  .options = {.ifLarger = core::IfLarger::Write, .checkQuality = true}});
      const auto& o = run.outcome;
      if (o.kind != core::ConversionOutcome::Kind::Completed || !o.score) continue;
      if (*o.score >= target && !lowest) lowest = q;
      if (*o.score >= target && o.size < best.bytes) {
        best.what = label(format, q);
        best.bytes = o.size;
      }
    }
    best.needed += QStringLiteral(" %1:%2")
                       .arg(core::rawValue(format), lowest ? QString::number(*lowest) : "-")
                       .toStdString();
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  int quality = 80;
  int step = 5;
  bool searchAll = true;
  Bench bench;
  std::vector<fs::path> photos;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quality") == 0 && i + 1 < argc) {
      quality = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--max") == 0 && i + 1 < argc) {
      bench.maxSide = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--no-exhaustive") == 0) {
      searchAll = false;
    } else if (std::strcmp(argv[i], "--step") == 0 && i + 1 < argc) {
      step = std::max(1, std::atoi(argv[++i]));
    } else {
      photos.emplace_back(argv[i]);
    }
  }
  if (photos.empty()) {
    for (const auto& entry : fs::directory_iterator(QUORVANE_SAMPLES_DIR)) {
      if (entry.path().extension() != ".md") photos.push_back(entry.path());
    }
  }
  QTemporaryDir folder;
  bench.out = folder.path().toStdString();
  double webpCpu = 0, autoCpu = 0;
  qint64 webpBytes = 0, autoBytes = 0, bestBytes = 0;
  for (const fs::path& photo : photos) {
    const Run webp = bench.convert(photo, {.format = OutputFormat::Webp, .quality = quality});
    const Run chosen = bench.convert(photo, {.autoFormat = true, .quality = quality});
    const Best best = searchAll ? exhaustive(bench, photo, quality, step) : Best{"-", 0, {}};
    webpCpu += webp.cpu;
    autoCpu += chosen.cpu;
    webpBytes += webp.outcome.size;
    autoBytes += chosen.outcome.size;
    bestBytes += best.bytes;
    const auto& o = chosen.outcome;
    const std::string pick =
        o.chosenFormat ? label(*o.chosenFormat, o.chosenQuality) : std::string("original");
    std::printf(
        "%-40s webp %9lld B %6.2f s | auto %-10s %9lld B %6.2f s %.1f | best %-10s %9lld B |%s\n",
        photo.filename().c_str(), static_cast<long long>(webp.outcome.size), webp.cpu, pick.c_str(),
        static_cast<long long>(o.size), chosen.cpu, o.score.value_or(-1), best.what.c_str(),
        static_cast<long long>(best.bytes), best.needed.c_str());
    std::fflush(stdout);
  }
  std::printf(
      "target %.1f (quality %d), %zu photos within %d px: WebP %lld B %.2f s CPU; Auto %lld B "
      "%.2f s CPU (%.1fx WebP); exhaustive best %lld B (Auto %+.1f%%)\n",
      core::autoTargetScore(quality), quality, photos.size(), bench.maxSide,
      static_cast<long long>(webpBytes), webpCpu, static_cast<long long>(autoBytes), autoCpu,
      autoCpu / webpCpu, static_cast<long long>(bestBytes),
      100.0 * (static_cast<double>(autoBytes) / static_cast<double>(bestBytes) - 1));
}
