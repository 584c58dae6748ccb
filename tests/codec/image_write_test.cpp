// Writers (PNG, HEIC, TGA failure paths), resize and flattenOnto.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "codec/image_codec.h"
#include "codec/indexed_png.h"
#include "codec/metadata.h"
#include "support/numbered.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

using test::makeQuadrants;
using test::makeRgba;
using test::Pixel;
using test::pixelAt;
using test::TempDir;

bool samePixels(const RgbaImage& a, const RgbaImage& b) {
  return a.width() == b.width() && a.height() == b.height() && a.byteSize() == b.byteSize() &&
         std::equal(a.data(), a.data() + a.byteSize(), b.data());
}

// --- PNG -------------------------------------------------------------------

TEST(WritePng, RoundTripIsLosslessAndAnOpaqueImageIsStoredWithoutAlpha) {
  TempDir dir;
  const RgbaImage translucent = makeRgba(33, 17, [](int x, int y) {
    return Pixel{(x * 7) & 0xff, (y * 13) & 0xff, (x * y) & 0xff, (x + y * 3) * 5 & 0xff};
  });
  const RgbaImage opaque = makeQuadrants(20, 10);
  // The scratch writer (what tools read) keeps exactly the same pixels.
  for (const bool scratch : {false, true}) {
    for (const RgbaImage* image : {&translucent, &opaque}) {
      SCOPED_TRACE(testing::Message() << (scratch ? "scratch " : "") << image->width());
      const auto path = dir / (image == &opaque ? "o.png" : "a.png");
      ASSERT_TRUE(scratch ? writeScratchPng(*image, path) : writePng(*image, path));
      const auto header = readHeader(path);
      ASSERT_TRUE(header);
      EXPECT_EQ(header.value().hasAlpha, image == &translucent);
      EXPECT_EQ(header.value().bands, image == &translucent ? 4 : 3);
      const auto back = decode(path);
      ASSERT_TRUE(back) << back.error().detail;
      EXPECT_TRUE(samePixels(back.value(), *image));
    }
  }
}

