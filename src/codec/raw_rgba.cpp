#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "codec/file_io.h"
#include "codec/image_codec.h"

namespace quorvane::codec {

namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'Q', 'R', 'G', 'B', 'A', 1, 0, 0};
constexpr std::size_t kHeaderBytes = 16;

void putLe32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t getLe32(const std::uint8_t* at) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= std::uint32_t{at[i]} << (8 * i);
  return value;
}

CodecError failure(CodecError::Kind kind, const std::filesystem::path& path, std::string reason,
                   int systemError = 0) {
  CodecError error{kind, "raw RGBA '" + path.filename().string() + "': " + std::move(reason)};
  error.systemError = systemError;
  return error;
}

}  // namespace

std::string pamHeader(const RgbaImage& image) {
  std::string header = "P7\nWIDTH ";
  header.append(std::to_string(image.width())).append("\nHEIGHT ");
  header.append(std::to_string(image.height()));
  header.append("\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n");
  return header;
}

std::string rawRgbaHeader(const RgbaImage& image) {
  std::string header(kHeaderBytes, '\0');
  auto* bytes = reinterpret_cast<std::uint8_t*>(header.data());
  std::memcpy(bytes, kMagic.data(), kMagic.size());
  putLe32(bytes + 8, static_cast<std::uint32_t>(image.width()));
  putLe32(bytes + 12, static_cast<std::uint32_t>(image.height()));
  return header;
}

Result<RgbaImage> readRawRgbaStream(int fd) {
  const std::filesystem::path none("(stream)");
  const auto readFully = [fd](std::uint8_t* into, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
      const ssize_t n = ::read(fd, into + done, length - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
    }
    return true;
  };
  std::uint8_t header[kHeaderBytes];
  if (!readFully(header, kHeaderBytes) || !std::equal(kMagic.begin(), kMagic.end(), header)) {
    return failure(CodecError::Kind::NotAnImage, none, "not a raw RGBA stream");
  }
  const std::uint32_t width = getLe32(header + 8);
  const std::uint32_t height = getLe32(header + 12);
  if (exceedsPixelLimit(width, height)) {
    return failure(CodecError::Kind::Damaged, none, "size out of range");
  }
  RgbaImage image;
  try {
    image = RgbaImage::uninitialized(static_cast<int>(width), static_cast<int>(height));
  } catch (const std::bad_alloc&) {
    return failure(CodecError::Kind::OutOfMemory, none, "no memory for pixels");
  }
  if (!readFully(image.data(), image.byteSize())) {
    return failure(CodecError::Kind::Damaged, none, "short read");
  }
  return image;
}

Result<void> writeRawRgba(const RgbaImage& image, const std::filesystem::path& path) {
  if (image.empty()) return failure(CodecError::Kind::WriteFailed, path, "empty image");
  detail::OutputFile out(path);
  std::uint8_t header[kHeaderBytes];
  std::memcpy(header, kMagic.data(), kMagic.size());
  putLe32(header + 8, static_cast<std::uint32_t>(image.width()));
  putLe32(header + 12, static_cast<std::uint32_t>(image.height()));
  if (!out.isOpen() || !out.write(header, sizeof header) ||
      !out.write(image.data(), image.byteSize()) || !out.commit()) {
    return failure(CodecError::Kind::WriteFailed, path, out.error(), out.systemError());
  }
  return {};
}

Result<RgbaImage> readRawRgba(const std::filesystem::path& path) {
  detail::InputFile in = detail::openInput(path);
  if (!in.fd.valid())
    return failure(CodecError::Kind::Missing, path, "cannot open", in.systemError);
  const auto header = detail::readPrefix(in.fd.get(), kHeaderBytes);
  if (header.size() != kHeaderBytes || !std::equal(kMagic.begin(), kMagic.end(), header.begin())) {
    return failure(CodecError::Kind::NotAnImage, path, "not a raw RGBA file");
  }
  const std::uint32_t width = getLe32(header.data() + 8);
  const std::uint32_t height = getLe32(header.data() + 12);
  if (exceedsPixelLimit(width, height) ||
      static_cast<std::uint64_t>(in.size) != kHeaderBytes + std::uint64_t{width} * height * 4) {
    return failure(CodecError::Kind::Damaged, path, "size does not match the header");
  }
  RgbaImage image;
  try {
    image = RgbaImage::uninitialized(static_cast<int>(width), static_cast<int>(height));
  } catch (const std::bad_alloc&) {
    return failure(CodecError::Kind::OutOfMemory, path, "no memory for pixels");
  }
  std::size_t done = 0;
  while (done < image.byteSize()) {
    const ssize_t n = ::pread(in.fd.get(), image.data() + done, image.byteSize() - done,
                              static_cast<off_t>(kHeaderBytes + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return failure(CodecError::Kind::Damaged, path, "short read", n < 0 ? errno : 0);
    done += static_cast<std::size_t>(n);
  }
  return image;
}

}  // namespace quorvane::codec
