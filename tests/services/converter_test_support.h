// What the converter tests share: small images, jobs, and conversions that
// must write a file or say why not.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "codec/image_codec.h"
#include "services/conversion_errors.h"
#include "services/image_converter.h"
#include "services/run_conversion.h"

namespace quorvane::core::converter_test {

namespace fs = std::filesystem;

inline fs::path codecData() {
  return fs::path(QUORVANE_TEST_DATA_DIR "/../../codec/data").lexically_normal();
}

// A gradient with a transparent left column, so alpha handling shows.
inline codec::RgbaImage makeImage(int width, int height) {
  codec::RgbaImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = image.data() + 4 * (static_cast<std::size_t>(y) * width + x);
      p[0] = static_cast<std::uint8_t>(x * 255 / std::max(1, width - 1));
      p[1] = static_cast<std::uint8_t>(y * 255 / std::max(1, height - 1));
      p[2] = 90;
      p[3] = x == 0 ? 0 : 255;
    }
  }
  return image;
}

inline void writePng(const fs::path& path, int width, int height) {
  ASSERT_TRUE(codec::writePng(makeImage(width, height), path));
}

inline std::vector<std::string> readLines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A conversion that failed, as its row says it.
struct FailedOutcome : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline std::string describe(const std::function<void()>& action) {
  try {
    action();
  } catch (const ConversionFailure& failure) {
    return failure.description().toStdString();
  } catch (const FailedOutcome& failure) {
    return failure.what();
  }
  return "no error";
}

inline ConversionJob makeJob(const fs::path& input, const fs::path& folder, OutputFormat format,
                             int quality = 80, std::optional<int> maxW = {},
                             std::optional<int> maxH = {}, std::optional<fs::path> custom = {}) {
  return {
      input, folder, custom,
      EncodeSettings{.format = format, .quality = quality, .maxWidth = maxW, .maxHeight = maxH}};
}

// What a conversion wrote (the tests of this file all expect a file).
// Written even when larger than the input: fake tools copy what they read,
// and the tiny test images grow in most formats; what happens to larger
// outputs is tested with the options.
inline fs::path written(const ImageConverter& converter, ConversionJob job,
                        const CancellationToken& token,
                        OutputNameReservations* reservations = nullptr) {
  job.settings.options.ifLarger = IfLarger::Write;
  const ConversionOutcome outcome = runConversion(converter, job, token, {reservations, nullptr});
  if (outcome.kind == ConversionOutcome::Kind::Cancelled) throw CancellationError();
  if (outcome.kind == ConversionOutcome::Kind::Failed) {
    throw FailedOutcome(outcome.message.toStdString());
  }
  return outcome.output;
}

}  // namespace quorvane::core::converter_test
