// What an output is to carry besides its pixels: what each format can hold,
// what is dropped with a note, and that the work stops on cancel.
#include "services/carried_metadata.h"

#include <gtest/gtest.h>

#include <string>

#include "services/conversion_errors.h"
#include "services/image_converter.h"
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
  // A PNG carrying `metadata`, and the job that converts it.
  ConversionJob jobFor(const codec::Metadata& metadata, OutputFormat format,
                       OutputOptions options) {
    const fs::path input = m_dir / "in.png";
    EXPECT_TRUE(codec::writePng(flat(16, 12), input, &metadata));
    return {input, m_dir.path(), format, 80, {}, {}, std::nullopt, options};
  }
  CarriedMetadata carried(const ConversionJob& job) {
    const codec::ImageHeader header = readCheckedHeader(job.input);
    return carriedMetadata(job, header, {header.width, header.height}, m_token);
  }

  ScratchDir m_dir;
  CancellationToken m_token;
};

TEST_F(CarriedMetadataTest, AnXmpPacketOverTheCapIsDroppedWithANote) {
  const auto over = carried(jobFor(xmpOf(9'000'000), OutputFormat::Webp, {.keepMetadata = true}));
  EXPECT_TRUE(over.metadata.xmp.empty());
  ASSERT_EQ(over.notes.size(), 1);
  EXPECT_EQ(over.notes[0], "XMP not kept: 9.0 MB is more than the 8.0 MB carried");

  const auto under = carried(jobFor(xmpOf(1'000'000), OutputFormat::Webp, {.keepMetadata = true}));
  EXPECT_TRUE(under.notes.isEmpty()) << under.notes.join("; ").toStdString();
  const std::string xmp(under.metadata.xmp.begin(), under.metadata.xmp.end());
  EXPECT_EQ(xmp.find("123456"), std::string::npos);
  EXPECT_NE(xmp.find(R"(tiff:ImageWidth="16")"), std::string::npos);
}

TEST_F(CarriedMetadataTest, CancelStopsTheRewriteOfALongPacket) {
  const ConversionJob job = jobFor(xmpOf(4'000'000), OutputFormat::Webp, {.keepMetadata = true});
  m_token.cancel();
  EXPECT_THROW(carried(job), CancellationError);
}

}  // namespace
}  // namespace quorvane::core
