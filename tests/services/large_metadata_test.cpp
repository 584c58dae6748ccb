// Kept blocks larger than one JPEG segment, through the real encoders of
// every format: carried whole where the format holds them, and otherwise
// left out with a note on the row.
#include <gtest/gtest.h>

#include <string>

#include "codec/image_codec.h"
#include "codec/indexed_png.h"
#include "services/image_converter.h"
#include "services/run_conversion.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

constexpr std::uint16_t kMake = 0x010F;

// 70 kB of EXIF: IFD0 with Make first, then padding (cameras put maker notes
// and previews there).
std::vector<std::uint8_t> largeExif() {
  std::vector<std::uint8_t> exif = {'I', 'I', 42, 0, 8, 0,   0,   0,   1, 0, 0x0f, 0x01, 2,
                                    0,   4,   0,  0, 0, 'Q', 'v', 'n', 0, 0, 0,    0,    0};
  exif.resize(70'000, 0x5a);
  return exif;
}

// 200 kB of XMP in an element a JPEG can split into extended XMP.
std::vector<std::uint8_t> largeXmp() {
  const std::string packet =
      R"(<?xpacket begin="" id="W5M0MpCehiHzreSzNTczkc9d"?><x:xmpmeta xmlns:x="adobe:ns:meta/">)"
      R"(<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#"><rdf:Description )"
      R"(rdf:about="" xmlns:dc="http://purl.org/dc/elements/1.1/" dc:format=")" +
      std::string(200'000, 'h') + R"("/></rdf:RDF></x:xmpmeta><?xpacket end="w"?>)";
  return {packet.begin(), packet.end()};
}

class LargeMetadataTest : public ::testing::Test {
 protected:
  // Written even where it is larger, so that what it carries shows.
  ConversionOutcome convert(const fs::path& input, OutputFormat format, bool autoFormat = false) {
    return runConversion(m_converter,
                         {input,
                          m_out.path(),
                          std::nullopt,
                          {.format = format,
                           .autoFormat = autoFormat,
                           .quality = 80,
                           .options = {.ifLarger = IfLarger::Write, .keepMetadata = true}}},
                         m_token, {&m_reservations, nullptr});
  }

  ScratchDir m_in;
  ScratchDir m_out;
  CancellationToken m_token;
  OutputNameReservations m_reservations;
  ImageConverter m_converter;
};

TEST_F(LargeMetadataTest, EveryFormatCarriesWhatItHoldsAndJpegSaysWhatItCannot) {
  codec::Metadata metadata;
  metadata.exif = largeExif();
  metadata.xmp = largeXmp();
  codec::RgbaImage image(64, 48);
  for (std::size_t i = 0; i < image.byteSize(); ++i) image.data()[i] = i % 4 == 3 ? 255 : 200;
  // Our own PNG writer stores the blocks as they are.
  const fs::path input = m_in / "large.png";
  ASSERT_TRUE(codec::writeIndexedPng(*codec::indexedIfFits(image, 1), input, &metadata));

  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    const ConversionOutcome result = convert(input, format);
    ASSERT_EQ(result.kind, ConversionOutcome::Kind::Completed) << result.message.toStdString();
    const auto read = codec::readMetadata(result.output);
    ASSERT_TRUE(read);
    const std::string xmp(read.value().xmp.begin(), read.value().xmp.end());
    if (format == OutputFormat::Jpeg) {
      // EXIF has no way to continue past one segment; XMP has.
      EXPECT_TRUE(
          result.message.startsWith("EXIF not kept: 70.0 kB is more than a JPEG holds (65.5 kB)"))
          << result.message.toStdString();
      EXPECT_TRUE(read.value().exif.empty());
      EXPECT_NE(xmp.find("xmpNote:HasExtendedXMP"), std::string::npos) << xmp;
    } else {
      EXPECT_FALSE(result.message.contains("not kept")) << result.message.toStdString();
      EXPECT_TRUE(read.value().exif == metadata.exif) << read.value().exif.size();
      EXPECT_EQ(codec::exifText(read.value().exif, kMake), "Qvn");
      EXPECT_TRUE(read.value().xmp == metadata.xmp) << xmp.size();
    }
  }

  // Auto does not pick a format that would leave kept data out.
  const ConversionOutcome chosen = convert(input, OutputFormat::Webp, true);
  ASSERT_TRUE(chosen.chosenFormat) << chosen.message.toStdString();
  EXPECT_NE(*chosen.chosenFormat, OutputFormat::Jpeg);
  EXPECT_FALSE(chosen.message.contains("not kept")) << chosen.message.toStdString();
}

}  // namespace
}  // namespace quorvane::core
