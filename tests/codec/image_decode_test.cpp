// readHeader and decode: every input format, orientation, colour management,
// bit depths and frames (colour: image_decode_colour_test.cpp, broken files:
// image_decode_broken_test.cpp).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vips/vips.h>

#include <algorithm>
#include <cmath>

#include "codec/image_codec.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

using test::expectNear;
using test::makeQuadrants;
using test::Pixel;
using test::pixelAt;
using test::quadrantColour;
using test::TempDir;
using test::testData;

void expectQuadrants(const RgbaImage& image, int tolerance) {
  const int w = image.width();
  const int h = image.height();
  for (const auto& [x, y] :
       {std::pair{w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}}) {
    expectNear(pixelAt(image, x, y), quadrantColour(x, y, w, h), tolerance,
               "at " + std::to_string(x) + "," + std::to_string(y));
  }
}

// --- Every extension -------------------------------------------------------

struct FormatCase {
  std::string extension;
  std::string saveOptions;  // libvips options; empty for BMP, written by hand
  int tolerance;
  std::string loader;
};

void PrintTo(const FormatCase& fc, std::ostream* os) {
  *os << fc.extension << fc.saveOptions;
}

class DecodeEveryFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DecodeEveryFormat, HeaderAndPixelsMatch) {
  const FormatCase& fc = GetParam();
  TempDir dir;
  const auto path = dir / ("quadrants." + fc.extension);
  const RgbaImage source = makeQuadrants(48, 32);
  if (fc.extension == "bmp") {
    test::writeFile(path, test::makeBmp(source, 40, false, 24));
  } else {
    test::saveRgba(source, path, fc.saveOptions, 3);
  }

  const auto header = readHeader(path);
  ASSERT_TRUE(header) << header.error().detail;
  EXPECT_EQ(header.value().width, 48);
  EXPECT_EQ(header.value().height, 32);
  EXPECT_EQ(header.value().loader, fc.loader);

