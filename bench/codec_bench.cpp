// Header read vs full decode for a 24 MP JPEG, plus the other steps a HEIC
// or JPEG conversion takes (resize, TGA and HEIC writers). The input is made
// once per run in a temporary folder: the sample photo resized to 6000x4000
// through the codec, written as TGA and encoded by Debian's cjpeg.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"

extern char** environ;

namespace {

namespace codec = quorvane::codec;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

std::filesystem::path g_dir;
std::filesystem::path g_jpeg;

bool runCjpeg(const std::filesystem::path& tga, const std::filesystem::path& jpeg) {
  std::string program = "/usr/bin/cjpeg";
  std::string a1 = "-targa", a2 = "-quality", a3 = "90", a4 = "-outfile";
  std::string out = jpeg.string(), in = tga.string();
  char* argv[] = {program.data(), a1.data(),  a2.data(), a3.data(),
                  a4.data(),      out.data(), in.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool makeInput() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return false;
  g_dir = pattern;
  const auto sample =
      std::filesystem::path(QUORVANE_SAMPLES_DIR) / "seeding_by_Clements_Engelhardt.jpg";
  auto photo = codec::decode(sample);
  if (!photo) {
    std::fprintf(stderr, "cannot decode %s: %s\n", sample.c_str(), photo.error().detail.c_str());
    return false;
  }
  auto big = codec::resize(photo.value(), kWidth, kHeight);
  if (!big || !codec::writeTga(big.value(), g_dir / "big.tga")) return false;
  g_jpeg = g_dir / "big.jpg";
  const bool ok = runCjpeg(g_dir / "big.tga", g_jpeg);
  std::filesystem::remove(g_dir / "big.tga");
  return ok;
}

void BM_CodecReadHeader24MP(benchmark::State& state) {
  for (auto _ : state) {
    auto header = codec::readHeader(g_jpeg);
    if (!header) state.SkipWithError("readHeader failed");
    benchmark::DoNotOptimize(header);
  }
}
BENCHMARK(BM_CodecReadHeader24MP)->Unit(benchmark::kMicrosecond);

void BM_CodecDecode24MP(benchmark::State& state) {
  for (auto _ : state) {
    auto image = codec::decode(g_jpeg);
    if (!image) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.value().data());
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_CodecDecode24MP)->Unit(benchmark::kMillisecond);

void BM_CodecResize24MPTo1600(benchmark::State& state) {
  auto image = codec::decode(g_jpeg);
  if (!image) {
    state.SkipWithError("decode failed");
    return;
  }
  for (auto _ : state) {
    auto small = codec::resize(image.value(), 1600, 1067);
    benchmark::DoNotOptimize(small.value().data());
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_CodecResize24MPTo1600)->Unit(benchmark::kMillisecond);

void BM_CodecWriteTga24MP(benchmark::State& state) {
  auto image = codec::decode(g_jpeg);
  if (!image) {
    state.SkipWithError("decode failed");
    return;
  }
  for (auto _ : state) {
    if (!codec::writeTga(image.value(), g_dir / "out.tga")) state.SkipWithError("write failed");
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_CodecWriteTga24MP)->Unit(benchmark::kMillisecond);

void BM_CodecWriteHeic1600(benchmark::State& state) {
  auto image = codec::decode(g_jpeg);
  auto small = image ? codec::resize(image.value(), 1600, 1067) : image.error();
  if (!small) {
    state.SkipWithError("decode or resize failed");
    return;
  }
  for (auto _ : state) {
    if (!codec::writeHeic(small.value(), g_dir / "out.heic", 0.8)) {
      state.SkipWithError("write failed");
    }
  }
}
BENCHMARK(BM_CodecWriteHeic1600)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  codec::LibvipsRuntime runtime(argv[0]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (!makeInput()) {
    std::fprintf(stderr, "could not make the 24 MP input\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(g_dir, ignored);
  return 0;
}
