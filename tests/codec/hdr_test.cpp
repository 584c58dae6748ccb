// HDR inputs (PQ and HLG code points, no profile): what opening them reads,
// the tone map's arithmetic, and how close the SDR rendering comes to the
// SDR grade the fixtures were made from (see data/make_hdr_fixtures.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "codec/hdr_tone_map.h"
#include "codec/image_codec.h"
#include "codec/opened_image.h"
#include "colour_difference.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

using test::ciede2000;
using test::meanCiede2000;
using test::pixelAt;
using test::TempDir;
using test::testData;

constexpr double kGoal = 3.0;  // mean CIEDE2000 against the SDR grade

TEST(Ciede2000, MatchesPublishedPairs) {
  // Sharma, Wu and Dalal (2005), pairs 1, 7, 13, 17 and 25.
  EXPECT_NEAR(ciede2000({50, 2.6772, -79.7751}, {50, 0, -82.7485}), 2.0425, 1e-4);
  EXPECT_NEAR(ciede2000({50, 0, 0}, {50, -1, 2}), 2.3669, 1e-4);
  EXPECT_NEAR(ciede2000({50, 2.49, -0.001}, {50, -2.49, 0.0009}), 7.1792, 1e-4);
  EXPECT_NEAR(ciede2000({50, 2.5, 0}, {73, 25, -18}), 27.1492, 1e-4);
  EXPECT_NEAR(ciede2000({60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}), 1.2644, 1e-4);
  EXPECT_EQ(ciede2000({40, 10, 10}, {40, 10, 10}), 0.0);
}

TEST(HdrTransfers, HitTheirReferencePoints) {
  // ST 2084: 100 cd/m² at 0.508, 1000 at 0.752, 10000 at 1.
  EXPECT_NEAR(lightToPq(100), 0.5081, 1e-3);
  EXPECT_NEAR(lightToPq(1000), 0.7518, 1e-3);
  EXPECT_NEAR(pqToLight(1.0), 10000, 1e-6);
  for (double light : {0.01, 1.0, 203.0, 4000.0}) {
    EXPECT_NEAR(pqToLight(lightToPq(light)), light, light * 1e-9) << light;
  }
  // HLG: 0.5 is 1/12 of scene light, 1 is all of it.
  EXPECT_NEAR(hlgToSceneLight(0.5), 1.0 / 12.0, 1e-9);
  EXPECT_NEAR(hlgToSceneLight(1.0), 1.0, 1e-6);
  // HLG's reference white, 75 % grey, is 203 cd/m² on the nominal display.
  const HdrToneMap hlg({.primaries = 9, .transfer = 18, .matrix = 9}, 10);
  const std::uint16_t white[3] = {767, 767, 767};
  EXPECT_NEAR(hlg.lightOf(white), kSdrReferenceWhite, 2.0);
}

TEST(Bt2390Eetf, CompressesOnlyWhatTheDisplayCannotShow) {
  // A source no brighter than the display passes unchanged.
  for (double light : {0.5, 50.0, 150.0, 203.0}) {
    EXPECT_NEAR(bt2390Eetf(light, 203, 203), light, 1e-9) << light;
  }
  // From 1000 cd/m²: dark and mid tones unchanged, the rest squeezed into
  // what is left, rising all the way, the source's peak at the display's.
  EXPECT_NEAR(bt2390Eetf(20, 1000, 203), 20, 1e-9);
  EXPECT_NEAR(bt2390Eetf(1000, 1000, 203), 203, 1e-6);
  EXPECT_NEAR(bt2390Eetf(5000, 1000, 203), 203, 1e-6);
  double previous = 0;
  for (double light = 1; light <= 1000; light += 1) {
    const double mapped = bt2390Eetf(light, 1000, 203);
    EXPECT_GE(mapped, previous) << light;
    EXPECT_LE(mapped, std::min(light, 203.0) + 1e-9) << light;
    previous = mapped;
  }
}

TEST(HdrToneMap, ConvertsPrimariesAndKeepsWhiteAndBlack) {
  // BT.2087's BT.2020 to BT.709 matrix.
  const Matrix3 m = toBt709(HdrSignal::kPrimariesBt2020);
  EXPECT_NEAR(m[0][0], 1.6605, 1e-3);
  EXPECT_NEAR(m[0][1], -0.5876, 1e-3);
  EXPECT_NEAR(m[1][1], 1.1329, 1e-3);
  EXPECT_NEAR(m[2][2], 1.1187, 1e-3);
  const Matrix3 same = toBt709(HdrSignal::kPrimariesBt709);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(same[r][c], r == c ? 1.0 : 0.0, 1e-9);

  HdrToneMap pq({.primaries = 9, .transfer = 16, .matrix = 9}, 10);
  pq.setSourcePeak(1000);
  const std::uint16_t white = static_cast<std::uint16_t>(std::lround(lightToPq(1000) * 1023));
  const std::uint16_t in[6] = {white, white, white, 0, 0, 0};
  std::uint8_t out[8] = {};
  pq.mapRow(in, 3, 2, out);
  EXPECT_EQ(test::Pixel({out[0], out[1], out[2], out[3]}), test::Pixel({255, 255, 255, 255}));
  EXPECT_EQ(test::Pixel({out[4], out[5], out[6], out[7]}), test::Pixel({0, 0, 0, 255}));
}

