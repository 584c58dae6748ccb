// Tells a plain sRGB ICC profile from any other, so that files carrying one
// can go to an encoder untouched while every other profile is converted.
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

}  // namespace quorvane::codec::detail
