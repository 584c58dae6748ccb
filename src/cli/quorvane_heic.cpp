// quorvane-heic [--exif FILE] [--xmp FILE] [--icc FILE] [--hdr P/T/M/F] QUALITY
// PIXELS OUTPUT: encodes raw RGBA (a file as the converter writes them, or
// "-": the same read from standard input) to HEIC through the
// codec layer, with the given metadata blocks. The converter runs it as a
// child process, so that a cancel can end an encode that would otherwise run
// to its end inside the HEVC encoder. With --hdr, PIXELS is a 16-bit PNG of
// an HDR signal, written at 10 bits with those code points (primaries,
// transfer, matrix, full range 0 or 1).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: quorvane-heic [--exif FILE] [--xmp FILE] [--icc FILE] [--hdr P/T/M/F] "
               "QUALITY PIXELS.rgba|SIGNAL.png OUTPUT.heic\n");
  return 2;
}

bool readBlock(const char* path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.good() || in.eof();
}

// "9/16/9/1": four numbers, each 0..255 (the range flag 0 or 1).
std::optional<quorvane::codec::HdrSignal> parseHdr(const char* text) {
  int values[4] = {};
  const char* at = text;
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    const long value = std::strtol(at, &end, 10);
    if (end == at || value < 0 || value > 255 || *end != (i == 3 ? '\0' : '/')) {
      return std::nullopt;
    }
    values[i] = static_cast<int>(value);
    at = end + 1;
  }
  if (values[3] > 1) return std::nullopt;
  return quorvane::codec::HdrSignal{.primaries = values[0],
                                    .transfer = values[1],
                                    .matrix = values[2],
                                    .fullRange = values[3] == 1};
}

}  // namespace

int main(int argc, char** argv) {
  quorvane::codec::Metadata metadata;
  std::optional<quorvane::codec::HdrSignal> hdr;
  int next = 1;
  for (; next + 1 < argc && std::strncmp(argv[next], "--", 2) == 0; next += 2) {
    if (std::strcmp(argv[next], "--hdr") == 0) {
      hdr = parseHdr(argv[next + 1]);
      if (!hdr) return usage();
      continue;
    }
    std::vector<std::uint8_t>* block = nullptr;
    if (std::strcmp(argv[next], "--exif") == 0) block = &metadata.exif;
    if (std::strcmp(argv[next], "--xmp") == 0) block = &metadata.xmp;
    if (std::strcmp(argv[next], "--icc") == 0) block = &metadata.icc;
    if (!block) return usage();
    if (!readBlock(argv[next + 1], *block)) {
      std::fprintf(stderr, "quorvane-heic: cannot read %s\n", argv[next + 1]);
      return 1;
    }
  }
  if (argc - next != 3) return usage();
  char* end = nullptr;
  const long quality = std::strtol(argv[next], &end, 10);
  if (*end != '\0' || quality < 0 || quality > 100) {
    std::fprintf(stderr, "quorvane-heic: quality must be 0 to 100\n");
    return 2;
  }
  quorvane::codec::LibvipsRuntime vips(argv[0]);
  if (hdr) {
    const auto written = quorvane::codec::writeHdrHeic(
        argv[next + 1], argv[next + 2], static_cast<double>(quality) / 100.0, *hdr, &metadata);
    if (!written) {
      std::fprintf(stderr, "quorvane-heic: %s\n", written.error().detail.c_str());
      return 1;
    }
    return 0;
  }
  auto image = std::strcmp(argv[next + 1], "-") == 0 ? quorvane::codec::readRawRgbaStream(0)
                                                     : quorvane::codec::readRawRgba(argv[next + 1]);
  if (!image) {
    std::fprintf(stderr, "quorvane-heic: %s\n", image.error().detail.c_str());
    return 1;
  }
  const auto written = quorvane::codec::writeHeic(image.value(), argv[next + 2],
                                                  static_cast<double>(quality) / 100.0, &metadata);
  if (!written) {
    std::fprintf(stderr, "quorvane-heic: %s\n", written.error().detail.c_str());
    return 1;
  }
  return 0;
}
