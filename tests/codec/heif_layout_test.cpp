// HEIF and AVIF files laid out in the ways cameras, phones and encoders
// write them beyond one coded image: each decodes, or says by name what it
// is that cannot be read; none is called damaged.
#include "codec/heif_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "codec/image_codec.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

using detail::HeifLayout;
using test::testData;

HeifLayout layoutOf(const std::vector<std::uint8_t>& bytes) {
  return detail::readHeifLayout(
      [&](std::int64_t offset, std::span<std::uint8_t> buffer) -> std::size_t {
        if (offset < 0 || std::size_t(offset) >= bytes.size()) return 0;
        const std::size_t n = std::min(buffer.size(), bytes.size() - std::size_t(offset));
        std::memcpy(buffer.data(), bytes.data() + offset, n);
        return n;
      },
      std::int64_t(bytes.size()));
}

HeifLayout layoutOf(const std::string& name) {
  return layoutOf(test::readFile(testData(name)));
}

TEST(HeifLayout, TellsStillImagesSequencesAndDerivedItemsApart) {
  const HeifLayout withStill = layoutOf("24-sequence-with-still.avif");
  EXPECT_TRUE(withStill.heif && withStill.avif && withStill.sequence && withStill.still);
  EXPECT_EQ(withStill.primaryType, "av01");

  const HeifLayout sequence = layoutOf("24-sequence-only.avif");
  EXPECT_TRUE(sequence.heif && sequence.avif && sequence.sequence);
  EXPECT_FALSE(sequence.still);
  const HeifLayout heifSequence = layoutOf("24-sequence-only.heif");
  EXPECT_TRUE(heifSequence.heif && heifSequence.sequence);
  EXPECT_FALSE(heifSequence.avif || heifSequence.still);

  EXPECT_EQ(layoutOf("24-iden-rotated.avif").primaryType, "iden");
  EXPECT_EQ(layoutOf("24-grid.avif").primaryType, "grid");
  EXPECT_FALSE(layoutOf("24-grid.avif").sequence);
  EXPECT_TRUE(detail::isDerivedItemType("iden") && detail::isDerivedItemType("grid"));
  EXPECT_FALSE(detail::isDerivedItemType("av01") || detail::isDerivedItemType("hvc1"));

  EXPECT_FALSE(layoutOf("2-camera.jpg").heif);
}

TEST(HeifLayout, CutAndLyingBoxesAreReadAsFarAsTheyGo) {
  auto bytes = test::readFile(testData("24-sequence-with-still.avif"));
  // Cut inside the item metadata: the brands are still known.
  bytes.resize(60);
  const HeifLayout cut = layoutOf(bytes);
  EXPECT_TRUE(cut.heif && cut.avif);
  EXPECT_FALSE(cut.still);
  // A box claiming more than the file holds, one claiming less than its header.
  for (const std::uint32_t size : {0xfffffff0u, 4u}) {
    auto lying = test::readFile(testData("24-sequence-with-still.avif"));
    const std::size_t meta =
        std::size_t(std::search(lying.begin(), lying.end(), "meta", "meta" + 4) - lying.begin()) -
        4;
    for (int i = 0; i < 4; ++i) lying[meta + i] = std::uint8_t(size >> (24 - 8 * i));
    const HeifLayout layout = layoutOf(lying);
    EXPECT_TRUE(layout.heif);
    EXPECT_FALSE(layout.still);
  }
  EXPECT_FALSE(layoutOf(std::vector<std::uint8_t>{}).heif);
}

TEST(HeifDecode, DerivedAndLayeredImagesDecodeUpright) {
  const struct {
    const char* name;
    int width;
    int height;
  } cases[] = {{"24-sequence-with-still.avif", 64, 48},
               {"24-iden-rotated.avif", 48, 64},  // turned a quarter by its iden item
               {"24-grid.avif", 128, 128},
               {"24-layered.avif", 64, 48}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto image = decode(testData(c.name));
    ASSERT_TRUE(image) << image.error().detail;
    EXPECT_EQ(image.value().width(), c.width);
    EXPECT_EQ(image.value().height(), c.height);
    const auto header = readHeader(testData(c.name));
    ASSERT_TRUE(header);
    EXPECT_EQ(header.value().loader, "heifload");
  }
}

TEST(HeifDecode, WhatCannotBeReadIsNamedNotCalledDamaged) {
  for (const auto& [name, container] :
       {std::pair{"24-sequence-only.avif", "AVIF"}, std::pair{"24-sequence-only.heif", "HEIF"}}) {
    SCOPED_TRACE(name);
    const auto image = decode(testData(name));
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().kind, CodecError::Kind::Unsupported);
    EXPECT_EQ(image.error().feature, CodecError::Feature::ImageSequence);
    EXPECT_EQ(image.error().container, container);
    EXPECT_NE(image.error().detail.find("heif"), std::string::npos) << image.error().detail;
  }
  // An iden item without a location entry is valid; libheif before 1.16
  // refuses it. Either way it is not damage.
  const auto iden = decode(testData("24-iden-without-location.avif"));
  if (iden) {
    EXPECT_EQ(iden.value().width(), 48);
    EXPECT_EQ(iden.value().height(), 64);
  } else {
    EXPECT_EQ(iden.error().kind, CodecError::Kind::Unsupported);
    EXPECT_EQ(iden.error().feature, CodecError::Feature::DerivedImage);
    EXPECT_EQ(iden.error().container, "AVIF");
  }
}

}  // namespace
}  // namespace quorvane::codec
