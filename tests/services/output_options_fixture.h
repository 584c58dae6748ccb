// What the tests of output options share: a converter with the real
// encoders, conversions by options, and small images of known content.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <iterator>

#include "codec/image_codec.h"
#include "codec/perceptual_score.h"
#include "models/quality_verdict.h"
#include "services/auto_format.h"
#include "services/image_converter.h"
#include "services/png_quantizer.h"
#include "services/run_conversion.h"
#include "services/temporary_files.h"
#include "support/test_files.h"

namespace quorvane::core::output_options_test {

namespace fs = std::filesystem;
using test::ScratchDir;

inline fs::path codecData() {
  return fs::path(QUORVANE_TEST_DATA_DIR "/../../codec/data").lexically_normal();
}

inline constexpr std::uint16_t kMake = 0x010F;
inline constexpr std::uint16_t kOrientation = 0x0112;

class OutputOptionsTest : public ::testing::Test {
 protected:
  ConversionOutcome run(const fs::path& input, const fs::path& folder, OutputFormat format,
                        int quality, OutputOptions options, bool autoFormat = false,
                        BatchContext batch = {}) {
    return runConversion(
        m_converter,
        {input,
         folder,
         std::nullopt,
         {.format = format, .autoFormat = autoFormat, .quality = quality, .options = options}},
        m_token, batch);
  }
  ConversionOutcome convert(const fs::path& input, OutputFormat format, OutputOptions options,
                            ConversionLedger* ledger = nullptr) {
    return run(input, m_out.path(), format, 80, options, false, {&m_reservations, ledger});
  }
  // The colour of the middle pixel, as it displays (through any profile).
  static std::array<int, 3> shownColour(const fs::path& file) {
    auto image = codec::decode(file);
    EXPECT_TRUE(image) << file;
    if (!image) return {};
    const auto width = static_cast<std::size_t>(image.value().width());
    const auto middle = static_cast<std::size_t>(image.value().height() / 2);
    const std::uint8_t* p = image.value().data() + (width * middle + width / 2) * 4;
    return {p[0], p[1], p[2]};
  }

  ScratchDir m_out;
  CancellationToken m_token;
  OutputNameReservations m_reservations;
  ImageConverter m_converter;
};

// Detail a heavy compression loses: a ramp under fine grain.
inline codec::RgbaImage grain() {
  codec::RgbaImage image(320, 240);
  for (std::size_t i = 0; i < image.byteSize(); ++i) {
    image.data()[i] = i % 4 == 3 ? 255 : static_cast<std::uint8_t>(i / 8 % 160 + (i * 7919 % 61));
  }
  return image;
}

// Smooth shading with hard edges and a little grain, like a photo.
inline codec::RgbaImage shaded(int seed) {
  codec::RgbaImage image(320, 240);
  std::uint32_t noise = static_cast<std::uint32_t>(seed) * 2654435761u;
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grainValue = static_cast<int>(noise >> 29) - 4;
      const int edge = ((x + seed * 13) / 40 + y / 30) % 2 ? 50 : 0;
      std::uint8_t* p = image.data() + (std::size_t(y) * 320 + x) * 4;
      p[0] = static_cast<std::uint8_t>(std::clamp(60 + x / 2 + edge + grainValue, 0, 255));
      p[1] = static_cast<std::uint8_t>(std::clamp(40 + y / 2 + seed * 20 + grainValue, 0, 255));
      p[2] = static_cast<std::uint8_t>(std::clamp(150 - edge + (x ^ y) % 16 + grainValue, 0, 255));
      p[3] = 255;
    }
  }
  return image;
}

inline std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool samePixels(const fs::path& a, const fs::path& b) {
  const auto first = codec::decode(a);
  const auto second = codec::decode(b);
  return first && second && first.value().byteSize() == second.value().byteSize() &&
         std::equal(first.value().data(), first.value().data() + first.value().byteSize(),
                    second.value().data());
}

// A logo: a transparent field around an opaque block with a soft edge.
inline codec::RgbaImage logo() {
  codec::RgbaImage image(48, 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 48; ++x) {
      std::uint8_t* p = image.data() + (std::size_t(y) * 48 + x) * 4;
      const bool inside = x >= 12 && x < 36 && y >= 8 && y < 24;
      const bool edge = inside && (x == 12 || x == 35);
      p[0] = 200, p[1] = static_cast<std::uint8_t>(x * 5), p[2] = 40;
      p[3] = edge ? 128 : inside ? 255 : 0;
    }
  }
  return image;
}

}  // namespace quorvane::core::output_options_test
