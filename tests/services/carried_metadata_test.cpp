// What an output is to carry besides its pixels: what is dropped with a
// note, and what is rewritten to fit the output. (The rewrite stopping
// halfway on a stop request is tested in the codec.)
#include "services/carried_metadata.h"

#include <gtest/gtest.h>

#include <string>

#include "services/image_fitting.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

codec::RgbaImage flat(int width, int height) {
  codec::RgbaImage image(width, height);
  for (std::size_t i = 0; i < image.byteSize(); ++i) image.data()[i] = i % 4 == 3 ? 255 : 120;
  return image;
}

// An XMP packet of at least `size` bytes whose every attribute the rewrite
// changes.
codec::Metadata xmpOf(std::size_t size) {
  std::string text = R"(<x:xmpmeta><rdf:Description )";
  while (text.size() < size) text += R"(tiff:ImageWidth="123456" )";
  text += "/></x:xmpmeta>";
  codec::Metadata metadata;
  metadata.xmp.assign(text.begin(), text.end());
  return metadata;
}

class CarriedMetadataTest : public ::testing::Test {
 protected:
  // What a PNG carrying `metadata` passes on to its output, kept as `options` say.
  CarriedMetadata carried(const codec::Metadata& metadata, OutputOptions options) {
    const fs::path input = m_dir / "in.png";
    EXPECT_TRUE(codec::writePng(flat(16, 12), input, &metadata));
    const codec::OpenedImage opened = openChecked(input);
    const codec::ImageHeader& header = opened.header();
    return carriedMetadata(opened, options, {header.width, header.height}, m_token);
  }

  ScratchDir m_dir;
  CancellationToken m_token;
};

TEST_F(CarriedMetadataTest, AnXmpPacketOverTheCapIsDroppedWithANote) {
  const auto over = carried(xmpOf(9'000'000), {.keepMetadata = true});
  EXPECT_TRUE(over.metadata.xmp.empty());
  ASSERT_EQ(over.notes.size(), 1);
  EXPECT_EQ(over.notes[0], "XMP not kept: 9.0 MB is more than the 8.0 MB carried");

  const auto under = carried(xmpOf(1'000'000), {.keepMetadata = true});
  EXPECT_TRUE(under.notes.isEmpty()) << under.notes.join("; ").toStdString();
  const std::string xmp(under.metadata.xmp.begin(), under.metadata.xmp.end());
  EXPECT_EQ(xmp.find("123456"), std::string::npos);
  EXPECT_NE(xmp.find(R"(tiff:ImageWidth="16")"), std::string::npos);
}

}  // namespace
}  // namespace quorvane::core
