// What a conversion keeps besides the pixels, and which outputs it keeps,
// through the real encoders of every format.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <iterator>

#include "codec/image_codec.h"
#include "codec/perceptual_distance.h"
#include "services/image_converter.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

fs::path codecData() {
  return fs::path(QUORVANE_TEST_DATA_DIR "/../../codec/data").lexically_normal();
}

constexpr std::uint16_t kMake = 0x010F;
constexpr std::uint16_t kOrientation = 0x0112;

class OutputOptionsTest : public ::testing::Test {
 protected:
  ConversionResult convert(const fs::path& input, OutputFormat format, OutputOptions options,
                           ConversionLedger* ledger = nullptr) {
    return m_converter.convert({input, m_out.path(), format, 80, {}, {}, std::nullopt, options},
                               m_token, {&m_reservations, ledger});
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

TEST_F(OutputOptionsTest, CameraDataIsKeptUprightOnlyWhenAsked) {
  const fs::path photo = codecData() / "2-camera.jpg";  // stored 64x48, orientation 6, GPS
  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    const fs::path kept = convert(photo, format, {.keepMetadata = true}).output;
    const auto header = codec::readHeader(kept);
    ASSERT_TRUE(header);
    EXPECT_EQ(header.value().width, 48);  // the pixels are upright
    EXPECT_EQ(header.value().height, 64);
    EXPECT_EQ(header.value().orientation, 1);
    const auto metadata = codec::readMetadata(kept);
    ASSERT_TRUE(metadata);
    const auto& exif = metadata.value().exif;
    EXPECT_EQ(codec::exifText(exif, kMake), "TestMake");
    EXPECT_TRUE(codec::exifHasGps(exif));
    EXPECT_EQ(codec::exifNumber(exif, kOrientation).value_or(1), 1u);

    // By default nothing goes along: no camera, no position.
    const fs::path stripped = convert(photo, format, {}).output;
    const auto none = codec::readMetadata(stripped);
    ASSERT_TRUE(none);
    EXPECT_FALSE(codec::exifText(none.value().exif, kMake));
    EXPECT_FALSE(codec::exifHasGps(none.value().exif));
    EXPECT_TRUE(none.value().xmp.empty());
  }
}

TEST_F(OutputOptionsTest, AGpsPositionNeverLeaksThroughAToolThatReadsTheFileItself) {
  // Upright and plain, so WebP and AVIF hand the file itself to their tools.
  const fs::path photo = m_out / "upright.jpg";
  std::string bytes = [&] {
    std::ifstream in(codecData() / "2-camera.jpg", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  const std::size_t orientation = bytes.find(std::string("\x01\x12\x00\x03", 4));
  ASSERT_NE(orientation, std::string::npos);
  bytes[orientation + 9] = 1;  // the SHORT value, big-endian
  test::writeFile(photo, bytes);
  for (OutputFormat format : {OutputFormat::Webp, OutputFormat::Avif}) {
    const auto metadata = codec::readMetadata(convert(photo, format, {}).output);
    ASSERT_TRUE(metadata);
    EXPECT_FALSE(codec::exifHasGps(metadata.value().exif)) << rawValue(format).toStdString();
  }
}

TEST_F(OutputOptionsTest, AnRgbProfileIsKeptWithItsColoursOrConverted) {
  const fs::path photo = codecData() / "2-adobe-rgb.jpg";
  const auto input = codec::readMetadata(photo);
  ASSERT_TRUE(input);
  const auto colour = shownColour(photo);
  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    for (bool keep : {true, false}) {
      const fs::path out = convert(photo, format, {.keepColorProfile = keep}).output;
      const auto metadata = codec::readMetadata(out);
      ASSERT_TRUE(metadata);
      if (keep) {
        EXPECT_EQ(metadata.value().icc, input.value().icc);
      } else {
        EXPECT_NE(metadata.value().icc, input.value().icc);
      }
      // Either way the colour shows as it did: kept numbers under the kept
      // profile, or numbers converted to sRGB.
      const auto shown = shownColour(out);
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(shown[c], colour[c], 10) << "channel " << c;
    }
  }
}

TEST_F(OutputOptionsTest, AnOutputThatSavesTooLittleIsNotWritten) {
  // A tiny flat PNG: any JPEG of it is larger.
  const fs::path small = m_out / "flat.png";
  test::writeBmp(m_out / "flat.bmp", 8, 8);
  ASSERT_TRUE(codec::writePng(codec::decode(m_out / "flat.bmp").value(), small));
  const ScratchDir folder;
  const ConversionResult grown = m_converter.convert(
      {small, folder.path(), OutputFormat::Jpeg, 80, {}, {}, std::nullopt, {.minSaving = 0}},
      m_token, {});
  EXPECT_EQ(grown.kind, ConversionResult::Kind::NotKept);
  EXPECT_TRUE(grown.reason.startsWith("Skipped: ")) << grown.reason.toStdString();
  EXPECT_TRUE(grown.reason.endsWith("% larger than the original")) << grown.reason.toStdString();
  EXPECT_TRUE(fs::is_empty(folder.path()));

  // A photo that shrinks a lot passes 50 % but not 99 %.
  const fs::path photo = codecData() / "2-camera.jpg";
  EXPECT_EQ(convert(photo, OutputFormat::Webp, {.minSaving = 10}).kind,
            ConversionResult::Kind::Written);
  const ConversionResult tooLittle = convert(photo, OutputFormat::Webp, {.minSaving = 99});
  EXPECT_EQ(tooLittle.kind, ConversionResult::Kind::NotKept);
  EXPECT_TRUE(tooLittle.reason.contains("smaller, minimum 99%")) << tooLittle.reason.toStdString();
}

TEST_F(OutputOptionsTest, FileDatesAreKeptWhenAsked) {
  const fs::path photo = m_out / "dated.jpg";
  fs::copy_file(codecData() / "2-camera.jpg", photo);
  const auto then = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  fs::last_write_time(photo, then);
  EXPECT_EQ(fs::last_write_time(convert(photo, OutputFormat::Jpeg, {.keepFileDates = true}).output),
            then);
  EXPECT_NE(fs::last_write_time(convert(photo, OutputFormat::Jpeg, {}).output), then);
}

TEST_F(OutputOptionsTest, TheReceiptScoresHeavyCompressionWorseThanLight) {
  // Detail a heavy compression loses: a ramp under fine grain.
  codec::RgbaImage image(320, 240);
  for (std::size_t i = 0; i < image.byteSize(); ++i) {
    image.data()[i] = i % 4 == 3 ? 255 : static_cast<std::uint8_t>(i / 8 % 160 + (i * 7919 % 61));
  }
  const fs::path photo = m_out / "grain.png";
  ASSERT_TRUE(codec::writePng(image, photo));
  const auto identical = codec::perceptualDistance(image, image.clone());
  ASSERT_TRUE(identical);
  EXPECT_LT(identical.value(), 0.05);

  const auto scored = [&](OutputFormat format, int quality) {
    const ConversionResult result = m_converter.convert(
        {photo, m_out.path(), format, quality, {}, {}, std::nullopt, {.checkQuality = true}},
        m_token, {&m_reservations, nullptr});
    EXPECT_TRUE(result.distance) << rawValue(format).toStdString();
    return result.distance.value_or(0);
  };
  for (OutputFormat format : {OutputFormat::Webp, OutputFormat::Jpeg, OutputFormat::Avif}) {
    EXPECT_GT(scored(format, 5), scored(format, 95) + 0.5) << rawValue(format).toStdString();
  }
  EXPECT_GT(scored(OutputFormat::Png, 80), 0.0);  // the palette road is scored like any other
  EXPECT_FALSE(convert(photo, OutputFormat::Webp, {}).distance);  // off by default
}

TEST_F(OutputOptionsTest, ALedgerLeavesAnInputConvertedBeforeAlone) {
  const fs::path photo = m_out / "in.jpg";
  fs::copy_file(codecData() / "2-camera.jpg", photo);
  const OutputOptions options{.skipConverted = true};
  ConversionLedger first;
  const ConversionResult made = convert(photo, OutputFormat::Webp, options, &first);
  ASSERT_EQ(made.kind, ConversionResult::Kind::Written);
  EXPECT_TRUE(first.save().isEmpty());

  ConversionLedger second;
  const ConversionResult again = convert(photo, OutputFormat::Webp, options, &second);
  EXPECT_EQ(again.kind, ConversionResult::Kind::AlreadyConverted);
  EXPECT_EQ(again.output, made.output);
  // Other settings, or the output gone, convert again.
  EXPECT_EQ(convert(photo, OutputFormat::Jpeg, options, &second).kind,
            ConversionResult::Kind::Written);
  fs::remove(made.output);
  EXPECT_EQ(convert(photo, OutputFormat::Webp, options, &second).kind,
            ConversionResult::Kind::Written);
}

}  // namespace
}  // namespace quorvane::core
