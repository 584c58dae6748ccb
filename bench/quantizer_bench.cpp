// Quantiser benchmarks. Single-threaded but for BM_QuantizerWholeTwoThreads;
// inputs are built outside the timed loops. libimagequant threads through
// OpenMP: run with OMP_NUM_THREADS=1 for its single-thread time.
//
//   OMP_NUM_THREADS=1 build/bin/quantizer_bench [--benchmark_filter=...]
//
// Photos: the sample wallpapers decoded to RGBA with ImageMagick (`convert`) into
// $TMPDIR/quorvane-bench/ on first use, resized for the pixel-scaling runs.
// Counters: "px/s" throughput; "dE" mean Oklab distance of output to input.
#include <benchmark/benchmark.h>
#include <libimagequant.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "quantizer/kmeans.h"
#include "quantizer/oklab.h"
#include "quantizer/quorvane_quantize.h"
#include "quantizer/reference/reference_quantizer.h"
#include "quantizer/remap.h"
#include "quantizer/wu.h"
#include "simd/simd_targets.h"

namespace {

using namespace quorvane::quant;
using namespace quorvane::simd;
namespace fs = std::filesystem;

struct Photo {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgba;
  size_t pixels() const { return size_t{width} * height; }
};

// geometry: "" for the native size, else an ImageMagick geometry like "2448x1632!".
const Photo& loadPhoto(const std::string& name, const std::string& geometry) {
  static std::map<std::string, Photo> cache;
  const std::string key = name + "@" + geometry;
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  const char* tmp = std::getenv("TMPDIR");
  const fs::path dir = fs::path(tmp ? tmp : "/tmp") / "quorvane-bench";
  fs::create_directories(dir);
  std::string tag = geometry;
  for (char& c : tag) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  const fs::path raw = dir / (name + tag + ".rgba");
  const fs::path size = dir / (name + tag + ".size");
  const std::string source = std::string(QUORVANE_SAMPLES_DIR) + "/" + name + ".jpg";
  if (!fs::exists(raw) || !fs::exists(size)) {
    const std::string resize = geometry.empty() ? "" : " -resize '" + geometry + "'";
    const std::string cmd = "convert '" + source + "'" + resize + " -depth 8 rgba:'" +
                            raw.string() + "' && convert '" + source + "'" + resize +
                            " -format '%w %h' info: > '" + size.string() + "'";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("cannot decode " + source);
  }
  Photo photo;
  std::ifstream(size) >> photo.width >> photo.height;
  std::ifstream in(raw, std::ios::binary);
  photo.rgba.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (photo.rgba.size() != photo.pixels() * 4) throw std::runtime_error("bad decode " + key);
  return cache.emplace(key, std::move(photo)).first->second;
}

const Photo& photo12() {
  return loadPhoto("sunset_by_Aitzol_Berasategi", "");
}

std::vector<Oklab> toOklab(const Photo& p) {
  std::vector<Oklab> lab(p.pixels());
  srgbToOklab(p.rgba.data(), 4, p.pixels(), lab.data());
  return lab;
}

double meanOklabDistance(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  double sum = 0;
  const size_t n = a.size() / 4;
  for (size_t i = 0; i < n; ++i) {
    const Oklab x = reference::srgbToOklab(a[i * 4], a[i * 4 + 1], a[i * 4 + 2]);
    const Oklab y = reference::srgbToOklab(b[i * 4], b[i * 4 + 1], b[i * 4 + 2]);
    const double dl = x.l - y.l, da = x.a - y.a, db = x.b - y.b;
    sum += std::sqrt(dl * dl + da * da + db * db);
  }
  return sum / static_cast<double>(n);
}

void setPixels(benchmark::State& state, size_t pixels) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * pixels));
  state.counters["MP"] = static_cast<double>(pixels) / 1e6;
}

std::vector<Oklab> wuPalette(const std::vector<Oklab>& lab, uint16_t colours) {
  WuHistogram h;
  h.add(lab.data(), lab.size());
  h.makeCumulative();
  return h.paletteAndCubes(colours).colours;
}

// ---- stages, per target ----

