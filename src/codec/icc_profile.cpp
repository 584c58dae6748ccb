#include "codec/icc_profile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "codec/metadata.h"

namespace quorvane::codec::detail {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint32_t be32(Bytes b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
         std::uint32_t{b[at + 2]} << 8 | std::uint32_t{b[at + 3]};
}

std::uint32_t be16(Bytes b, std::size_t at) {
  return std::uint32_t{b[at]} << 8 | b[at + 1];
}

double s15Fixed16(Bytes b, std::size_t at) {
  return static_cast<std::int32_t>(be32(b, at)) / 65536.0;
}

constexpr std::uint32_t sig(const char (&s)[5]) {
  return std::uint32_t(std::uint8_t(s[0])) << 24 | std::uint32_t(std::uint8_t(s[1])) << 16 |
         std::uint32_t(std::uint8_t(s[2])) << 8 | std::uint32_t(std::uint8_t(s[3]));
}

// The body of the tag with this signature, bounds-checked; empty if absent.
std::optional<Bytes> findTag(Bytes profile, std::uint32_t tag) {
  const std::uint32_t count = be32(profile, 128);
  if (count > (profile.size() - 132) / 12) return std::nullopt;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = 132 + std::size_t{i} * 12;
    if (be32(profile, entry) != tag) continue;
    const std::size_t offset = be32(profile, entry + 4);
    const std::size_t size = be32(profile, entry + 8);
    if (offset > profile.size() || size > profile.size() - offset || size < 8) return std::nullopt;
    return profile.subspan(offset, size);
  }
  return std::nullopt;
}

std::optional<std::array<double, 3>> readXyz(Bytes profile, std::uint32_t tag) {
  const auto body = findTag(profile, tag);
  if (!body || body->size() < 20 || be32(*body, 0) != sig("XYZ ")) return std::nullopt;
  return std::array<double, 3>{s15Fixed16(*body, 8), s15Fixed16(*body, 12), s15Fixed16(*body, 16)};
}

// The tone curve's output for input 0.5, or empty when it cannot be read.
std::optional<double> curveAtMidGrey(Bytes profile, std::uint32_t tag) {
  const auto body = findTag(profile, tag);
  if (!body || body->size() < 12) return std::nullopt;
  const Bytes b = *body;
  if (be32(b, 0) == sig("curv")) {
    const std::uint32_t count = be32(b, 8);
    if (count > (b.size() - 12) / 2) return std::nullopt;
    if (count == 0) return 0.5;  // identity
    if (count == 1) return std::pow(0.5, be16(b, 12) / 256.0);
    // Tables sample 0..1 evenly; interpolate between the two entries around 0.5.
    const double pos = 0.5 * (count - 1);
    const auto lo = static_cast<std::size_t>(pos);
    const std::size_t hi = std::min<std::size_t>(lo + 1, count - 1);
    const double t = pos - static_cast<double>(lo);
    const double a = be16(b, 12 + 2 * lo) / 65535.0;
    const double c = be16(b, 12 + 2 * hi) / 65535.0;
    return a + (c - a) * t;
  }
  if (be32(b, 0) == sig("para")) {
    static constexpr std::array<std::size_t, 5> kParams = {1, 3, 4, 5, 7};
    const std::uint32_t type = be16(b, 8);
    if (type >= kParams.size() || b.size() < 12 + 4 * kParams[type]) return std::nullopt;
    std::array<double, 7> p{};
    for (std::size_t i = 0; i < kParams[type]; ++i) p[i] = s15Fixed16(b, 12 + 4 * i);
    const double x = 0.5;
    const double g = p[0], a = p[1], bb = p[2], c = p[3], d = p[4], e = p[5], f = p[6];
    const auto power = [&](double base) { return base > 0 ? std::pow(base, g) : 0.0; };
    switch (type) {
      case 0:
        return std::pow(x, g);
      case 1:
        return power(a * x + bb);
      case 2:
        return power(a * x + bb) + c;
      case 3:
        return x >= d ? power(a * x + bb) : c * x;
      default:
        return x >= d ? power(a * x + bb) + e : c * x + f;
    }
  }
  return std::nullopt;
}

}  // namespace

bool iccProfileIsSrgb(std::span<const std::uint8_t> profile) {
  if (profile.size() < 132 || be32(profile, 36) != sig("acsp")) return false;
  if (be32(profile, 16) != sig("RGB ") || be32(profile, 20) != sig("XYZ ")) return false;

  // sRGB's colorants adapted to the D50 connection space (Bradford), as
  // stored in the common sRGB IEC61966-2.1 profiles.
  static constexpr std::array<std::array<double, 3>, 3> kSrgb = {{
      {0.4361, 0.2225, 0.0139},
      {0.3851, 0.7169, 0.0971},
      {0.1431, 0.0606, 0.7141},
  }};
  static constexpr std::array<std::uint32_t, 3> kColorants = {sig("rXYZ"), sig("gXYZ"),
                                                              sig("bXYZ")};
  static constexpr std::array<std::uint32_t, 3> kCurves = {sig("rTRC"), sig("gTRC"), sig("bTRC")};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto xyz = readXyz(profile, kColorants[i]);
    if (!xyz) return false;
    for (std::size_t k = 0; k < 3; ++k) {
      if (std::abs((*xyz)[k] - kSrgb[i][k]) > 0.005) return false;
    }
    const auto mid = curveAtMidGrey(profile, kCurves[i]);
    if (!mid || std::abs(*mid - 0.2140) > 0.02) return false;
  }
  return true;
}

std::uint32_t iccColourSpace(std::span<const std::uint8_t> profile) {
  return profile.size() >= 128 ? be32(profile, 16) : 0;
}

bool iccProfileIsWellFormed(std::span<const std::uint8_t> profile) {
  if (profile.size() < 132 || be32(profile, 0) != profile.size()) return false;
  const std::uint32_t majorVersion = profile[8];
  if (majorVersion >= 4 && profile.size() % 4 != 0) return false;
  if (be32(profile, 36) != sig("acsp") || be32(profile, 64) >= 0xffff) return false;
  const std::uint32_t deviceClass = be32(profile, 12);
  if (deviceClass == sig("abst") || deviceClass == sig("link")) return false;
  const std::uint32_t connection = be32(profile, 20);
  if (connection != sig("XYZ ") && connection != sig("Lab ")) return false;
  const std::uint32_t count = be32(profile, 128);
  if (count > (profile.size() - 132) / 12) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = 132 + std::size_t{i} * 12;
    const std::size_t offset = be32(profile, entry + 4);
    const std::size_t size = be32(profile, entry + 8);
    if (offset > profile.size() || size > profile.size() - offset) return false;
  }
  return true;
}

}  // namespace quorvane::codec::detail

namespace quorvane::codec {

bool iccIsRgb(const std::vector<std::uint8_t>& icc) {
  return detail::iccColourSpace(icc) == detail::kIccRgb;
}

bool iccCanBeKept(const std::vector<std::uint8_t>& icc) {
  return detail::iccColourSpace(icc) == detail::kIccRgb && detail::iccProfileIsWellFormed(icc);
}

}  // namespace quorvane::codec
