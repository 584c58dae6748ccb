#include "codec/tga_writer.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "codec/file_io.h"

namespace quorvane::codec::detail {

std::array<std::uint8_t, 18> tgaHeader(int width, int height) {
  std::array<std::uint8_t, 18> h{};
  h[2] = 2;  // uncompressed true colour; no ID field, no colour map
  h[12] = static_cast<std::uint8_t>(width & 0xff);
  h[13] = static_cast<std::uint8_t>((width >> 8) & 0xff);
  h[14] = static_cast<std::uint8_t>(height & 0xff);
  h[15] = static_cast<std::uint8_t>((height >> 8) & 0xff);
  h[16] = 24;
  h[17] = 0;  // 0 alpha bits, bottom-left origin
  return h;
}

bool writeTgaFile(OutputFile& out, const std::uint8_t* rgba, int width, int height) {
  if (width < 1 || height < 1 || width > kTgaMaxSide || height > kTgaMaxSide) return false;
  const auto header = tgaHeader(width, height);
  if (!out.write(header.data(), header.size())) return false;

  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  // Batch rows into writes of about 1 MiB; a 64k-wide row still fits one.
  const std::size_t rowsPerChunk = std::max<std::size_t>(1, (std::size_t{1} << 20) / rowBytes);
  std::vector<std::uint8_t> chunk(rowsPerChunk * rowBytes);
  std::size_t filled = 0;
  for (int y = height - 1; y >= 0; --y) {
    const std::uint8_t* src = rgba + static_cast<std::size_t>(y) * width * 4;
    std::uint8_t* dst = chunk.data() + filled;
    for (int x = 0; x < width; ++x, src += 4, dst += 3) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
    }
    filled += rowBytes;
    if (filled == chunk.size() || y == 0) {
      if (!out.write(chunk.data(), filled)) return false;
      filled = 0;
    }
  }
  return true;
}

std::string tgaBytes(const std::uint8_t* rgba, int width, int height) {
  if (width < 1 || height < 1 || width > kTgaMaxSide || height > kTgaMaxSide) return {};
  const auto header = tgaHeader(width, height);
  std::string out(header.size() + static_cast<std::size_t>(width) * height * 3, '\0');
  std::copy(header.begin(), header.end(), out.begin());
  char* dst = out.data() + header.size();
  for (int y = height - 1; y >= 0; --y) {
    const std::uint8_t* src = rgba + static_cast<std::size_t>(y) * width * 4;
    for (int x = 0; x < width; ++x, src += 4, dst += 3) {
      dst[0] = static_cast<char>(src[2]);
      dst[1] = static_cast<char>(src[1]);
      dst[2] = static_cast<char>(src[0]);
    }
  }
  return out;
}

}  // namespace quorvane::codec::detail
