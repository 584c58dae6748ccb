// What a JPEG carries of large metadata: XMP split into extended XMP, and
// what cannot be held listed rather than dropped unsaid.
#include "codec/jpeg_xmp.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "codec/image_codec.h"
#include "test_images.h"

namespace quorvane::codec {
namespace {

using detail::kJpegMaxPayload;

struct Segment {
  int marker;
  std::string payload;
};

// The marker segments before the first scan.
std::vector<Segment> segmentsOf(const std::string& jpeg) {
  std::vector<Segment> segments;
  for (std::size_t at = 2; at + 4 <= jpeg.size();) {
    const int marker = static_cast<std::uint8_t>(jpeg[at + 1]);
    if (static_cast<std::uint8_t>(jpeg[at]) != 0xff || marker == 0xda) break;
    const std::size_t length =
        static_cast<std::uint8_t>(jpeg[at + 2]) << 8 | static_cast<std::uint8_t>(jpeg[at + 3]);
    segments.push_back({marker, jpeg.substr(at + 4, length - 2)});
    at += 2 + length;
  }
  return segments;
}

std::uint32_t bigEndian32(const std::string& text, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<std::uint8_t>(text[at + i]);
  return value;
}

std::string smallJpeg(const test::TempDir& dir) {
  test::saveRgba(test::makeQuadrants(16, 16), dir / "small.jpg");
  const auto bytes = test::readFile(dir / "small.jpg");
  return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> packetOf(std::size_t descriptionSize) {
  const std::string packet =
      R"(<?xpacket begin="" id="W5M0MpCehiHzreSzNTczkc9d"?>)"
      R"(<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf=")"
      R"(http://www.w3.org/1999/02/22-rdf-syntax-ns#"><rdf:Description rdf:about="" )"
      R"(xmlns:dc="http://purl.org/dc/elements/1.1/" dc:format=")" +
      std::string(descriptionSize, 'd') + R"("/></rdf:RDF></x:xmpmeta><?xpacket end="w"?>)";
  return {packet.begin(), packet.end()};
}

TEST(JpegXmp, APacketOverOneSegmentGoesIntoExtendedXmp) {
  const test::TempDir dir;
  Metadata metadata;
  metadata.xmp = packetOf(200'000);
  const std::string jpeg = jpegWithMetadata(smallJpeg(dir), metadata);
  ASSERT_FALSE(jpeg.empty());
  EXPECT_TRUE(jpegLeavesOut(metadata).empty());

  const std::string standardSignature("http://ns.adobe.com/xap/1.0/\0", 29);
  const std::string extendedSignature("http://ns.adobe.com/xmp/extension/\0", 35);
  std::string standard;
  std::string guid;
  std::uint32_t fullLength = 0;
  std::map<std::uint32_t, std::string> parts;
  for (const Segment& segment : segmentsOf(jpeg)) {
    ASSERT_LE(segment.payload.size(), kJpegMaxPayload);
    if (segment.marker != 0xe1) continue;
    if (segment.payload.starts_with(standardSignature)) {
      EXPECT_TRUE(standard.empty()) << "one standard packet";
      standard = segment.payload.substr(standardSignature.size());
    } else if (segment.payload.starts_with(extendedSignature)) {
      const std::string own = segment.payload.substr(35, 32);
      EXPECT_TRUE(guid.empty() || guid == own);
      guid = own;
      fullLength = bigEndian32(segment.payload, 67);
      parts[bigEndian32(segment.payload, 71)] = segment.payload.substr(75);
    }
  }
  // The standard packet names the extended one by the MD5 of its text,
  // in upper-case hex, as readers check it.
  ASSERT_EQ(guid.size(), 32u);
  EXPECT_NE(standard.find("xmpNote:HasExtendedXMP=\"" + guid + "\""), std::string::npos);
  std::string extended;
  for (const auto& [offset, part] : parts) {
    EXPECT_EQ(offset, extended.size());
    extended += part;
  }
  EXPECT_EQ(extended.size(), fullLength);
  const std::string packet(metadata.xmp.begin(), metadata.xmp.end());
  const std::size_t begin = packet.find("<x:xmpmeta");
  const std::size_t end = packet.find("</x:xmpmeta>") + 12;
  EXPECT_EQ(extended, packet.substr(begin, end - begin));
  gchar* md5 = g_compute_checksum_for_string(G_CHECKSUM_MD5, extended.data(),
                                             static_cast<gssize>(extended.size()));
  gchar* upper = g_ascii_strup(md5, -1);
  EXPECT_EQ(std::string(upper), guid);
  g_free(upper);
  g_free(md5);

  // Readers still open the file, and find the standard packet.
  test::writeFile(dir / "x.jpg", {jpeg.begin(), jpeg.end()});
  EXPECT_TRUE(decode(dir / "x.jpg"));
  const auto read = readMetadata(dir / "x.jpg");
  ASSERT_TRUE(read);
  EXPECT_EQ(std::string(read.value().xmp.begin(), read.value().xmp.end()), standard);
}

TEST(JpegXmp, WhatAJpegCannotHoldIsListedAndLeftOut) {
  const test::TempDir dir;
  const std::string plain = smallJpeg(dir);
  const auto tiff = [](std::size_t size) {
    std::vector<std::uint8_t> exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    exif.resize(size, 0);
    return exif;
  };
  // EXIF up to one segment goes in; one byte more cannot.
  Metadata fits;
  fits.exif = tiff(kJpegMaxPayload - 6);
  EXPECT_TRUE(jpegLeavesOut(fits).empty());
  EXPECT_EQ(jpegWithMetadata(plain, fits).size(), plain.size() + 4 + kJpegMaxPayload);

  Metadata over;
  over.exif = tiff(kJpegMaxPayload - 5);
  over.icc.assign(255 * (kJpegMaxPayload - 14) + 1, 0);  // one byte over 255 segments
  std::string bare(80'000, 'x');                         // no XMP element to split off
  over.xmp.assign(bare.begin(), bare.end());
  const auto left = jpegLeavesOut(over);
  ASSERT_EQ(left.size(), 3u);
  EXPECT_EQ(left[0].kind, BlockLeftOut::Kind::Exif);
  EXPECT_EQ(left[0].size, kJpegMaxPayload - 5);
  EXPECT_EQ(left[0].limit, kJpegMaxPayload - 6);
  EXPECT_EQ(left[1].kind, BlockLeftOut::Kind::Xmp);
  EXPECT_EQ(left[2].kind, BlockLeftOut::Kind::Icc);
  EXPECT_EQ(jpegWithMetadata(plain, over), plain);
}

}  // namespace
}  // namespace quorvane::codec