void BM_QuantizerSrgbToOklab(benchmark::State& state) {
  const Photo& p = photo12();
  std::vector<Oklab> lab(p.pixels());
  for (auto _ : state) {
    srgbToOklab(p.rgba.data(), 4, p.pixels(), lab.data());
    benchmark::DoNotOptimize(lab.data());
  }
  setPixels(state, p.pixels());
}

void BM_QuantizerSrgbToOklabOracle(benchmark::State& state) {
  const Photo& p = photo12();
  std::vector<Oklab> lab(p.pixels());
  for (auto _ : state) {
    for (size_t i = 0; i < p.pixels(); ++i) {
      const uint8_t* px = &p.rgba[i * 4];
      lab[i] = reference::srgbToOklab(px[0], px[1], px[2]);
    }
    benchmark::DoNotOptimize(lab.data());
  }
  setPixels(state, p.pixels());
}

void BM_QuantizerWuHistogram(benchmark::State& state) {
  const auto lab = toOklab(photo12());
  for (auto _ : state) {
    WuHistogram h;
    h.add(lab.data(), lab.size());
    h.makeCumulative();
    benchmark::DoNotOptimize(&h);
  }
  setPixels(state, lab.size());
}

void BM_QuantizerWuSplit(benchmark::State& state) {
  const auto lab = toOklab(photo12());
  WuHistogram h;
  h.add(lab.data(), lab.size());
  h.makeCumulative();
  const auto colours = static_cast<uint16_t>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(h.paletteAndCubes(colours));
}

