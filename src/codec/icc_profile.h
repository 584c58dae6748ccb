// Reads the few facts of an ICC profile the codec needs: whether it is
// plain sRGB (files carrying one go to an encoder untouched, every other
// profile is converted), which colour space it is for, and whether it is
// well-formed enough to embed in an output.
#pragma once

#include <cstdint>
#include <span>

namespace quorvane::codec::detail {

// True when the profile is an RGB matrix/TRC profile that behaves as sRGB:
//  - data colour space 'RGB ' and connection space 'XYZ ';
//  - rXYZ, gXYZ and bXYZ each within 0.005 of sRGB's D50-adapted colorants
//    (so Display P3, Adobe RGB, ProPhoto and friends are told apart by their
//    primaries, whatever their description says);
//  - rTRC, gTRC and bTRC map mid-grey (0.5) within 0.02 of the sRGB curve's
//    0.214 (the sRGB curve itself and a pure 2.2 gamma pass; linear or 1.8
//    gamma curves do not).
// LUT-based profiles, grey and CMYK profiles, and anything malformed are not
// plain sRGB; converting them costs time but never colour.
bool iccProfileIsSrgb(std::span<const std::uint8_t> profile);

// The data colour space signature of the header (for example 'RGB ' as
// 0x52474220, 'GRAY', 'CMYK'), or 0 for anything shorter than a header.
std::uint32_t iccColourSpace(std::span<const std::uint8_t> profile);
inline constexpr std::uint32_t kIccRgb = 0x52474220;
inline constexpr std::uint32_t kIccGrey = 0x47524159;
inline constexpr std::uint32_t kIccCmyk = 0x434d594b;

// True when the profile holds together as readers and writers (libpng
// among them, which refuses to store anything else) require: at least the
// 128-byte header and the tag count; the size in the header equal to the
// bytes given (a multiple of 4 from version 4 on); the 'acsp' signature; a
// rendering intent that fits 16 bits; a device class other than abstract
// and device link; an XYZ or Lab connection space; and a tag table whose
// every tag lies inside the profile.
bool iccProfileIsWellFormed(std::span<const std::uint8_t> profile);

}  // namespace quorvane::codec::detail
