#include "services/ledger_line.h"

#include <charconv>
#include <limits>

namespace quorvane::core {

namespace {

constexpr std::size_t kFieldCount = 7;
constexpr std::size_t kNameMax = 255;  // bytes in one file name (NAME_MAX)

// A table: a million lines hold a hundred million hex digits.
constexpr std::array<std::int8_t, 256> kHexValues = [] {
  std::array<std::int8_t, 256> values{};
  values.fill(-1);
  for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<std::int8_t>(i);
  for (int i = 0; i < 6; ++i) {
    values['a' + i] = static_cast<std::int8_t>(10 + i);
    values['A' + i] = static_cast<std::int8_t>(10 + i);
  }
  return values;
}();

int hexValue(char c) {
  return kHexValues[static_cast<unsigned char>(c)];
}

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kLowerHexDigits[] = "0123456789abcdef";

// Unreserved characters of RFC 3986 and the slash stay as they are.
bool keptAsIs(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

// Writes at `out`, which has room for three bytes per input byte.
char* writeEncoded(char* out, std::string_view bytes) {
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (keptAsIs(byte)) {
      *out++ = c;
    } else {
      *out++ = '%';
      *out++ = kHexDigits[byte >> 4];
      *out++ = kHexDigits[byte & 0xF];
    }
  }
  return out;
}

std::optional<std::string> decoded(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  while (true) {
    const std::size_t percent = text.find('%');
    bytes.append(text.substr(0, percent));
    if (percent == std::string_view::npos) return bytes;
    if (percent + 2 >= text.size()) return std::nullopt;
    const int high = hexValue(text[percent + 1]);
    const int low = hexValue(text[percent + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high << 4 | low);
    text.remove_prefix(percent + 3);
  }
}

// A decimal integer, optionally negative, that fits in 64 bits.
std::optional<std::int64_t> number(std::string_view text, bool allowNegative) {
  if (text.empty() || (text.front() == '-' && !allowNegative) || text.front() == '+') {
    return std::nullopt;
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> hexBytes(std::string_view hex) {
  if (hex.size() != 2 * N) return std::nullopt;
  std::array<std::uint8_t, N> bytes{};
  for (std::size_t i = 0; i < N; ++i) {
    const int high = hexValue(hex[2 * i]);
    const int low = hexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  return bytes;
}

template <std::size_t N>
char* writeHex(char* out, const std::array<std::uint8_t, N>& bytes) {
  for (const std::uint8_t byte : bytes) {
    *out++ = kLowerHexDigits[byte >> 4];
    *out++ = kLowerHexDigits[byte & 0xF];
  }
  return out;
}

char* writeNumber(char* out, std::int64_t value) {
  return std::to_chars(out, out + 20, value).ptr;
}

bool isFileName(std::string_view name) {
  return !name.empty() && name.size() <= kNameMax && name != "." && name != ".." &&
         name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace

std::optional<std::array<std::uint8_t, 32>> parseContentHash(std::string_view hex) {
  return hexBytes<32>(hex);
}

std::optional<std::uint64_t> parseSettingsFingerprint(std::string_view hex) {
  const auto bytes = hexBytes<8>(hex);
  if (!bytes) return std::nullopt;
  std::uint64_t value = 0;
  for (const std::uint8_t byte : *bytes) value = value << 8 | byte;
  return value;
}

std::optional<LedgerLine> parseLedgerLine(std::string_view line) {
  std::string_view fields[kFieldCount];
  std::size_t count = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    if (count == kFieldCount) return std::nullopt;  // more fields than ours
    fields[count++] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (count != kFieldCount) return std::nullopt;
  auto input = decoded(fields[0]);
  const auto inputSize = number(fields[1], false);
  const auto modified = number(fields[2], true);
  const auto hash = parseContentHash(fields[3]);
  const auto settings = parseSettingsFingerprint(fields[4]);
  auto output = decoded(fields[5]);
  const auto outputSize = number(fields[6], false);
  if (!input || input->empty() || input->find('\0') != std::string::npos || !inputSize ||
      !modified || !hash || !settings || !output || !isFileName(*output) || !outputSize) {
    return std::nullopt;
  }
  return LedgerLine{std::move(*input), *inputSize,         *modified,  *hash,
                    *settings,         std::move(*output), *outputSize};
}

void appendLedgerLine(std::string& text, const LedgerLine& line) {
  // Written in place: a ledger of a million lines is formatted in one go.
  const std::size_t start = text.size();
  text.resize(start + 3 * (line.input.size() + line.output.size()) + 3 * 20 + 64 + 16 + 7);
  char* out = text.data() + start;
  out = writeEncoded(out, line.input);
  *out++ = '\t';
  out = writeNumber(out, line.inputSize);
  *out++ = '\t';
  out = writeNumber(out, line.inputModifiedNs);
  *out++ = '\t';
  out = writeHex(out, line.contentHash);
  *out++ = '\t';
  std::array<std::uint8_t, 8> settings{};
  for (std::size_t i = 0; i < settings.size(); ++i) {
    settings[i] = static_cast<std::uint8_t>(line.settings >> (8 * (7 - i)));
  }
  out = writeHex(out, settings);
  *out++ = '\t';
  out = writeEncoded(out, line.output);
  *out++ = '\t';
  out = writeNumber(out, line.outputSize);
  *out++ = '\n';
  text.resize(static_cast<std::size_t>(out - text.data()));
}

LedgerText parseLedgerText(std::string_view text) {
  LedgerText result;
  if (text.empty()) return result;
  const std::size_t headerEnd = text.find('\n');
  if (text.substr(0, headerEnd) != kLedgerHeader) {
    result.foreign = true;
    return result;
  }
  if (headerEnd == std::string_view::npos) return result;
  std::size_t start = headerEnd + 1;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    // A line without its newline was cut short by a crash or a full disk,
    // even when its fields happen to parse.
    auto parsed = end == std::string_view::npos ? std::nullopt : parseLedgerLine(line);
    if (parsed) {
      result.lines.push_back(std::move(*parsed));
    } else {
      ++result.malformedLines;
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return result;
}

}  // namespace quorvane::core
