#include "codec/jpeg_xmp.h"

#include <glib.h>

#include <algorithm>
#include <memory>
#include <string_view>

namespace quorvane::codec::detail {

namespace {

constexpr std::string_view kStandardSignature{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::string_view kExtendedSignature{"http://ns.adobe.com/xmp/extension/\0", 35};
// Per extended segment: the signature, the 32-digit GUID, the full length
// and this part's offset (both 32-bit big-endian). Adobe's writers put
// 65400 bytes of text in each; so do we.
constexpr std::size_t kExtendedPart = 65400;

// The serialised XMP (an x:xmpmeta element, no packet wrapper) that the
// extended part holds, or empty when the packet has no element to hold.
std::string extendedText(std::string_view packet) {
  const auto slice = [&](std::string_view open, std::string_view close) -> std::string_view {
    const std::size_t begin = packet.find(open);
    const std::size_t end = packet.rfind(close);
    if (begin == std::string_view::npos || end == std::string_view::npos || end < begin) return {};
    return packet.substr(begin, end + close.size() - begin);
  };
  if (const std::string_view meta = slice("<x:xmpmeta", "</x:xmpmeta>"); !meta.empty()) {
    return std::string(meta);
  }
  if (const std::string_view rdf = slice("<rdf:RDF", "</rdf:RDF>"); !rdf.empty()) {
    return R"(<x:xmpmeta xmlns:x="adobe:ns:meta/">)" + std::string(rdf) + "</x:xmpmeta>";
  }
  return {};
}

std::string upperMd5(std::string_view text) {
  const std::unique_ptr<gchar, decltype(&g_free)> hex(
      g_compute_checksum_for_data(G_CHECKSUM_MD5, reinterpret_cast<const guchar*>(text.data()),
                                  text.size()),
      &g_free);
  std::string digest(hex.get());
  std::transform(digest.begin(), digest.end(), digest.begin(),
                 [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 32) : c; });
  return digest;
}

void appendBigEndian32(std::string& out, std::size_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xff);
}

}  // namespace

bool jpegCanHoldXmp(const std::vector<std::uint8_t>& xmp) {
  const std::string_view packet(reinterpret_cast<const char*>(xmp.data()), xmp.size());
  if (kStandardSignature.size() + packet.size() <= kJpegMaxPayload) return true;
  const std::size_t extended = extendedText(packet).size();
  return extended != 0 && extended <= 0xffffffffu;
}

std::vector<std::string> jpegXmpPayloads(const std::vector<std::uint8_t>& xmp) {
  const std::string_view packet(reinterpret_cast<const char*>(xmp.data()), xmp.size());
  if (kStandardSignature.size() + packet.size() <= kJpegMaxPayload) {
    return {std::string(kStandardSignature).append(packet)};
  }
  const std::string extended = extendedText(packet);
  // The extended part's length field has 32 bits.
  if (extended.empty() || extended.size() > 0xffffffffu) return {};
  const std::string guid = upperMd5(extended);
  std::vector<std::string> payloads;
  payloads.push_back(
      std::string(kStandardSignature)
          .append(R"(<?xpacket begin=")"
                  "\xEF\xBB\xBF"
                  R"(" id="W5M0MpCehiHzreSzNTczkc9d"?>)"
                  R"(<x:xmpmeta xmlns:x="adobe:ns:meta/">)"
                  R"(<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">)"
                  R"(<rdf:Description rdf:about="")"
                  R"( xmlns:xmpNote="http://ns.adobe.com/xmp/note/")"
                  R"( xmpNote:HasExtendedXMP=")")
          .append(guid)
          .append(R"("/></rdf:RDF></x:xmpmeta><?xpacket end="w"?>)"));
  for (std::size_t offset = 0; offset < extended.size(); offset += kExtendedPart) {
    std::string payload(kExtendedSignature);
    payload += guid;
    appendBigEndian32(payload, extended.size());
    appendBigEndian32(payload, offset);
    payload.append(extended, offset, kExtendedPart);
    payloads.push_back(std::move(payload));
  }
  return payloads;
}

}  // namespace quorvane::codec::detail
