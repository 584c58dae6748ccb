// quorvane-heic QUALITY PIXELS OUTPUT: encodes a raw RGBA file (as the
// converter writes them) to HEIC through the codec layer. The converter runs
// it as a child process, so that a cancel can end an encode that would
// otherwise run to its end inside the HEVC encoder.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: quorvane-heic QUALITY PIXELS.rgba OUTPUT.heic\n");
    return 2;
  }
  char* end = nullptr;
  const long quality = std::strtol(argv[1], &end, 10);
  if (*end != '\0' || quality < 0 || quality > 100) {
    std::fprintf(stderr, "quorvane-heic: quality must be 0 to 100\n");
    return 2;
  }
  quorvane::codec::LibvipsRuntime vips(argv[0]);
  auto image = quorvane::codec::readRawRgba(argv[2]);
  if (!image) {
    std::fprintf(stderr, "quorvane-heic: %s\n", image.error().detail.c_str());
    return 1;
  }
  const auto written =
      quorvane::codec::writeHeic(image.value(), argv[3], static_cast<double>(quality) / 100.0);
  if (!written) {
    std::fprintf(stderr, "quorvane-heic: %s\n", written.error().detail.c_str());
    return 1;
  }
  return 0;
}
