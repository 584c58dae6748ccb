// One line of a folder's record of earlier conversions (the ledger), and the
// text of a whole ledger file. The file is untrusted input: it may be torn by
// a crash, edited by hand or foreign, so every field is checked and a line
// that does not hold is dropped, never half read.
//
// A line is seven fields separated by tabs: input path, input size, input
// modification time (ns), hex SHA-256 of the input's bytes, hex settings
// fingerprint, output file name, output size. Paths and names are
// percent-encoded bytes, so a tab or a newline in a name cannot break a line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::core {

struct LedgerLine {
  std::string input;  // the input's path, as bytes
  std::int64_t inputSize = 0;
  std::int64_t inputModifiedNs = 0;
  std::array<std::uint8_t, 32> contentHash{};  // SHA-256 of the input's bytes
  std::uint64_t settings = 0;                  // the batch's settings fingerprint
  std::string output;                          // a file name in the ledger's folder, never a path
  std::int64_t outputSize = 0;

  bool operator==(const LedgerLine&) const = default;
};

inline constexpr std::string_view kLedgerHeader = "# quorvane ledger 1";

// One line, without its newline. Nothing when any field is missing, extra or
// malformed: sizes that are not decimal or do not fit, a hash or fingerprint
// that is not hex of its length, a bad percent escape, an empty input path or
// one holding a NUL byte, an output that is not one file name (empty, ".",
// "..", a slash or a NUL in it, longer than 255 bytes). Safe on any bytes.
std::optional<LedgerLine> parseLedgerLine(std::string_view line);

// Appends `line` and its newline to `text`, as parseLedgerLine reads it.
void appendLedgerLine(std::string& text, const LedgerLine& line);

// What a whole ledger file holds.
struct LedgerText {
  std::vector<LedgerLine> lines;
  std::size_t malformedLines = 0;  // dropped (a torn last line counts too)
  bool foreign = false;            // not empty, and not starting with our header
};
// One pass over `text`, the file's bytes; a foreign text gives no lines.
LedgerText parseLedgerText(std::string_view text);

// Fixed-size hex: exactly 2 * N hex digits (either case); nothing otherwise.
std::optional<std::array<std::uint8_t, 32>> parseContentHash(std::string_view hex);
std::optional<std::uint64_t> parseSettingsFingerprint(std::string_view hex);

}  // namespace quorvane::core
