// What a conversion keeps besides the pixels, and which outputs it keeps,
// through the real encoders of every format.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <iterator>

#include "codec/image_codec.h"
#include "codec/indexed_png.h"
#include "codec/perceptual_score.h"
#include "models/quality_verdict.h"
#include "services/image_converter.h"
#include "services/png_quantizer.h"
#include "services/temporary_files.h"
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

TEST_F(OutputOptionsTest, OrientationTagsAgreeWithTheWrittenPixelsInEveryFormat) {
  std::string camera = [&] {
    std::ifstream in(codecData() / "2-camera.jpg", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  const std::size_t entry = camera.find(std::string("\x01\x12\x00\x03", 4));
  ASSERT_NE(entry, std::string::npos);
  // Orientation 6 (stored 64x48) as an SSHORT, and as two SHORTs.
  std::string signedShort = camera;
  signedShort[entry + 3] = 8;
  std::string twoShorts = camera;
  twoShorts[entry + 7] = 2;
  test::writeFile(m_out / "sshort.jpg", signedShort);
  test::writeFile(m_out / "count2.jpg", twoShorts);
  // Orientation 6 in an EXIF block whose IFD0 lies past 64 kB, where
  // libexif does not look.
  std::vector<std::uint8_t> far = {'I', 'I', 42, 0, 0x70, 0x11, 0x01, 0};  // IFD0 at 70,000
  far.resize(70'000, 0);
  for (const int byte : {1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0}) {
    far.push_back(static_cast<std::uint8_t>(byte));
  }
  codec::Metadata farMetadata;
  farMetadata.exif = far;
  codec::RgbaImage stored(64, 48);
  std::fill(stored.data(), stored.data() + stored.byteSize(), 200);
  // Our own PNG writer stores the block as it is.
  ASSERT_TRUE(
      codec::writeIndexedPng(*codec::indexedIfFits(stored, 1), m_out / "far.png", &farMetadata));

  for (OutputFormat format : kAllOutputFormats) {
    for (const char* name : {"sshort.jpg", "count2.jpg", "far.png"}) {
      SCOPED_TRACE(rawValue(format).toStdString() + " from " + name);
      const fs::path out = convert(m_out / name, format, {.keepMetadata = true}).output;
      const auto metadata = codec::readMetadata(out);
      ASSERT_TRUE(metadata);
      // Turned upright, and said so (JPEG cannot hold the 70 kB block).
      const auto& exif = metadata.value().exif;
      EXPECT_LE(codec::exifEntryCount(exif, kOrientation), 1);
      EXPECT_EQ(codec::exifNumber(exif, kOrientation).value_or(1), 1u);
      const auto header = codec::readHeader(out);
      ASSERT_TRUE(header);
      EXPECT_EQ(header.value().orientation, 1);
      EXPECT_EQ(header.value().width, 48);
      EXPECT_EQ(header.value().height, 64);
    }
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

TEST_F(OutputOptionsTest, AProfileThatDoesNotFitOrIsMalformedIsLeftBehindWithANote) {
  const fs::path grey = codecData() / "21-grey-profile-on-rgb.jpg";
  const fs::path malformed = codecData() / "21-malformed-rgb-profile.jpg";
  const auto colour = shownColour(codecData() / "2-adobe-rgb.jpg");
  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    for (bool keep : {false, true}) {
      const ConversionResult ignored = convert(grey, format, {.keepColorProfile = keep});
      EXPECT_EQ(ignored.kind, ConversionResult::Kind::Written);
      EXPECT_EQ(ignored.reason, "Colour profile ignored: it does not fit the image");
    }
    // lcms reads the malformed profile, libpng would refuse to store it: the
    // colours are converted through it and the output carries none.
    const ConversionResult converted = convert(malformed, format, {.keepColorProfile = true});
    ASSERT_EQ(converted.kind, ConversionResult::Kind::Written);
    EXPECT_EQ(converted.reason, "Colour profile converted to sRGB (the embedded one is malformed)");
    const auto metadata = codec::readMetadata(converted.output);
    ASSERT_TRUE(metadata);
    EXPECT_FALSE(codec::iccCanBeKept(metadata.value().icc));
    const auto shown = shownColour(converted.output);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(shown[c], colour[c], 10) << "channel " << c;
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

// Detail a heavy compression loses: a ramp under fine grain.
codec::RgbaImage grain() {
  codec::RgbaImage image(320, 240);
  for (std::size_t i = 0; i < image.byteSize(); ++i) {
    image.data()[i] = i % 4 == 3 ? 255 : static_cast<std::uint8_t>(i / 8 % 160 + (i * 7919 % 61));
  }
  return image;
}

// Smooth shading with hard edges and a little grain, like a photo.
codec::RgbaImage shaded(int seed) {
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

TEST_F(OutputOptionsTest, TheReceiptScoresEveryQualityStepHigherThanTheOneBelow) {
  const auto identical = codec::perceptualScore(grain(), grain());
  ASSERT_TRUE(identical);
  EXPECT_EQ(identical.value(), 100.0);

  int photoNumber = 0;
  for (const codec::RgbaImage& image : {grain(), shaded(1), shaded(2)}) {
    const fs::path photo = m_out / ("photo" + std::to_string(++photoNumber) + ".png");
    ASSERT_TRUE(codec::writePng(image, photo));
    for (OutputFormat format : {OutputFormat::Webp, OutputFormat::Jpeg, OutputFormat::Avif}) {
      double previous = -1000;
      for (int quality : {20, 50, 80, 95}) {
        SCOPED_TRACE(testing::Message() << photo.filename() << " " << rawValue(format).toStdString()
                                        << " q" << quality);
        const ConversionResult result =
            m_converter.convert({photo, m_out.path(), format, quality, {}, {}, std::nullopt, {}},
                                m_token, {&m_reservations, nullptr});
        ASSERT_TRUE(result.score);  // measured by default
        EXPECT_GT(*result.score, previous);
        EXPECT_LT(*result.score, 100.0);
        previous = *result.score;
      }
    }
  }
  EXPECT_FALSE(convert(m_out / "photo1.png", OutputFormat::Webp, {.checkQuality = false}).score);
}

// A logo: a transparent field around an opaque block with a soft edge.
codec::RgbaImage logo() {
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

TEST_F(OutputOptionsTest, ATransparentPngThatComesOutExactReadsIdenticalToTheEye) {
  const fs::path input = m_out / "logo.png";
  ASSERT_TRUE(codec::writePng(logo(), input));
  const ConversionResult kept = convert(input, OutputFormat::Png, {.keepAlpha = true});
  ASSERT_TRUE(kept.score);
  EXPECT_EQ(*kept.score, 100.0);
  EXPECT_EQ(verdictFor(*kept.score), QualityVerdict::Identical);
  // Flattened onto white, it is compared with the input as flattened.
  const ConversionResult filled = convert(input, OutputFormat::Png, {});
  ASSERT_TRUE(filled.score);
  EXPECT_EQ(verdictFor(*filled.score), QualityVerdict::Identical);
}

TEST_F(OutputOptionsTest, TransparencyIsKeptInPngOnlyWhenAskedAndTheRowSaysWhenItIsFilled) {
  const fs::path input = m_out / "logo.png";
  ASSERT_TRUE(codec::writePng(logo(), input));
  const ConversionResult kept = convert(input, OutputFormat::Png, {.keepAlpha = true});
  const auto keptPixels = codec::decode(kept.output);
  ASSERT_TRUE(keptPixels);
  const auto alphaAt = [](const codec::RgbaImage& image, int x, int y) {
    return image.data()[(std::size_t(y) * image.width() + x) * 4 + 3];
  };
  EXPECT_EQ(alphaAt(keptPixels.value(), 2, 2), 0);
  EXPECT_EQ(alphaAt(keptPixels.value(), 12, 10), 128);
  EXPECT_EQ(alphaAt(keptPixels.value(), 20, 10), 255);
  EXPECT_TRUE(kept.reason.isEmpty()) << kept.reason.toStdString();

  for (OutputFormat format : {OutputFormat::Png, OutputFormat::Jpeg}) {
    const ConversionResult filled = convert(input, format, {});
    const auto pixels = codec::decode(filled.output);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(alphaAt(pixels.value(), 2, 2), 255);
    EXPECT_GE(pixels.value().data()[(2 * 48 + 2) * 4], 250);  // white
    EXPECT_EQ(filled.reason, "Transparent areas filled with white");
  }
}

TEST_F(OutputOptionsTest, AnImageThatFitsThePaletteComesOutExactAndIndexed) {
  // A screenshot-like image of 200 colours in blocks.
  codec::RgbaImage screen(100, 80);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) {
      const int colour = (y / 8) * 20 + x / 5;
      std::uint8_t* p = screen.data() + (std::size_t(y) * 100 + x) * 4;
      p[0] = static_cast<std::uint8_t>(colour * 37), p[1] = static_cast<std::uint8_t>(colour),
      p[2] = static_cast<std::uint8_t>(colour * 11), p[3] = 255;
    }
  }
  const fs::path input = m_out / "screen.png";
  ASSERT_TRUE(codec::writePng(screen, input));
  const auto exact = codec::decode(convert(input, OutputFormat::Png, {}).output);
  ASSERT_TRUE(exact);
  EXPECT_TRUE(std::equal(screen.data(), screen.data() + screen.byteSize(), exact.value().data()));

  // Before the optimiser sees it, the road's file is already indexed, also
  // when quantised (64 colours at quality 50).
  for (int quality : {80, 50}) {
    const fs::path written = m_out / ("direct-" + std::to_string(quality) + ".png");
    PNGQuantizer::quantize(input, written, quality, {100, 80}, m_token);
    std::ifstream in(written, std::ios::binary);
    std::string bytes(26, '\0');
    in.read(bytes.data(), 26);
    EXPECT_EQ(bytes[25], 3) << "colour type at quality " << quality;
  }
}

TEST_F(OutputOptionsTest, AutoPublishesOneFileThatLooksTheSameAndLeavesNoCandidates) {
  ScratchDir in;
  ASSERT_TRUE(codec::writePng(grain(), in / "photo.png"));
  ASSERT_TRUE(codec::writePng(logo(), in / "logo.png"));
  AutoStartPoints starts;
  const auto convertAuto = [&](const fs::path& input, int quality) {
    return m_converter.convert(
        {input, m_out.path(), OutputFormat::Webp, quality, {}, {}, std::nullopt, {}, true}, m_token,
        {&m_reservations, nullptr, &starts});
  };
  for (int quality : {80, 95}) {
    SCOPED_TRACE(quality);
    const ConversionResult photo = convertAuto(in / "photo.png", quality);
    ASSERT_TRUE(photo.chosenFormat);
    EXPECT_NE(*photo.chosenFormat, OutputFormat::Heic);
    EXPECT_EQ(photo.output.extension().string().substr(1),
              fileExtension(*photo.chosenFormat).toStdString());
    ASSERT_TRUE(photo.score);
    EXPECT_GE(*photo.score, autoTargetScore(quality));
    // What it reports is what the file is.
    const auto image = codec::decode(photo.output);
    ASSERT_TRUE(image);
    const auto measured = codec::perceptualScore(grain(), image.value());
    ASSERT_TRUE(measured);
    EXPECT_NEAR(measured.value(), *photo.score, 1e-9);
  }
  const auto count = [](const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  };
  EXPECT_EQ(count(m_out.path()), 2);

  // Transparency rules JPEG out and survives in whichever format wins.
  const ConversionResult logoResult = convertAuto(in / "logo.png", 80);
  ASSERT_TRUE(logoResult.chosenFormat);
  EXPECT_NE(*logoResult.chosenFormat, OutputFormat::Jpeg);
  const auto pixels = codec::decode(logoResult.output);
  ASSERT_TRUE(pixels);
  EXPECT_EQ(pixels.value().data()[(2 * 48 + 2) * 4 + 3], 0);

  EXPECT_EQ(count(m_out.path()), 3);  // no candidate beside the winners
  EXPECT_EQ(count(privateTemporaryFolder()), 0);
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
