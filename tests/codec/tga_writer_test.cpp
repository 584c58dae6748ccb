#include "codec/tga_writer.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>

#include "codec/file_io.h"
#include "codec/image_codec.h"
#include "test_images.h"

extern char** environ;

namespace quorvane::codec {
namespace {

using test::makeRgba;
using test::Pixel;
using test::pixelAt;
using test::TempDir;

TEST(TgaWriter, RowsBottomUpAsBgr) {
  TempDir dir;
  // 3x2: top row (1,2,3) (4,5,6) (7,8,9); bottom row (10..18); alpha ignored.
  const RgbaImage image = makeRgba(3, 2, [](int x, int y) {
    const int base = 1 + 3 * (y * 3 + x);
    return Pixel{base, base + 1, base + 2, 7};
  });
  ASSERT_TRUE(writeTga(image, dir / "t.tga"));
  const auto bytes = test::readFile(dir / "t.tga");
  ASSERT_EQ(bytes.size(), 18u + 3 * 2 * 3);
  const std::vector<std::uint8_t> pixels(bytes.begin() + 18, bytes.end());
  const std::vector<std::uint8_t> expected = {12, 11, 10, 15, 14, 13, 18, 17, 16,
                                              3,  2,  1,  6,  5,  4,  9,  8,  7};
  EXPECT_EQ(pixels, expected);
}

TEST(TgaWriter, LargeImageWrittenInChunksIsComplete) {
  TempDir dir;
  // Wider than one 1 MiB chunk holds rows for evenly: exercises the tail.
  const RgbaImage image = makeRgba(1500, 700, [](int x, int y) {
    return Pixel{x & 0xff, y & 0xff, (x ^ y) & 0xff, 255};
  });
  ASSERT_TRUE(writeTga(image, dir / "big.tga"));
  const auto bytes = test::readFile(dir / "big.tga");
  ASSERT_EQ(bytes.size(), 18u + 1500u * 700u * 3u);
  // Last stored row is the top row: pixel (x=5, y=0) sits at its start + 15.
  const std::size_t topRow = 18 + std::size_t{699} * 1500 * 3;
  EXPECT_EQ(bytes[topRow + 15], (5 ^ 0) & 0xff);  // B
  EXPECT_EQ(bytes[topRow + 16], 0);               // G = y
  EXPECT_EQ(bytes[topRow + 17], 5);               // R = x
}

TEST(TgaWriter, RefusesSidesTheHeaderCannotHold) {
  TempDir dir;
  const RgbaImage wide(70000, 1);
  const auto result = writeTga(wide, dir / "wide.tga");
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().kind, CodecError::Kind::WriteFailed);
  EXPECT_FALSE(std::filesystem::exists(dir / "wide.tga"));
}

int run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The TGA exists to feed `cjpeg -targa`; check the real program reads it
// upright and with the colours in the right channels.
TEST(TgaWriter, ReadUprightByCjpeg) {
  const char* cjpeg = "/usr/bin/cjpeg";
  if (!std::filesystem::exists(cjpeg)) GTEST_SKIP() << "cjpeg not installed";
  TempDir dir;
  const RgbaImage image = test::makeQuadrants(64, 48);
  ASSERT_TRUE(writeTga(image, dir / "q.tga"));
  ASSERT_EQ(run({cjpeg, "-targa", "-quality", "95", "-outfile", (dir / "q.jpg").string(),
                 (dir / "q.tga").string()}),
            0);
  auto decoded = decode(dir / "q.jpg");
  ASSERT_TRUE(decoded) << decoded.error().detail;
  ASSERT_EQ(decoded.value().width(), 64);
  ASSERT_EQ(decoded.value().height(), 48);
  for (const auto& [x, y] : {std::pair{8, 6}, {56, 6}, {8, 42}, {56, 42}}) {
    const Pixel want = test::quadrantColour(x, y, 64, 48);
    const Pixel got = pixelAt(decoded.value(), x, y);
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(got[c], want[c], 24) << "at " << x << "," << y << " channel " << c;
    }
  }
}

}  // namespace
}  // namespace quorvane::codec
