#include "codec/indexed_png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

namespace quorvane::codec {

namespace {

std::uint32_t packed(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

CodecError writeFailure(const std::filesystem::path& path, const std::string& why, int error = 0) {
  return CodecError{CodecError::Kind::WriteFailed,
                    "write indexed PNG '" + path.native() + "': " + why, error};
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng's message becomes the failure's reason (its default handler
// prints to stderr, and errno means nothing after it).
void onPngError(png_structp png, png_const_charp message) {
  if (auto* reason = static_cast<std::string*>(png_get_error_ptr(png))) {
    *reason = message ? message : "";
  }
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

}  // namespace

bool hasTransparency(const RgbaImage& image) {
  const std::uint8_t* p = image.data();
  for (std::size_t i = 3; i < image.byteSize(); i += 4) {
    if (p[i] != 255) return true;
  }
  return false;
}

std::optional<IndexedImage> indexedIfFits(const RgbaImage& image, int maxColours) {
  if (image.empty() || maxColours < 1 || maxColours > 256) return std::nullopt;
  const std::size_t pixels = image.byteSize() / 4;
  std::unordered_map<std::uint32_t, std::uint8_t> slots;
  slots.reserve(static_cast<std::size_t>(maxColours) * 2);
  std::vector<std::uint32_t> colours;  // in order of first appearance
  IndexedImage indexed;
  indexed.width = image.width();
  indexed.height = image.height();
  indexed.indices.resize(pixels);
  const std::uint8_t* p = image.data();
  // Runs of one colour are common in graphics: the last lookup is kept.
  std::uint32_t last = packed(p) ^ 1u;
  std::uint8_t lastSlot = 0;
  for (std::size_t i = 0; i < pixels; ++i, p += 4) {
    const std::uint32_t colour = packed(p);
    if (colour != last) {
      const auto [at, added] = slots.try_emplace(colour, static_cast<std::uint8_t>(colours.size()));
      if (added) {
        if (static_cast<int>(colours.size()) == maxColours) return std::nullopt;
        colours.push_back(colour);
      }
      last = colour;
      lastSlot = at->second;
    }
    indexed.indices[i] = lastSlot;
  }
  // Translucent colours first.
  std::vector<std::uint8_t> order(colours.size());
  std::uint8_t next = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t c = 0; c < colours.size(); ++c) {
      const bool opaque = colours[c] >> 24 == 255;
      if (opaque == (pass == 1)) order[c] = next++;
    }
  }
  indexed.palette.resize(colours.size());
  for (std::size_t c = 0; c < colours.size(); ++c) {
    const std::uint32_t v = colours[c];
    indexed.palette[order[c]] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                 static_cast<std::uint8_t>(v >> 16),
                                 static_cast<std::uint8_t>(v >> 24)};
  }
  for (std::uint8_t& index : indexed.indices) index = order[index];
  return indexed;
}

IndexedImage compactPalette(const IndexedImage& image) {
  std::array<bool, 256> used{};
  for (const std::uint8_t index : image.indices) used[index] = true;
  IndexedImage out;
  out.width = image.width;
  out.height = image.height;
  std::array<std::uint8_t, 256> slot{};
  std::unordered_map<std::uint32_t, std::uint8_t> seen;
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < image.palette.size(); ++i) {
      const auto& entry = image.palette[i];
      if (!used[i] || (entry[3] == 255) != (pass == 1)) continue;
      const auto [at, added] =
          seen.try_emplace(packed(entry.data()), static_cast<std::uint8_t>(out.palette.size()));
      if (added) out.palette.push_back(entry);
      slot[i] = at->second;
    }
  }
  out.indices.resize(image.indices.size());
  for (std::size_t i = 0; i < image.indices.size(); ++i) out.indices[i] = slot[image.indices[i]];
  return out;
}

Result<void> writeIndexedPng(const IndexedImage& image, const std::filesystem::path& path,
                             const Metadata* metadata) {
  if (image.width < 1 || image.height < 1 || image.palette.empty() || image.palette.size() > 256 ||
      image.indices.size() != static_cast<std::size_t>(image.width) * image.height) {
    return writeFailure(path, "bad image");
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wbe"));
  if (!file) return writeFailure(path, std::strerror(errno), errno);
  std::string pngReason;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &pngReason, onPngError, onPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const auto fail = [&](const std::string& why, int error) -> Result<void> {
    png_destroy_write_struct(&png, &info);
    file.reset();
    std::filesystem::remove(path);
    return writeFailure(path, why, error);
  };
  if (!info) return fail("out of memory", 0);
  // libpng measures text with strlen.
  const std::string xmpText =
      metadata ? std::string(metadata->xmp.begin(), metadata->xmp.end()) : std::string();
  // libpng reports errors by long jump: nothing with a destructor may be
  // created between here and the end.
  if (setjmp(png_jmpbuf(png))) return fail("libpng: " + pngReason, 0);
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  png_byte alpha[256];
  int translucent = 0;
  for (std::size_t i = 0; i < image.palette.size(); ++i) {
    palette[i] = {image.palette[i][0], image.palette[i][1], image.palette[i][2]};
    alpha[i] = image.palette[i][3];
    if (alpha[i] != 255) translucent = static_cast<int>(i) + 1;
  }
  png_set_PLTE(png, info, palette, static_cast<int>(image.palette.size()));
  if (translucent > 0) png_set_tRNS(png, info, alpha, translucent, nullptr);
  png_text xmp{};
  if (metadata) {
    if (!metadata->icc.empty()) {
      png_set_iCCP(png, info, "icc", PNG_COMPRESSION_TYPE_BASE, metadata->icc.data(),
                   static_cast<png_uint_32>(metadata->icc.size()));
    }
    if (!metadata->exif.empty()) {
      png_set_eXIf_1(png, info, static_cast<png_uint_32>(metadata->exif.size()),
                     const_cast<png_bytep>(metadata->exif.data()));
    }
    if (!metadata->xmp.empty()) {
      xmp.compression = PNG_ITXT_COMPRESSION_NONE;
      xmp.key = const_cast<png_charp>("XML:com.adobe.xmp");
      xmp.text = const_cast<png_charp>(xmpText.c_str());
      xmp.itxt_length = xmpText.size();
      png_set_text(png, info, &xmp, 1);
    }
  }
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, image.indices.data() + static_cast<std::size_t>(y) * image.width);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
    const int error = errno;
    file.reset();
    std::filesystem::remove(path);
    return writeFailure(path, std::strerror(error), error);
  }
  if (std::fclose(file.release()) != 0) {
    const int error = errno;
    std::filesystem::remove(path);
    return writeFailure(path, std::strerror(error), error);
  }
  return {};
}

}  // namespace quorvane::codec
