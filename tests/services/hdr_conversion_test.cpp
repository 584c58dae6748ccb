// HDR inputs (PQ and HLG code points, no profile) through the converter with
// the real encoders: rendered for SDR, with a note, in every format, and
// kept as they are in AVIF when the colour profile is kept.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include "codec/colour_difference.h"
#include "codec/opened_image.h"
#include "services/converter_test_support.h"
#include "services/image_converter.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using namespace converter_test;

// What avifdec --info says of a file, as "Key: value" lines.
QString avifInfo(const fs::path& file) {
  QProcess avifdec;
  avifdec.start(QStringLiteral("avifdec"),
                {QStringLiteral("--info"), QString::fromStdString(file.native())});
  if (!avifdec.waitForFinished(60'000)) return {};
  QString info = QString::fromUtf8(avifdec.readAllStandardOutput());
  info.replace(QRegularExpression(QStringLiteral(" *: *")), QStringLiteral(": "));
  return info;
}

class HdrConversionTest : public ::testing::Test {
 protected:
  ConversionOutcome convert(const char* input, OutputFormat format,
                            const std::function<void(EncodeSettings&)>& adjust = {}) {
    ConversionJob job = makeJob(codecData() / input, m_out.path(), format, 90);
    job.settings.options.ifLarger = IfLarger::Write;
    if (adjust) adjust(job.settings);
    return runConversion(m_converter, job, m_token, {});
  }

  ScratchDir m_out;
  CancellationToken m_token;
  ImageConverter m_converter;
};

TEST_F(HdrConversionTest, EverySdrFormatGetsTheToneMappedPixelsAndSaysSo) {
  auto grade = codec::decode(codecData() / "hdr-sdr-grade.png");
  ASSERT_TRUE(grade);
  for (const char* input : {"hdr-pq.avif", "hdr-hlg.heic"}) {
    const bool pq = std::string_view(input).starts_with("hdr-pq");
    for (OutputFormat format : kAllOutputFormats) {
      SCOPED_TRACE(std::string(input) + " to " + rawValue(format).toStdString());
      const ConversionOutcome outcome = convert(input, format);
      ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
      EXPECT_TRUE(outcome.message.contains(pq ? QStringLiteral("HDR (PQ) image tone-mapped")
                                              : QStringLiteral("HDR (HLG) image tone-mapped")))
          << outcome.message.toStdString();
      auto opened = codec::OpenedImage::open(outcome.output);
      ASSERT_TRUE(opened);
      EXPECT_FALSE(opened.value().header().hdr.isHdr());
      auto pixels = opened.value().decode();
      ASSERT_TRUE(pixels);
      // The goal, with room for the encoder's own loss at quality 90.
      EXPECT_LE(codec::test::meanCiede2000(pixels.value(), grade.value()), 3.5);
    }
  }
}

TEST_F(HdrConversionTest, AvifKeepsTheSignalWhenTheProfileIsKept) {
  for (const char* input : {"hdr-pq.avif", "hdr-hlg.avif", "hdr-pq.heic"}) {
    SCOPED_TRACE(input);
    const ConversionOutcome outcome = convert(input, OutputFormat::Avif, [](EncodeSettings& s) {
      s.options.keepColorProfile = true;
      s.maxWidth = 48;
    });
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
    EXPECT_FALSE(outcome.message.contains(QStringLiteral("tone-mapped")));
    const bool pq = std::string_view(input).starts_with("hdr-pq");
    const QString info = avifInfo(outcome.output);
    EXPECT_TRUE(info.contains(QStringLiteral("Resolution: 48x32"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Bit Depth: 10"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Color Primaries: 9"))) << info.toStdString();
    EXPECT_TRUE(info.contains(pq ? QStringLiteral("Transfer Char.: 16")
                                 : QStringLiteral("Transfer Char.: 18")))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Matrix Coeffs.: 9"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("ICC Profile: Absent"))) << info.toStdString();
    // And it still looks like the grade once rendered.
    auto grade = codec::decode(codecData() / "hdr-sdr-grade.png");
    auto shown = codec::OpenedImage::open(outcome.output);
    ASSERT_TRUE(grade);
    ASSERT_TRUE(shown);
    auto pixels = shown.value().decode();
    ASSERT_TRUE(pixels);
    auto fitted = codec::resize(grade.value(), 48, 32);
    ASSERT_TRUE(fitted);
    EXPECT_LE(codec::test::meanCiede2000(pixels.value(), fitted.value()), 3.5);
  }
}

TEST_F(HdrConversionTest, HeicKeepsTheSignalWhenTheProfileIsKept) {
  for (const char* input : {"hdr-pq.avif", "hdr-hlg.heic"}) {
    SCOPED_TRACE(input);
    const ConversionOutcome outcome = convert(
        input, OutputFormat::Heic, [](EncodeSettings& s) { s.options.keepColorProfile = true; });
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
    EXPECT_FALSE(outcome.message.contains(QStringLiteral("tone-mapped")));
    auto opened = codec::OpenedImage::open(outcome.output);
    ASSERT_TRUE(opened);
    const codec::ImageHeader& header = opened.value().header();
    const bool pq = std::string_view(input).starts_with("hdr-pq");
    EXPECT_EQ(header.hdr,
              (codec::HdrSignal{
                  .primaries = 9, .transfer = pq ? 16 : 18, .matrix = 9, .fullRange = true}));
    EXPECT_GT(header.bitsPerSample, 8);
    auto grade = codec::decode(codecData() / "hdr-sdr-grade.png");
    ASSERT_TRUE(grade);
    auto pixels = opened.value().decode();
    ASSERT_TRUE(pixels);
    EXPECT_LE(codec::test::meanCiede2000(pixels.value(), grade.value()), 3.5);
  }
}

TEST_F(HdrConversionTest, WithoutAKeptProfileOrLosslessAvifIsSdrToo) {
  const struct {
    const char* what;
    std::function<void(EncodeSettings&)> adjust;
  } cases[] = {
      {"profile not kept", {}},
      {"lossless", [](EncodeSettings& s) { s.options.lossless = true; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ConversionOutcome outcome = convert("hdr-pq.avif", OutputFormat::Avif, c.adjust);
    ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.message.contains(QStringLiteral("tone-mapped")));
    const QString info = avifInfo(outcome.output);
    EXPECT_TRUE(info.contains(QStringLiteral("Bit Depth: 8"))) << info.toStdString();
    EXPECT_FALSE(info.contains(QStringLiteral("Transfer Char.: 16"))) << info.toStdString();
  }
}

}  // namespace
}  // namespace quorvane::core
