// What a conversion keeps besides the pixels, and which outputs it keeps,
// through the real encoders of every format.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>

#include "codec/image_codec.h"
#include "codec/indexed_png.h"
#include "codec/perceptual_score.h"
#include "models/quality_verdict.h"
#include "services/auto_format.h"
#include "services/output_options_fixture.h"
#include "services/png_quantizer.h"
#include "services/process_runner.h"
#include "services/temporary_files.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::filesIn;
using test::ScratchDir;
using namespace output_options_test;

TEST_F(OutputOptionsTest, CameraDataIsKeptUprightOnlyWhenAsked) {
  const fs::path photo = codecData() / "2-camera.jpg";  // stored 64x48, orientation 6, GPS
  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    // (Written even where it is larger: this small photo grows in some formats.)
    const fs::path kept =
        convert(photo, format, {.ifLarger = IfLarger::Write, .keepMetadata = true}).output;
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

    // By default nothing goes along: no camera, no position (also where the
    // original stands in for an output that would grow).
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
      const fs::path out =
          convert(m_out / name, format, {.ifLarger = IfLarger::Write, .keepMetadata = true}).output;
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

// How far JPEG XL at quality 80 moves this flat, saturated colour: its
// zero channel comes back as 12.
constexpr int kJxlNear = 14;

// The profile a JPEG XL file was made in, as djxl tells it: lossy JPEG XL
// stores colours in its own space, and libvips reads the profile of the
// linear sRGB the decoder hands out instead.
std::vector<std::uint8_t> originalJxlProfile(const fs::path& jxl, const fs::path& folder) {
  const fs::path icc = folder / "original.icc";
  runProcess(ToolManager::forApplication().toolPath(QStringLiteral("djxl")),
             {jxl.native(), (folder / "decoded.png").native(), "--orig_icc_out=" + icc.native()},
             CancellationToken());
  std::ifstream in(icc, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
      const bool jxl = format == OutputFormat::Jxl;
      const auto profile = jxl ? originalJxlProfile(out, m_out.path()) : metadata.value().icc;
      if (keep && jxl) {
        // libjxl 0.9 and later may store a profile it recognises as a colour
        // encoding and give back its own, equivalent profile: an RGB one,
        // whose colours the check below holds to the original's.
        ASSERT_GE(profile.size(), 20u);
        EXPECT_EQ(std::string(profile.begin() + 16, profile.begin() + 20), "RGB ");
      } else if (keep) {
        EXPECT_EQ(profile, input.value().icc);
      } else {
        EXPECT_NE(profile, input.value().icc);
      }
      // Either way the colour shows as it did: kept numbers under the kept
      // profile, or numbers converted to sRGB.
      const int near = jxl ? kJxlNear : 10;
      const auto shown = shownColour(out);
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(shown[c], colour[c], near) << "channel " << c;
    }
  }
}

TEST_F(OutputOptionsTest, AProfileThatDoesNotFitOrIsMalformedIsLeftBehindWithANote) {
  const fs::path grey = codecData() / "21-grey-profile-on-rgb.jpg";
  const fs::path malformed = codecData() / "21-malformed-rgb-profile.jpg";
  const auto colour = shownColour(codecData() / "2-adobe-rgb.jpg");
  // (Written even where it is larger: these small photos grow in some formats.)
  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    for (bool keep : {false, true}) {
      const ConversionOutcome ignored =
          convert(grey, format, {.ifLarger = IfLarger::Write, .keepColorProfile = keep});
      EXPECT_EQ(ignored.kind, ConversionOutcome::Kind::Completed);
      EXPECT_TRUE(ignored.message.startsWith("Colour profile ignored: it does not fit the image"))
          << ignored.message.toStdString();
    }
    // lcms reads the malformed profile, libpng would refuse to store it: the
    // colours are converted through it and the output carries none.
    const ConversionOutcome converted =
        convert(malformed, format, {.ifLarger = IfLarger::Write, .keepColorProfile = true});
    ASSERT_EQ(converted.kind, ConversionOutcome::Kind::Completed);
    EXPECT_TRUE(converted.message.startsWith(
        "Colour profile converted to sRGB (the embedded one is malformed)"))
        << converted.message.toStdString();
    const auto metadata = codec::readMetadata(converted.output);
    ASSERT_TRUE(metadata);
    if (format == OutputFormat::Jxl) {
      // A JPEG XL file always states its colours: sRGB here.
      const auto given = codec::readMetadata(malformed);
      ASSERT_TRUE(given);
      EXPECT_NE(originalJxlProfile(converted.output, m_out.path()), given.value().icc);
    } else {
      EXPECT_FALSE(codec::iccCanBeKept(metadata.value().icc));
    }
    const auto shown = shownColour(converted.output);
    const int near = format == OutputFormat::Jxl ? kJxlNear : 10;
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(shown[c], colour[c], near) << "channel " << c;
  }
}

