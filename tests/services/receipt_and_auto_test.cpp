// What a conversion says of its output (the receipt), how PNG treats
// transparency and palettes, and what Auto publishes, with the real encoders.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <iterator>

#include "codec/image_codec.h"
#include "codec/perceptual_score.h"
#include "models/quality_verdict.h"
#include "services/auto_format.h"
#include "services/output_options_fixture.h"
#include "services/png_quantizer.h"
#include "services/temporary_files.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::filesIn;
using test::ScratchDir;
using namespace output_options_test;

TEST_F(OutputOptionsTest, AutoNeverWritesAFileLargerThanItsInput) {
  // A JPEG at quality 5: nothing that looks "very close" to it is smaller.
  const fs::path photo = m_out / "source.png";
  ASSERT_TRUE(codec::writePng(shaded(4), photo));
  const ScratchDir folder;
  const fs::path rough = run(photo, folder.path(), OutputFormat::Jpeg, 5, {}, false, {}).output;
  ASSERT_EQ(rough.extension(), ".jpg");
  const ScratchDir out;
  // Asked to look identical to it, every candidate is larger than it is.
  const ConversionOutcome result = run(rough, out.path(), OutputFormat::Webp, 100, {}, true);
  for (const std::string& name : filesIn(out.path())) {
    EXPECT_LE(fs::file_size(out / name), fs::file_size(rough)) << name;
  }
  EXPECT_EQ(result.kind, ConversionOutcome::Kind::KeptOriginal) << result.message.toStdString();
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
        const ConversionOutcome result =
            run(photo, m_out.path(), format, quality, {.ifLarger = IfLarger::Write}, false,
                {&m_reservations, nullptr});
        ASSERT_TRUE(result.score);  // measured by default
        EXPECT_GT(*result.score, previous);
        EXPECT_LT(*result.score, 100.0);
        previous = *result.score;
      }
    }
  }
  EXPECT_FALSE(convert(m_out / "photo1.png", OutputFormat::Webp, {.checkQuality = false}).score);
}

TEST_F(OutputOptionsTest, ATransparentPngThatComesOutExactReadsIdenticalToTheEye) {
  const fs::path input = m_out / "logo.png";
  ASSERT_TRUE(codec::writePng(logo(), input));
  const ConversionOutcome kept = convert(input, OutputFormat::Png, {.keepAlpha = true});
  ASSERT_TRUE(kept.score);
  EXPECT_EQ(*kept.score, 100.0);
  EXPECT_EQ(verdictFor(*kept.score), QualityVerdict::Identical);
  // Flattened onto white, it is compared with the input as flattened.
  const ConversionOutcome filled = convert(input, OutputFormat::Png, {});
  ASSERT_TRUE(filled.score);
  EXPECT_EQ(verdictFor(*filled.score), QualityVerdict::Identical);
}

