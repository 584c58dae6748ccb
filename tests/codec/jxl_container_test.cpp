// Putting EXIF and XMP boxes into what cjxl writes: a bare codestream, or a
// container that already has boxes of its own.
#include "codec/jxl_container.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::codec {
namespace {

const std::string kSignature("\0\0\0\x0cJXL \r\n\x87\n", 12);
const std::string kFileType(
    "\0\0\0\x14"
    "ftypjxl \0\0\0\0jxl ",
    20);
// The EXIF box of cameraData(): no offset, then the TIFF structure.
const std::string kExifPayload("\0\0\0\0II*\0\x08\0\0\0", 12);

std::string box(const std::string& type, const std::string& payload) {
  const std::size_t size = payload.size() + 8;
  std::string out;
  for (int shift : {24, 16, 8, 0}) out += static_cast<char>((size >> shift) & 0xff);
  return out + type + payload;
}

Metadata cameraData() {
  Metadata metadata;
  metadata.exif = {'I', 'I', 42, 0, 8, 0, 0, 0};
  metadata.xmp = {'<', 'x', '/', '>'};
  metadata.icc.assign(40, 1);  // lives in the codestream: never boxed
  return metadata;
}

TEST(JxlContainer, ACodestreamIsWrappedWithTheBoxesBeforeIt) {
  const std::string codestream("\xff\x0a\x01\x02\x03", 5);
  const std::string exif = box("Exif", kExifPayload);
  EXPECT_EQ(jxlWithMetadata(codestream, cameraData()),
            kSignature + kFileType + exif + box("xml ", "<x/>") + box("jxlc", codestream));
  Metadata onlyXmp;
  onlyXmp.xmp = {'<', 'y', '/', '>'};
  EXPECT_EQ(jxlWithMetadata(codestream, onlyXmp),
            kSignature + kFileType + box("xml ", "<y/>") + box("jxlc", codestream));
}

TEST(JxlContainer, AContainerKeepsItsBoxesAndLosesOnlyOldMetadata) {
  const std::string level = box("jxll", "\x0a");
  const std::string parts = box("jxlp", std::string("\0\0\0\0\xff\x0a", 6));
  const std::string old = box("Exif", std::string(4, '\0') + "MM\0*");
  const std::string compressed = box("brob", "xml \x01\x02");
  // The last box may run to the end of the file with a size of 0.
  const std::string toTheEnd = std::string("\0\0\0\0jxlp\x80\0\0\0", 12);
  const std::string file = kSignature + kFileType + level + old + compressed + parts + toTheEnd;
  const std::string exif = box("Exif", kExifPayload);
  EXPECT_EQ(jxlWithMetadata(file, cameraData()),
            kSignature + kFileType + exif + box("xml ", "<x/>") + level + parts + toTheEnd);
  // And again: nothing doubles.
  const std::string once = jxlWithMetadata(file, cameraData());
  EXPECT_EQ(jxlWithMetadata(once, cameraData()), once);
  // What was put in reads back; the old EXIF box went.
  const Metadata read = jxlMetadata(once);
  EXPECT_EQ(read.exif, cameraData().exif);
  EXPECT_EQ(read.xmp, cameraData().xmp);
  EXPECT_TRUE(read.icc.empty());
}

TEST(JxlContainer, ReadingTakesTheExifOffsetAndIgnoresWhatItCannotRead) {
  // An offset of 6 skips an "Exif\0\0" in front of the TIFF header.
  const std::string exif = box("Exif", std::string("\0\0\0\x06"
                                                   "Exif\0\0II*\0",
                                                   14));
  EXPECT_EQ(jxlMetadata(kSignature + kFileType + exif).exif,
            (std::vector<std::uint8_t>{'I', 'I', 42, 0}));
  // An offset past the box, a compressed box, a codestream, a box past the end.
  for (const std::string& file :
       {kSignature + kFileType + box("Exif", std::string("\0\0\0\x09II", 6)),
        kSignature + kFileType + box("brob", "Exif\x01\x02"), std::string("\xff\x0a\x01", 3),
        kSignature + kFileType + exif + std::string("\0\0\0\x40xml ", 8)}) {
    const Metadata read = jxlMetadata(file);
    EXPECT_TRUE(read.exif.empty() && read.xmp.empty()) << file.size() << " bytes";
  }
}

TEST(JxlContainer, WhatIsNotAJpegXlFileIsRefused) {
  const std::string codestream("\xff\x0a", 2);
  for (const std::string& bad :
       {std::string(), std::string("\x89PNG\r\n\x1a\n"), kSignature,
        kSignature + box("jxlc", codestream),                       // no file type box first
        kSignature + kFileType + std::string("\0\0\0\x40jxlc", 8),  // runs past the end
        kSignature + kFileType + std::string("\0\0\0\x04jxlc", 8),  // shorter than its header
        kSignature + kFileType + std::string("\0\0\0\x01jxlc\0\0", 10)}) {
    EXPECT_EQ(jxlWithMetadata(bad, cameraData()), "") << bad.size() << " bytes";
  }
}

}  // namespace
}  // namespace quorvane::codec
