// Lossless conversions with the real encoders: input and output are both
// decoded and every pixel compared.
#include <gtest/gtest.h>

#include <QProcess>
#include <cstring>

#include "services/converter_test_support.h"
#include "services/image_converter.h"
#include "services/lossless_error.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using namespace converter_test;

// Photo-like noise over the test gradient, its left column transparent.
codec::RgbaImage noisyImage(int width, int height, bool opaque) {
  codec::RgbaImage image = makeImage(width, height);
  std::uint32_t state = 777;
  for (std::size_t i = 0; i < image.byteSize(); ++i) {
    state = state * 1664525u + 1013904223u;
    if (i % 4 != 3) image.data()[i] = static_cast<std::uint8_t>(image.data()[i] ^ (state >> 29));
    if (i % 4 == 3 && opaque) image.data()[i] = 255;
  }
  return image;
}

// Where the two decode differently; empty when every pixel is the same.
std::string firstDifference(const fs::path& a, const fs::path& b) {
  auto left = codec::decode(a);
  auto right = codec::decode(b);
  if (!left || !right) return "does not decode";
  const codec::RgbaImage& x = left.value();
  const codec::RgbaImage& y = right.value();
  if (x.width() != y.width() || x.height() != y.height()) return "sizes differ";
  for (std::size_t i = 0; i < x.byteSize(); ++i) {
    if (x.data()[i] != y.data()[i]) {
      return "pixel " + std::to_string(i / 4) + " channel " + std::to_string(i % 4) + ": " +
             std::to_string(x.data()[i]) + " vs " + std::to_string(y.data()[i]);
    }
  }
  return {};
}

class LosslessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(codec::writePng(noisyImage(96, 72, false), m_in / "clear.png"));
    ASSERT_TRUE(codec::writeTga(noisyImage(96, 72, true), m_in / "photo.tga"));
    QProcess cjpeg;
    cjpeg.start(QStringLiteral("cjpeg"),
                {QStringLiteral("-quality"), QStringLiteral("92"), QStringLiteral("-outfile"),
                 QString::fromStdString((m_in / "photo.jpg").native()),
                 QString::fromStdString((m_in / "photo.tga").native())});
    ASSERT_TRUE(cjpeg.waitForFinished(30000));
    ASSERT_EQ(cjpeg.exitCode(), 0);
  }
  ConversionOutcome convert(const fs::path& input, OutputFormat format, bool same = false) {
    ConversionJob job = makeJob(input, m_out.path(), format);
    job.settings.sameFormat = same;
    job.settings.options.lossless = true;
    job.settings.options.ifLarger = IfLarger::Write;
    return runConversion(m_converter, job, m_token, {});
  }

  ScratchDir m_in;
  ScratchDir m_out;
  CancellationToken m_token;
  ImageConverter m_converter;
};

TEST_F(LosslessTest, EveryLosslessRoadKeepsEveryPixel) {
  const struct {
    const char* input;
    OutputFormat format;
  } cases[] = {{"photo.jpg", OutputFormat::Jpeg}, {"clear.png", OutputFormat::Png},
               {"clear.png", OutputFormat::Webp}, {"clear.png", OutputFormat::Avif},
               {"photo.jpg", OutputFormat::Png},  {"photo.jpg", OutputFormat::Webp}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " to " + rawValue(c.format).toStdString());
    const ConversionOutcome outcome = convert(m_in / c.input, c.format);
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
    EXPECT_EQ(firstDifference(m_in / c.input, outcome.output), "");
    EXPECT_EQ(outcome.score, 100.0);
    fs::remove(outcome.output);
  }
}

TEST_F(LosslessTest, AJpegKeepsItsCoefficientsUnlessItIsStoredTurned) {
  const ConversionOutcome same = convert(m_in / "photo.jpg", OutputFormat::Webp, true);
  ASSERT_EQ(same.kind, ConversionOutcome::Kind::Completed) << same.message.toStdString();
  EXPECT_EQ(same.chosenFormat, OutputFormat::Jpeg);
  EXPECT_EQ(firstDifference(m_in / "photo.jpg", same.output), "");
  // Turned by jpegtran, its chroma is interpolated anew and pixels change.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  const ConversionOutcome turned =
      convert(codecData() / "2-exif-orientation-6.jpg", OutputFormat::Jpeg);
  EXPECT_EQ(turned.kind, ConversionOutcome::Kind::Failed);
  EXPECT_EQ(turned.message.toStdString(),
            "This JPEG is stored turned, and turning it upright changes pixels: choose PNG or "
            "WebP for it");
}

TEST_F(LosslessTest, WhatCannotBeLosslessSaysWhyAndWritesNothing) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  const ConversionOutcome fromPng = convert(m_in / "clear.png", OutputFormat::Jpeg);
  EXPECT_EQ(fromPng.kind, ConversionOutcome::Kind::Failed);
  EXPECT_EQ(fromPng.message.toStdString(),
            "Lossless JPEG needs a complete JPEG at its own size: choose PNG or WebP, or Same as "
            "Original");
  // A damaged JPEG fails as it does in every other mode.
  for (bool same : {false, true}) {
    const ConversionOutcome cut =
        convert(codecData() / "2-truncated.jpg", OutputFormat::Jpeg, same);
    EXPECT_EQ(cut.kind, ConversionOutcome::Kind::Failed);
    EXPECT_EQ(cut.message.toStdString(), "The image data is damaged");
  }
  const ConversionOutcome heic = convert(m_in / "clear.png", OutputFormat::Heic);
  EXPECT_EQ(heic.kind, ConversionOutcome::Kind::Failed);
  EXPECT_TRUE(heic.message.startsWith(QStringLiteral("Lossless HEIC is not available")));
  EXPECT_TRUE(test::filesIn(m_out.path()).empty());

  // Before a batch: HEIC and Auto refuse; Same as Original writes HEIC
  // inputs as PNG instead.
  EncodeSettings settings{.format = OutputFormat::Heic};
  EXPECT_FALSE(losslessUnavailable(settings));
  settings.options.lossless = true;
  EXPECT_TRUE(losslessUnavailable(settings));
  settings.sameFormat = true;
  EXPECT_FALSE(losslessUnavailable(settings));
  EXPECT_EQ(losslessFormat(OutputFormat::Heic), OutputFormat::Png);
  settings = {.autoFormat = true};
  settings.options.lossless = true;
  EXPECT_TRUE(losslessUnavailable(settings));
}

TEST(CheckEveryPixel, NamesTheFirstPixelThatChanged) {
  ScratchDir dir;
  codec::RgbaImage image = makeImage(8, 4);
  ASSERT_TRUE(codec::writePng(image, dir / "a.png"));
  const CancellationToken token;
  EXPECT_NO_THROW(checkEveryPixel(image, dir / "a.png", false, token));
  image.data()[4 * (2 * 8 + 5) + 1] ^= 1;  // column 5, row 2
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(describe([&] { checkEveryPixel(image, dir / "a.png", false, token); }),
            "The output is not lossless: the pixel at 5, 2 changed");
}

}  // namespace
}  // namespace quorvane::core
