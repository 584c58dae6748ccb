#include "codec/bmp_header.h"

#include <gtest/gtest.h>

#include "test_images.h"

namespace quorvane::codec::detail {
namespace {

using test::makeBmp;
using test::makeQuadrants;

TEST(BmpHeader, InfoHeaderBottomUp) {
  const auto bytes = makeBmp(makeQuadrants(7, 5), 40, false, 24);
  const auto header = parseBmpHeader(bytes);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 7);
  EXPECT_EQ(header->height, 5);
  EXPECT_FALSE(header->topDown);
  EXPECT_EQ(header->bitsPerPixel, 24);
  EXPECT_FALSE(header->hasAlpha);
}

TEST(BmpHeader, NegativeHeightIsTopDown) {
  const auto header = parseBmpHeader(makeBmp(makeQuadrants(7, 5), 40, true, 24));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->height, 5);
  EXPECT_TRUE(header->topDown);
}

TEST(BmpHeader, Os2CoreHeaderHasSixteenBitSides) {
  const auto header = parseBmpHeader(makeBmp(makeQuadrants(300, 2), 12, false, 24));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 300);
  EXPECT_EQ(header->height, 2);
}

TEST(BmpHeader, V5WithAlphaMask) {
  const auto header = parseBmpHeader(makeBmp(makeQuadrants(4, 4), 124, false, 32));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->bitsPerPixel, 32);
  EXPECT_TRUE(header->hasAlpha);
}

TEST(BmpHeader, HugeClaimIsParsedNotTrusted) {
  // The parser reports what the header says; the size limit is the caller's.
  auto bytes = makeBmp(makeQuadrants(2, 2), 40, false, 24);
  bytes[18] = 0xa0;  // width 100000 = 0x000186a0
  bytes[19] = 0x86;
  bytes[20] = 0x01;
  bytes[22] = 0xa0;
  bytes[23] = 0x86;
  bytes[24] = 0x01;
  const auto header = parseBmpHeader(bytes);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 100000);
  EXPECT_EQ(header->height, 100000);
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