TEST(WriteIndexedPng, FitsUpTo256ColoursTranslucentFirstAndReadsBackExactly) {
  TempDir dir;
  RgbaImage image(20, 10);  // 200 colours, ten of them half transparent
  for (int i = 0; i < 200; ++i) {
    std::uint8_t* p = image.data() + std::size_t(i) * 4;
    p[0] = static_cast<std::uint8_t>(i);
    p[1] = static_cast<std::uint8_t>(255 - i);
    p[2] = static_cast<std::uint8_t>(i * 7);
    p[3] = i % 20 == 19 ? 128 : 255;
  }
  EXPECT_FALSE(indexedIfFits(image, 199));
  const auto indexed = indexedIfFits(image, 200);
  ASSERT_TRUE(indexed);
  ASSERT_EQ(indexed->palette.size(), 200u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(indexed->palette[std::size_t(i)][3], 128);
  EXPECT_EQ(indexed->palette[10][3], 255);

  ASSERT_TRUE(writeIndexedPng(*indexed, dir / "i.png"));
  std::ifstream in(dir / "i.png", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(bytes.size(), 26u);
  EXPECT_EQ(bytes[24], 8);  // bit depth
  EXPECT_EQ(bytes[25], 3);  // colour type: palette
  EXPECT_NE(bytes.find("tRNS"), std::string::npos);
  const auto back = decode(dir / "i.png");
  ASSERT_TRUE(back);
  EXPECT_TRUE(samePixels(back.value(), image));
}

TEST(WritePng, ReplacesAnExistingFile) {
  TempDir dir;
  test::writeFile(dir / "r.png", std::vector<std::uint8_t>(100000, 'x'));
  ASSERT_TRUE(writePng(makeQuadrants(4, 4), dir / "r.png"));
  const auto back = decode(dir / "r.png");
  ASSERT_TRUE(back) << back.error().detail;
  EXPECT_EQ(back.value().width(), 4);
}

// --- HEIC ------------------------------------------------------------------

TEST(WriteHeic, RoundTripKeepsGeometryAndDepth) {
  TempDir dir;
  ASSERT_TRUE(writeHeic(makeQuadrants(64, 48), dir / "q.heic", 0.9));
  const auto header = readHeader(dir / "q.heic");
  ASSERT_TRUE(header) << header.error().detail;
  EXPECT_EQ(header.value().bitsPerSample, 8);  // 16-bit input would give 12-bit HEIC
  EXPECT_FALSE(header.value().hasAlpha);
  const auto back = decode(dir / "q.heic");
  ASSERT_TRUE(back) << back.error().detail;
  EXPECT_EQ(back.value().width(), 64);
  EXPECT_EQ(back.value().height(), 48);
}

TEST(WriteHeic, QualityIsClamped) {
  TempDir dir;
  const RgbaImage noise = makeRgba(96, 96, [](int x, int y) {
    return Pixel{(x * 37 + y * 11) & 0xff, (x * y) & 0xff, ((x ^ y) * 4) & 0xff, 255};
  });
  for (const double q : {-3.0, 0.0, 1.0, 7.0, std::nan("")}) {
    const auto name = std::string("q").append(std::to_string(q)).append(".heic");
    const auto written = writeHeic(noise, dir / name, q);
    ASSERT_TRUE(written) << "quality " << q << ": " << written.error().detail;
    EXPECT_TRUE(decode(dir / name)) << "quality " << q;
  }
  const auto size = [&](double q) {
    return std::filesystem::file_size(dir /
                                      std::string("q").append(std::to_string(q)).append(".heic"));
  };
  EXPECT_EQ(size(-3.0), size(0.0));  // clamped to 0
  EXPECT_EQ(size(7.0), size(1.0));   // clamped to 1
}

// Photo-like content: smooth gradients with fine seeded noise, so the
// encoder has both flat areas and detail to spend bits on.
RgbaImage makePhotoLike(int width, int height) {
  std::uint32_t state = 12345;
  return makeRgba(width, height, [&](int x, int y) {
    state = state * 1664525u + 1013904223u;
    const int noise = static_cast<int>(state >> 28) - 8;
    return Pixel{std::clamp(x * 255 / width + noise, 0, 255),
                 std::clamp(y * 255 / height + noise, 0, 255),
                 std::clamp((x + y) * 128 / (width + height) + 64 + noise, 0, 255), 255};
  });
}

double meanSquaredError(const RgbaImage& a, const RgbaImage& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.byteSize(); ++i) {
    if (i % 4 == 3) continue;
    const double d = static_cast<double>(a.data()[i]) - b.data()[i];
    sum += d * d;
  }
  return sum / (static_cast<double>(a.byteSize()) * 3 / 4);
}

TEST(WriteHeic, FidelityAndSizeRiseWithQualityOverTheWholeRange) {
  // The quality mapping interpolates a measured table; a misordered or
  // inverted entry anywhere would show as a step backwards here.
  TempDir dir;
  const RgbaImage image = makePhotoLike(160, 120);
  std::uintmax_t previousSize = 0;
  double previousError = 1e300;
  for (int step = 0; step <= 10; ++step) {
    const double quality = step / 10.0;
    SCOPED_TRACE("quality " + std::to_string(quality));
    const auto path = dir / (quorvane::test::numbered("q", step, ".heic"));
    ASSERT_TRUE(writeHeic(image, path, quality));
    const auto back = decode(path);
    ASSERT_TRUE(back) << back.error().detail;
    const std::uintmax_t size = std::filesystem::file_size(path);
    const double error = meanSquaredError(image, back.value());
    EXPECT_GE(size, previousSize);
    EXPECT_LE(error, previousError);
    // Even the lowest setting (which libheif refuses as Q 0) keeps the
    // picture: over 30 dB PSNR, where a flat grey result is near 10 dB.
    if (step == 0) {
      EXPECT_LT(error, 255.0 * 255.0 / 1000.0);
    }
    previousSize = size;
    previousError = error;
  }
  // The top of the scale is near-transparent: over 40 dB PSNR.
  EXPECT_LT(previousError, 255.0 * 255.0 / 10000.0);
}

TEST(WriteHeic, KeepsTransparency) {
  TempDir dir;
  const RgbaImage image = makeRgba(32, 32, [](int x, int) {
    return x < 16 ? Pixel{0, 0, 255, 255} : Pixel{0, 0, 255, 0};
  });
  ASSERT_TRUE(writeHeic(image, dir / "a.heic", 0.9));
  const auto back = decode(dir / "a.heic");
  ASSERT_TRUE(back) << back.error().detail;
  EXPECT_GT(pixelAt(back.value(), 4, 16)[3], 240);
  EXPECT_LT(pixelAt(back.value(), 28, 16)[3], 15);
}

// --- Failure paths shared by the writers ----------------------------------

TEST(WriteFailure, MissingFolderOrEmptyImageFailsCleanly) {
  TempDir dir;
  const RgbaImage image = makeQuadrants(4, 4);
  const auto path = dir / "no-such-folder" / "x";
  for (const auto& result :
       {writePng(image, path), writeHeic(image, path, 0.5), writeTga(image, path)}) {
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().kind, CodecError::Kind::WriteFailed);
  }
  const RgbaImage empty;
  EXPECT_FALSE(writePng(empty, dir / "e.png"));
  EXPECT_FALSE(writeHeic(empty, dir / "e.heic", 0.5));
  EXPECT_FALSE(writeTga(empty, dir / "e.tga"));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(WriteFailure, FullDeviceIsReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP();
  const RgbaImage image = makeQuadrants(300, 300);
  for (const auto& result : {writePng(image, "/dev/full"), writeHeic(image, "/dev/full", 0.5),
                             writeTga(image, "/dev/full")}) {
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().kind, CodecError::Kind::WriteFailed);
  }
  EXPECT_TRUE(std::filesystem::exists("/dev/full"));  // a device is never unlinked
}