  const auto decoded = decode(path);
  ASSERT_TRUE(decoded) << decoded.error().detail;
  ASSERT_EQ(decoded.value().width(), 48);
  ASSERT_EQ(decoded.value().height(), 32);
  expectQuadrants(decoded.value(), fc.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, DecodeEveryFormat,
    ::testing::Values(
        FormatCase{"png", "", 0, "pngload"}, FormatCase{"jpg", "[Q=95]", 24, "jpegload"},
        FormatCase{"jpeg", "[Q=95]", 24, "jpegload"}, FormatCase{"heic", "[Q=90]", 40, "heifload"},
        FormatCase{"heif", "[Q=90]", 40, "heifload"},
        FormatCase{"avif", "[Q=90,compression=av1]", 40, "heifload"},
        FormatCase{"webp", "[lossless]", 0, "webpload"}, FormatCase{"tiff", "", 0, "tiffload"},
        FormatCase{"tif", "[compression=lzw]", 0, "tiffload"}, FormatCase{"gif", "", 0, "gifload"},
        FormatCase{"bmp", "", 0, "bmp"}),
    [](const auto& info) { return info.param.extension; });

TEST(Decode, ContentDecidesNotExtension) {
  TempDir dir;
  test::saveRgba(makeQuadrants(8, 8), dir / "real.png", "", 3);
  std::filesystem::rename(dir / "real.png", dir / "named.jpg");
  const auto decoded = decode(dir / "named.jpg");
  ASSERT_TRUE(decoded) << decoded.error().detail;
  expectQuadrants(decoded.value(), 0);
}

// --- BMP variants (decoded through ImageMagick, sized by our header read) --

TEST(DecodeBmp, TopDownOs2AndAlphaVariantsAndHalfTransparentAlpha) {
  TempDir dir;
  const RgbaImage source = makeQuadrants(10, 6);
  struct Variant {
    const char* name;
    int infoSize;
    bool topDown;
    int bits;
  };
  for (const Variant v : {Variant{"bottom-up", 40, false, 24}, Variant{"top-down", 40, true, 24},
                          Variant{"os2", 12, false, 24}, Variant{"v5-alpha", 124, false, 32}}) {
    SCOPED_TRACE(v.name);
    const auto path = dir / (std::string(v.name) + ".bmp");
    test::writeFile(path, test::makeBmp(source, v.infoSize, v.topDown, v.bits));
    const auto decoded = decode(path);
    ASSERT_TRUE(decoded) << decoded.error().detail;
    ASSERT_EQ(decoded.value().width(), 10);
    ASSERT_EQ(decoded.value().height(), 6);
    expectQuadrants(decoded.value(), 0);
  }
  const RgbaImage half = test::makeRgba(4, 4, [](int, int) { return Pixel{200, 100, 50, 128}; });
  test::writeFile(dir / "a.bmp", test::makeBmp(half, 124, false, 32));
  const auto decoded = decode(dir / "a.bmp");
  ASSERT_TRUE(decoded) << decoded.error().detail;
  expectNear(pixelAt(decoded.value(), 1, 1), {200, 100, 50, 128}, 1, "centre");
}

// --- Orientation -----------------------------------------------------------

class DecodeEveryOrientation : public ::testing::TestWithParam<int> {};

TEST_P(DecodeEveryOrientation, StoredTopLeftLandsWhereExifSays) {
  const int orientation = GetParam();
  TempDir dir;
  // Stored 32x16, red in the stored top-left 8x8 block, grey elsewhere.
  const RgbaImage stored = test::makeRgba(32, 16, [](int x, int y) {
    return x < 8 && y < 8 ? Pixel{255, 0, 0, 255} : Pixel{128, 128, 128, 255};
  });
  std::vector<std::uint8_t> rgb;
  for (std::size_t i = 0; i < stored.byteSize(); i += 4) {
    rgb.insert(rgb.end(), stored.data() + i, stored.data() + i + 3);
  }
  VipsImage* image =
      vips_image_new_from_memory_copy(rgb.data(), rgb.size(), 32, 16, 3, VIPS_FORMAT_UCHAR);
  ASSERT_NE(image, nullptr);
  image->Type = VIPS_INTERPRETATION_sRGB;
  vips_image_set_int(image, VIPS_META_ORIENTATION, orientation);
  const auto path = dir / "o.jpg";
  ASSERT_EQ(vips_image_write_to_file(image, (path.string() + "[Q=95]").c_str(), nullptr), 0);
  // As a PNG (its orientation in an eXIf chunk): the quick size read agrees
  // with the full header read.
  const auto png = dir / "o.png";
  ASSERT_EQ(vips_image_write_to_file(image, png.c_str(), nullptr), 0);
  g_object_unref(image);
  const auto pngHeader = readHeader(png);
  const auto pngSize = readImageSize(png);
  ASSERT_TRUE(pngHeader && pngSize);
  EXPECT_EQ(pngSize.value().width, pngHeader.value().width);
  EXPECT_EQ(pngSize.value().height, pngHeader.value().height);

  const bool swapped = orientation >= 5;
  const int w = swapped ? 16 : 32;
  const int h = swapped ? 32 : 16;
  const auto header = readHeader(path);
  ASSERT_TRUE(header) << header.error().detail;
  EXPECT_EQ(header.value().width, w);
  EXPECT_EQ(header.value().height, h);
  const auto size = readImageSize(path);
  ASSERT_TRUE(size);
  EXPECT_EQ(size.value().width, w);
  EXPECT_EQ(size.value().height, h);

  const auto decoded = decode(path);
  ASSERT_TRUE(decoded) << decoded.error().detail;
  ASSERT_EQ(decoded.value().width(), w);
  ASSERT_EQ(decoded.value().height(), h);
  // Where the stored top-left corner is displayed, per the EXIF table.
  const bool right = orientation == 2 || orientation == 3 || orientation == 6 || orientation == 7;
  const bool bottom = orientation == 3 || orientation == 4 || orientation == 7 || orientation == 8;
  const int x = right ? w - 3 : 2;
  const int y = bottom ? h - 3 : 2;
  expectNear(pixelAt(decoded.value(), x, y), {255, 0, 0, 255}, 40, "red corner");
  expectNear(pixelAt(decoded.value(), w - 1 - x, h - 1 - y), {128, 128, 128, 255}, 20,
             "opposite corner");
}

INSTANTIATE_TEST_SUITE_P(Codec, DecodeEveryOrientation, ::testing::Range(1, 9));

// --- Bit depths, grey, palette, frames ------------------------------------

TEST(DecodeDepth, SixteenBitRgbAndAlphaReduceToEightBitWithOrWithoutProfile) {
  TempDir dir;
  const std::uint16_t samples[] = {65535, 32896, 0, 32896, 1028, 2056, 65535, 65535};
  test::saveSamples(dir / "16.png", "", samples, 2, 1, 4, true, VIPS_INTERPRETATION_RGB16);
  const auto header = readHeader(dir / "16.png");
  ASSERT_TRUE(header);
  EXPECT_EQ(header.value().bitsPerSample, 16);
  EXPECT_TRUE(header.value().hasAlpha);
  const auto decoded = decode(dir / "16.png");
  ASSERT_TRUE(decoded) << decoded.error().detail;
  expectNear(pixelAt(decoded.value(), 0, 0), {255, 128, 0, 128}, 1, "first");
  expectNear(pixelAt(decoded.value(), 1, 0), {4, 8, 255, 255}, 1, "second");

  // Through a colour profile too, the alpha survives.
  const auto profile = test::makeRgbProfile(test::kSrgbPrimaries, 0);
  const std::uint16_t red[] = {65535, 0, 0, 16448};
  test::saveSamples(dir / "16p.png", "", red, 1, 1, 4, true, VIPS_INTERPRETATION_RGB16, profile);
  const auto withProfile = decode(dir / "16p.png");
  ASSERT_TRUE(withProfile) << withProfile.error().detail;
  expectNear(pixelAt(withProfile.value(), 0, 0), {255, 0, 0, 64}, 1, "red, quarter alpha");
}

TEST(DecodeDepth, GreyAndGreyAlpha) {
  TempDir dir;
  const std::uint8_t grey[] = {100, 200};
  test::saveSamples(dir / "g.png", "", grey, 2, 1, 1, false, VIPS_INTERPRETATION_B_W);
  const std::uint8_t greyAlpha[] = {100, 50, 200, 255};
  test::saveSamples(dir / "ga.png", "", greyAlpha, 2, 1, 2, false, VIPS_INTERPRETATION_B_W);
  const std::uint16_t grey16[] = {0x8080};
  test::saveSamples(dir / "g16.png", "", grey16, 1, 1, 1, true, VIPS_INTERPRETATION_GREY16);

  const auto header = readHeader(dir / "ga.png");
  ASSERT_TRUE(header);
  EXPECT_EQ(header.value().colourModel, ColourModel::Grey);
  EXPECT_EQ(header.value().bands, 2);
  EXPECT_TRUE(header.value().hasAlpha);

  const auto g = decode(dir / "g.png");
  ASSERT_TRUE(g) << g.error().detail;
  expectNear(pixelAt(g.value(), 0, 0), {100, 100, 100, 255}, 0, "grey");
  expectNear(pixelAt(g.value(), 1, 0), {200, 200, 200, 255}, 0, "grey");
  const auto ga = decode(dir / "ga.png");
  ASSERT_TRUE(ga) << ga.error().detail;
  expectNear(pixelAt(ga.value(), 0, 0), {100, 100, 100, 50}, 0, "grey+alpha");
  const auto g16 = decode(dir / "g16.png");
  ASSERT_TRUE(g16) << g16.error().detail;
  expectNear(pixelAt(g16.value(), 0, 0), {128, 128, 128, 255}, 1, "grey16");
}

TEST(DecodeDepth, PalettePng) {
  TempDir dir;
  test::saveRgba(makeQuadrants(16, 16), dir / "pal.png", "[palette,bitdepth=8]", 3);
  const auto decoded = decode(dir / "pal.png");
  ASSERT_TRUE(decoded) << decoded.error().detail;
  expectQuadrants(decoded.value(), 2);
}

// Two 8x8 pages stacked: red over blue.
std::vector<std::uint8_t> twoPages() {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 8; ++x) {
      const std::uint8_t px[] = {static_cast<std::uint8_t>(y < 8 ? 255 : 0), 0,
                                 static_cast<std::uint8_t>(y < 8 ? 0 : 255)};
      rgb.insert(rgb.end(), px, px + 3);
    }
  }
  return rgb;
}

TEST(DecodeFrames, AnimatedWebpAndMultiPageTiffGiveFirstPage) {
  TempDir dir;
  const auto rgb = twoPages();
  for (const auto& [name, options] :
       {std::pair<std::string, std::string>{"anim.webp", "[lossless]"},
        {"pages.tiff", ""},
        {"anim.gif", ""}}) {
    SCOPED_TRACE(name);
    test::saveSamples(dir / name, options, rgb.data(), 8, 16, 3, false, VIPS_INTERPRETATION_sRGB,
                      {}, 8);
    const auto header = readHeader(dir / name);
    ASSERT_TRUE(header) << header.error().detail;
    EXPECT_EQ(header.value().frameCount, 2);
    EXPECT_EQ(header.value().height, 8);
    const auto decoded = decode(dir / name);
    ASSERT_TRUE(decoded) << decoded.error().detail;
    ASSERT_EQ(decoded.value().height(), 8);
    expectNear(pixelAt(decoded.value(), 4, 7), {255, 0, 0, 255}, 0, "page 0");
  }
}

}  // namespace
}  // namespace quorvane::codec
