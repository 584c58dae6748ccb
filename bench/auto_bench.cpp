// What Auto costs and how close it comes to the best it could find. For each
// photo given (default: the samples), fitted into --max pixels (default
// 1920): one WebP conversion at the quality setting (and one without its
// receipt), one Auto conversion,
// and an exhaustive search — every format Auto considers at every --step of
// quality (AVIF once per quantizer, at Auto's speed and at the plain
// conversion's), plus the original — for the smallest file whose score
// reaches Auto's target. Without --slow-step, AVIF at speed 4 is tried at
// every --step too; 0 leaves it out. Prints each photo, then the CPU
// time of Auto against WebP (this process and its encoders, one conversion
// at a time) and Auto's bytes against the exhaustive best.
//
// --best-effort converts Auto with its one thorough encode at the end.
//
//   auto_bench [--quality N] [--max PX] [--step N] [--slow-step N] [--no-exhaustive]
//              [--best-effort] [PHOTO...]
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
#include "services/auto_search.h"
#include "services/cancellation_token.h"
#include "services/image_converter.h"
#include "services/prepared_input.h"
#include "services/roads/road.h"
#include "services/roads/road_support.h"
#include "services/run_conversion.h"
#include "services/temporary_files.h"

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
  core::ToolManager tools = core::ToolManager::forApplication();
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
};

// The exhaustive search's best twice: with AVIF encoded as Auto encodes its
// trials (speed 6), and as a plain AVIF conversion does (speed 4); WebP and
// JPEG are encoded alike for both.
struct Reference {
  Best quick;
  Best normal;
  std::string needed;  // per format, the lowest quality that met the target
};

