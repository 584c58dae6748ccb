// readHeader and decode: every input format, orientation, colour management,
// bit depths, frames, broken files and the size limit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vips/vips.h>

#include <algorithm>
#include <cmath>

#include "codec/image_codec.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

using test::makeQuadrants;
using test::Pixel;
using test::pixelAt;
using test::quadrantColour;
using test::TempDir;
using test::testData;

void expectNear(const Pixel& got, const Pixel& want, int tolerance, const std::string& where) {
  for (int c = 0; c < 4; ++c) {
    EXPECT_NEAR(got[c], want[c], tolerance) << where << " channel " << c;
  }
}

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

// --- Colour management -----------------------------------------------------

double srgbDecode(double v) {
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
double srgbEncode(double v) {
  v = std::clamp(v, 0.0, 1.0);
  return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

TEST(DecodeColour, DisplayP3ConvertsToSrgb) {
  TempDir dir;
  const auto profile = test::makeRgbProfile(test::kDisplayP3Primaries, 0);
  const std::uint8_t p3[] = {100, 200, 50};
  std::vector<std::uint8_t> samples;
  for (int i = 0; i < 16; ++i) samples.insert(samples.end(), p3, p3 + 3);
  test::saveSamples(dir / "p3.png", "", samples.data(), 4, 4, 3, false, VIPS_INTERPRETATION_sRGB,
                    profile);

  // Display P3 -> sRGB for D65-white primaries: a fixed linear-light matrix.
  const double m[3][3] = {
      {1.2249, -0.2247, 0.0}, {-0.0420, 1.0419, 0.0}, {-0.0197, -0.0786, 1.0979}};
  double linear[3];
  for (int c = 0; c < 3; ++c) linear[c] = srgbDecode(p3[c] / 255.0);
  Pixel want{0, 0, 0, 255};
  for (int r = 0; r < 3; ++r) {
    const double v = m[r][0] * linear[0] + m[r][1] * linear[1] + m[r][2] * linear[2];
    want[r] = static_cast<int>(std::lround(srgbEncode(v) * 255));
  }
  // The conversion must move the colour clearly, or this test proves nothing.
  ASSERT_GT(std::abs(want[1] - p3[1]) + std::abs(want[0] - p3[0]), 20);

  const auto decoded = decode(dir / "p3.png");
  ASSERT_TRUE(decoded) << decoded.error().detail;
  expectNear(pixelAt(decoded.value(), 2, 2), want, 3, "P3 (100,200,50)");
}

TEST(DecodeColour, AnSrgbLikeProfileIsSkippedAndAdobeRgbStillConverted) {
  // Bit for bit the stored numbers: no transform ran (one would move some
  // of a ramp's values by a step).
  DecodeOptions storedNumbers;
  storedNumbers.keepRgbProfile = true;
  const auto raw = decode(testData("2-srgb-like.jpg"), storedNumbers);
  const auto shown = decode(testData("2-srgb-like.jpg"));
  ASSERT_TRUE(raw && shown);
  ASSERT_TRUE(std::equal(raw.value().data(), raw.value().data() + raw.value().byteSize(),
                         shown.value().data()));

  // Adobe RGB through its matrix and curve to sRGB, both adapted to D50.
  const auto adobe = decode(testData("2-adobe-rgb.jpg"), storedNumbers);
  const auto converted = decode(testData("2-adobe-rgb.jpg"));
  ASSERT_TRUE(adobe && converted);
  const double toXyz[3][3] = {
      {0.6097, 0.2053, 0.1492}, {0.3111, 0.6257, 0.0632}, {0.0195, 0.0609, 0.7446}};
  const double toSrgb[3][3] = {// the inverse of sRGB's D50 colorant matrix
                               {3.1339, -1.6169, -0.4906},
                               {-0.9788, 1.9161, 0.0335},
                               {0.0719, -0.2290, 1.4052}};
  const Pixel stored = pixelAt(adobe.value(), 16, 16);
  double linear[3], xyz[3];
  for (int c = 0; c < 3; ++c) linear[c] = std::pow(stored[c] / 255.0, 563.0 / 256);
  for (int r = 0; r < 3; ++r) {
    xyz[r] = toXyz[r][0] * linear[0] + toXyz[r][1] * linear[1] + toXyz[r][2] * linear[2];
  }
  Pixel want{0, 0, 0, 255};
  for (int r = 0; r < 3; ++r) {
    const double v = toSrgb[r][0] * xyz[0] + toSrgb[r][1] * xyz[1] + toSrgb[r][2] * xyz[2];
    want[r] = static_cast<int>(std::lround(srgbEncode(v) * 255));
  }
  ASSERT_GT(std::abs(want[0] - stored[0]) + std::abs(want[1] - stored[1]), 20);
  expectNear(pixelAt(converted.value(), 16, 16), want, 3, "Adobe RGB");
}

TEST(DecodeColour, DamagedProfileIsIgnoredNotFatal) {
  TempDir dir;
  std::vector<std::uint8_t> junk(200, 0x41);
  const std::uint8_t rgb[] = {10, 20, 30};
  test::saveSamples(dir / "j.png", "", rgb, 1, 1, 3, false, VIPS_INTERPRETATION_sRGB, junk);
  const auto decoded = decode(dir / "j.png");
  ASSERT_TRUE(decoded) << decoded.error().detail;
  expectNear(pixelAt(decoded.value(), 0, 0), {10, 20, 30, 255}, 0, "pixel");
}

TEST(DecodeColour, CmykWithoutProfileUsesBuiltInProfile) {
  const auto path = testData("2-cmyk.jpg");  // 100 % cyan ink, no profile
  const auto header = readHeader(path);
  ASSERT_TRUE(header) << header.error().detail;
  EXPECT_EQ(header.value().colourModel, ColourModel::Cmyk);
  EXPECT_EQ(header.value().bands, 4);
  EXPECT_FALSE(header.value().hasIccProfile);
  const auto decoded = decode(path);
  ASSERT_TRUE(decoded) << decoded.error().detail;
  const Pixel p = pixelAt(decoded.value(), 8, 8);
  // Printed cyan is a light blue-green: little red, much green and blue.
  EXPECT_LT(p[0], 80);
  EXPECT_GT(p[1], 120);
  EXPECT_GT(p[2], 190);
  EXPECT_EQ(p[3], 255);
}

TEST(DecodeColour, CmykWithEmbeddedProfileRoundTrips) {
  TempDir dir;
  const std::uint8_t orange[] = {230, 120, 40};
  std::vector<std::uint8_t> samples;
  for (int i = 0; i < 64; ++i) samples.insert(samples.end(), orange, orange + 3);
  VipsImage* rgb =
      vips_image_new_from_memory_copy(samples.data(), samples.size(), 8, 8, 3, VIPS_FORMAT_UCHAR);
  ASSERT_NE(rgb, nullptr);
  rgb->Type = VIPS_INTERPRETATION_sRGB;
  VipsImage* cmyk = nullptr;
  // Export through libvips' CMYK profile; the profile is embedded on save.
  ASSERT_EQ(
      vips_icc_transform(rgb, &cmyk, "cmyk", "input_profile", "srgb", "embedded", FALSE, nullptr),
      0)
      << vips_error_buffer();
  const auto path = dir / "cmyk-profile.jpg";
  ASSERT_EQ(vips_image_write_to_file(cmyk, (path.string() + "[Q=98]").c_str(), nullptr), 0);
  g_object_unref(cmyk);
  g_object_unref(rgb);

  const auto header = readHeader(path);
  ASSERT_TRUE(header);
  EXPECT_EQ(header.value().colourModel, ColourModel::Cmyk);
  EXPECT_TRUE(header.value().hasIccProfile);
  EXPECT_FALSE(header.value().iccProfileIsSrgb);
  const auto decoded = decode(path);
  ASSERT_TRUE(decoded) << decoded.error().detail;
  expectNear(pixelAt(decoded.value(), 4, 4), {230, 120, 40, 255}, 12, "orange");
}

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

// --- Broken files ----------------------------------------------------------

void expectUnreadable(const std::filesystem::path& path) {
  SCOPED_TRACE(path.filename().string());
  const auto decoded = decode(path);
  ASSERT_FALSE(decoded);
  EXPECT_TRUE(isUnreadable(decoded.error().kind)) << decoded.error().detail;
  // Our context comes first: the step that failed, naming the file.
  const std::string& detail = decoded.error().detail;
  const auto startsWith = [&](std::string step) {
    step.append(" '").append(path.filename().string()).push_back('\'');
    return detail.starts_with(step);
  };
  EXPECT_TRUE(startsWith("decode") || startsWith("read header of")) << detail;
}

TEST(DecodeBroken, TruncatedFilesFailInsteadOfDecodingGrey) {
  expectUnreadable(testData("2-truncated.png"));
  expectUnreadable(testData("2-truncated.jpg"));
  TempDir dir;
  // Truncations of every other format too, cut inside the pixel data.
  for (const std::string ext : {"webp", "tiff", "gif", "heic"}) {
    const auto whole = dir / ("whole." + ext);
    const RgbaImage noise = test::makeRgba(64, 64, [](int x, int y) {
      return Pixel{(x * 37 + y * 11) & 0xff, (x * y) & 0xff, (x ^ y) * 4 & 0xff, 255};
    });
    test::saveRgba(noise, whole, "", 3);
    auto bytes = test::readFile(whole);
    bytes.resize(bytes.size() * 2 / 3);
    test::writeFile(dir / ("cut." + ext), bytes);
    expectUnreadable(dir / ("cut." + ext));
  }
  auto bmp = test::makeBmp(makeQuadrants(64, 64), 40, false, 24);
  bmp.resize(bmp.size() / 2);
  test::writeFile(dir / "cut.bmp", bmp);
  expectUnreadable(dir / "cut.bmp");
}

TEST(DecodeBroken, EmptyGarbageMissingDirectoryAndFifo) {
  TempDir dir;
  test::writeFile(dir / "empty.png", {});
  ASSERT_EQ(mkfifo((dir / "fifo.png").c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder.png");
  using Kind = CodecError::Kind;
  const std::pair<std::filesystem::path, Kind> cases[] = {
      {dir / "empty.png", Kind::Empty},
      {testData("2-garbage.jpg"), Kind::NotAnImage},
      {dir / "missing.png", Kind::Missing},
      {dir / "folder.png", Kind::NotAnImage},
      {dir / "fifo.png", Kind::NotAnImage}};
  for (const auto& [path, kind] : cases) {
    expectUnreadable(path);
    const auto header = readHeader(path);
    ASSERT_FALSE(header) << path;
    EXPECT_EQ(header.error().kind, kind) << path;
  }
}

TEST(DecodeBroken, CorruptedBytesNeverCrash) {
  // Damage real files of every format at random places: each decode must
  // end with pixels or an error, never a crash or a hang.
  TempDir dir;
  const RgbaImage source = test::makeRgba(40, 30, [](int x, int y) {
    return Pixel{x * 6, y * 8, (x ^ y) * 4 & 0xff, 255};
  });
  std::vector<std::filesystem::path> originals;
  for (const std::string ext : {"png", "jpg", "webp", "tiff", "gif", "heic"}) {
    originals.push_back(dir / ("o." + ext));
    test::saveRgba(source, originals.back(), "", 3);
  }
  originals.push_back(dir / "o.bmp");
  test::writeFile(originals.back(), test::makeBmp(source, 40, false, 24));

  std::uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;  // fixed LCG: failures reproduce
    return seed >> 8;
  };
  for (const auto& original : originals) {
    const auto bytes = test::readFile(original);
    for (int round = 0; round < 40; ++round) {
      auto damaged = bytes;
      const int hits = 1 + static_cast<int>(next() % 8);
      for (int i = 0; i < hits; ++i) {
        damaged[next() % damaged.size()] = static_cast<std::uint8_t>(next());
      }
      const auto path = dir / std::string("d").append(original.extension().string());
      test::writeFile(path, damaged);
      SCOPED_TRACE(original.filename().string() + " round " + std::to_string(round));
      const auto header = readHeader(path);
      const auto decoded = decode(path);
      if (decoded) {
        EXPECT_EQ(decoded.value().byteSize(),
                  static_cast<std::size_t>(decoded.value().width()) * decoded.value().height() * 4);
      }
      (void)header;
    }
  }
}

// --- Size limit ------------------------------------------------------------

void expectTooLarge(const std::filesystem::path& path, int claimedWidth, int claimedHeight) {
  SCOPED_TRACE(path.filename().string());
  const auto header = readHeader(path);
  ASSERT_TRUE(header) << header.error().detail;
  EXPECT_EQ(header.value().width, claimedWidth);
  EXPECT_EQ(header.value().height, claimedHeight);
  const auto decoded = decode(path);
  ASSERT_FALSE(decoded);
  EXPECT_EQ(decoded.error().kind, CodecError::Kind::TooLarge);
}

TEST(DecodeLimit, LyingHeadersAreRefusedBeforeDecoding) {
  // Without the check, the GIF aborts the process and the JPEG takes ~40 s.
  expectTooLarge(testData("2-gif-claims-65535.gif"), 65535, 65535);
  expectTooLarge(testData("2-jpeg-claims-65500.jpg"), 65500, 65500);
  expectTooLarge(testData("2-png-claims-100000.png"), 100000, 100000);
  TempDir dir;
  auto bmp = test::makeBmp(makeQuadrants(2, 2), 40, false, 24);
  bmp[18] = 0xa0;  // 100000 x 100000
  bmp[19] = 0x86;
  bmp[20] = 0x01;
  bmp[22] = 0xa0;
  bmp[23] = 0x86;
  bmp[24] = 0x01;
  test::writeFile(dir / "huge.bmp", bmp);
  expectTooLarge(dir / "huge.bmp", 100000, 100000);
}

TEST(DecodeLimit, LimitIsInclusive) {
  static_assert(kMaxPixels == 16384LL * 16384LL);
  // 16384 x 16384 is allowed; one more row is not. Checked on the header of
  // a tiny lying GIF, so nothing large is ever decoded here.
  TempDir dir;
  auto gif = test::readFile(testData("2-gif-claims-65535.gif"));
  const auto setSides = [&](int w, int h) {
    for (const std::size_t at : {std::size_t{6}, std::size_t{13 + 6 + 5}}) {
      gif[at] = static_cast<std::uint8_t>(w);
      gif[at + 1] = static_cast<std::uint8_t>(w >> 8);
      gif[at + 2] = static_cast<std::uint8_t>(h);
      gif[at + 3] = static_cast<std::uint8_t>(h >> 8);
    }
  };
  setSides(16384, 16385);
  test::writeFile(dir / "over.gif", gif);
  expectTooLarge(dir / "over.gif", 16384, 16385);
}

}  // namespace
}  // namespace quorvane::codec