// A file size limit makes the write fail part-way, like a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_oldHandler = signal(SIGXFSZ, SIG_IGN);  // EFBIG instead of a signal
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    signal(SIGXFSZ, m_oldHandler);
  }

 private:
  rlimit m_saved{};
  sighandler_t m_oldHandler;
};

TEST(WriteFailure, PartialFileIsRemoved) {
  TempDir dir;
  const RgbaImage noise = makeRgba(256, 256, [](int x, int y) {
    return Pixel{(x * 37 + y * 11) & 0xff, (x * y) & 0xff, ((x ^ y) * 4) & 0xff, 255};
  });
  FileSizeLimit limit(4096);
  const auto png = writePng(noise, dir / "p.png");
  const auto heic = writeHeic(noise, dir / "h.heic", 1.0);
  const auto tga = writeTga(noise, dir / "t.tga");
  for (const auto* result : {&png, &heic, &tga}) {
    ASSERT_FALSE(*result);
    EXPECT_EQ(result->error().kind, CodecError::Kind::WriteFailed);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "p.png"));
  EXPECT_FALSE(std::filesystem::exists(dir / "h.heic"));
  EXPECT_FALSE(std::filesystem::exists(dir / "t.tga"));
}

// --- Resize ----------------------------------------------------------------

TEST(Resize, GivesExactlyTheAskedSizeAndRejectsBadSizes) {
  // Opaque images take the 8-bit path, translucent ones the premultiplied
  // float path; both must land on the exact size.
  const RgbaImage opaque = makeQuadrants(97, 61);
  const RgbaImage translucent = makeRgba(97, 61, [](int x, int y) {
    return Pixel{x, y, 9, (x * y) & 0xff};
  });
  for (const RgbaImage* source : {&opaque, &translucent}) {
    for (const auto& [w, h] :
         {std::pair{1, 1}, {96, 60}, {48, 31}, {97, 3}, {61, 97}, {150, 100}, {1, 61}, {97, 1}}) {
      const auto resized = resize(*source, w, h);
      ASSERT_TRUE(resized) << w << "x" << h << ": " << resized.error().detail;
      EXPECT_EQ(resized.value().width(), w);
      EXPECT_EQ(resized.value().height(), h);
    }
  }
  EXPECT_FALSE(resize(opaque, 0, 4));
  EXPECT_FALSE(resize(opaque, 4, -1));
  EXPECT_FALSE(resize(RgbaImage(), 4, 4));
}

