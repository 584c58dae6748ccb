// Rendering an HDR signal (PQ or HLG, see hdr_signal.h) for an SDR display:
// the signal is turned into display light, the light above what SDR can
// show is compressed with the BT.2390 EETF, SDR reference white is put at
// 203 cd/m² (BT.2408), the primaries are converted to BT.709 / sRGB with
// out-of-gamut colours pulled toward their own luminance (hue and light kept,
// saturation given up), and the sRGB transfer encodes it to 8 bits.
//
// HLG is rendered for its nominal 1000 cd/m² display (system gamma 1.2), on
// which its reference white (75 % signal) is 203 cd/m².
//
// Plain C++: no image library, the same numbers on every machine.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "codec/hdr_signal.h"

namespace quorvane::codec {

inline constexpr double kSdrReferenceWhite = 203.0;  // cd/m², BT.2408
inline constexpr double kHlgNominalPeak = 1000.0;    // cd/m², BT.2100
inline constexpr double kPqPeak = 10000.0;           // cd/m², ST 2084

// ST 2084: signal 0..1 to cd/m², and back.
double pqToLight(double signal);
double lightToPq(double light);
// BT.2100 HLG inverse OETF: signal 0..1 to scene light 0..1.
double hlgToSceneLight(double signal);
// The sRGB transfer: linear 0..1 to encoded 0..1.
double srgbEncode(double linear);
// BT.2390 EETF (black level 0): display light in cd/m² from a source whose
// peak is `sourcePeak` for a display whose peak is `targetPeak`. The
// identity below the knee; light above `sourcePeak` ends at `targetPeak`.
double bt2390Eetf(double light, double sourcePeak, double targetPeak);

using Matrix3 = std::array<std::array<double, 3>, 3>;
// Linear RGB in the primaries H.273 numbers `primaries` (1, 9 or 12; any
// other is taken as BT.2020, the primaries of BT.2100) to linear BT.709.
Matrix3 toBt709(int primaries);

class HdrToneMap {
 public:
  // Samples are `bits` deep (8..16), full range.
  HdrToneMap(const HdrSignal& signal, int bits);

  // The display light (cd/m²) of a pixel's brightest component: the
  // measure of a frame's peak when no box gives it.
  double lightOf(const std::uint16_t* rgb) const;
  // The peak the source is mapped from; SDR white is the peak shown.
  void setSourcePeak(double light);
  double sourcePeak() const { return m_sourcePeak; }

  // `width` pixels of `channels` samples (3: RGB, 4: RGB + alpha) into
  // 8-bit RGBA; opaque without alpha.
  void mapRow(const std::uint16_t* in, int channels, int width, std::uint8_t* out) const;

 private:
  void displayLight(const std::uint16_t* rgb, double light[3]) const;
  double compression(double light) const;

  HdrTransfer m_transfer;
  int m_maxCode;
  double m_lightRange;  // the most displayLight gives
  double m_sourcePeak = 0;
  std::vector<float> m_light;        // per code value: PQ display light, HLG scene light
  std::vector<float> m_scale;        // EETF(L) / L, sampled on sqrt(L / m_lightRange)
  std::vector<std::uint8_t> m_srgb;  // sRGB bytes, sampled on linear light
  Matrix3 m_toBt709{};
};

}  // namespace quorvane::codec
