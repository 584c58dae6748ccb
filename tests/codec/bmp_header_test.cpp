#include "codec/bmp_header.h"

#include <gtest/gtest.h>

#include "test_images.h"

namespace quorvane::codec::detail {
namespace {

using test::makeBmp;
using test::makeQuadrants;

TEST(BmpHeader, InfoHeaderBottomUpAndTopDown) {
  const auto header = parseBmpHeader(makeBmp(makeQuadrants(7, 5), 40, false, 24));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 7);
  EXPECT_EQ(header->height, 5);
  EXPECT_FALSE(header->topDown);
  EXPECT_EQ(header->bitsPerPixel, 24);
  EXPECT_FALSE(header->hasAlpha);
  const auto topDown = parseBmpHeader(makeBmp(makeQuadrants(7, 5), 40, true, 24));
  ASSERT_TRUE(topDown);
  EXPECT_EQ(topDown->height, 5);  // a negative height, told as top-down
  EXPECT_TRUE(topDown->topDown);
}

TEST(BmpHeader, Os2CoreHeaderHasSixteenBitSidesAndV5AnAlphaMask) {
  const auto os2 = parseBmpHeader(makeBmp(makeQuadrants(300, 2), 12, false, 24));
  ASSERT_TRUE(os2);
  EXPECT_EQ(os2->width, 300);
  EXPECT_EQ(os2->height, 2);
  const auto v5 = parseBmpHeader(makeBmp(makeQuadrants(4, 4), 124, false, 32));
  ASSERT_TRUE(v5);
  EXPECT_EQ(v5->bitsPerPixel, 32);
  EXPECT_TRUE(v5->hasAlpha);
}

TEST(BmpHeader, RejectsDamagedHeaders) {
  const auto good = makeBmp(makeQuadrants(4, 4), 40, false, 24);
  // Too short to hold the info header.
  EXPECT_FALSE(parseBmpHeader(std::span(good).first(20)));
  // Unknown info header size.
  auto badSize = good;
  badSize[14] = 41;
  EXPECT_FALSE(parseBmpHeader(badSize));
  // Zero width, and the most negative height (its negation overflows).
  auto zeroWidth = good;
  zeroWidth[18] = zeroWidth[19] = zeroWidth[20] = zeroWidth[21] = 0;
  EXPECT_FALSE(parseBmpHeader(zeroWidth));
  auto minHeight = good;
  minHeight[22] = minHeight[23] = minHeight[24] = 0;
  minHeight[25] = 0x80;
  EXPECT_FALSE(parseBmpHeader(minHeight));
  // Odd bit depth, and not a BMP at all.
  auto oddDepth = good;
  oddDepth[28] = 23;
  EXPECT_FALSE(parseBmpHeader(oddDepth));
  const std::uint8_t png[] = {0x89, 'P', 'N', 'G', 0, 0, 0, 0};
  EXPECT_FALSE(parseBmpHeader(png));
}

}  // namespace
}  // namespace quorvane::codec::detail
