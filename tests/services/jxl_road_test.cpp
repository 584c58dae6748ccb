// JPEG XL with the real cjxl and djxl: a JPEG recompressed without loss
// gives the original back byte for byte, lossy outputs decode at their size,
// and what cannot run says so before a batch starts.
#include <gtest/gtest.h>

#include <cstring>

#include "codec/jxl_container.h"
#include "services/auto_search.h"
#include "services/converter_test_support.h"
#include "services/image_converter.h"
#include "services/process_runner.h"
#include "services/roads/road_support.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using namespace converter_test;

// Photo-like: the gradient with noise, opaque.
codec::RgbaImage photoLike(int width, int height) {
  codec::RgbaImage image = makeImage(width, height);
  std::uint32_t state = 4242;
  for (std::size_t i = 0; i < image.byteSize(); ++i) {
    state = state * 1664525u + 1013904223u;
    image.data()[i] = i % 4 == 3 ? 255 : static_cast<std::uint8_t>(image.data()[i] ^ (state >> 28));
  }
  return image;
}

class JxlRoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!m_tools.isToolAvailable(QStringLiteral("cjxl")) ||
        !m_tools.isToolAvailable(QStringLiteral("djxl"))) {
      GTEST_SKIP() << "cjxl or djxl is not installed (libjxl-tools)";
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(codec::writeTga(photoLike(160, 120), m_in / "photo.tga"));
    runProcess(m_tools.toolPath(QStringLiteral("cjpeg")),
               {"-quality", "90", "-outfile", (m_in / "photo.jpg").native(),
                (m_in / "photo.tga").native()},
               m_token);
    ASSERT_TRUE(codec::writePng(photoLike(160, 120), m_in / "photo.png"));
  }
  ConversionOutcome convert(const fs::path& input, bool lossless, int quality = 80,
                            std::optional<int> maxWidth = {}) {
    ConversionJob job = makeJob(input, m_out.path(), OutputFormat::Jxl, quality, maxWidth);
    job.settings.options.lossless = lossless;
    job.settings.options.ifLarger = IfLarger::Write;
    return runConversion(m_converter, job, m_token, {});
  }
  // What djxl rebuilds from a JPEG XL file.
  std::string rebuilt(const fs::path& jxl) {
    const fs::path jpeg = m_out / "rebuilt.jpg";
    runProcess(m_tools.toolPath(QStringLiteral("djxl")), {jxl.native(), jpeg.native()}, m_token);
    std::string bytes = readWholeFile(jpeg);
    fs::remove(jpeg);
    return bytes;
  }

  ToolManager m_tools = ToolManager::forApplication();
  ScratchDir m_in;
  ScratchDir m_out;
  CancellationToken m_token;
  ImageConverter m_converter;
};

TEST_F(JxlRoadTest, ALosslessJpegComesBackByteForByte) {
  // Stored turned, and with camera data: both come back as they were.
  for (const fs::path& input : {m_in / "photo.jpg", codecData() / "2-camera.jpg",
                                codecData() / "2-exif-orientation-6.jpg"}) {
    SCOPED_TRACE(input.filename().native());
    const ConversionOutcome outcome = convert(input, true);
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
    EXPECT_EQ(outcome.output.extension(), ".jxl");
    EXPECT_EQ(rebuilt(outcome.output), readWholeFile(input));
    EXPECT_EQ(outcome.score, 100.0);
    fs::remove(outcome.output);
  }
  const ConversionOutcome photo = convert(m_in / "photo.jpg", true);
  EXPECT_LT(photo.size, static_cast<qint64>(fs::file_size(m_in / "photo.jpg")));
  EXPECT_EQ(convert(codecData() / "2-camera.jpg", true).message.toStdString(),
            "Camera data kept: the original JPEG comes back byte for byte");
}

