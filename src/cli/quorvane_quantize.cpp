// quorvane-quantize: reduce an RGBA image to at most COLORS colours with the
// project's quantiser.
//
//   quorvane-quantize IN.png OUT.png COLORS
//   quorvane-quantize --raw IN.rgba WIDTH HEIGHT COLORS OUT.rgba
//
// Exit status: 0 done, 1 the image could not be read, quantised or written,
// 2 usage error.
#include "quantizer/quorvane_quantize.h"

#include <png.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int usage(const char* problem) {
  if (problem != nullptr) std::fprintf(stderr, "quorvane: error: %s\n", problem);
  std::fprintf(stderr,
               "usage: quorvane-quantize IN.png OUT.png COLORS\n"
               "       quorvane-quantize --raw IN.rgba WIDTH HEIGHT COLORS OUT.rgba\n"
               "\n"
               "Reduces the image to at most COLORS (1..256) distinct RGB colours with\n"
               "dithering; alpha is kept as it is. PNG input of any kind is read as 8-bit\n"
               "RGBA and written as 8-bit RGBA. Raw files hold WIDTH x HEIGHT pixels of\n"
               "4 bytes R, G, B, A, rows packed.\n");
  return kExitUsage;
}

int fail(const std::string& path, const std::string& reason) {
  std::fprintf(stderr, "quorvane: error: '%s': %s\n", path.c_str(), reason.c_str());
  return kExitFailed;
}

bool parseUnsigned(std::string_view text, uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool parseColours(std::string_view text, uint32_t& colours) {
  return parseUnsigned(text, colours) && colours >= 1 && colours <= 256;
}

int quantize(std::vector<uint8_t>& rgba, uint32_t width, uint32_t height, uint32_t colours,
             const std::string& path) {
  if (quorvane_quantize_rgba(rgba.data(), width, height, colours) != 0) {
    return fail(path, "quantisation failed (image too large for the available memory)");
  }
  return kExitOk;
}

int runPng(const std::string& in, const std::string& out, uint32_t colours) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, in.c_str())) return fail(in, image.message);
  image.format = PNG_FORMAT_RGBA;
  const uint64_t bytes = uint64_t{image.width} * image.height * 4;
  std::vector<uint8_t> rgba;
  try {
    rgba.resize(bytes);
  } catch (const std::exception&) {
    png_image_free(&image);
    return fail(in, "image too large (" + std::to_string(image.width) + "x" +
                        std::to_string(image.height) + ")");
  }
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    return fail(in, image.message);
  }
  if (const int status = quantize(rgba, image.width, image.height, colours, in)) return status;
  png_image outImage;
  std::memset(&outImage, 0, sizeof outImage);
  outImage.version = PNG_IMAGE_VERSION;
  outImage.width = image.width;
  outImage.height = image.height;
  outImage.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&outImage, out.c_str(), 0, rgba.data(), 0, nullptr)) {
    return fail(out, outImage.message);
  }
  return kExitOk;
}

int runRaw(const std::string& in, uint32_t width, uint32_t height, uint32_t colours,
           const std::string& out) {
  std::ifstream file(in, std::ios::binary);
  if (!file) return fail(in, std::strerror(errno));
  std::vector<uint8_t> rgba((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
  const uint64_t expected = uint64_t{width} * height * 4;
  if (rgba.size() != expected) {
    return fail(in, "holds " + std::to_string(rgba.size()) + " bytes, " + std::to_string(width) +
                        "x" + std::to_string(height) + " RGBA needs " + std::to_string(expected));
  }
  if (const int status = quantize(rgba, width, height, colours, in)) return status;
  std::ofstream output(out, std::ios::binary | std::ios::trunc);
  output.write(reinterpret_cast<const char*>(rgba.data()),
               static_cast<std::streamsize>(rgba.size()));
  output.close();
  if (!output) return fail(out, "write failed");
  return kExitOk;
}

int run(int argc, char** argv) {
  if (argc == 7 && std::string_view(argv[1]) == "--raw") {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t colours = 0;
    if (!parseUnsigned(argv[3], width) || width == 0)
      return usage("WIDTH must be a positive integer");
    if (!parseUnsigned(argv[4], height) || height == 0) {
      return usage("HEIGHT must be a positive integer");
    }
    if (!parseColours(argv[5], colours)) return usage("COLORS must be an integer from 1 to 256");
    return runRaw(argv[2], width, height, colours, argv[6]);
  }
  if (argc == 4 && std::string_view(argv[1]).substr(0, 2) != "--") {
    uint32_t colours = 0;
    if (!parseColours(argv[3], colours)) return usage("COLORS must be an integer from 1 to 256");
    return runPng(argv[1], argv[2], colours);
  }
  return usage(argc > 1 && std::string_view(argv[1]) != "--help" ? "wrong arguments" : nullptr);
}

}  // namespace
}  // namespace quorvane::cli

int main(int argc, char** argv) {
  return quorvane::cli::run(argc, argv);
}
