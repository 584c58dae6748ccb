// The edits that keep EXIF and XMP true of an upright, resized output, and
// the containers that carry them.
#include "codec/metadata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "codec/image_codec.h"
#include "codec/indexed_png.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

std::string text(const std::optional<std::vector<std::uint8_t>>& bytes) {
  EXPECT_TRUE(bytes);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// A little-endian TIFF block: IFD0 at `ifdAt` (data before it padded)
// holding the given 12-byte entries, in order.
struct Entry {
  std::uint16_t tag, type;
  std::uint32_t count, value;
};
std::vector<std::uint8_t> tiffBlock(const std::vector<Entry>& entries, std::size_t ifdAt = 8) {
  std::vector<std::uint8_t> out = {'I', 'I', 42, 0};
  const auto put = [&out](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  put(static_cast<std::uint32_t>(ifdAt), 4);
  out.resize(ifdAt, 'x');
  put(static_cast<std::uint32_t>(entries.size()), 2);
  for (const Entry& e : entries) {
    put(e.tag, 2), put(e.type, 2), put(e.count, 4), put(e.value, 4);
  }
  put(0, 4);
  return out;
}

constexpr std::uint16_t kOrientation = 0x0112;
constexpr std::uint16_t kMake = 0x010F;

TEST(OrientationAfter, DescribesTheTurnedPixelsAsTheTagDescribedTheStoredOnes) {
  // Through libvips' own turning: a tag `tagged` on pixels the decoder
  // turned by `applied` must show them as `tagged` showed the originals.
  const test::TempDir dir;
  const RgbaImage stored = test::makeQuadrants(6, 4);
  const auto shown = [&](const RgbaImage& pixels, int orientation) {
    const auto path = dir / "o.png";
    Metadata metadata;
    metadata.exif = tiffBlock({{kOrientation, 3, 1, static_cast<std::uint32_t>(orientation)}});
    EXPECT_TRUE(writePng(pixels, path, &metadata));
    return decode(path).value();
  };
  for (int tagged = 1; tagged <= 8; ++tagged) {
    const RgbaImage wanted = shown(stored, tagged);
    for (int applied = 1; applied <= 8; ++applied) {
      SCOPED_TRACE(testing::Message() << "tagged " << tagged << ", applied " << applied);
      const RgbaImage turned = shown(stored, applied);
      const RgbaImage result = shown(turned, orientationAfter(tagged, applied));
      ASSERT_EQ(result.width(), wanted.width());
      EXPECT_TRUE(std::equal(result.data(), result.data() + result.byteSize(), wanted.data()));
    }
  }
}

TEST(UprightExif, OrientationOfAnyIntegerTypeBecomesOneShort) {
  for (const Entry& odd : {Entry{kOrientation, 8, 1, 6},             // SSHORT
                           Entry{kOrientation, 3, 2, 6 | 3u << 16},  // two SHORTs
                           Entry{kOrientation, 4, 1, 6},             // LONG
                           Entry{kOrientation, 1, 1, 6}}) {          // BYTE
    SCOPED_TRACE(testing::Message() << "type " << odd.type << ", count " << odd.count);
    const auto block = tiffBlock({odd});
    const auto upright = uprightExif(block, 10, 20, 6);
    EXPECT_EQ(upright.size(), block.size());
    EXPECT_EQ(exifNumber(upright, kOrientation), 1u);
    EXPECT_EQ(upright[8 + 2 + 2], 3) << "type SHORT";
    EXPECT_EQ(upright[8 + 2 + 4], 1) << "count 1";
  }
}

TEST(UprightExif, AnUnreadableOrDuplicateOrientationIsRemoved) {
  // An ASCII "6", a value outside 1..8, and a second entry after a good one.
  for (const auto& entries :
       {std::vector<Entry>{{kOrientation, 2, 2, '6'}, {kMake, 2, 2, 'M'}},
        std::vector<Entry>{{kOrientation, 3, 1, 9}, {kMake, 2, 2, 'M'}},
        std::vector<Entry>{{kOrientation, 3, 1, 6}, {kMake, 2, 2, 'M'}, {kOrientation, 3, 1, 3}}}) {
    const auto upright = uprightExif(tiffBlock(entries), 10, 20, 6);
    EXPECT_LE(exifEntryCount(upright, kOrientation), 1);
    EXPECT_EQ(exifNumber(upright, kOrientation).value_or(1), 1u);
    EXPECT_EQ(exifText(upright, kMake), "M");  // the rest still reads
  }
}

TEST(UprightExif, AnIfdCutShortNeverGainsAnOrientationFromItsLastBytes) {
  // IFD0 claims three entries and holds one whole (an orientation of an
  // unknown type) and half of the next, an Orientation SHORT whose value
  // would lie at offset 0 ("II", 18761). Removing the first used to move
  // that half up into an entry readers took.
  std::vector<std::uint8_t> exif = tiffBlock({{kOrientation, 0xffff, 1, 6}});
  exif[8] = 3;
  exif.erase(exif.end() - 4, exif.end());  // no link to a next IFD
  for (const int byte : {0x12, 0x01, 3, 0, 6, 0}) exif.push_back(static_cast<std::uint8_t>(byte));
  const auto upright = uprightExif(exif, 64, 48, 6);
  ASSERT_EQ(upright.size(), exif.size());
  EXPECT_EQ(exifEntryCount(upright, kOrientation), 0);
  EXPECT_FALSE(exifNumber(upright, kOrientation));
}

TEST(UprightExif, AnOrientationTheDecoderDidNotApplyStays) {
  // IFD0 past 64 kB: libexif (and so libvips) stops before it and turns
  // nothing; the tag still says how the pixels are to be shown.
  const auto block = tiffBlock({{kOrientation, 3, 1, 6}}, 70'000);
  EXPECT_EQ(exifNumber(uprightExif(block, 10, 20, 1), kOrientation), 6u);
  EXPECT_EQ(exifNumber(uprightExif(block, 10, 20, 6), kOrientation), 1u);
}

TEST(Decode, TurnsByAnOrientationOnlyOurReadingFinds) {
  // IFD0 past 64 kB, where libexif (and so libvips) does not look.
  const test::TempDir dir;
  Metadata metadata;
  metadata.exif = tiffBlock({{kOrientation, 3, 1, 6}}, 70'000);
  const auto path = dir / "far.png";
  ASSERT_TRUE(writeIndexedPng(*indexedIfFits(test::makeQuadrants(6, 4), 4), path, &metadata));
  const auto header = readHeader(path);
  ASSERT_TRUE(header);
  EXPECT_EQ(header.value().orientation, 6);
  EXPECT_EQ(header.value().width, 4);
  const auto image = decode(path);
  ASSERT_TRUE(image);
  ASSERT_EQ(image.value().width(), 4);
  // Red, stored top-left, shows top-right after a quarter turn clockwise.
  EXPECT_EQ(test::pixelAt(image.value(), 3, 0), test::quadrantColour(0, 0, 6, 4));
}

TEST(UprightXmp, OrientationSaysWhatThePixelsAreOrGoes) {
  const std::string in =
      R"(<rdf:Description tiff:Orientation="6"><tiff:Orientation> 6 </tiff:Orientation>)"
      R"(</rdf:Description>)";
  EXPECT_EQ(text(uprightXmp(bytes(in), 1, 1, 6)),
            R"(<rdf:Description tiff:Orientation="1"><tiff:Orientation>1</tiff:Orientation>)"
            R"(</rdf:Description>)");
  // Not turned: the tag keeps its meaning.
  EXPECT_EQ(text(uprightXmp(bytes(in), 1, 1, 1)),
            R"(<rdf:Description tiff:Orientation="6"><tiff:Orientation>6</tiff:Orientation>)"
            R"(</rdf:Description>)");
  // A value that is no orientation is removed, in both forms.
  const std::string odd = R"(<rdf:Description a="1" tiff:Orientation="six" b="2">)"
                          R"(<tiff:Orientation>9</tiff:Orientation><c/></rdf:Description>)";
  EXPECT_EQ(text(uprightXmp(bytes(odd), 1, 1, 6)),
            R"(<rdf:Description a="1" b="2"><c/></rdf:Description>)");
}

TEST(UprightXmp, RewritesOrientationAndSizeInEveryFormWritersUse) {
  const std::string in =
      R"(<rdf:Description tiff:Orientation="6" exif:PixelXDimension = '4000')"
      "\n  exif:PixelYDimension=\"3000\">"
      R"(<tiff:ImageWidth>4000</tiff:ImageWidth><tiff:ImageLength>3000</tiff:ImageLength>)"
      R"(</rdf:Description>)";
  EXPECT_EQ(text(uprightXmp(bytes(in), 300, 400, 6)),
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
  EXPECT_EQ(text(uprightXmp(bytes(in), 300, 400, 6)), in);
  // Cut short inside a value: what cannot be closed stays as it is.
  const std::string cut = R"(<x tiff:ImageWidth="40)";
  EXPECT_EQ(text(uprightXmp(bytes(cut), 300, 400, 6)), cut);
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
  EXPECT_TRUE(text(uprightXmp(bytes(in), 64, 48, 1)) == expected);

  // Asked to stop, it stops and hands back nothing.
  int asked = 0;
  const auto stopped = uprightXmp(bytes(in), 64, 48, 1, [&asked] { return ++asked >= 2; });
  EXPECT_FALSE(stopped);
  EXPECT_EQ(asked, 2);
}

TEST(WriteHeic, CarriesEveryBlockAsItIs) {
  // libvips' saver rebuilt EXIF through libexif: 70 kB came out as 156
  // bytes, 8 MB not at all, and made one up for an image that had none.
  const test::TempDir dir;
  const RgbaImage image = test::makeQuadrants(32, 24);
  for (const std::size_t exifSize : {std::size_t{70'000}, std::size_t{8'000'000}}) {
    Metadata metadata;
    metadata.exif = tiffBlock({{kMake, 2, 4, 0x00414243}, {kOrientation, 3, 1, 1}}, 8);
    metadata.exif.resize(exifSize, 0x5a);
    metadata.xmp = bytes(R"(<?xpacket begin="" id="W5M0MpCehiHzreSzNTczkc9d"?>)"
                         R"(<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF/></x:xmpmeta>)"
                         R"(<?xpacket end="w"?>)");
    metadata.icc = test::makeRgbProfile(test::kDisplayP3Primaries, 0);
    ASSERT_TRUE(writeHeic(image, dir / "m.heic", 0.6, &metadata));
    const auto read = readMetadata(dir / "m.heic");
    ASSERT_TRUE(read);
    EXPECT_TRUE(read.value().exif == metadata.exif) << exifSize << ": " << read.value().exif.size();
    EXPECT_TRUE(read.value().icc == metadata.icc);
  }
  ASSERT_TRUE(writeHeic(image, dir / "none.heic", 0.6, nullptr));
  const auto none = readMetadata(dir / "none.heic");
  ASSERT_TRUE(none);
  EXPECT_TRUE(none.value().empty());
}

TEST(ReadMetadata, FindsTheXmpPacketOfHeicAndAvifFiles) {
  // libvips takes a HEIF "mime" item for XMP only when it starts with
  // "<x:xmpmeta"; a whole packet, as libheif and avifenc store it, was lost.
  const test::TempDir dir;
  const std::vector<std::uint8_t> packet =
      bytes(R"(<?xpacket begin="" id="W5M0MpCehiHzreSzNTczkc9d"?>)"
            R"(<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF/></x:xmpmeta>)"
            R"(<?xpacket end="w"?>)");
  const RgbaImage image = test::makeQuadrants(32, 24);
  Metadata metadata;
  metadata.xmp = packet;
  ASSERT_TRUE(writeHeic(image, dir / "x.heic", 0.6, &metadata));
  const auto heic = readMetadata(dir / "x.heic");
  ASSERT_TRUE(heic);
  EXPECT_EQ(text(heic.value().xmp), text(packet));

  test::saveRgba(image, dir / "x.png");
  test::writeFile(dir / "x.xmp", packet);
  const std::string avifenc = "avifenc --speed 10 --xmp '" + (dir / "x.xmp").string() + "' '" +
                              (dir / "x.png").string() + "' '" + (dir / "x.avif").string() +
                              "' >/dev/null";
  ASSERT_EQ(std::system(avifenc.c_str()), 0) << avifenc;
  const auto avif = readMetadata(dir / "x.avif");
  ASSERT_TRUE(avif);
  EXPECT_EQ(text(avif.value().xmp), text(packet));
}

TEST(IndexedPng, AProfileLibpngRefusesFailsWithLibpngsReason) {
  const test::TempDir dir;
  Metadata metadata;
  metadata.icc = test::makeRgbProfile(test::kSrgbPrimaries, 0);
  metadata.icc[3] ^= 0x40;  // the size field no longer matches
  const auto written =
      writeIndexedPng(*indexedIfFits(test::makeQuadrants(4, 4), 4), dir / "p.png", &metadata);
  ASSERT_FALSE(written);
  // libpng's own words, which differ between its versions ("profile 'icc':
  // 244h: length does not match profile", "Incorrect data in iCCP").
  const std::string& detail = written.error().detail;
  EXPECT_TRUE(detail.find("libpng: profile 'icc'") != std::string::npos ||
              detail.find("libpng: Incorrect data in iCCP") != std::string::npos)
      << detail;
  EXPECT_EQ(written.error().systemError, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "p.png"));
}

}  // namespace
}  // namespace quorvane::codec
