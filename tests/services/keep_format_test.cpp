// Same as Original, with the real encoders: each image stays in the format
// its decoder read it as.
#include <gtest/gtest.h>

#include <QProcess>

#include "services/converter_test_support.h"
#include "services/image_converter.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using namespace converter_test;

// A noisy photo-like image, so a high-quality JPEG of it leaves room to save.
codec::RgbaImage noisyImage(int width, int height) {
  codec::RgbaImage image = makeImage(width, height);
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < image.byteSize(); ++i) {
    state = state * 1664525u + 1013904223u;
    if (i % 4 != 3) image.data()[i] = static_cast<std::uint8_t>(image.data()[i] ^ (state >> 28));
    if (i % 4 == 3) image.data()[i] = 255;
  }
  return image;
}

// Runs an encoder on `input`, writing `output`.
void runTool(const QString& tool, QStringList arguments) {
  QProcess process;
  process.start(tool, arguments);
  ASSERT_TRUE(process.waitForFinished(60000)) << tool.toStdString();
  ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

QString qpath(const fs::path& path) {
  return QString::fromStdString(path.native());
}

class KeepFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(codec::writePng(noisyImage(160, 120), m_in / "photo.png"));
    ASSERT_TRUE(codec::writeTga(noisyImage(160, 120), m_in / "photo.tga"));
  }
  ConversionOutcome convert(const fs::path& input) {
    ConversionJob job = makeJob(input, m_out.path(), OutputFormat::Webp);
    job.settings.sameFormat = true;
    job.settings.options.ifLarger = IfLarger::Write;
    return runConversion(m_converter, job, m_token, {});
  }

  ScratchDir m_in;
  ScratchDir m_out;
  CancellationToken m_token;
  ImageConverter m_converter;
};

TEST_F(KeepFormatTest, EachWrittenFormatStaysItself) {
  runTool(QStringLiteral("cjpeg"),
          {QStringLiteral("-quality"), QStringLiteral("100"), QStringLiteral("-outfile"),
           qpath(m_in / "photo.jpg"), qpath(m_in / "photo.tga")});
  runTool(QStringLiteral("cwebp"), {QStringLiteral("-lossless"), qpath(m_in / "photo.png"),
                                    QStringLiteral("-o"), qpath(m_in / "photo.webp")});
  const struct {
    const char* name;
    OutputFormat format;
    const char* loader;
  } cases[] = {{"photo.jpg", OutputFormat::Jpeg, "jpegload"},
               {"photo.png", OutputFormat::Png, "pngload"},
               {"photo.webp", OutputFormat::Webp, "webpload"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ConversionOutcome outcome = convert(m_in / c.name);
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
    EXPECT_EQ(outcome.chosenFormat, c.format);  // what the row and the report say
    EXPECT_EQ(QString::fromStdString(outcome.output.extension().native()).mid(1),
              fileExtension(c.format));
    const auto header = codec::readHeader(outcome.output);
    ASSERT_TRUE(header);
    EXPECT_EQ(header.value().loader, c.loader);
    EXPECT_EQ(header.value().width, 160);
  }
  // The JPEG at quality 80 is a smaller JPEG than the one at 100.
  const ConversionOutcome jpeg = convert(m_in / "photo.jpg");
  EXPECT_LT(jpeg.size, static_cast<qint64>(fs::file_size(m_in / "photo.jpg")));
}

TEST_F(KeepFormatTest, WhatWeDoNotWriteAndMisnamedFilesGoByTheirContent) {
  // A GIF becomes PNG; a PNG named .jpg stays PNG, under the PNG extension.
  fs::copy_file(codecData() / "2-animated.gif", m_in / "anim.gif");
  fs::copy_file(m_in / "photo.png", m_in / "really-png.jpg");
  for (const char* name : {"anim.gif", "really-png.jpg"}) {
    SCOPED_TRACE(name);
    const ConversionOutcome outcome = convert(m_in / name);
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
    EXPECT_EQ(outcome.chosenFormat, OutputFormat::Png);
    EXPECT_EQ(outcome.output.extension(), ".png");
    const auto header = codec::readHeader(outcome.output);
    ASSERT_TRUE(header);
    EXPECT_EQ(header.value().loader, "pngload");
  }
}

TEST(SameFormatFor, FollowsTheExtensionAndFallsBackToPng) {
  EXPECT_EQ(sameFormatFor(u"jpg"), OutputFormat::Jpeg);
  EXPECT_EQ(sameFormatFor(u"jpeg"), OutputFormat::Jpeg);
  EXPECT_EQ(sameFormatFor(u"heif"), OutputFormat::Heic);
  EXPECT_EQ(sameFormatFor(u"avif"), OutputFormat::Avif);
  EXPECT_EQ(sameFormatFor(u"webp"), OutputFormat::Webp);
  for (const char16_t* other : {u"tiff", u"tif", u"bmp", u"gif", u"png", u""}) {
    EXPECT_EQ(sameFormatFor(other), OutputFormat::Png);
  }
}

}  // namespace
}  // namespace quorvane::core
