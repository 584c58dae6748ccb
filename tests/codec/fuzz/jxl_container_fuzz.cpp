// libFuzzer target for reading the boxes of a JPEG XL file: to put metadata
// in (jxlWithMetadata) and to read it back (jxlMetadata). Input: one byte
// choosing which blocks to add (bit 0: EXIF, bit 1: XMP), then the file. A
// file it accepts must come out as a container it accepts again, unchanged
// the second time, from which the blocks read back as put in.
#include "codec/jxl_container.h"
#include "fuzz_check.h"

using quorvane::codec::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  namespace codec = quorvane::codec;
  codec::Metadata metadata;
  if (data[0] & 1) metadata.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 0};
  if (data[0] & 2) metadata.xmp = {'<', 'x', '/', '>'};
  const std::string jxl(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string carrying = codec::jxlWithMetadata(jxl, metadata);
  if (carrying.empty()) return 0;
  check(carrying.compare(0, 8, std::string("\0\0\0\x0cJXL ", 8)) == 0);
  check(codec::jxlWithMetadata(carrying, metadata) == carrying);
  (void)codec::jxlMetadata(jxl);
  const codec::Metadata read = codec::jxlMetadata(carrying);
  check(read.exif == metadata.exif && read.xmp == metadata.xmp);
  return 0;
}
