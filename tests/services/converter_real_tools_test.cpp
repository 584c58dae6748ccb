// The converter with the real encoders, as the application runs them.
#include <gtest/gtest.h>

#include <QLocale>
#include <set>

#include "services/converter_test_support.h"
#include "services/image_converter.h"
#include "services/run_conversion.h"
#include "services/temporary_files.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::filesIn;
using test::ScratchDir;
using namespace converter_test;

class ConverterWithRealToolsTest : public ::testing::Test {
 protected:
  fs::path convert(const fs::path& input, OutputFormat format, std::optional<int> maxW = {},
                   int quality = 80) {
    return written(m_converter, makeJob(input, m_out.path(), format, quality, maxW), m_token);
  }

  ScratchDir m_in;
  ScratchDir m_out;
  CancellationToken m_token;
  ImageConverter m_converter;
};

TEST_F(ConverterWithRealToolsTest, EveryFormatDecodesAtTheFittedSize) {
  writePng(m_in / "photo.png", 64, 48);
  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    const fs::path out = convert(m_in / "photo.png", format, 32);
    EXPECT_EQ(QString::fromStdString(out.extension().native()).mid(1), fileExtension(format));
    const auto header = codec::readHeader(out);
    ASSERT_TRUE(header) << out;
    EXPECT_EQ(header.value().width, 32);
    EXPECT_EQ(header.value().height, 24);
  }
  EXPECT_TRUE(filesIn(privateTemporaryFolder()).empty());
}

TEST_F(ConverterWithRealToolsTest, SizesAFormatCannotHoldFailEarlyOrAreShrunkFirst) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  writePng(m_in / "strip.png", 10000, 1);
  EXPECT_EQ(describe([&] { convert(m_in / "strip.png", OutputFormat::Heic); }),
            "HEIC cannot hold an image of 10,000 × 1 pixels (it needs a short side of 32 pixels "
            "or more once the long side reaches 4,217)");
  writePng(m_in / "wide.png", 16384, 2);
  EXPECT_EQ(describe([&] { convert(m_in / "wide.png", OutputFormat::Webp); }),
            "WebP cannot hold an image of 16,384 × 2 pixels (its sides are at most 16,383 pixels)");
  EXPECT_TRUE(filesIn(m_out.path()).empty());
  // A bound that brings it within reach: cwebp gets a copy it can read.
  const auto header = codec::readHeader(convert(m_in / "wide.png", OutputFormat::Webp, 8192));
  ASSERT_TRUE(header);
  EXPECT_EQ(header.value().width, 8192);
  EXPECT_EQ(header.value().height, 1);
}

TEST_F(ConverterWithRealToolsTest, DamageOnlyTheToolsMindConvertsLikeAnyOtherFormat) {
  // Every pixel is there, but the end chunk is missing: our decoder reads
  // it, cwebp and avifenc (libpng) refuse it.
  writePng(m_in / "whole.png", 64, 48);
  std::ifstream in(m_in / "whole.png", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  test::writeFile(m_in / "no-end.png", bytes.substr(0, bytes.size() - 12));
  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    EXPECT_TRUE(codec::readHeader(convert(m_in / "no-end.png", format)));
  }
}

TEST_F(ConverterWithRealToolsTest, PngHasFewColoursAndNoTransparency) {
  writePng(m_in / "gradient.png", 96, 64);
  for (auto [quality, colours] : {std::pair{50, 64}, {75, 128}, {100, 256}}) {
    auto decoded = codec::decode(convert(m_in / "gradient.png", OutputFormat::Png, {}, quality));
    ASSERT_TRUE(decoded);
    std::set<std::uint32_t> distinct;
    const auto& image = decoded.value();
    for (std::size_t i = 0; i < image.byteSize(); i += 4) {
      const std::uint8_t* p = image.data() + i;
      distinct.insert(p[0] << 16 | p[1] << 8 | p[2]);
      ASSERT_EQ(p[3], 255);
    }
    EXPECT_LE(static_cast<int>(distinct.size()), colours) << quality;
  }
}

TEST_F(ConverterWithRealToolsTest, OddInputsEndUprightOrAsAClearError) {
  const fs::path data = codecData();
  // Stored 4x2 with orientation 6: displayed (and written) 2 wide, 4 tall.
  const auto rotatedHeader = codec::readHeader(data / "2-exif-orientation-6.jpg");
  ASSERT_TRUE(rotatedHeader);
  for (OutputFormat format : {OutputFormat::Webp, OutputFormat::Avif}) {
    const auto header = codec::readHeader(convert(data / "2-exif-orientation-6.jpg", format));
    ASSERT_TRUE(header);
    EXPECT_EQ(header.value().width, rotatedHeader.value().width);
    EXPECT_EQ(header.value().height, rotatedHeader.value().height);
  }
  // The tools would turn a cut-short file into a grey-bottomed picture: one
  // rule on every road, the file fails as damaged.
  for (const char* damaged : {"2-truncated.jpg", "2-truncated.png"}) {
    for (OutputFormat format : kAllOutputFormats) {
      SCOPED_TRACE(std::string(damaged) + " to " + rawValue(format).toStdString());
      EXPECT_EQ(describe([&] { convert(data / damaged, format); }), "The image data is damaged");
    }
  }
  // What is valid but cannot be read here is named, with libheif's reason
  // for those who ask.
  const ConversionOutcome sequence = runConversion(
      m_converter, makeJob(data / "24-sequence-only.heif", m_out.path(), OutputFormat::Webp),
      m_token, {});
  EXPECT_EQ(sequence.kind, ConversionOutcome::Kind::Failed);
  EXPECT_EQ(sequence.message.toStdString(), "HEIF image sequences are not supported");
  EXPECT_TRUE(sequence.detail.contains(QStringLiteral("heif"))) << sequence.detail.toStdString();
}

}  // namespace
}  // namespace quorvane::core
