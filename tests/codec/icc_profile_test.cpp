#include "codec/icc_profile.h"

#include <gtest/gtest.h>
#include <vips/vips.h>

#include <filesystem>

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

}  // namespace
}  // namespace quorvane::codec::detail