TEST_F(OutputOptionsTest, AnOutputThatWouldGrowLeavesTheOriginalInstead) {
  // A grainy JPEG with camera data grows as a PNG: by default the original
  // goes to the output folder, under its own name, without its camera data.
  const ScratchDir made;
  codec::Metadata camera;
  camera.exif = codec::readMetadata(codecData() / "2-camera.jpg").value().exif;  // GPS, make
  ASSERT_TRUE(codec::writePng(shaded(5), made / "grain.png", &camera));
  const fs::path photo = run(made / "grain.png", made.path(), OutputFormat::Jpeg, 85,
                             {.keepMetadata = true}, false, {})
                             .output;
  ASSERT_TRUE(codec::exifHasGps(codec::readMetadata(photo).value().exif));
  const ConversionOutcome kept = convert(photo, OutputFormat::Png, {});
  ASSERT_EQ(kept.kind, ConversionOutcome::Kind::KeptOriginal) << kept.message.toStdString();
  EXPECT_EQ(kept.output, m_out / "grain.jpg");
  EXPECT_TRUE(kept.message.startsWith("Kept the original: the PNG would be "))
      << kept.message.toStdString();
  EXPECT_TRUE(kept.message.endsWith("% larger")) << kept.message.toStdString();
  EXPECT_EQ(kept.size, static_cast<qint64>(fs::file_size(kept.output)));
  const auto metadata = codec::readMetadata(kept.output);
  ASSERT_TRUE(metadata);
  EXPECT_TRUE(metadata.value().exif.empty());
  EXPECT_TRUE(samePixels(photo, kept.output));
  EXPECT_EQ(filesIn(m_out.path()), std::vector<std::string>{"grain.jpg"});

  // Kept with its camera data when asked: then it is the original's bytes.
  const ConversionOutcome exact = convert(photo, OutputFormat::Png, {.keepMetadata = true});
  ASSERT_EQ(exact.kind, ConversionOutcome::Kind::KeptOriginal);
  EXPECT_EQ(exact.output, m_out / "grain-1.jpg");  // never replaces a file
  EXPECT_EQ(bytesOf(exact.output), bytesOf(photo));

  // The other choices: nothing written, or the larger file all the same.
  const ScratchDir other;
  const ConversionOutcome skipped =
      run(photo, other.path(), OutputFormat::Png, 80, {.ifLarger = IfLarger::Skip}, false, {});
  EXPECT_EQ(skipped.kind, ConversionOutcome::Kind::Skipped);
  EXPECT_TRUE(skipped.message.endsWith("% larger than the original"))
      << skipped.message.toStdString();
  EXPECT_TRUE(fs::is_empty(other.path()));
  const ConversionOutcome written =
      run(photo, other.path(), OutputFormat::Png, 80, {.ifLarger = IfLarger::Write}, false, {});
  EXPECT_EQ(written.kind, ConversionOutcome::Kind::Completed);
  EXPECT_EQ(written.output.extension(), ".png");
  EXPECT_TRUE(written.message.contains("larger than the original"))
      << written.message.toStdString();

  // An original already in the output folder stays where it is, alone.
  const ScratchDir own;
  fs::copy_file(photo, own / "a.jpg");
  const ConversionOutcome inPlace = run(own / "a.jpg", own.path(), OutputFormat::Png, 80, {});
  EXPECT_EQ(inPlace.kind, ConversionOutcome::Kind::KeptOriginal);
  EXPECT_EQ(inPlace.output, own / "a.jpg");
  EXPECT_EQ(filesIn(own.path()), std::vector<std::string>{"a.jpg"});
}

