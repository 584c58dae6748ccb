#include "codec/file_completeness.h"

#include <gtest/gtest.h>

#include <string>

#include "codec/image_codec.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

using test::readFile;
using test::TempDir;
using test::testData;

std::string bytesOf(const std::filesystem::path& path) {
  const auto bytes = readFile(path);
  return {bytes.begin(), bytes.end()};
}

// A whole file cut anywhere before its last byte is not whole; the checks
// never read past what they are given.
template <typename Check>
void expectEveryCutCaught(const std::string& whole, Check isWhole, std::size_t end) {
  ASSERT_TRUE(isWhole(whole));
  for (std::size_t size = 0; size < end; ++size) {
    EXPECT_FALSE(isWhole(std::string_view(whole).substr(0, size))) << "cut at " << size;
  }
}

TEST(FileCompleteness, JpegNeedsEveryScanAndItsEnd) {
  const std::string photo = bytesOf(testData("2-camera.jpg"));
  // Cut anywhere up to the end marker (the data after it is never needed).
  expectEveryCutCaught(photo, jpegIsWhole, photo.rfind("\xFF\xD9") + 2);
  EXPECT_FALSE(jpegIsWhole(bytesOf(testData("2-truncated.jpg"))));
  EXPECT_TRUE(jpegIsWhole(photo + "trailing"));
  // A length that runs past the end, and a file with no scan at all.
  std::string wrongLength = photo;
  wrongLength[4] = '\x7F';
  EXPECT_FALSE(jpegIsWhole(wrongLength));
  EXPECT_FALSE(jpegIsWhole(std::string("\xFF\xD8\xFF\xD9", 4)));
}

TEST(FileCompleteness, PngNeedsItsChunksWithTheirChecksumsAndTheEnd) {
  const TempDir dir;
  const auto path = dir / "whole.png";
  RgbaImage image(24, 16);
  for (std::size_t i = 0; i < image.byteSize(); ++i) image.data()[i] = static_cast<std::uint8_t>(i);
  ASSERT_TRUE(writePng(image, path));
  const std::string png = bytesOf(path);
  expectEveryCutCaught(png, pngIsWhole, png.size());
  EXPECT_FALSE(pngIsWhole(bytesOf(testData("2-truncated.png"))));  // no end chunk
  // One byte changed inside the image data: its checksum says so.
  std::string flipped = png;
  flipped[png.find("IDAT") + 6] ^= 0x01;
  EXPECT_FALSE(pngIsWhole(flipped));
}

TEST(FileCompleteness, WebPContainerSizeMustBeTheFiles) {
  std::string chunk = "VP8L";
  chunk += std::string("\x05\0\0\0", 4) + "abcde" + '\0';  // odd size, padded
  std::string webp = "RIFF";
  const auto size = static_cast<char>(4 + chunk.size());
  webp += std::string(1, size) + std::string(3, '\0') + "WEBP" + chunk;
  expectEveryCutCaught(webp, webpIsWhole, webp.size());
  EXPECT_FALSE(webpIsWhole(webp + "x"));  // more than the container says
}

}  // namespace
}  // namespace quorvane::codec
