// The metric's speed on a 12 MP photo pair: the sunset sample decoded, and a
// copy with its channels cut to 5 bits (banding, as a harsh encoder leaves).
// Without the sample, a synthetic photo-like pair of the same size.
//
//   metric_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "metric/quorvane_metric.h"
#include "metric/reference/reference_ssimulacra2.h"
#include "simd/simd_targets.h"

namespace {

using namespace quorvane;

struct Pair {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> reference;
  std::vector<std::uint8_t> distorted;
};

Pair makePair() {
  Pair pair;
  const std::filesystem::path photo =
      std::filesystem::path(QUORVANE_SAMPLES_DIR) / "sunset_by_Aitzol_Berasategi.jpg";
  if (auto image = codec::decode(photo)) {
    pair.width = static_cast<std::uint32_t>(image.value().width());
    pair.height = static_cast<std::uint32_t>(image.value().height());
    pair.reference.assign(image.value().data(), image.value().data() + image.value().byteSize());
  } else {
    std::fprintf(stderr, "metric_bench: no sample photo, using a synthetic one\n");
    pair.width = 4272;
    pair.height = 2848;
    pair.reference.resize(std::size_t{pair.width} * pair.height * 4);
    for (std::uint32_t y = 0; y < pair.height; ++y) {
      for (std::uint32_t x = 0; x < pair.width; ++x) {
        std::uint8_t* p = &pair.reference[(std::size_t{y} * pair.width + x) * 4];
        p[0] = static_cast<std::uint8_t>(128 + 100 * std::sin(x / 37.0) + (x * y) % 13);
        p[1] = static_cast<std::uint8_t>(120 + 90 * std::cos(y / 53.0) + (x + y) % 7);
        p[2] = static_cast<std::uint8_t>((x / 97 + y / 61) % 2 ? 200 : 60);
        p[3] = 255;
      }
    }
  }
  pair.distorted = pair.reference;
  for (std::size_t i = 0; i < pair.distorted.size(); ++i) {
    if (i % 4 != 3) pair.distorted[i] = static_cast<std::uint8_t>(pair.distorted[i] & 0xF8);
  }
  return pair;
}

const Pair& pair() {
  static const Pair shared = makePair();
  return shared;
}

void run(benchmark::State& state, std::uint32_t threads) {
  const Pair& p = pair();
  quorvane_metric_options options{threads, nullptr, nullptr, nullptr};
  double score = 0;
  for (auto _ : state) {
    quorvane_ssimulacra2_rgba(p.reference.data(), p.width * 4, p.distorted.data(), p.width * 4,
                              p.width, p.height, &options, &score);
    benchmark::DoNotOptimize(score);
  }
  state.SetItemsProcessed(state.iterations() * p.width * p.height);
  state.counters["score"] = score;
}

void BM_MetricOneThread(benchmark::State& state) {
  run(state, 1);
}
void BM_MetricAllThreads(benchmark::State& state) {
  run(state, std::max(1u, std::thread::hardware_concurrency()));
}
void BM_MetricWithMap(benchmark::State& state) {
  const Pair& p = pair();
  std::vector<float> map(std::size_t{p.width} * p.height);
  quorvane_metric_options options{1, map.data(), nullptr, nullptr};
  double score = 0;
  for (auto _ : state) {
    quorvane_ssimulacra2_rgba(p.reference.data(), p.width * 4, p.distorted.data(), p.width * 4,
                              p.width, p.height, &options, &score);
    benchmark::DoNotOptimize(map.data());
  }
  state.SetItemsProcessed(state.iterations() * p.width * p.height);
}
void BM_MetricOracle(benchmark::State& state) {
  const Pair& p = pair();
  double score = 0;
  for (auto _ : state) {
    score = metric::reference::ssimulacra2Rgba(p.reference.data(), p.distorted.data(), p.width,
                                               p.height, 0);
    benchmark::DoNotOptimize(score);
  }
  state.SetItemsProcessed(state.iterations() * p.width * p.height);
  state.counters["score"] = score;
}

BENCHMARK(BM_MetricOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MetricAllThreads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MetricWithMap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MetricOracle)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  codec::LibvipsRuntime vips(argv[0]);
  for (const simd::SimdTarget& target : simd::availableSimdTargets()) {
    const std::int64_t id = target.id;
    benchmark::RegisterBenchmark(("BM_MetricOneThread/" + target.name).c_str(),
                                 [id](benchmark::State& state) {
                                   simd::ScopedSimdTarget pin(id);
                                   run(state, 1);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