TEST_F(JxlRoadTest, AJpegThatDoesNotComeBackFailsAndWritesNothing) {
  ScratchDir resources;
  fs::create_directories(resources / "bin");
  fs::create_symlink(m_tools.toolPath(QStringLiteral("cjxl")), resources / "bin/cjxl");
  // A djxl that rebuilds a JPEG one byte off.
  test::writeFile(resources / "bin/djxl", "#!/bin/sh\n'" +
                                              m_tools.toolPath(QStringLiteral("djxl")).native() +
                                              "' \"$1\" \"$2\" && printf x >> \"$2\"\n");
  fs::permissions(resources / "bin/djxl", fs::perms::owner_all);
  const ImageConverter converter{ToolManager(resources.path())};
  ConversionJob job = makeJob(m_in / "photo.jpg", m_out.path(), OutputFormat::Jxl);
  job.settings.options.lossless = true;
  const ConversionOutcome outcome = runConversion(converter, job, m_token, {});
  EXPECT_EQ(outcome.kind, ConversionOutcome::Kind::Failed);
  EXPECT_EQ(outcome.message.toStdString(),
            "The JPEG XL file does not give the original JPEG back byte for byte, so it was not "
            "written");
  EXPECT_TRUE(test::filesIn(m_out.path()).empty());
  EXPECT_TRUE(test::filesIn(privateTemporaryFolder()).empty());
}

TEST_F(JxlRoadTest, LosslessFromPixelsKeepsEveryPixelAndTransparency) {
  // A PNG, and a JPEG that is shrunk and so cannot keep its coefficients.
  ASSERT_TRUE(codec::writePng(makeImage(96, 72), m_in / "clear.png"));
  for (const auto& [input, width] :
       {std::pair{m_in / "clear.png", std::optional<int>()}, {m_in / "photo.jpg", 80}}) {
    SCOPED_TRACE(input.filename().native());
    const ConversionOutcome outcome = convert(input, true, 80, width);
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
    auto decoded = codec::decode(outcome.output);
    ASSERT_TRUE(decoded);
    if (!width) {
      const auto original = codec::decode(input);
      ASSERT_TRUE(original);
      ASSERT_EQ(decoded.value().byteSize(), original.value().byteSize());
      EXPECT_EQ(
          std::memcmp(decoded.value().data(), original.value().data(), original.value().byteSize()),
          0);
    } else {
      EXPECT_EQ(decoded.value().width(), 80);
    }
  }
}

TEST_F(JxlRoadTest, LossyOutputsDecodeAtTheFittedSizeAndGrowWithQuality) {
  qint64 previous = 0;
  for (int quality : {30, 60, 90}) {
    SCOPED_TRACE(quality);
    const ConversionOutcome outcome = convert(m_in / "photo.png", false, quality, 100);
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
    const auto header = codec::readHeader(outcome.output);
    ASSERT_TRUE(header);
    EXPECT_EQ(header.value().width, 100);
    EXPECT_EQ(header.value().height, 75);
    ASSERT_TRUE(outcome.score);
    EXPECT_GT(outcome.size, previous);
    previous = outcome.size;
    fs::remove(outcome.output);
  }
  // The mapping onto cjxl's distance: continuous, falling, 1 at 90.
  EXPECT_DOUBLE_EQ(jxlDistance(90), 1.0);
  EXPECT_NEAR(jxlDistance(30), jxlDistance(29), 0.2);
  for (int q = 1; q <= 100; ++q) {
    EXPECT_LE(jxlDistance(q), jxlDistance(q - 1)) << q;
    if (jxlDistance(q - 1) < 25.0) {
      EXPECT_LT(jxlDistance(q), jxlDistance(q - 1)) << q;
    }
  }
  EXPECT_EQ(jxlDistance(0), 25.0);  // cjxl's largest
}