// Every `step` of quality at Auto's speeds; AVIF at speed 4 every
// `slowStep` (0: not at all).
Reference exhaustive(const Bench& bench, const fs::path& photo, int quality, int step,
                     int slowStep) {
  const double target = core::autoTargetScore(quality);
  const core::EncodeSettings settings{.autoFormat = true,
                                      .quality = quality,
                                      .maxWidth = bench.maxSide,
                                      .maxHeight = bench.maxSide};
  const auto prepared =
      bench.converter.prepare({photo, bench.out, std::nullopt, settings}, bench.token);
  const core::RoadInput in{*prepared->input, prepared->size, prepared->carried.metadata,
                           bench.token,      bench.tools,    prepared->inputs};
  const auto original = static_cast<qint64>(fs::file_size(photo));
  Reference best{{"original", original}, {"original", original}, {}};
  const auto onStep = [](int q, int every) { return every > 0 && (q % every == 0 || q == 100); };
  for (const OutputFormat format : {OutputFormat::Avif, OutputFormat::Webp, OutputFormat::Jpeg}) {
    const bool avif = format == OutputFormat::Avif;
    int lastQuick = -1, lastSlow = -1;  // AVIF: the quantizers last encoded
    std::optional<int> lowest;
    for (int q = 0; q <= 100; ++q) {
      for (const bool quick : {true, false}) {
        if (!onStep(q, quick ? step : slowStep) || (!avif && !quick)) continue;
        if (avif) {
          int& last = quick ? lastQuick : lastSlow;
          if (core::avifQuantizer(q) == last) continue;
          last = core::avifQuantizer(q);
        }
        core::TemporaryFile file(core::fileExtension(format));
        QString note = core::roadFor(format).encode(
            in, {.quality = q, .options = settings.options, .output = file.path(), .quick = quick});
        const core::AutoChoice trial = core::scoredCandidate(in, format, q, std::move(file),
                                                             std::move(note), settings.options);
        if (trial.score < target) continue;
        if (quick && !lowest) lowest = q;
        for (Best* kept : {&best.quick, &best.normal}) {
          const bool counts = !avif || (quick == (kept == &best.quick));
          if (counts && trial.bytes < kept->bytes) *kept = {label(format, q), trial.bytes};
        }
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
  int slowStep = -1;  // as --step unless given
  bool searchAll = true;
  bool bestEffort = false;
  Bench bench;
  std::vector<fs::path> photos;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quality") == 0 && i + 1 < argc) {
      quality = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--max") == 0 && i + 1 < argc) {
      bench.maxSide = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--no-exhaustive") == 0) {
      searchAll = false;
    } else if (std::strcmp(argv[i], "--best-effort") == 0) {
      bestEffort = true;
    } else if (std::strcmp(argv[i], "--step") == 0 && i + 1 < argc) {
      step = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--slow-step") == 0 && i + 1 < argc) {
      slowStep = std::max(0, std::atoi(argv[++i]));
    } else {
      photos.emplace_back(argv[i]);
    }
  }
  if (photos.empty()) {
    for (const auto& entry : fs::directory_iterator(QUORVANE_SAMPLES_DIR)) {
      if (entry.path().extension() != ".md") photos.push_back(entry.path());
    }
  }
  if (slowStep < 0) slowStep = step;
  QTemporaryDir folder;
  bench.out = folder.path().toStdString();
  double webpCpu = 0, plainWebpCpu = 0, autoCpu = 0;
  qint64 webpBytes = 0, autoBytes = 0, quickBytes = 0, normalBytes = 0;
  for (const fs::path& photo : photos) {
    const Run webp = bench.convert(photo, {.format = OutputFormat::Webp, .quality = quality});
    // The same without its receipt (Check Quality off), which Auto's scores replace.
    plainWebpCpu += bench
                        .convert(photo, {.format = OutputFormat::Webp,
                                         .quality = quality,
                                         .options = {.checkQuality = false}})
                        .cpu;
    const Run chosen = bench.convert(
        photo, {.autoFormat = true, .quality = quality, .options = {.autoBestEffort = bestEffort}});
    const Reference best = searchAll ? exhaustive(bench, photo, quality, step, slowStep)
                                     : Reference{{"-", 0}, {"-", 0}, {}};
    webpCpu += webp.cpu;
    autoCpu += chosen.cpu;
    webpBytes += webp.outcome.size;
    autoBytes += chosen.outcome.size;
    quickBytes += best.quick.bytes;
    normalBytes += best.normal.bytes;
    const auto& o = chosen.outcome;
    const std::string pick =
        o.chosenFormat ? label(*o.chosenFormat, o.chosenQuality) : std::string("original");
    std::printf(
        "%-40s webp %9lld B %6.2f s | auto %-10s %9lld B %6.2f s %.1f %2d encodes | best %-10s "
        "%9lld B, at speed 4 %-10s %9lld B |%s\n",
        photo.filename().c_str(), static_cast<long long>(webp.outcome.size), webp.cpu, pick.c_str(),
        static_cast<long long>(o.size), chosen.cpu, o.score.value_or(-1),
        o.searchEncodes.value_or(0), best.quick.what.c_str(),
        static_cast<long long>(best.quick.bytes), best.normal.what.c_str(),
        static_cast<long long>(best.normal.bytes), best.needed.c_str());
    std::fflush(stdout);
  }
  std::printf(
      "target %.1f (quality %d), %zu photos within %d px: WebP %lld B %.2f s CPU (%.2f s without "
      "its receipt); Auto %lld B %.2f s CPU (%.1fx WebP, %.1fx without its receipt); exhaustive "
      "best %lld B (Auto %+.1f%%), with AVIF at speed 4 %lld B (Auto %+.1f%%)\n",
      core::autoTargetScore(quality), quality, photos.size(), bench.maxSide,
      static_cast<long long>(webpBytes), webpCpu, plainWebpCpu, static_cast<long long>(autoBytes),
      autoCpu, autoCpu / webpCpu, autoCpu / plainWebpCpu, static_cast<long long>(quickBytes),
      100.0 * (static_cast<double>(autoBytes) / static_cast<double>(quickBytes) - 1),
      static_cast<long long>(normalBytes),
      100.0 * (static_cast<double>(autoBytes) / static_cast<double>(normalBytes) - 1));
}
