#include "codec/xmp_packet.h"

#include <string>

namespace quorvane::codec {

namespace {

// Replaces every value that sits between `open` and the first `close` after it.
void replaceBetween(std::string& text, const std::string& open, char close,
                    const std::string& value) {
  for (std::size_t at = text.find(open); at != std::string::npos;
       at = text.find(open, at + open.size())) {
    const std::size_t begin = at + open.size();
    const std::size_t end = text.find(close, begin);
    if (end == std::string::npos) return;
    text.replace(begin, end - begin, value);
    at = begin + value.size() - open.size();
  }
}

}  // namespace

std::vector<std::uint8_t> uprightXmp(const std::vector<std::uint8_t>& xmp, int width, int height) {
  std::string text(xmp.begin(), xmp.end());
  const auto set = [&text](const std::string& name, const std::string& value) {
    // Both forms XMP writers use: an attribute, and an element.
    replaceBetween(text, name + "=\"", '"', value);
    replaceBetween(text, "<" + name + ">", '<', value);
  };
  set("tiff:Orientation", "1");
  set("tiff:ImageWidth", std::to_string(width));
  set("tiff:ImageLength", std::to_string(height));
  set("exif:PixelXDimension", std::to_string(width));
  set("exif:PixelYDimension", std::to_string(height));
  return {text.begin(), text.end()};
}

}  // namespace quorvane::codec
