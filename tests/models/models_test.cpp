#include <QSignalSpy>
#include <gtest/gtest.h>

#include "models/conversion_settings.h"
#include "models/image_item.h"
#include "models/output_format.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

using test::ScratchDir;

TEST(ConversionSettings, SupportedImageLooksOnlyAtTheLastExtension) {
  const struct {
    const char* name;
    bool supported;
  } cases[] = {
      {"photo.JPG", true},        {"photo.Jpeg", true},     {"scan.TIF", true},
      {"archive.tar.png", true},  {"/a/b/x.HEIF", true},    {"shots.png", true},
      {".png", true},             {"photo.jpe", false},     {"notes.txt", false},
      {"noextension", false},     {"photo.png.txt", false}, {"photo.", false},
      {"dir.png/file", false},    {"photo.pn g", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConversionSettings::isSupportedImage(c.name), c.supported) << c.name;
  }
  // A name that is not UTF-8 is judged by its bytes like any other.
  EXPECT_TRUE(ConversionSettings::isSupportedImage(std::filesystem::path("caf\xe9.PNG")));
}

TEST(ConversionSettings, DefaultsMatchAFreshStart) {
  const ConversionSettings settings;
  EXPECT_EQ(settings.outputFormat, OutputFormat::Webp);
  EXPECT_EQ(settings.quality, 80);
  EXPECT_FALSE(settings.outputDirectory);
  EXPECT_FALSE(settings.resizeEnabled);
  EXPECT_FALSE(settings.maxWidth);
  EXPECT_FALSE(settings.maxHeight);
  EXPECT_EQ(settings.namingMode, NamingMode::Original);
  EXPECT_EQ(settings.namePrefix, "image");
  EXPECT_EQ(settings.nameStartNumber, "01");
}

TEST(OutputFormat, RawValuesAreExactAndJpegWritesJpg) {
  for (OutputFormat format : kAllOutputFormats) {
    EXPECT_EQ(outputFormatFromRawValue(rawValue(format)), format);
    if (format != OutputFormat::Jpeg) {
      EXPECT_EQ(fileExtension(format), rawValue(format));
    }
  }
  EXPECT_EQ(fileExtension(OutputFormat::Jpeg), "jpg");
  EXPECT_FALSE(outputFormatFromRawValue(u"JPEG"));
  EXPECT_FALSE(outputFormatFromRawValue(u"jpg"));
  EXPECT_FALSE(outputFormatFromRawValue(u""));
}

class ImageItemTest : public ::testing::Test {
 protected:
  ImageItem makeItemOfSize(qint64 bytes) {
    const auto path = m_dir / (test::numbered("f", m_count++, ".png"));
    test::writeFile(path, std::string(static_cast<std::size_t>(bytes), 'x'));
    return ImageItem(path);
  }
  ScratchDir m_dir;
  int m_count = 0;
};

TEST_F(ImageItemTest, MeasuresSizeAndPixelsFromTheHeader) {
  const auto path = m_dir / "Wide Photo.BMP";
  test::writeBmp(path, 37, 11);
  ImageItem item(path);
  EXPECT_EQ(item.url(), path);
  EXPECT_EQ(item.originalSize(), static_cast<qint64>(std::filesystem::file_size(path)));
  EXPECT_EQ(item.pixelWidth(), 37);
  EXPECT_EQ(item.pixelHeight(), 11);
  EXPECT_EQ(item.inputFormat(), "bmp");
  EXPECT_EQ(item.status(), ConversionStatus::waiting());
  EXPECT_FALSE(item.outputURL());
  EXPECT_FALSE(item.compressedSize());
  EXPECT_FALSE(item.errorMessage());
  EXPECT_NE(item.id(), ImageItem(path).id());
}

TEST_F(ImageItemTest, UnreadableFileMeasuresZeroAndNeverGetsARatio) {
  ImageItem missing(m_dir / "gone.jpg");
  EXPECT_EQ(missing.originalSize(), 0);
  EXPECT_EQ(missing.pixelWidth(), 0);
  EXPECT_EQ(missing.pixelHeight(), 0);
  missing.setCompressedSize(100);
  EXPECT_FALSE(missing.compressionRatio());
  EXPECT_FALSE(missing.compressionPercentText());

  // Present but not an image: the size counts, the pixel size does not.
  ImageItem garbage = makeItemOfSize(500);
  EXPECT_EQ(garbage.originalSize(), 500);
  EXPECT_EQ(garbage.pixelWidth(), 0);
  EXPECT_EQ(garbage.pixelHeight(), 0);

  ImageItem noExtension(m_dir / "README");
  EXPECT_EQ(noExtension.inputFormat(), "");
}

TEST_F(ImageItemTest, PercentTextSignsSavingsAndGrowth) {
  const struct {
    qint64 original;
    qint64 compressed;
    const char* text;
  } cases[] = {
      {1000, 1000, "-0%"},   // same size
      {1000, 996, "-0%"},    // under half a percent
      {1000, 0, "-100%"},    // empty output
      {1000, 2000, "+100%"}, // doubled
      {10000, 5433, "-46%"}, // 0.4567
      {1000, 1300, "+30%"},
      {1000, 875, "-12%"},   // 12.5 rounds half to even
  };
  for (const auto& c : cases) {
    ImageItem item = makeItemOfSize(c.original);
    EXPECT_FALSE(item.compressionPercentText());
    item.setCompressedSize(c.compressed);
    ASSERT_TRUE(item.compressionPercentText());
    EXPECT_EQ(*item.compressionPercentText(), c.text) << c.original << " -> " << c.compressed;
  }
  ImageItem grown = makeItemOfSize(1000);
  grown.setCompressedSize(2000);
  EXPECT_DOUBLE_EQ(*grown.compressionRatio(), -1.0);
}

TEST_F(ImageItemTest, NotifiesOnlyOnRealChanges) {
  ImageItem item = makeItemOfSize(10);
  QSignalSpy status(&item, &ImageItem::statusChanged);
  QSignalSpy size(&item, &ImageItem::compressedSizeChanged);
  QSignalSpy url(&item, &ImageItem::outputURLChanged);
  QSignalSpy message(&item, &ImageItem::errorMessageChanged);

  item.setStatus(ConversionStatus::waiting());
  EXPECT_EQ(status.count(), 0);
  item.setStatus(ConversionStatus::error("disk full"));
  item.setStatus(ConversionStatus::error("disk full"));
  EXPECT_EQ(status.count(), 1);
  item.setStatus(ConversionStatus::error("read-only folder"));
  EXPECT_EQ(status.count(), 2);

  item.setCompressedSize(5);
  item.setCompressedSize(5);
  item.setCompressedSize(std::nullopt);
  EXPECT_EQ(size.count(), 2);

  item.setOutputURL(std::filesystem::path("/x/a.webp"));
  item.setOutputURL(std::filesystem::path("/x/a.webp"));
  EXPECT_EQ(url.count(), 1);

  item.setErrorMessage(QString("boom"));
  item.setErrorMessage(QString("boom"));
  item.setErrorMessage(std::nullopt);
  EXPECT_EQ(message.count(), 2);
}

}  // namespace
}  // namespace quorvane::core
