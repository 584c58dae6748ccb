// The record of earlier conversions for a large photo library: one batch
// reads a folder's ledger of N lines, looks one image up, records it and
// saves the ledger (its line appended and flushed; or, now and then, the
// file rewritten whole: merged, outputs checked, written and flushed), and
// the line parser alone on the same text. Every line's output exists,
// as in a folder converted over the years: the set-up makes N empty files.
//
//   conversion_ledger_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "services/conversion_ledger.h"
#include "services/ledger_line.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvane::core;

std::string outputName(std::int64_t i) {
  std::string name("IMG_");
  name += std::to_string(1000000 + i);
  name += ".webp";
  return name;
}

// A ledger of `lines` lines, as a photo library writes it.
std::string ledgerText(std::int64_t lines) {
  std::string text(kLedgerHeader);
  text += '\n';
  for (std::int64_t i = 0; i < lines; ++i) {
    LedgerLine line;
    line.input = "/home/someone/Pictures/";
    line.input += std::to_string(2000 + i / 50000);
    line.input += "/holiday ";
    line.input += std::to_string(i / 500);
    line.input += "/DSC_";
    line.input += std::to_string(i);
    line.input += ".JPG";
    line.inputSize = 4'000'000 + i;
    line.inputModifiedNs = 1'600'000'000'000'000'000 + i;
    for (std::size_t b = 0; b < line.contentHash.size(); ++b) {
      line.contentHash[b] = static_cast<std::uint8_t>((i >> (8 * (b % 4))) * 31 + b * 7);
    }
    line.settings = 0x3a5f00c2d41e6b97ull;
    line.output = outputName(i);
    line.outputSize = 900'000 + i;
    appendLedgerLine(text, line);
  }
  return text;
}

// One folder per size, made once: its ledger and every line's output.
struct Library {
  QTemporaryDir dir;
  fs::path folder;
  std::string text;
};
Library& library(std::int64_t lines) {
  static std::map<std::int64_t, std::unique_ptr<Library>> made;
  auto& slot = made[lines];
  if (!slot) {
    slot = std::make_unique<Library>();
    slot->folder = slot->dir.path().toStdString();
    for (std::int64_t i = 0; i < lines; ++i) {
      ::close(::open((slot->folder / outputName(i)).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    }
    slot->text = ledgerText(lines);
  }
  return *slot;
}

// `rewrite`: the file ends in a torn line, so the save rewrites it whole
// (what a long ledger gets now and then) instead of appending the batch's.
void loadAndSave(benchmark::State& state, bool rewrite) {
  Library& made = library(state.range(0));
  const QByteArray settings = "3a5f00c2d41e6b97";
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(made.folder / ConversionLedger::kFileName, std::ios::binary)
        << made.text << (rewrite ? "torn" : "");
    state.ResumeTiming();
    ConversionLedger ledger;
    benchmark::DoNotOptimize(ledger.find(made.folder, QByteArray(64, 'e'), settings));
    ledger.record(made.folder,
                  {"/home/someone/new.jpg", 1, 2, QByteArray(64, 'e'), settings, outputName(0), 0});
    const QStringList warnings = ledger.save();
    if (warnings.size() != (rewrite ? 1 : 0)) state.SkipWithError("unexpected warnings");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(made.text.size()));
}

void BM_ConversionLedgerLoadAndSave(benchmark::State& state) {
  loadAndSave(state, false);
}
void BM_ConversionLedgerLoadAndRewrite(benchmark::State& state) {
  loadAndSave(state, true);
}
BENCHMARK(BM_ConversionLedgerLoadAndSave)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ConversionLedgerLoadAndRewrite)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ParseLedgerText(benchmark::State& state) {
  const std::string text = ledgerText(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(parseLedgerText(text));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseLedgerText)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
