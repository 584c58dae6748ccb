// File names, descriptors and threads: the codec as a shared, long-running
// service sees them all.
#include <gtest/gtest.h>

#include <thread>

#include "codec/image_codec.h"
#include "support/numbered.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

using test::makeQuadrants;
using test::TempDir;

TEST(FileNames, AnyBytesAreOpenedAndWritten) {
  TempDir dir;
  const RgbaImage image = makeQuadrants(6, 4);
  const std::vector<std::string> names = {"a[1].png",
                                          "with space.png",
                                          "quote'and\"double.png",
                                          "emoji 📷.png",
                                          "\xff\xfe latin1 \xe9.png",  // not valid UTF-8
                                          "-leading-dash.png",
                                          "x.png[0]",
                                          "colon:and;semi.png",
                                          "%s%n.png"};
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    const auto path = dir / name;
    ASSERT_TRUE(writePng(image, path));
    ASSERT_TRUE(std::filesystem::exists(path)) << "written under another name";
    const auto header = readHeader(path);
    ASSERT_TRUE(header) << header.error().detail;
    EXPECT_EQ(header.value().width, 6);
    const auto decoded = decode(path);
    ASSERT_TRUE(decoded) << decoded.error().detail;
    EXPECT_EQ(decoded.value().height(), 4);

    const auto heic = dir / (name + ".heic");
    ASSERT_TRUE(writeHeic(image, heic, 0.5));
    EXPECT_TRUE(std::filesystem::exists(heic));
    const auto tga = dir / (name + ".tga");
    ASSERT_TRUE(writeTga(image, tga));
    EXPECT_TRUE(std::filesystem::exists(tga));
  }
  // Nothing was created under a name cut at '[' or with options stripped.
  EXPECT_FALSE(std::filesystem::exists(dir / "a"));
  EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
            static_cast<long>(names.size() * 3));
}

TEST(FileNames, BmpWithOddNameUsesOurHeaderRead) {
  TempDir dir;
  const auto path = dir / "scan [2].bmp";
  test::writeFile(path, test::makeBmp(makeQuadrants(6, 4), 40, true, 24));
  const auto decoded = decode(path);
  ASSERT_TRUE(decoded) << decoded.error().detail;
  EXPECT_EQ(test::pixelAt(decoded.value(), 0, 0), (test::Pixel{255, 0, 0, 255}));
}

TEST(Descriptors, NoneLeakOnSuccessOrFailure) {
  TempDir dir;
  const RgbaImage image = makeQuadrants(32, 32);
  ASSERT_TRUE(writePng(image, dir / "a.png"));
  ASSERT_TRUE(writeHeic(image, dir / "a.heic", 0.5));
  test::writeFile(dir / "a.bmp", test::makeBmp(image, 40, false, 24));
  // Warm up: libraries may open files once (plugins, profiles) and keep them.
  (void)decode(dir / "a.png");
  (void)decode(dir / "a.heic");
  (void)decode(dir / "a.bmp");
  (void)decode(test::testData("2-truncated.jpg"));
  (void)decode(test::testData("2-cmyk.jpg"));

  const auto before = test::openDescriptors();
  for (int round = 0; round < 3; ++round) {
    for (const auto& path :
         {dir / "a.png", dir / "a.heic", dir / "a.bmp", dir / "missing.png",
          test::testData("2-truncated.jpg"), test::testData("2-truncated.png"),
          test::testData("2-garbage.jpg"), test::testData("2-gif-claims-65535.gif"),
          test::testData("2-exif-orientation-6.jpg"), test::testData("2-cmyk.jpg")}) {
      (void)readHeader(path);
      (void)decode(path);
    }
    ASSERT_TRUE(writePng(image, dir / "b.png"));
    ASSERT_TRUE(writeHeic(image, dir / "b.heic", 0.5));
    ASSERT_TRUE(writeTga(image, dir / "b.tga"));
    EXPECT_FALSE(writePng(image, dir / "missing" / "c.png"));
    ASSERT_TRUE(resize(image, 5, 5));
  }
  EXPECT_EQ(test::openDescriptors(), before);
}

TEST(Threads, ParallelDecodesEqualSerialOnes) {
  TempDir dir;
  std::vector<std::filesystem::path> paths;
  const auto noise = [](int seed) {
    return test::makeRgba(120, 90, [seed](int x, int y) {
      return test::Pixel{(x * 7 + seed * 31) & 0xff, (y * 5 + x * seed) & 0xff,
                         (x ^ y ^ seed) & 0xff, 255};
    });
  };
  test::saveRgba(noise(1), dir / "n.jpg", "[Q=80]", 3);
  test::saveRgba(noise(2), dir / "n.png", "", 3);
  test::saveRgba(noise(3), dir / "n.webp", "[Q=70]", 3);
  ASSERT_TRUE(writeHeic(noise(4), dir / "n.heic", 0.6));
  test::writeFile(dir / "n.bmp", test::makeBmp(noise(5), 40, false, 24));
  paths = {dir / "n.jpg",
           dir / "n.png",
           dir / "n.webp",
           dir / "n.heic",
           dir / "n.bmp",
           test::testData("2-exif-orientation-6.jpg"),
           test::testData("2-cmyk.jpg")};

  std::vector<RgbaImage> serial;
  for (const auto& path : paths) {
    auto decoded = decode(path);
    ASSERT_TRUE(decoded) << decoded.error().detail;
    serial.push_back(std::move(decoded).value());
  }

  constexpr int kThreads = 4;
  constexpr int kRounds = 5;
  std::vector<int> mismatches(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
          // Each thread walks the files from a different start.
          const std::size_t k = (i + static_cast<std::size_t>(t)) % paths.size();
          auto decoded = decode(paths[k]);
          if (!decoded || decoded.value().byteSize() != serial[k].byteSize() ||
              !std::equal(serial[k].data(), serial[k].data() + serial[k].byteSize(),
                          decoded.value().data())) {
            ++mismatches[t];
          }
          // Failing reads in between must not disturb the others.
          (void)decode(test::testData("2-truncated.png"));
        }
      }
      releaseThreadResources();
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
}

TEST(Threads, ParallelWritesAreIndependent) {
  TempDir dir;
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      const RgbaImage image = test::makeRgba(40 + t, 30, [t](int x, int y) {
        return test::Pixel{x * 5 & 0xff, y * 7 & 0xff, t * 60, 255};
      });
      const auto base = dir / (quorvane::test::numbered("t", t));
      for (int round = 0; round < 3; ++round) {
        if (!writePng(image, base.string() + ".png") ||
            !writeHeic(image, base.string() + ".heic", 0.7) ||
            !writeTga(image, base.string() + ".tga")) {
          ++failures[t];
        }
        auto back = decode(base.string() + ".png");
        if (!back || back.value().width() != 40 + t ||
            !std::equal(image.data(), image.data() + image.byteSize(), back.value().data())) {
          ++failures[t];
        }
      }
      releaseThreadResources();
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace quorvane::codec
