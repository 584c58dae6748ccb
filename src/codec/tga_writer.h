// Our own TGA writer for the JPEG road's intermediate file: uncompressed
// 24-bit true colour, the form every TGA reader accepts. (The TGA writer that
// libvips reaches through ImageMagick stores rows top-down while flagging
// them bottom-up, so its files come out of `cjpeg -targa` upside down.)
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quorvane::codec::detail {

class OutputFile;

inline constexpr int kTgaMaxSide = 65535;  // the header stores 16-bit sides

// The 18-byte header: image type 2 (uncompressed true colour), 24 bits per
// pixel, no alpha bits, origin bottom-left (descriptor bit 5 clear), so the
// first stored row is the bottom one. Sides must be 1..kTgaMaxSide.
std::array<std::uint8_t, 18> tgaHeader(int width, int height);

// Writes header and pixels (straight RGBA in, top row first; alpha dropped)
// to out. Rows go out bottom-up as B, G, R. False on a write error or sides
// outside 1..kTgaMaxSide.
bool writeTgaFile(OutputFile& out, const std::uint8_t* rgba, int width, int height);

// The same file as bytes in memory; empty for sides outside 1..kTgaMaxSide.
std::string tgaBytes(const std::uint8_t* rgba, int width, int height);

}  // namespace quorvane::codec::detail
