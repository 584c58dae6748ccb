// The edits that keep EXIF and XMP true of an upright, resized output, and
// the containers that carry them.
#include "codec/metadata.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::codec {
namespace {

std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

std::string text(const std::optional<std::vector<std::uint8_t>>& bytes) {
  EXPECT_TRUE(bytes);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

TEST(UprightXmp, RewritesOrientationAndSizeInEveryFormWritersUse) {
  const std::string in =
      R"(<rdf:Description tiff:Orientation="6" exif:PixelXDimension = '4000')"
      "\n  exif:PixelYDimension=\"3000\">"
      R"(<tiff:ImageWidth>4000</tiff:ImageWidth><tiff:ImageLength>3000</tiff:ImageLength>)"
      R"(</rdf:Description>)";
  EXPECT_EQ(text(uprightXmp(bytes(in), 300, 400)),
            R"(<rdf:Description tiff:Orientation="1" exif:PixelXDimension = '300')"
            "\n  exif:PixelYDimension=\"400\">"
            R"(<tiff:ImageWidth>300</tiff:ImageWidth><tiff:ImageLength>400</tiff:ImageLength>)"
            R"(</rdf:Description>)");
}

TEST(UprightXmp, LeavesTextCommentsAndLookalikesAlone) {
  const std::string in =
      R"(<rdf:Description xtiff:Orientation="6" tiff:OrientationX="6" title="a tiff:Orientation='6'">)"
      R"(<dc:title>tiff:Orientation="6" and <tiff:ImageWidthX>9</tiff:ImageWidthX></dc:title>)"
      R"(<!-- tiff:Orientation="6" --><![CDATA[ <tiff:ImageWidth>9</tiff:ImageWidth> ]]>)"
      R"(</rdf:Description>)";
  EXPECT_EQ(text(uprightXmp(bytes(in), 300, 400)), in);
  // Cut short inside a value: what cannot be closed stays as it is.
  const std::string cut = R"(<x tiff:ImageWidth="40)";
  EXPECT_EQ(text(uprightXmp(bytes(cut), 300, 400)), cut);
}

TEST(UprightXmp, RewritesAPacketOfMegabytesInOnePass) {
  // An attribute the rewrite shortens, repeated: each edit used to move the
  // rest of the packet (4 MB took 14.5 s, 16 MB did not end).
  const std::string head = R"(<x:xmpmeta><rdf:Description )";
  std::string in = head;
  std::string expected = head;
  for (int i = 0; i < 200'000; ++i) {
    in += R"(tiff:ImageWidth="123456" )";
    expected += R"(tiff:ImageWidth="64" )";
  }
  in += "/></x:xmpmeta>";
  expected += "/></x:xmpmeta>";
  ASSERT_GT(in.size(), 4'000'000u);
  EXPECT_TRUE(text(uprightXmp(bytes(in), 64, 48)) == expected);

  // Asked to stop, it stops and hands back nothing.
  int asked = 0;
  const auto stopped = uprightXmp(bytes(in), 64, 48, [&asked] { return ++asked >= 2; });
  EXPECT_FALSE(stopped);
  EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace quorvane::codec
