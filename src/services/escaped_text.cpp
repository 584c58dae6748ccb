#include "services/escaped_text.h"

#include <cstdint>

namespace quorvane::core {

namespace {

bool isControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || (c >= 0x200B && c <= 0x200F) ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

void appendEscapedByte(QString& text, std::uint8_t byte) {
  text += QString::asprintf("\\x%02x", static_cast<unsigned>(byte));
}

void appendEscaped(QString& text, char32_t c) {
  if (c < 0x80) {
    appendEscapedByte(text, static_cast<std::uint8_t>(c));
  } else {
    text += QString::asprintf("\\u%04x", static_cast<unsigned>(c));
  }
}

// The code point of the UTF-8 sequence at the start of `bytes` and its
// length; length 0 when it is not valid (a stray continuation byte, a cut
// sequence, an overlong form, a surrogate, beyond U+10FFFF).
struct Decoded {
  char32_t point = 0;
  std::size_t length = 0;
};
Decoded decodeUtf8(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t point = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, point = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, point = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, point = lead & 0x07, least = 0x10000;
  } else {
    return {};
  }
  if (bytes.size() < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {};
    point = point << 6 | (byte(i) & 0x3F);
  }
  if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return {};
  return {point, length};
}

}  // namespace

QString escapedName(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  while (!bytes.empty()) {
    const Decoded next = decodeUtf8(bytes);
    if (next.length == 0) {
      appendEscapedByte(text, static_cast<std::uint8_t>(bytes.front()));
      bytes.remove_prefix(1);
      continue;
    }
    if (next.point == U'\\') {
      text += QStringLiteral("\\\\");
    } else if (isControl(next.point)) {
      appendEscaped(text, next.point);
    } else {
      const char32_t point = next.point;
      text += QString::fromUcs4(&point, 1);
    }
    bytes.remove_prefix(next.length);
  }
  return text;
}

QString escapedControls(const QString& line) {
  QString text;
  text.reserve(line.size());
  for (const QChar c : line) {
    // Every control of the list lies in the basic plane: no pair to join.
    if (isControl(c.unicode())) {
      appendEscaped(text, c.unicode());
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace quorvane::core