void BM_QuantizerKmeans(benchmark::State& state) {
  const auto lab = toOklab(photo12());
  const auto palette = wuPalette(lab, static_cast<uint16_t>(state.range(0)));
  for (auto _ : state) {
    NearestColorMap map(palette);
    refinePalette(map, lab.data(), lab.size());
    benchmark::DoNotOptimize(map.palette().data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kKmeansSampleCap);
}

void BM_QuantizerRemap(benchmark::State& state) {
  const Photo& p = photo12();
  const auto lab = toOklab(p);
  NearestColorMap map(wuPalette(lab, static_cast<uint16_t>(state.range(0))));
  refinePalette(map, lab.data(), lab.size());
  std::vector<uint8_t> rgb(map.size() * 3);
  oklabToSrgb(map.palette().data(), map.size(), rgb.data());
  std::vector<uint8_t> out = p.rgba;
  for (auto _ : state) {
    remapImage(lab.data(), p.width, p.height, map, rgb.data(), kDiffusionFactor, out.data(), 4);
    benchmark::DoNotOptimize(out.data());
  }
  setPixels(state, p.pixels());
}

// ---- whole call ----

void runWhole(benchmark::State& state, const Photo& p, uint32_t colours, uint32_t threads = 1) {
  std::vector<uint8_t> buffer;
  for (auto _ : state) {
    state.PauseTiming();
    buffer = p.rgba;
    state.ResumeTiming();
    if (quorvane_quantize_rgba_threads(buffer.data(), p.width, p.height, colours, threads, nullptr,
                                       nullptr) != 0) {
      state.SkipWithError("quantiser failed");
    }
    benchmark::DoNotOptimize(buffer.data());
  }
  setPixels(state, p.pixels());
  state.counters["dE"] = meanOklabDistance(p.rgba, buffer);
}

void runLibimagequant(benchmark::State& state, const Photo& p, int colours) {
  std::vector<uint8_t> indices(p.pixels());
  std::vector<uint8_t> buffer = p.rgba;
  for (auto _ : state) {
    liq_attr* attr = liq_attr_create();
    liq_set_max_colors(attr, colours);
    liq_image* image = liq_image_create_rgba(attr, p.rgba.data(), static_cast<int>(p.width),
                                             static_cast<int>(p.height), 0);
    liq_result* result = nullptr;
    if (liq_image_quantize(image, attr, &result) != LIQ_OK) {
      state.SkipWithError("libimagequant failed");
      break;
    }
    liq_write_remapped_image(result, image, indices.data(), indices.size());
    const liq_palette* palette = liq_get_palette(result);
    state.PauseTiming();
    for (size_t i = 0; i < p.pixels(); ++i) {
      const liq_color& c = palette->entries[indices[i]];
      buffer[i * 4] = c.r;
      buffer[i * 4 + 1] = c.g;
      buffer[i * 4 + 2] = c.b;
    }
    state.ResumeTiming();
    liq_result_destroy(result);
    liq_image_destroy(image);
    liq_attr_destroy(attr);
  }
  setPixels(state, p.pixels());
  state.counters["dE"] = meanOklabDistance(p.rgba, buffer);
}

void BM_QuantizerWhole(benchmark::State& state) {
  runWhole(state, photo12(), static_cast<uint32_t>(state.range(0)));
}

// The same call with the conversion and histogram on two threads.
void BM_QuantizerWholeTwoThreads(benchmark::State& state) {
  runWhole(state, photo12(), static_cast<uint32_t>(state.range(0)), 2);
}

void BM_QuantizerLibimagequant(benchmark::State& state) {
  runLibimagequant(state, photo12(), static_cast<int>(state.range(0)));
}

// Pixel scaling at 256 colours: 1, 4, 12 and 24 MP (the 12 MP photo resized).
std::string geometryFor(int64_t megapixels) {
  switch (megapixels) {
    case 1:
      return "1224x816!";
    case 4:
      return "2448x1632!";
    case 24:
      return "6000x4000!";
    default:
      return "";
  }
}

void BM_QuantizerWholeScaling(benchmark::State& state) {
  runWhole(state, loadPhoto("sunset_by_Aitzol_Berasategi", geometryFor(state.range(0))), 256);
}

void BM_QuantizerLibimagequantScaling(benchmark::State& state) {
  runLibimagequant(state, loadPhoto("sunset_by_Aitzol_Berasategi", geometryFor(state.range(0))),
                   256);
}

template <typename Fn>
void registerPerTarget(const char* name, Fn fn, std::vector<int64_t> args, int iterations) {
  for (const SimdTarget& target : availableSimdTargets()) {
    auto* b = benchmark::RegisterBenchmark((std::string(name) + "/" + target.name).c_str(),
                                           [fn, id = target.id](benchmark::State& state) {
                                             ScopedSimdTarget pin(id);
                                             fn(state);
                                           });
    for (int64_t a : args) b->Arg(a);
    b->Unit(benchmark::kMillisecond)->Iterations(iterations);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  registerPerTarget("BM_QuantizerSrgbToOklab", BM_QuantizerSrgbToOklab, {}, 5);
  benchmark::RegisterBenchmark("BM_QuantizerSrgbToOklabOracle", BM_QuantizerSrgbToOklabOracle)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3);
  registerPerTarget("BM_QuantizerWuHistogram", BM_QuantizerWuHistogram, {}, 5);
  benchmark::RegisterBenchmark("BM_QuantizerWuSplit", BM_QuantizerWuSplit)
      ->Arg(64)
      ->Arg(128)
      ->Arg(256)
      ->Unit(benchmark::kMillisecond);
  registerPerTarget("BM_QuantizerKmeans", BM_QuantizerKmeans, {64, 128, 256}, 5);
  registerPerTarget("BM_QuantizerRemap", BM_QuantizerRemap, {64, 128, 256}, 2);
  benchmark::RegisterBenchmark("BM_QuantizerWhole", BM_QuantizerWhole)
      ->Arg(64)
      ->Arg(128)
      ->Arg(256)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3);
  benchmark::RegisterBenchmark("BM_QuantizerWholeTwoThreads", BM_QuantizerWholeTwoThreads)
      ->Arg(256)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(3);
  benchmark::RegisterBenchmark("BM_QuantizerLibimagequant", BM_QuantizerLibimagequant)
      ->Arg(64)
      ->Arg(128)
      ->Arg(256)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(2);
  benchmark::RegisterBenchmark("BM_QuantizerWholeScaling", BM_QuantizerWholeScaling)
      ->Arg(1)
      ->Arg(4)
      ->Arg(12)
      ->Arg(24)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(2);
  benchmark::RegisterBenchmark("BM_QuantizerLibimagequantScaling", BM_QuantizerLibimagequantScaling)
      ->Arg(1)
      ->Arg(4)
      ->Arg(12)
      ->Arg(24)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
