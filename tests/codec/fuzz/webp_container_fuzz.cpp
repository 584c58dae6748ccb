// libFuzzer target for reading the RIFF chunks of a WebP file to put
// metadata in (webpWithMetadata). Input: one byte choosing which blocks to
// add (bits 0..2: EXIF, XMP, ICC; odd sizes test the padding), then the file.
// A file it accepts must come out as one it accepts again, with a size field
// that matches.
#include "codec/metadata.h"
#include "fuzz_check.h"

using quorvane::codec::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  namespace codec = quorvane::codec;
  codec::Metadata metadata;
  if (data[0] & 1) metadata.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 0};
  if (data[0] & 2) metadata.xmp = {'<', 'x', '/', '>'};
  if (data[0] & 4) metadata.icc.assign(129, 7);
  const std::string webp(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string carrying = codec::webpWithMetadata(webp, metadata);
  if (carrying.empty()) return 0;
  check(carrying.size() >= 12 && carrying.compare(0, 4, "RIFF") == 0);
  const auto byte = [&](std::size_t at) { return std::uint32_t{std::uint8_t(carrying[at])}; };
  const std::uint32_t riffSize = byte(4) | byte(5) << 8 | byte(6) << 16 | byte(7) << 24;
  check(riffSize == carrying.size() - 8);
  check(!codec::webpWithMetadata(carrying, metadata).empty());
  return 0;
}
