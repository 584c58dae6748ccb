// decode's colour management: profiles converted to sRGB or skipped when
// they are sRGB already, damaged profiles, CMYK with and without one.
#include <gtest/gtest.h>
#include <vips/vips.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "codec/image_codec.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

using test::expectNear;
using test::Pixel;
using test::pixelAt;
using test::TempDir;
using test::testData;

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

}  // namespace
}  // namespace quorvane::codec
