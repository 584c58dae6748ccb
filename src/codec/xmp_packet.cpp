#include "codec/xmp_packet.h"

#include <array>
#include <string>
#include <string_view>

#include "codec/exif_block.h"

namespace quorvane::codec {

namespace {

enum class Field { Orientation, Width, Height };

struct Property {
  std::string_view name;
  Field field;
};

constexpr std::array<Property, 5> kProperties = {{
    {"tiff:Orientation", Field::Orientation},
    {"tiff:ImageWidth", Field::Width},
    {"tiff:ImageLength", Field::Height},
    {"exif:PixelXDimension", Field::Width},
    {"exif:PixelYDimension", Field::Height},
}};

constexpr std::size_t kPollEvery = std::size_t{1} << 20;

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The property whose name starts at `at` and ends where a name ends.
const Property* propertyAt(std::string_view text, std::size_t at) {
  if (text[at] != 't' && text[at] != 'e') return nullptr;
  for (const Property& property : kProperties) {
    if (text.compare(at, property.name.size(), property.name) != 0) continue;
    const std::size_t end = at + property.name.size();
    if (end < text.size() &&
        (isSpace(text[end]) || text[end] == '=' || text[end] == '>' || text[end] == '/')) {
      return &property;
    }
  }
  return nullptr;
}

std::optional<int> orientationValue(std::string_view value) {
  while (!value.empty() && isSpace(value.front())) value.remove_prefix(1);
  while (!value.empty() && isSpace(value.back())) value.remove_suffix(1);
  if (value.size() != 1 || value[0] < '1' || value[0] > '8') return std::nullopt;
  return value[0] - '0';
}

// Rewrites the packet, scanning it once: text between tags, tags with
// their quoted attribute values, comments and CDATA sections, each skipped
// as a whole so a quote or a name inside them changes nothing.
class Rewriter {
 public:
  Rewriter(std::string_view text, int width, int height, int applied)
      : m_text(text), m_width(width), m_height(height), m_applied(applied) {
    m_out.reserve(text.size() + 64);
  }

  std::optional<std::string> run(const StopRequested& stopRequested) {
    std::size_t nextPoll = kPollEvery;
    while (m_at < m_text.size()) {
      if (m_at >= nextPoll) {
        if (stopRequested && stopRequested()) return std::nullopt;
        nextPoll = m_at + kPollEvery;
      }
      const char c = m_text[m_at];
      if (!m_inTag) {
        if (c != '<') {
          ++m_at;
        } else if (skipPast("<!--", "-->") || skipPast("<![CDATA[", "]]>")) {
        } else {
          m_inTag = true;
          ++m_at;
          if (const Property* property = m_at < m_text.size() ? propertyAt(m_text, m_at) : nullptr)
            element(*property);
        }
      } else if (c == '"' || c == '\'') {
        const std::size_t close = m_text.find(c, m_at + 1);
        m_at = close == std::string_view::npos ? m_text.size() : close + 1;
      } else if (c == '>') {
        m_inTag = false;
        ++m_at;
      } else if (isSpace(c) && m_at + 1 < m_text.size()) {
        ++m_at;
        if (const Property* property = propertyAt(m_text, m_at)) attribute(*property);
      } else {
        ++m_at;
      }
    }
    m_out.append(m_text, m_copied);
    return std::move(m_out);
  }

 private:
  // At `open`, moves past the matching `close` (or to the end).
  bool skipPast(std::string_view open, std::string_view close) {
    if (m_text.compare(m_at, open.size(), open) != 0) return false;
    const std::size_t end = m_text.find(close, m_at + open.size());
    m_at = end == std::string_view::npos ? m_text.size() : end + close.size();
    return true;
  }

  // The value the output needs in place of `value`; nothing: remove it.
  std::optional<std::string> replacement(Field field, std::string_view value) const {
    switch (field) {
      case Field::Width:
        return std::to_string(m_width);
      case Field::Height:
        return std::to_string(m_height);
      case Field::Orientation:
        break;
    }
    const auto tagged = orientationValue(value);
    if (!tagged) return std::nullopt;
    return std::to_string(orientationAfter(*tagged, m_applied));
  }

  // `name="value"` (or single quotes, spaces around '=') inside a tag; the
  // white space before the name is at m_at - 1.
  void attribute(const Property& property) {
    std::size_t at = m_at + property.name.size();
    while (at < m_text.size() && isSpace(m_text[at])) ++at;
    if (at >= m_text.size() || m_text[at] != '=') return;
    ++at;
    while (at < m_text.size() && isSpace(m_text[at])) ++at;
    if (at >= m_text.size() || (m_text[at] != '"' && m_text[at] != '\'')) return;
    const std::size_t begin = at + 1;
    const std::size_t end = m_text.find(m_text[at], begin);
    if (end == std::string_view::npos) return;
    const auto value = replacement(property.field, m_text.substr(begin, end - begin));
    if (value) {
      replace(begin, end, *value);
    } else {
      replace(m_at - 1, end + 1, {});
    }
    m_at = end + 1;
  }

  // `<name>value</name>`; m_at is just past the '<'.
  void element(const Property& property) {
    const std::size_t open = m_at + property.name.size();
    if (open >= m_text.size() || m_text[open] != '>') return;
    const std::size_t begin = open + 1;
    const std::size_t end = m_text.find('<', begin);
    if (end == std::string_view::npos) return;
    const auto value = replacement(property.field, m_text.substr(begin, end - begin));
    if (value) {
      replace(begin, end, *value);
      m_at = end;
      return;
    }
    // Removed with its closing tag; without one it stays as it is.
    const std::string closing = "</" + std::string(property.name) + ">";
    if (m_text.compare(end, closing.size(), closing) != 0) return;
    replace(m_at - 1, end + closing.size(), {});
    m_at = end + closing.size();
    m_inTag = false;
  }

  void replace(std::size_t begin, std::size_t end, std::string_view value) {
    m_out.append(m_text, m_copied, begin - m_copied);
    m_out.append(value);
    m_copied = end;
  }

  std::string_view m_text;
  int m_width;
  int m_height;
  int m_applied;
  std::string m_out;
  std::size_t m_at = 0;
  std::size_t m_copied = 0;  // m_text before this is in m_out or replaced
  bool m_inTag = false;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> uprightXmp(const std::vector<std::uint8_t>& xmp, int width,
                                                    int height, int appliedOrientation,
                                                    const StopRequested& stopRequested) {
  const std::string_view text(reinterpret_cast<const char*>(xmp.data()), xmp.size());
  auto rewritten = Rewriter(text, width, height, appliedOrientation).run(stopRequested);
  if (!rewritten) return std::nullopt;
  return std::vector<std::uint8_t>(rewritten->begin(), rewritten->end());
}

}  // namespace quorvane::codec
