// Leaving camera data out of a file without touching anything else.
#include "codec/camera_data.h"

#include <gtest/gtest.h>

#include <string>

#include "codec/image_codec.h"
#include "codec/metadata.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

std::string text(const std::vector<std::uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}
std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

Metadata cameraData() {
  const auto read = readMetadata(test::testData("2-camera.jpg"));
  EXPECT_TRUE(read);
  Metadata metadata = read.value();
  metadata.xmp = bytes(
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><GPSLatitude>48,8N</GPSLatitude>"
      "</x:xmpmeta>");
  metadata.icc = test::makeRgbProfile(test::kDisplayP3Primaries, 0);
  return metadata;
}

// Removes camera data from `file` (written at `path`), and checks that what
// is left reads as the same image with its profile and nothing else.
void expectCameraDataGone(const test::TempDir& dir, const std::string& file,
                          const std::string& name) {
  SCOPED_TRACE(name);
  const auto path = dir / name;
  test::writeFile(path, bytes(file));
  const auto before = readMetadata(path);
  ASSERT_TRUE(before);
  ASSERT_FALSE(before.value().exif.empty());
  ASSERT_FALSE(before.value().xmp.empty());

  const auto header = readHeader(path);
  ASSERT_TRUE(header);
  EXPECT_EQ(header.value().orientation, 6);
  const auto without = withoutCameraData(file, header.value().orientation);
  ASSERT_TRUE(without);
  EXPECT_LT(without->size(), file.size());
  const auto strippedPath = dir / ("stripped-" + name);
  test::writeFile(strippedPath, bytes(*without));
  const auto after = readMetadata(strippedPath);
  ASSERT_TRUE(after);
  // Only the orientation is left of the EXIF, so the copy shows as it did.
  EXPECT_FALSE(exifText(after.value().exif, 0x010F));  // Make
  EXPECT_FALSE(exifHasGps(after.value().exif));
  EXPECT_EQ(exifNumber(after.value().exif, 0x0112), 6u);
  EXPECT_TRUE(after.value().xmp.empty());
  EXPECT_EQ(after.value().icc, before.value().icc);  // colour is no camera data
  const auto original = decode(path);
  const auto stripped = decode(strippedPath);
  ASSERT_TRUE(original && stripped);
  EXPECT_EQ(text(std::vector<std::uint8_t>(original.value().data(),
                                           original.value().data() + original.value().byteSize())),
            text(std::vector<std::uint8_t>(stripped.value().data(),
                                           stripped.value().data() + stripped.value().byteSize())));
  // Nothing is left to take out.
  EXPECT_EQ(withoutCameraData(*without, 6), *without);
}

TEST(CameraData, LeavesJpegPngAndWebPWithTheirPixelsAndProfileOnly) {
  test::TempDir dir;
  const RgbaImage image = test::makeQuadrants(24, 16);
  const Metadata metadata = cameraData();

  test::saveRgba(image, dir / "plain.jpg", "[Q=90,strip]", 3);
  expectCameraDataGone(dir, jpegWithMetadata(text(test::readFile(dir / "plain.jpg")), metadata),
                       "photo.jpg");

  ASSERT_TRUE(writePng(image, dir / "photo.png", &metadata));
  expectCameraDataGone(dir, text(test::readFile(dir / "photo.png")), "photo.png");

  test::saveRgba(image, dir / "plain.webp", "[Q=90,strip]", 3);
  expectCameraDataGone(dir, webpWithMetadata(text(test::readFile(dir / "plain.webp")), metadata),
                       "photo.webp");
}

TEST(CameraData, RefusesWhatItDoesNotUnderstand) {
  test::TempDir dir;
  test::saveRgba(test::makeQuadrants(8, 8), dir / "a.jpg", "[Q=90]", 3);
  const std::string jpeg = text(test::readFile(dir / "a.jpg"));
  EXPECT_FALSE(withoutCameraData(jpeg.substr(0, 40)));  // cut before its scan
  EXPECT_FALSE(withoutCameraData("GIF89a......"));
  EXPECT_FALSE(withoutCameraData(std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16)));
  std::string webp = "RIFF\x10\0\0\0WEBPEXIF\xff\0\0\0";
  EXPECT_FALSE(withoutCameraData(webp));  // a chunk longer than the file
}

}  // namespace
}  // namespace quorvane::codec
