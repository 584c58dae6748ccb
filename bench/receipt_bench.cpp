// What the quality receipt costs against the WebP road it follows, and what
// it says: for each photo given (default: the 12 MP sample), the WebP road's
// time at quality 80, then the receipt's parts (decoding the input at the
// output's size and the output, comparing) at several comparison sizes, and
// the distance of WebP outputs at qualities 5, 80 and 95.
//
//   receipt_bench [PHOTO...]
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "codec/perceptual_distance.h"
#include "services/cancellation_token.h"
#include "services/image_converter.h"
#include "services/image_fitting.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvane;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

codec::RgbaImage decoded(const fs::path& file) {
  auto image = codec::decode(file);
  if (!image) {
    std::fprintf(stderr, "receipt_bench: cannot decode %s\n", file.c_str());
    std::exit(1);
  }
  return std::move(image).value();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  std::vector<fs::path> photos;
  for (int i = 1; i < argc; ++i) photos.emplace_back(argv[i]);
  if (photos.empty()) {
    photos.push_back(fs::path(QUORVANE_SAMPLES_DIR) / "sunset_by_Aitzol_Berasategi.jpg");
  }
  const core::ImageConverter converter;
  core::CancellationToken token;
  for (const fs::path& photo : photos) {
    QTemporaryDir folder;
    const fs::path out = folder.path().toStdString();
    std::printf("%s\n", photo.filename().c_str());
    // The receipt as the converter runs it: the road with and without it,
    // alternately, five times each; medians.
    std::vector<double> without, with;
    std::optional<double> distance;
    for (int run = 0; run < 10; ++run) {
      core::OutputOptions options;
      options.checkQuality = run % 2 == 1;
      const auto start = Clock::now();
      const auto result = converter.convert(
          {photo, out, core::OutputFormat::Webp, 80, {}, {}, {}, options}, token, {});
      (options.checkQuality ? with : without).push_back(secondsSince(start));
      if (result.distance) distance = result.distance;
    }
    std::sort(without.begin(), without.end());
    std::sort(with.begin(), with.end());
    std::printf("  webp q80: %.2f s without the receipt, %.2f s with (+%.0f%%), distance %.2f\n",
                without[2], with[2], 100 * (with[2] / without[2] - 1), distance.value_or(-1));
    // The receipt's steps at several comparison sizes, on the q80 output.
    {
      core::OutputOptions options;
      options.checkQuality = false;
      const fs::path written =
          converter
              .convert({photo, out, core::OutputFormat::Webp, 80, {}, {}, {}, options}, token, {})
              .output;
      const auto header = codec::readHeader(photo);
      for (double megapixels : {0.25, 0.5, 1.0, 2.0}) {
        const double scale =
            std::sqrt(megapixels * 1e6 / (double(header.value().width) * header.value().height));
        const core::PixelSize size{int(header.value().width * scale),
                                   int(header.value().height * scale)};
        const auto start = Clock::now();
        const auto a = core::decodeFitted(photo, size, token);
        const double inputSeconds = secondsSince(start);
        const auto b = core::decodeFitted(written, size, token);
        const double decodeSeconds = secondsSince(start);
        std::printf("  (input %.2f s, output %.2f s)", inputSeconds, decodeSeconds - inputSeconds);
        const auto distance =
            codec::perceptualDistance(a, b, {.stopRequested = {}, .maxPixels = 0});
        std::printf("  receipt at %.2f MP: decode %.2f s, compare %.2f s, distance %.2f\n",
                    megapixels, decodeSeconds, secondsSince(start) - decodeSeconds,
                    distance ? distance.value() : -1.0);
      }
    }
    double webpSeconds = 0;
    for (int quality : {80, 5, 95}) {
      const auto start = Clock::now();
      const fs::path written =
          converter
              .convert({photo, out, core::OutputFormat::Webp, quality, {}, {}, {}, {}}, token, {})
              .output;
      if (quality == 80) webpSeconds = secondsSince(start);
      const auto decodeStart = Clock::now();
      const codec::RgbaImage reference = decoded(photo);
      const codec::RgbaImage candidate = decoded(written);
      const double decodeSeconds = secondsSince(decodeStart);
      std::printf("  webp q%-3d %.2f s  receipt decode %.2f s (%.0f%% of the road)\n", quality,
                  secondsSince(start) - decodeSeconds, decodeSeconds,
                  quality == 80 ? 100 * decodeSeconds / webpSeconds : 0.0);
      for (std::int64_t pixels :
           {std::int64_t{1'000'000}, std::int64_t{2'000'000}, std::int64_t{0}}) {
        if (pixels == 0 && quality != 80) continue;
        const auto compareStart = Clock::now();
        const auto distance = codec::perceptualDistance(reference, candidate,
                                                        {.stopRequested = {}, .maxPixels = pixels});
        std::printf("    compare at %s: distance %.2f in %.2f s\n",
                    pixels ? (std::to_string(pixels / 1'000'000) + " MP").c_str() : "full size",
                    distance ? distance.value() : -1.0, secondsSince(compareStart));
      }
    }
  }
  return 0;
}
