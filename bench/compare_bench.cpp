// How soon the compare view has something to show for one photo: converts it
// (WebP 80 by default) into a scratch folder, then opens the compare view's
// model on it as the window does, and times the first (reduced) pictures of
// both sides, the full ones, the difference map, and a trial encode at
// another quality, from the request to its first (reduced) and whole picture.
//
//   compare_bench PHOTO [FORMAT] [QUALITY] [TRIAL_QUALITY] [PREVIEW_W] [PREVIEW_H]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <filesystem>

#include "codec/libvips_runtime.h"
#include "services/conversion_errors.h"
#include "services/image_converter.h"
#include "viewmodels/compare_view_model.h"

namespace fs = std::filesystem;
using namespace quorvane;

namespace {

bool waitFor(const std::function<bool()>& condition) {
  return QTest::qWaitFor(condition, 60000);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  if (argc < 2) {
    std::fprintf(stderr, "usage: compare_bench PHOTO [FORMAT] [QUALITY] [TRIAL] [W] [H]\n");
    return 2;
  }
  const fs::path photo = fs::absolute(argv[1]);
  const auto format =
      core::outputFormatFromRawValue(QString::fromUtf8(argc > 2 ? argv[2] : "webp"));
  const int quality = argc > 3 ? std::atoi(argv[3]) : 80;
  const int trial = argc > 4 ? std::atoi(argv[4]) : 60;
  const int previewWidth = argc > 5 ? std::atoi(argv[5]) : 1280;
  const int previewHeight = argc > 6 ? std::atoi(argv[6]) : 800;
  if (!format) {
    std::fprintf(stderr, "compare_bench: error: unknown format '%s'\n", argv[2]);
    return 2;
  }
  QTemporaryDir scratch;
  core::ImageConverter converter;
  core::CompareSubject subject;
  subject.original = photo;
  subject.originalSize = static_cast<qint64>(fs::file_size(photo));
  subject.settings.format = *format;
  subject.settings.quality = quality;
  subject.settings.options.checkQuality = true;
  try {
    const fs::path folder = scratch.path().toStdString();
    core::EncodedImage encoded =
        converter.encode({photo, folder, std::nullopt, subject.settings}, {});
    subject.output = encoded.staged->publish(
        folder / ("output." + core::fileExtension(*format).toStdString()), nullptr);
    subject.outputSize = static_cast<qint64>(fs::file_size(subject.output));
    subject.score = encoded.score;
  } catch (const core::ConversionFailure& failure) {
    std::fprintf(stderr, "compare_bench: error: %s\n", qPrintable(failure.description()));
    return 1;
  }
  core::CompareViewModel model(converter, fs::path(scratch.path().toStdString()) / "trials");
  fs::create_directories(fs::path(scratch.path().toStdString()) / "trials");

  QElapsedTimer clock;
  clock.start();
  model.open(subject, previewWidth, previewHeight);
  const bool first =
      waitFor([&] { return !model.original().empty() && !model.output().picture.empty(); });
  const qint64 firstMs = clock.elapsed();
  const int firstWidth = first ? model.original().pixels->width() : 0;
  const int firstHeight = first ? model.original().pixels->height() : 0;
  const bool full = waitFor([&] { return model.original().full && model.output().picture.full; });
  const qint64 fullMs = clock.elapsed();

  clock.restart();
  model.setDifferenceMapShown(true);
  const bool map = waitFor([&] { return !model.differenceMap().empty(); });
  const qint64 mapMs = clock.elapsed();

  clock.restart();
  model.requestQuality(trial);
  const bool trialShown = waitFor([&] { return model.output().trial && !model.isEncoding(); });
  const qint64 trialMs = clock.elapsed();
  const bool trialFull = waitFor([&] { return model.output().picture.full; });
  const qint64 trialFullMs = clock.elapsed();
  const bool trialMap = waitFor([&] { return !model.differenceMap().empty(); });
  const qint64 trialMapMs = clock.elapsed();

  std::printf("photo %s: %d x %d, preview %d x %d (first original %d x %d)\n",
              photo.filename().c_str(), model.original().width, model.original().height,
              previewWidth, previewHeight, firstWidth, firstHeight);
  std::printf("first pictures (both sides, reduced): %lld ms%s\n", static_cast<long long>(firstMs),
              first ? "" : " (timed out)");
  std::printf("full pictures (both sides): %lld ms%s\n", static_cast<long long>(fullMs),
              full ? "" : " (timed out)");
  std::printf("difference map: %lld ms%s\n", static_cast<long long>(mapMs),
              map ? "" : " (timed out)");
  std::printf("trial at quality %d shown: %lld ms%s (%lld bytes, score %.1f)\n", trial,
              static_cast<long long>(trialMs), trialShown ? "" : " (timed out)",
              static_cast<long long>(model.output().size), model.output().score.value_or(-1));
  std::printf("trial's whole picture: %lld ms after the request%s\n",
              static_cast<long long>(trialFullMs), trialFull ? "" : " (timed out)");
  std::printf("trial's difference map: %lld ms after the request%s\n",
              static_cast<long long>(trialMapMs), trialMap ? "" : " (timed out)");
  if (!model.problem().isEmpty()) std::printf("problem: %s\n", qPrintable(model.problem()));
  return first && full && map && trialShown && trialFull && trialMap ? 0 : 1;
}
