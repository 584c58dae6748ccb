#include "codec/hdr_tone_map.h"

#include <algorithm>
#include <cmath>

namespace quorvane::codec {

namespace {

// ST 2084 constants.
constexpr double kM1 = 2610.0 / 16384.0;
constexpr double kM2 = 2523.0 / 4096.0 * 128.0;
constexpr double kC1 = 3424.0 / 4096.0;
constexpr double kC2 = 2413.0 / 4096.0 * 32.0;
constexpr double kC3 = 2392.0 / 4096.0 * 32.0;

// BT.2100 HLG constants.
constexpr double kHlgA = 0.17883277;
constexpr double kHlgB = 1.0 - 4.0 * kHlgA;
const double kHlgC = 0.5 - kHlgA * std::log(4.0 * kHlgA);
constexpr double kHlgGamma = 1.2;  // system gamma at the nominal peak

// BT.2020 luminance weights (HLG's OOTF works on them).
constexpr double kYr = 0.2627;
constexpr double kYg = 0.6780;
constexpr double kYb = 0.0593;
// BT.709 ones, for what the SDR display shows.
constexpr double kSdrYr = 0.2126;
constexpr double kSdrYg = 0.7152;
constexpr double kSdrYb = 0.0722;

constexpr int kScaleSteps = 4096;
constexpr int kSrgbSteps = 16384;

using Chromaticities = std::array<std::array<double, 2>, 4>;  // R, G, B, white

constexpr Chromaticities kBt709{{{0.640, 0.330}, {0.300, 0.600}, {0.150, 0.060}, {0.3127, 0.3290}}};
constexpr Chromaticities kBt2020{
    {{0.708, 0.292}, {0.170, 0.797}, {0.131, 0.046}, {0.3127, 0.3290}}};
constexpr Chromaticities kP3D65{{{0.680, 0.320}, {0.265, 0.690}, {0.150, 0.060}, {0.3127, 0.3290}}};

Matrix3 multiply(const Matrix3& a, const Matrix3& b) {
  Matrix3 out{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      for (int k = 0; k < 3; ++k) out[r][c] += a[r][k] * b[k][c];
  return out;
}

Matrix3 inverse(const Matrix3& m) {
  const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                     m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                     m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  Matrix3 out{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
      out[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
    }
  }
  return out;
}

// RGB to CIE XYZ for a set of primaries and white (SMPTE RP 177).
Matrix3 rgbToXyz(const Chromaticities& p) {
  Matrix3 primaries{};
  for (int c = 0; c < 3; ++c) {
    const double x = p[c][0], y = p[c][1];
    primaries[0][c] = x / y;
    primaries[1][c] = 1.0;
    primaries[2][c] = (1.0 - x - y) / y;
  }
  const double wx = p[3][0], wy = p[3][1];
  const std::array<double, 3> white{wx / wy, 1.0, (1.0 - wx - wy) / wy};
  const Matrix3 inv = inverse(primaries);
  Matrix3 out{};
  for (int c = 0; c < 3; ++c) {
    double s = 0;
    for (int k = 0; k < 3; ++k) s += inv[c][k] * white[k];
    for (int r = 0; r < 3; ++r) out[r][c] = primaries[r][c] * s;
  }
  return out;
}

}  // namespace

double pqToLight(double signal) {
  const double e = std::pow(std::clamp(signal, 0.0, 1.0), 1.0 / kM2);
  return kPqPeak * std::pow(std::max(e - kC1, 0.0) / (kC2 - kC3 * e), 1.0 / kM1);
}

double lightToPq(double light) {
  const double y = std::pow(std::clamp(light / kPqPeak, 0.0, 1.0), kM1);
  return std::pow((kC1 + kC2 * y) / (1.0 + kC3 * y), kM2);
}

double hlgToSceneLight(double signal) {
  const double e = std::clamp(signal, 0.0, 1.0);
  if (e <= 0.5) return e * e / 3.0;
  return (std::exp((e - kHlgC) / kHlgA) + kHlgB) / 12.0;
}

double srgbEncode(double linear) {
  const double v = std::clamp(linear, 0.0, 1.0);
  return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
}

double bt2390Eetf(double light, double sourcePeak, double targetPeak) {
  if (light <= 0) return 0;
  const double sourcePq = lightToPq(sourcePeak);
  if (sourcePq <= 0) return std::min(light, targetPeak);
  const double e1 = std::min(lightToPq(light) / sourcePq, 1.0);
  const double maxLum = lightToPq(targetPeak) / sourcePq;
  const double knee = 1.5 * maxLum - 0.5;
  double e2 = e1;
  if (e1 >= knee && knee < 1.0) {
    const double t = (e1 - knee) / (1.0 - knee);
    const double t2 = t * t, t3 = t2 * t;
    e2 = (2 * t3 - 3 * t2 + 1) * knee + (t3 - 2 * t2 + t) * (1.0 - knee) +
         (-2 * t3 + 3 * t2) * maxLum;
  }
  return std::min(pqToLight(e2 * sourcePq), targetPeak);
}

Matrix3 toBt709(int primaries) {
  const Chromaticities& from = primaries == HdrSignal::kPrimariesBt709   ? kBt709
                               : primaries == HdrSignal::kPrimariesP3D65 ? kP3D65
                                                                         : kBt2020;
  return multiply(inverse(rgbToXyz(kBt709)), rgbToXyz(from));
}

HdrToneMap::HdrToneMap(const HdrSignal& signal, int bits)
    : m_transfer(signal.kind()),
      m_maxCode((1 << std::clamp(bits, 8, 16)) - 1),
      m_lightRange(m_transfer == HdrTransfer::Hlg ? kHlgNominalPeak : kPqPeak),
      m_toBt709(toBt709(signal.primaries)) {
  m_light.resize(static_cast<std::size_t>(m_maxCode) + 1);
  for (int code = 0; code <= m_maxCode; ++code) {
    const double e = static_cast<double>(code) / m_maxCode;
    m_light[code] =
        static_cast<float>(m_transfer == HdrTransfer::Hlg ? hlgToSceneLight(e) : pqToLight(e));
  }
  m_srgb.resize(kSrgbSteps + 1);
  for (int i = 0; i <= kSrgbSteps; ++i) {
    m_srgb[i] = static_cast<std::uint8_t>(
        std::lround(255.0 * srgbEncode(static_cast<double>(i) / kSrgbSteps)));
  }
  setSourcePeak(kSdrReferenceWhite);
}

void HdrToneMap::setSourcePeak(double light) {
  m_sourcePeak = std::clamp(light, 1.0, m_lightRange);
  m_scale.resize(kScaleSteps + 1);
  m_scale[0] = 1.0f;
  for (int i = 1; i <= kScaleSteps; ++i) {
    const double s = static_cast<double>(i) / kScaleSteps;
    const double l = m_lightRange * s * s;
    m_scale[i] = static_cast<float>(bt2390Eetf(l, m_sourcePeak, kSdrReferenceWhite) / l);
  }
}

void HdrToneMap::displayLight(const std::uint16_t* rgb, double light[3]) const {
  for (int c = 0; c < 3; ++c) light[c] = m_light[std::min<int>(rgb[c], m_maxCode)];
  if (m_transfer != HdrTransfer::Hlg) return;
  // The OOTF: Fd = Lw * Ys^(gamma - 1) * Es.
  const double ys = kYr * light[0] + kYg * light[1] + kYb * light[2];
  const double gain = ys > 0 ? kHlgNominalPeak * std::pow(ys, kHlgGamma - 1.0) : 0.0;
  for (int c = 0; c < 3; ++c) light[c] *= gain;
}

double HdrToneMap::lightOf(const std::uint16_t* rgb) const {
  double light[3];
  displayLight(rgb, light);
  return std::max({light[0], light[1], light[2]});
}

double HdrToneMap::compression(double light) const {
  const double s = std::sqrt(std::clamp(light / m_lightRange, 0.0, 1.0)) * kScaleSteps;
  const int i = std::min(static_cast<int>(s), kScaleSteps - 1);
  const double t = s - i;
  return m_scale[i] + t * (m_scale[i + 1] - m_scale[i]);
}

void HdrToneMap::mapRow(const std::uint16_t* in, int channels, int width, std::uint8_t* out) const {
  const Matrix3& m = m_toBt709;
  for (int x = 0; x < width; ++x, in += channels, out += 4) {
    double light[3];
    displayLight(in, light);
    // The brightest component goes through the EETF and the others follow
    // it, so hue and saturation stay as graded.
    const double peak = std::max({light[0], light[1], light[2]});
    const double scale = compression(peak) / kSdrReferenceWhite;
    double rgb[3];
    for (int r = 0; r < 3; ++r) {
      rgb[r] = scale * (m[r][0] * light[0] + m[r][1] * light[1] + m[r][2] * light[2]);
    }
    // Out of BT.709's gamut: toward the colour's own luminance until every
    // component is within 0..1.
    const double y = std::clamp(kSdrYr * rgb[0] + kSdrYg * rgb[1] + kSdrYb * rgb[2], 0.0, 1.0);
    const double low = std::min({rgb[0], rgb[1], rgb[2]});
    const double high = std::max({rgb[0], rgb[1], rgb[2]});
    double keep = 1.0;
    if (low < 0) keep = std::min(keep, y / (y - low));
    if (high > 1) keep = std::min(keep, (1.0 - y) / (high - y));
    for (int c = 0; c < 3; ++c) {
      const double v = std::clamp(y + keep * (rgb[c] - y), 0.0, 1.0);
      out[c] = m_srgb[static_cast<std::size_t>(std::lround(v * kSrgbSteps))];
    }
    out[3] = channels == 4 ? static_cast<std::uint8_t>(
                                 (static_cast<unsigned>(std::min<int>(in[3], m_maxCode)) * 255 +
                                  static_cast<unsigned>(m_maxCode) / 2) /
                                 static_cast<unsigned>(m_maxCode))
                           : 255;
  }
}

}  // namespace quorvane::codec
