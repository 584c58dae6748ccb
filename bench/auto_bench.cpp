// What Auto saves against each single format held to the same look: for
// each photo given (default: the samples), Auto's output at the target of a
// quality setting, and each of WebP, JPEG and AVIF searched alone for the
// same target with the same search (the lowest quality whose score
// reaches it, at most six encodes, starting where the previous photo ended).
// Prints each photo's results and the totals; two photos at a time.
//
//   auto_bench [--quality N] [PHOTO...]
#include <QCoreApplication>
#include <QTemporaryDir>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "codec/libvips_runtime.h"
#include "models/output_format.h"
#include "services/auto_format.h"
#include "services/cancellation_token.h"
#include "services/image_converter.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvane;
using core::OutputFormat;

constexpr std::array kSingles = {OutputFormat::Webp, OutputFormat::Jpeg, OutputFormat::Avif};

struct Pick {
  OutputFormat format = OutputFormat::Webp;
  int quality = 0;
  std::int64_t bytes = 0;
  double score = 0;
};

// One format alone, searched as Auto searches each candidate.
Pick searchAlone(const core::ImageConverter& converter, const fs::path& photo, OutputFormat format,
                 int quality, core::AutoStartPoints& starts, const fs::path& out) {
  const double target = core::autoTargetScore(quality);
  core::CancellationToken token;
  std::vector<core::AutoTrial> trials;
  std::optional<Pick> met, closest;
  while (const auto q = core::nextAutoQuality(trials, target, starts.startFor(format), {})) {
    const core::ConversionResult result = converter.convert(
        {photo, out, format, *q, {}, {}, std::nullopt, {.checkQuality = true}}, token, {});
    const double score = result.score.value_or(-1000);
    trials.push_back({*q, result.outputSize, score});
    fs::remove(result.output);
    const Pick pick{format, *q, result.outputSize, score};
    if (score >= target) {
      if (!met || pick.bytes < met->bytes) met = pick;
    } else if (!closest || score > closest->score) {
      closest = pick;
    }
  }
  if (met) starts.remember(format, met->quality);
  return met ? *met : *closest;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  int quality = 80;
  std::vector<fs::path> photos;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quality") == 0 && i + 1 < argc) {
      quality = std::atoi(argv[++i]);
    } else {
      photos.emplace_back(argv[i]);
    }
  }
  if (photos.empty()) {
    for (const auto& entry : fs::directory_iterator(QUORVANE_SAMPLES_DIR)) {
      if (entry.path().extension() != ".md") photos.push_back(entry.path());
    }
  }
  const core::ImageConverter converter;
  core::AutoStartPoints autoStarts;
  std::array<core::AutoStartPoints, kSingles.size()> singleStarts;
  std::vector<Pick> autoPicks(photos.size());
  std::vector<std::array<Pick, kSingles.size()>> singlePicks(photos.size());
  std::atomic<std::size_t> next{0};
  std::mutex printing;
  const auto work = [&] {
    QTemporaryDir folder;
    const fs::path out = folder.path().toStdString();
    core::CancellationToken token;
    for (std::size_t i = next++; i < photos.size(); i = next++) {
      core::ConversionJob job{photos[i], out, OutputFormat::Webp, quality, {}, {}, std::nullopt,
                              {},        true};
      const core::ConversionResult chosen =
          converter.convert(job, token, {nullptr, nullptr, &autoStarts});
      autoPicks[i] = {chosen.chosenFormat.value_or(OutputFormat::Webp), chosen.chosenQuality,
                      chosen.outputSize, chosen.score.value_or(-1000)};
      fs::remove(chosen.output);
      for (std::size_t f = 0; f < kSingles.size(); ++f) {
        singlePicks[i][f] =
            searchAlone(converter, photos[i], kSingles[f], quality, singleStarts[f], out);
      }
      const std::lock_guard lock(printing);
      std::printf("%-44s auto %-4s q%-3d %9lld B %.1f", photos[i].filename().c_str(),
                  core::rawValue(autoPicks[i].format).toUtf8().constData(), autoPicks[i].quality,
                  static_cast<long long>(autoPicks[i].bytes), autoPicks[i].score);
      for (const Pick& p : singlePicks[i]) {
        std::printf(" | %s q%-3d %9lld B %.1f", core::rawValue(p.format).toUtf8().constData(),
                    p.quality, static_cast<long long>(p.bytes), p.score);
      }
      std::printf("\n");
      std::fflush(stdout);
    }
  };
  std::thread other(work);
  work();
  other.join();

  std::int64_t autoTotal = 0;
  std::array<std::int64_t, kSingles.size()> totals{};
  for (std::size_t i = 0; i < photos.size(); ++i) {
    autoTotal += autoPicks[i].bytes;
    for (std::size_t f = 0; f < kSingles.size(); ++f) totals[f] += singlePicks[i][f].bytes;
  }
  std::printf("target %.1f (quality %d), %zu photos: auto %lld B", core::autoTargetScore(quality),
              quality, photos.size(), static_cast<long long>(autoTotal));
  for (std::size_t f = 0; f < kSingles.size(); ++f) {
    std::printf(", %s %lld B (auto %+.1f%%)", core::rawValue(kSingles[f]).toUtf8().constData(),
                static_cast<long long>(totals[f]),
                100.0 * (static_cast<double>(autoTotal) / static_cast<double>(totals[f]) - 1));
  }
  std::printf("\n");
}