TEST_F(OutputOptionsTest, AMinimumSavingDecidesWhatCountsAsTooLarge) {
  // A photo that shrinks a lot passes 10 % but not 99 %; what falls short
  // follows the same choice as a larger output.
  const fs::path photo = m_out / "photo.png";
  ASSERT_TRUE(codec::writePng(shaded(3), photo));
  const ScratchDir folder;
  const auto convertTo = [&](OutputOptions options) {
    return run(photo, folder.path(), OutputFormat::Webp, 80, options);
  };
  EXPECT_EQ(convertTo({.minSaving = 10}).kind, ConversionOutcome::Kind::Completed);
  const ConversionOutcome tooLittle = convertTo({.minSaving = 99, .ifLarger = IfLarger::Skip});
  EXPECT_EQ(tooLittle.kind, ConversionOutcome::Kind::Skipped);
  EXPECT_TRUE(tooLittle.message.contains("smaller, minimum 99%"))
      << tooLittle.message.toStdString();
  const ConversionOutcome original = convertTo({.minSaving = 99});
  EXPECT_EQ(original.kind, ConversionOutcome::Kind::KeptOriginal);
  EXPECT_TRUE(original.message.contains("would be only ")) << original.message.toStdString();
  EXPECT_EQ(bytesOf(original.output), bytesOf(photo));  // a PNG without camera data
}

TEST_F(OutputOptionsTest, AnOriginalWhoseCameraDataCannotBeLeftOutIsNotCopied) {
  // A HEIC with EXIF that would grow as a PNG: copying it would carry the
  // camera data, which is not kept.
  const fs::path heic = m_out / "phone.heic";
  codec::Metadata metadata;
  metadata.exif = codec::readMetadata(codecData() / "2-camera.jpg").value().exif;
  ASSERT_TRUE(codec::writeHeic(grain(), heic, 0.2, &metadata));
  const ScratchDir folder;
  const ConversionOutcome result = run(heic, folder.path(), OutputFormat::Png, 80, {});
  EXPECT_EQ(result.kind, ConversionOutcome::Kind::Skipped) << result.message.toStdString();
  EXPECT_TRUE(result.message.endsWith("a copy of the original would carry its camera data"))
      << result.message.toStdString();
  EXPECT_TRUE(fs::is_empty(folder.path()));
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

TEST_F(OutputOptionsTest, ALedgerLeavesAnInputConvertedBeforeAlone) {
  const fs::path photo = m_out / "in.jpg";
  fs::copy_file(codecData() / "2-camera.jpg", photo);
  const OutputOptions options{.skipConverted = true};
  ConversionLedger first;
  const ConversionOutcome made = convert(photo, OutputFormat::Webp, options, &first);
  ASSERT_EQ(made.kind, ConversionOutcome::Kind::Completed);
  EXPECT_TRUE(first.save().isEmpty());

  ConversionLedger second;
  const ConversionOutcome again = convert(photo, OutputFormat::Webp, options, &second);
  EXPECT_EQ(again.kind, ConversionOutcome::Kind::AlreadyConverted);
  EXPECT_EQ(again.output, made.output);
  // Other settings, or the output gone, convert again.
  EXPECT_EQ(convert(photo, OutputFormat::Jpeg, options, &second).kind,
            ConversionOutcome::Kind::Completed);
  fs::remove(made.output);
  EXPECT_EQ(convert(photo, OutputFormat::Webp, options, &second).kind,
            ConversionOutcome::Kind::Completed);
}

}  // namespace
}  // namespace quorvane::core
