#include <gtest/gtest.h>

#include "models/conversion_settings.h"
#include "models/image_item.h"

namespace quorvane::core {
namespace {

TEST(ConversionSettings, SupportedImageLooksOnlyAtTheLastExtension) {
  const struct {
    const char* name;
    bool supported;
  } cases[] = {
      {"photo.JPG", true},      {"photo.Jpeg", true},
      {"scan.TIF", true},       {"archive.tar.png", true},
      {"/a/b/x.HEIF", true},    {"shots.png", true},
      {".png", true},           {"photo.jpe", false},
      {"notes.txt", false},     {"noextension", false},
      {"photo.png.txt", false}, {"photo.", false},
      {"dir.png/file", false},  {"photo.pn g", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConversionSettings::isSupportedImage(c.name), c.supported) << c.name;
  }
  // A name that is not UTF-8 is judged by its bytes like any other.
  EXPECT_TRUE(ConversionSettings::isSupportedImage(std::filesystem::path("caf\xe9.PNG")));
}

ImageItem itemOfSize(qint64 bytes) {
  return ImageItem({"/photos/f.png", bytes, 0, 0});
}

TEST(ImageItem, StartsWaitingWithWhatIntakeMeasured) {
  const ImageItem item({"/photos/Wide Photo.BMP", 1234, 37, 11});
  EXPECT_EQ(item.fileName(), "Wide Photo.BMP");
  EXPECT_EQ(item.inputFormat(), "bmp");
  EXPECT_NE(item.id(), ImageItem({"/photos/Wide Photo.BMP"}).id());
  EXPECT_EQ(ImageItem({"/photos/README"}).inputFormat(), "");

  // Without an input size there is never a ratio.
  ImageItem empty = itemOfSize(0);
  empty.setCompressedSize(100);
  EXPECT_FALSE(empty.compressionRatio());
  EXPECT_FALSE(empty.compressionPercentText());
}

TEST(ImageItem, PercentTextSignsSavingsAndGrowth) {
  const struct {
    qint64 original;
    qint64 compressed;
    const char* text;
  } cases[] = {
      {1000, 1000, "-0%"},                         // same size
      {1000, 996, "-0%"},                          // under half a percent
      {1000, 0, "-100%"},                          // empty output
      {1000, 2000, "+100%"},                       // doubled
      {10000, 5433, "-46%"},                       // 0.4567
      {1000, 1300, "+30%"},  {1000, 875, "-12%"},  // 12.5 rounds half to even
  };
  for (const auto& c : cases) {
    ImageItem item = itemOfSize(c.original);
    EXPECT_FALSE(item.compressionPercentText());
    item.setCompressedSize(c.compressed);
    ASSERT_TRUE(item.compressionPercentText());
    EXPECT_EQ(*item.compressionPercentText(), c.text) << c.original << " -> " << c.compressed;
  }
  ImageItem grown = itemOfSize(1000);
  grown.setCompressedSize(2000);
  EXPECT_DOUBLE_EQ(*grown.compressionRatio(), -1.0);
}

}  // namespace
}  // namespace quorvane::core
