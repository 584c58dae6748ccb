#include "codec/icc_profile.h"

#include <gtest/gtest.h>
#include <vips/vips.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "codec/image_codec.h"
#include "test_images.h"

namespace quorvane::codec::detail {
namespace {

using test::makeRgbProfile;

TEST(IccProfile, SrgbPrimariesWithSrgbCurveOrGamma22IsSrgb) {
  EXPECT_TRUE(iccProfileIsSrgb(makeRgbProfile(test::kSrgbPrimaries, 0)));
  EXPECT_TRUE(iccProfileIsSrgb(makeRgbProfile(test::kSrgbPrimaries, 2.2)));
}

TEST(IccProfile, LibvipsBuiltInSrgbIsSrgbAndItsCmykIsNot) {
  for (const bool srgb : {true, false}) {
    VipsBlob* blob = nullptr;
    ASSERT_EQ(vips_profile_load(srgb ? "srgb" : "cmyk", &blob, nullptr), 0);
    size_t length = 0;
    const auto* data = static_cast<const std::uint8_t*>(vips_blob_get(blob, &length));
    EXPECT_EQ(iccProfileIsSrgb(std::span(data, length)), srgb);
    vips_area_unref(VIPS_AREA(blob));
  }
}

TEST(IccProfile, WideGamutOrOtherToneCurvesAreNotSrgb) {
  EXPECT_FALSE(iccProfileIsSrgb(makeRgbProfile(test::kDisplayP3Primaries, 0)));
  EXPECT_FALSE(iccProfileIsSrgb(makeRgbProfile(test::kSrgbPrimaries, 1.0)));
  EXPECT_FALSE(iccProfileIsSrgb(makeRgbProfile(test::kSrgbPrimaries, 1.8)));
}

TEST(IccProfile, SystemProfilesWhenInstalled) {
  const std::filesystem::path dir = "/usr/share/color/icc/ghostscript";
  if (!std::filesystem::exists(dir / "srgb.icc") || !std::filesystem::exists(dir / "a98.icc")) {
    GTEST_SKIP() << "ghostscript's ICC profiles are not installed";
  }
  EXPECT_TRUE(iccProfileIsSrgb(test::readFile(dir / "srgb.icc")));
  EXPECT_FALSE(iccProfileIsSrgb(test::readFile(dir / "a98.icc")));
}

TEST(IccProfile, DamagedProfilesAreNotSrgbAndDoNotCrash) {
  auto profile = makeRgbProfile(test::kSrgbPrimaries, 0);
  // Every truncation, and a tag table that points past the end.
  for (std::size_t cut = 0; cut < profile.size(); cut += 7) {
    EXPECT_FALSE(iccProfileIsSrgb(std::span(profile).first(cut))) << "cut at " << cut;
  }
  auto wild = profile;
  wild[132 + 2 * 12 + 4] = 0x7f;  // rXYZ (third tag) offset far past the end
  EXPECT_FALSE(iccProfileIsSrgb(wild));
  auto manyTags = profile;
  manyTags[128] = 0xff;
  EXPECT_FALSE(iccProfileIsSrgb(manyTags));
}

TEST(IccProfile, WellFormedOnlyWhenEveryPartHoldsTogether) {
  const auto good = makeRgbProfile(test::kSrgbPrimaries, 0);
  EXPECT_TRUE(iccProfileIsWellFormed(good));
  EXPECT_TRUE(iccProfileIsWellFormed(test::makeGreyProfile(2.2)));
  EXPECT_EQ(iccColourSpace(good), kIccRgb);
  EXPECT_EQ(iccColourSpace(test::makeGreyProfile(2.2)), kIccGrey);

  const auto broken = [&good](std::size_t at, std::uint32_t value) {
    auto profile = good;
    if (at + 4 > profile.size()) {  // every field lies inside (and GCC 14 sees that now)
      ADD_FAILURE() << "offset " << at << " outside the profile";
      return profile;
    }
    for (int i = 0; i < 4; ++i) profile[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    return profile;
  };
  const auto size = static_cast<std::uint32_t>(good.size());
  const auto sig = [](const char(&s)[5]) {
    return std::uint32_t(std::uint8_t(s[0])) << 24 | std::uint32_t(std::uint8_t(s[1])) << 16 |
           std::uint32_t(std::uint8_t(s[2])) << 8 | std::uint32_t(std::uint8_t(s[3]));
  };
  for (const auto& [what, profile] : std::vector<std::pair<const char*, std::vector<std::uint8_t>>>{
           {"size field too large", broken(0, size + 64)},
           {"size field too small", broken(0, size - 4)},
           {"no acsp", broken(36, sig("xxxx"))},
           {"intent past 16 bits", broken(64, 0x10000)},
           {"abstract class", broken(12, sig("abst"))},
           {"device link class", broken(12, sig("link"))},
           {"RGB connection space", broken(20, sig("RGB "))},
           {"tag past the end", broken(132 + 4, size - 4)},
           {"tag count past the table", broken(128, 1000)},
           {"cut short", std::vector<std::uint8_t>(good.begin(), good.begin() + 131)}}) {
    EXPECT_FALSE(iccProfileIsWellFormed(profile)) << what;
  }
  // From version 4 on the size is a multiple of 4.
  auto v4 = good;
  v4.push_back(0);
  v4[3] = static_cast<std::uint8_t>(v4.size());
  v4[2] = static_cast<std::uint8_t>(v4.size() >> 8);
  EXPECT_TRUE(iccProfileIsWellFormed(v4));
  v4[8] = 4;
  EXPECT_FALSE(iccProfileIsWellFormed(v4));
}

TEST(IccProfile, AProfileForAnotherColourSpaceIsIgnoredWhenDecoding) {
  const test::TempDir dir;
  const RgbaImage colours = test::makeQuadrants(16, 16);
  std::vector<std::uint8_t> rgb;
  for (std::size_t i = 0; i < colours.byteSize(); ++i) {
    if (i % 4 != 3) rgb.push_back(colours.data()[i]);
  }
  // The fixture of the report: an RGB JPEG under a grey profile.
  const auto fixture = readHeader(test::testData("21-grey-profile-on-rgb.jpg"));
  ASSERT_TRUE(fixture);
  EXPECT_TRUE(fixture.value().hasIccProfile);
  EXPECT_FALSE(fixture.value().iccProfileFits);
  EXPECT_TRUE(decode(test::testData("21-grey-profile-on-rgb.jpg")));
  // Its pixels as if there were no profile. libvips 8.16 no longer writes
  // such a file; where it does, both decode alike.
  test::saveSamples(dir / "grey-profile.jpg", "", rgb.data(), 16, 16, 3, false,
                    VIPS_INTERPRETATION_sRGB, test::makeGreyProfile(2.2));
  test::saveSamples(dir / "none.jpg", "", rgb.data(), 16, 16, 3, false, VIPS_INTERPRETATION_sRGB);
  const auto header = readHeader(dir / "grey-profile.jpg");
  ASSERT_TRUE(header);
  if (!header.value().hasIccProfile) return;
  EXPECT_FALSE(header.value().iccProfileFits);
  const auto decoded = decode(dir / "grey-profile.jpg");
  ASSERT_TRUE(decoded) << decoded.error().detail;
  const auto plain = decode(dir / "none.jpg");
  ASSERT_TRUE(plain);
  EXPECT_TRUE(std::equal(decoded.value().data(), decoded.value().data() + plain.value().byteSize(),
                         plain.value().data()));
}

}  // namespace
}  // namespace quorvane::codec::detail