TEST_F(OutputOptionsTest, TransparencyIsKeptInPngOnlyWhenAskedAndTheRowSaysWhenItIsFilled) {
  const fs::path input = m_out / "logo.png";
  ASSERT_TRUE(codec::writePng(logo(), input));
  // (Written even where larger: the logo is tiny.)
  const ConversionOutcome kept =
      convert(input, OutputFormat::Png, {.ifLarger = IfLarger::Write, .keepAlpha = true});
  const auto keptPixels = codec::decode(kept.output);
  ASSERT_TRUE(keptPixels);
  const auto alphaAt = [](const codec::RgbaImage& image, int x, int y) {
    return image.data()[(std::size_t(y) * image.width() + x) * 4 + 3];
  };
  EXPECT_EQ(alphaAt(keptPixels.value(), 2, 2), 0);
  EXPECT_EQ(alphaAt(keptPixels.value(), 12, 10), 128);
  EXPECT_EQ(alphaAt(keptPixels.value(), 20, 10), 255);
  EXPECT_TRUE(kept.message.isEmpty()) << kept.message.toStdString();

  for (OutputFormat format : {OutputFormat::Png, OutputFormat::Jpeg}) {
    const ConversionOutcome filled = convert(input, format, {.ifLarger = IfLarger::Write});
    const auto pixels = codec::decode(filled.output);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(alphaAt(pixels.value(), 2, 2), 255);
    EXPECT_GE(pixels.value().data()[(2 * 48 + 2) * 4], 250);  // white
    EXPECT_TRUE(filled.message.startsWith("Transparent areas filled with white"))
        << filled.message.toStdString();
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
  // (Written even where larger than the tiny inputs: this is about the search.)
  const auto convertAuto = [&](const fs::path& input, int quality) {
    return run(input, m_out.path(), OutputFormat::Webp, quality, {.ifLarger = IfLarger::Write},
               true, {&m_reservations, nullptr});
  };
  for (int quality : {80, 95}) {
    SCOPED_TRACE(quality);
    const ConversionOutcome photo = convertAuto(in / "photo.png", quality);
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
  const ConversionOutcome logoResult = convertAuto(in / "logo.png", 80);
  ASSERT_TRUE(logoResult.chosenFormat);
  EXPECT_NE(*logoResult.chosenFormat, OutputFormat::Jpeg);
  const auto pixels = codec::decode(logoResult.output);
  ASSERT_TRUE(pixels);
  EXPECT_EQ(pixels.value().data()[(2 * 48 + 2) * 4 + 3], 0);

  EXPECT_EQ(count(m_out.path()), 3);  // no candidate beside the winners
  EXPECT_EQ(count(privateTemporaryFolder()), 0);
}

TEST_F(OutputOptionsTest, BestEffortAddsOneThoroughEncodeAndKeepsTheSmallerFileThatMeetsTheTarget) {
  // Smooth colour fields, which AVIF wins.
  codec::RgbaImage smooth(256, 192);
  for (int y = 0; y < 192; ++y) {
    for (int x = 0; x < 256; ++x) {
      const double u = x / 256.0, v = y / 192.0;
      std::uint8_t* p = smooth.data() + (static_cast<std::size_t>(y) * 256 + x) * 4;
      p[0] = static_cast<std::uint8_t>(120 + 80 * std::sin(3 * u + 1) * std::cos(2 * v));
      p[1] = static_cast<std::uint8_t>(100 + 70 * std::sin(2 * v + u));
      p[2] = static_cast<std::uint8_t>(140 + 60 * std::cos(4 * u * v + 0.5));
      p[3] = 255;
    }
  }
  ScratchDir in;
  const fs::path input = in / "smooth.png";
  ASSERT_TRUE(codec::writePng(smooth, input));
  const OutputOptions written{.ifLarger = IfLarger::Write};
  OutputOptions thorough = written;
  thorough.autoBestEffort = true;
  const ScratchDir quickOut, bestOut, plainOut;
  const ConversionOutcome quick =
      run(input, quickOut.path(), OutputFormat::Webp, 80, written, true);
  const ConversionOutcome best = run(input, bestOut.path(), OutputFormat::Webp, 80, thorough, true);
  ASSERT_EQ(quick.kind, ConversionOutcome::Kind::Completed) << quick.message.toStdString();
  ASSERT_EQ(best.kind, ConversionOutcome::Kind::Completed) << best.message.toStdString();
  ASSERT_EQ(quick.chosenFormat, OutputFormat::Avif) << "smooth colours are AVIF's to win";
  // The same search, then one encode more at the quality it chose.
  EXPECT_EQ(best.chosenFormat, quick.chosenFormat);
  EXPECT_EQ(best.chosenQuality, quick.chosenQuality);
  ASSERT_TRUE(quick.searchEncodes && best.searchEncodes);
  EXPECT_EQ(*best.searchEncodes, *quick.searchEncodes + 1);
  EXPECT_LE(best.size, quick.size);
  ASSERT_TRUE(best.score);
  EXPECT_GE(*best.score, autoTargetScore(80));
  // Either the quick trial stood, or it is what a plain AVIF conversion at
  // that quality writes (the thorough setting), no third file.
  const ConversionOutcome plain = run(input, plainOut.path(), OutputFormat::Avif,
                                      quick.chosenQuality, {.ifLarger = IfLarger::Write});
  ASSERT_EQ(plain.kind, ConversionOutcome::Kind::Completed) << plain.message.toStdString();
  const std::string published = bytesOf(best.output);
  EXPECT_TRUE(published == bytesOf(quick.output) ||
              (published == bytesOf(plain.output) && plain.size < quick.size));
}

}  // namespace
}  // namespace quorvane::core
