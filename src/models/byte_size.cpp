#include "models/byte_size.h"

#include <cctype>

namespace quorvane::core {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The multiplier of a unit, case-insensitive; 0 for an unknown one.
std::int64_t unitOf(std::string_view unit) {
  if (!unit.empty() && (unit.back() == 'b' || unit.back() == 'B')) unit.remove_suffix(1);
  if (unit.empty()) return 1;
  if (unit.size() != 1) return 0;
  switch (unit.front()) {
    case 'k':
    case 'K':
      return 1000;
    case 'm':
    case 'M':
      return 1'000'000;
    case 'g':
    case 'G':
      return 1'000'000'000;
    default:
      return 0;
  }
}

}  // namespace

std::optional<std::int64_t> parseByteSize(std::string_view text) {
  text = trimmed(text);
  // The number: whole digits, then optionally a point and more digits. The
  // value is kept as an exact fraction (digits / 10^decimals).
  std::int64_t digits = 0;
  std::int64_t scale = 1;
  std::size_t at = 0;
  bool seenDigit = false;
  bool seenPoint = false;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    seenDigit = true;
    // More digits than any accepted size needs: too large, or too precise
    // to matter (beyond a millionth).
    if (digits > kMaxByteSize * 10 || (seenPoint && scale >= 1'000'000)) {
      if (!seenPoint) return std::nullopt;
      continue;
    }
    digits = digits * 10 + (c - '0');
    if (seenPoint) scale *= 10;
  }
  if (!seenDigit) return std::nullopt;
  std::string_view unit = text.substr(at);
  if (!unit.empty() && unit.front() == ' ') unit.remove_prefix(1);
  const std::int64_t multiplier = unitOf(unit);
  if (multiplier == 0) return std::nullopt;
  // Compared before multiplying, which then stays far below 2^63 (the
  // whole part at most kMaxByteSize, the scale at most 10^6).
  if (digits / scale > kMaxByteSize / multiplier) return std::nullopt;
  const std::int64_t bytes = digits * multiplier / scale;
  if (bytes < 1 || bytes > kMaxByteSize) return std::nullopt;
  return static_cast<std::int64_t>(bytes);
}

}  // namespace quorvane::core