TEST(Resize, KeepsQuadrantsInPlace) {
  const auto small = resize(makeQuadrants(400, 300), 40, 30);
  ASSERT_TRUE(small);
  for (const auto& [x, y] : {std::pair{5, 5}, {35, 5}, {5, 25}, {35, 25}}) {
    EXPECT_EQ(pixelAt(small.value(), x, y), test::quadrantColour(x, y, 40, 30)) << x << "," << y;
  }
}

TEST(Resize, ExtremeAspectRatios) {
  const RgbaImage tall = makeRgba(1, 10000, [](int, int y) {
    return Pixel{y < 5000 ? 255 : 0, 0, y < 5000 ? 0 : 255, 255};
  });
  const auto thin = resize(tall, 1, 10);
  ASSERT_TRUE(thin) << thin.error().detail;
  ASSERT_EQ(thin.value().height(), 10);
  EXPECT_GT(pixelAt(thin.value(), 0, 0)[0], 240);
  EXPECT_GT(pixelAt(thin.value(), 0, 9)[2], 240);

  const RgbaImage wide = makeRgba(10000, 2, [](int, int) { return Pixel{10, 20, 30, 255}; });
  const auto narrow = resize(wide, 3, 1);
  ASSERT_TRUE(narrow) << narrow.error().detail;
  EXPECT_EQ(pixelAt(narrow.value(), 1, 0), (Pixel{10, 20, 30, 255}));
}

TEST(Resize, FlatColourStaysFlatUpToTheEdges) {
  // A filter that leaks in black (zero) past the border darkens edges.
  const RgbaImage flat = makeRgba(50, 40, [](int, int) { return Pixel{200, 150, 100, 255}; });
  const auto small = resize(flat, 17, 13);
  ASSERT_TRUE(small);
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 17; ++x) {
      EXPECT_EQ(pixelAt(small.value(), x, y), (Pixel{200, 150, 100, 255})) << x << "," << y;
    }
  }
}

TEST(Resize, TransparentNeighboursDoNotBleedIn) {
  // Opaque blue beside fully transparent red: without premultiplied alpha
  // the blended edge turns purple (red leaks in from invisible pixels).
  const RgbaImage image = makeRgba(64, 8, [](int x, int) {
    return x < 32 ? Pixel{0, 0, 255, 255} : Pixel{255, 0, 0, 0};
  });
  const auto small = resize(image, 16, 2);
  ASSERT_TRUE(small) << small.error().detail;
  bool sawEdge = false;
  for (int x = 0; x < 16; ++x) {
    const Pixel p = pixelAt(small.value(), x, 1);
    if (p[3] == 0) continue;
    sawEdge = sawEdge || (p[3] > 0 && p[3] < 255);
    EXPECT_LE(p[0], 3) << "red leaked in at x=" << x << " alpha " << p[3];
    EXPECT_GE(p[2], 250) << "blue darkened at x=" << x << " alpha " << p[3];
  }
  EXPECT_TRUE(sawEdge) << "no partly transparent edge pixel: the test checks nothing";
}

// --- flattenOnto -----------------------------------------------------------

TEST(Flatten, CompositesStraightAlphaOntoColour) {
  RgbaImage image = makeRgba(4, 1, [](int x, int) {
    switch (x) {
      case 0:
        return Pixel{0, 0, 0, 0};
      case 1:
        return Pixel{0, 0, 0, 128};
      case 2:
        return Pixel{255, 0, 0, 255};
      default:
        return Pixel{100, 50, 200, 51};
    }
  });
  flattenOnto(image, 255, 255, 255);
  EXPECT_EQ(pixelAt(image, 0, 0), (Pixel{255, 255, 255, 255}));
  EXPECT_EQ(pixelAt(image, 1, 0), (Pixel{127, 127, 127, 255}));
  EXPECT_EQ(pixelAt(image, 2, 0), (Pixel{255, 0, 0, 255}));
  // 100*0.2 + 255*0.8 = 224, 50*0.2 + 204 = 214, 200*0.2 + 204 = 244
  EXPECT_EQ(pixelAt(image, 3, 0), (Pixel{224, 214, 244, 255}));
}

}  // namespace
}  // namespace quorvane::codec
