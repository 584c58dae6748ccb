// libFuzzer target for the ledger's reader. Input: the bytes of a ledger
// file, as a crash, a hand edit or another program may leave it. Every line
// read must be one the writer would write, and read back as it was; the
// first line alone is also tried as a line without the header.
//
// Built with clang only; seeds in tests/services/fuzz/ledger_corpus:
//   build-fuzz/bin/ledger_line_fuzz -max_total_time=30 CORPUS tests/services/fuzz/ledger_corpus
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "services/ledger_line.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// What was read writes as one line and reads back the same.
void checkRoundTrip(const quorvane::core::LedgerLine& line) {
  check(!line.input.empty() && line.input.find('\0') == std::string::npos);
  check(!line.output.empty() && line.output.size() <= 255 &&
        line.output.find('/') == std::string::npos && line.output != "." && line.output != "..");
  check(line.inputSize >= 0 && line.outputSize >= 0);
  std::string text;
  quorvane::core::appendLedgerLine(text, line);
  check(!text.empty() && text.back() == '\n');
  text.pop_back();
  check(text.find('\n') == std::string::npos);
  check(quorvane::core::parseLedgerLine(text) == line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto whole = quorvane::core::parseLedgerText(bytes);
  for (const auto& line : whole.lines) checkRoundTrip(line);
  check(!whole.foreign || whole.lines.empty());
  if (const auto line = quorvane::core::parseLedgerLine(bytes.substr(0, bytes.find('\n')))) {
    checkRoundTrip(*line);
  }
  return 0;
}