TEST(HdrToneMap, PullsOutOfGamutColoursTowardTheirLuminance) {
  // BT.2020's own green, far outside sRGB, and a bright red with half
  // alpha: in range, still green and red, the green's luminance kept.
  HdrToneMap pq({.primaries = 9, .transfer = 16, .matrix = 9}, 10);
  pq.setSourcePeak(1000);
  const auto code = [](double light) {
    return static_cast<std::uint16_t>(std::lround(lightToPq(light) * 1023));
  };
  const std::uint16_t in[8] = {0, code(100), 0, 1023, code(600), code(30), code(30), 511};
  std::uint8_t out[8] = {};
  pq.mapRow(in, 4, 2, out);
  const auto linear = [](std::uint8_t v) {
    const double e = v / 255.0;
    return e <= 0.04045 ? e / 12.92 : std::pow((e + 0.055) / 1.055, 2.4);
  };
  const double luminance =
      0.2126 * linear(out[0]) + 0.7152 * linear(out[1]) + 0.0722 * linear(out[2]);
  EXPECT_NEAR(luminance, 0.6780 * 100 / kSdrReferenceWhite, 0.01);
  EXPECT_EQ(out[0], 0);
  EXPECT_GT(out[1], out[2] + 50);
  EXPECT_EQ(out[3], 255);
  EXPECT_GT(out[4], out[5] + 100);
  EXPECT_EQ(out[7], 127);  // 511 of 1023
}

TEST(HdrInput, ReadsTheCodePointsOfFilesWithoutProfile) {
  const struct {
    const char* file;
    int transfer;
  } cases[] = {{"hdr-pq.avif", 16}, {"hdr-hlg.avif", 18}};
  for (const auto& c : cases) {
    auto opened = OpenedImage::open(testData(c.file));
    ASSERT_TRUE(opened) << c.file << ": " << opened.error().detail;
    const ImageHeader& header = opened.value().header();
    EXPECT_EQ(header.hdr, (HdrSignal{.primaries = 9, .transfer = c.transfer, .matrix = 9}))
        << c.file;
    EXPECT_FALSE(header.hasIccProfile) << c.file;
  }
  // A profile beside the code points says what the numbers mean.
  auto profiled = OpenedImage::open(testData("hdr-pq-with-icc.avif"));
  ASSERT_TRUE(profiled);
  EXPECT_TRUE(profiled.value().header().hasIccProfile);
  EXPECT_FALSE(profiled.value().header().hdr.isHdr());
  // SDR files have none.
  auto sdr = OpenedImage::open(testData("hdr-sdr-grade.png"));
  ASSERT_TRUE(sdr);
  EXPECT_FALSE(sdr.value().header().hdr.isHdr());
}

TEST(HdrInput, DecodesCloseToTheSdrGrade) {
  auto grade = decode(testData("hdr-sdr-grade.png"));
  ASSERT_TRUE(grade);
  // hdr-pq-clli.avif says its peak is 1000 cd/m²: mapped from there, the
  // highlights of the grade are compressed too.
  for (const char* file :
       {"hdr-pq.avif", "hdr-hlg.avif", "hdr-pq.heic", "hdr-hlg.heic", "hdr-pq-clli.avif"}) {
    auto opened = OpenedImage::open(testData(file));
    ASSERT_TRUE(opened) << file;
    if (!opened.value().header().hdr.isHdr()) {
      ADD_FAILURE() << file << " is not read as HDR";
      continue;
    }
    auto rendered = opened.value().decode();
    ASSERT_TRUE(rendered) << file << ": " << rendered.error().detail;
    const double difference = meanCiede2000(rendered.value(), grade.value());
    EXPECT_LE(difference, kGoal) << file;
    std::printf("%s: mean CIEDE2000 %.2f against the SDR grade\n", file, difference);
  }
}

TEST(HdrInput, MapsFromThePeakItsContentLightLevelBoxGives) {
  // The same pixels; the box makes the tone map take 1000 cd/m² for the
  // peak rather than the frame's own 203, so every highlight comes out
  // darker, and nothing brighter.
  auto measured = decode(testData("hdr-pq.avif"));
  auto boxed = decode(testData("hdr-pq-clli.avif"));
  ASSERT_TRUE(measured);
  ASSERT_TRUE(boxed);
  int darker = 0, brighter = 0;
  for (std::size_t i = 0; i < measured.value().byteSize(); i += 4) {
    const int m = measured.value().data()[i + 1], b = boxed.value().data()[i + 1];
    darker += b < m - 8;
    brighter += b > m + 8;
  }
  EXPECT_GT(darker, 200);
  EXPECT_EQ(brighter, 0);
}

TEST(HdrInput, WritesItsSignalAsA16BitPng) {
  auto opened = OpenedImage::open(testData("hdr-pq.avif"));
  ASSERT_TRUE(opened);
  TempDir dir;
  ASSERT_TRUE(opened.value().writeHdrPng(48, 32, dir / "signal.png"));
  auto header = readHeader(dir / "signal.png");
  ASSERT_TRUE(header);
  EXPECT_EQ(header.value().width, 48);
  EXPECT_EQ(header.value().height, 32);
  EXPECT_EQ(header.value().bitsPerSample, 16);
  EXPECT_FALSE(header.value().hasIccProfile);
  // Not an HDR input: nothing to write.
  auto sdr = OpenedImage::open(testData("hdr-sdr-grade.png"));
  ASSERT_TRUE(sdr);
  EXPECT_FALSE(sdr.value().writeHdrPng(48, 32, dir / "none.png"));
}

}  // namespace
}  // namespace quorvane::codec