TEST_F(JxlRoadTest, KeptCameraDataAndProfileReachTheFile) {
  ConversionJob job = makeJob(codecData() / "2-camera.jpg", m_out.path(), OutputFormat::Jxl);
  job.settings.options.keepMetadata = true;
  job.settings.options.ifLarger = IfLarger::Write;
  const ConversionOutcome outcome = runConversion(m_converter, job, m_token, {});
  ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
  EXPECT_NE(readWholeFile(outcome.output).find("Exif"), std::string::npos);
  // Judged in sRGB: the decoder gives a kept profile's colours back in its own.
  job = makeJob(codecData() / "2-adobe-rgb.jpg", m_out.path(), OutputFormat::Jxl, 90);
  job.settings.options.keepColorProfile = true;
  job.settings.options.ifLarger = IfLarger::Write;
  const ConversionOutcome wide = runConversion(m_converter, job, m_token, {});
  ASSERT_EQ(wide.kind, ConversionOutcome::Kind::Completed) << wide.message.toStdString();
  ASSERT_TRUE(wide.score);
  EXPECT_GT(*wide.score, 70.0);
}

TEST_F(JxlRoadTest, AutoTriesJpegXlOnlyWhenAskedTo) {
  EXPECT_EQ(
      autoCandidates(false, false),
      (std::vector<OutputFormat>{OutputFormat::Avif, OutputFormat::Webp, OutputFormat::Jpeg}));
  // With cjxl the only encoder there, Auto can only succeed through it.
  ScratchDir resources;
  fs::create_directories(resources / "bin");
  fs::create_symlink(m_tools.toolPath(QStringLiteral("cjxl")), resources / "bin/cjxl");
  const ImageConverter converter{ToolManager(resources.path())};
  ConversionJob job = makeJob(m_in / "photo.png", m_out.path(), OutputFormat::Webp);
  job.settings.autoFormat = true;
  job.settings.options.ifLarger = IfLarger::Write;
  const ConversionOutcome without = runConversion(converter, job, m_token, {});
  EXPECT_EQ(without.kind, ConversionOutcome::Kind::Failed);
  EXPECT_TRUE(without.message.contains(QStringLiteral("avifenc"))) << without.message.toStdString();
  job.settings.options.autoJpegXl = true;
  const ConversionOutcome with = runConversion(converter, job, m_token, {});
  ASSERT_EQ(with.kind, ConversionOutcome::Kind::Completed) << with.message.toStdString();
  EXPECT_EQ(with.chosenFormat, OutputFormat::Jxl);
  EXPECT_EQ(with.output.extension(), ".jxl");
}

TEST(JxlStartRefusal, AMissingCjxlOrDjxlIsSaidBeforeTheBatch) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ScratchDir resources;
  fs::create_directories(resources / "bin");
  const ImageConverter converter{ToolManager(resources.path())};
  const std::string missing =
      "JPEG XL needs the programs of libjxl-tools: CLI tool '%1' not "
      "found. Place binaries in " +
      (resources / "bin").native() + "/.";
  const auto refusal = [&](const EncodeSettings& settings) {
    return converter.startRefusal(settings).value_or(QStringLiteral("none")).toStdString();
  };
  EncodeSettings settings{.format = OutputFormat::Jxl};
  EXPECT_EQ(refusal(settings), QString::fromStdString(missing).arg("cjxl").toStdString());
  settings.autoFormat = true;
  EXPECT_EQ(refusal(settings), "none");  // Auto without JPEG XL needs no cjxl
  settings.options.autoJpegXl = true;
  EXPECT_EQ(refusal(settings), QString::fromStdString(missing).arg("cjxl").toStdString());
  settings = {.format = OutputFormat::Webp};
  EXPECT_EQ(refusal(settings), "none");  // other tools fail image by image

  // Lossless also rebuilds the JPEG with djxl.
  test::writeFile(resources / "bin/cjxl", "#!/bin/sh\n");
  fs::permissions(resources / "bin/cjxl", fs::perms::owner_all);
  settings = {.format = OutputFormat::Jxl};
  EXPECT_EQ(refusal(settings), "none");
  settings.options.lossless = true;
  EXPECT_EQ(refusal(settings), QString::fromStdString(missing).arg("djxl").toStdString());
}

}  // namespace
}  // namespace quorvane::core
