// Rendering a full-size HDR photo for SDR: the sample photo is graded into
// BT.2020 PQ and HLG (SDR white at 203 cd/m²) as 16-bit PNGs, encoded by
// Debian's avifenc at 10 bits with those code points, then each benchmark
// decodes one of them the way a conversion does. The mean CIEDE2000 of the
// rendering against the photo (the SDR grade) is printed once per input.
#include <benchmark/benchmark.h>
#include <png.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/colour_difference.h"
#include "codec/hdr_tone_map.h"
#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"

extern char** environ;

namespace {

namespace codec = quorvane::codec;
namespace fs = std::filesystem;

fs::path g_dir;
fs::path g_inputs[2];  // PQ, HLG
int g_pixels = 0;

bool run(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool writePng16(const fs::path& path, int width, int height, std::vector<std::uint16_t>& rgb) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, width, height, 16, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_swap(png);  // our samples are little-endian in memory
  for (int y = 0; y < height; ++y) {
    png_write_row(png, reinterpret_cast<png_bytep>(rgb.data() + std::size_t(y) * width * 3));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

double hlgOetf(double e) {
  const double a = 0.17883277, b = 1 - 4 * a, c = 0.5 - a * std::log(4 * a);
  return e <= 1.0 / 12 ? std::sqrt(3 * e) : a * std::log(12 * e - b) + c;
}

// The photo's pixels as display light in BT.2020, encoded with PQ or HLG.
std::vector<std::uint16_t> graded(const codec::RgbaImage& photo, bool hlg) {
  // BT.2087: linear BT.709 to BT.2020.
  constexpr double kTo2020[3][3] = {
      {0.6274, 0.3293, 0.0433}, {0.0691, 0.9195, 0.0114}, {0.0164, 0.0880, 0.8956}};
  double linear[256];
  for (int v = 0; v < 256; ++v) {
    const double e = v / 255.0;
    linear[v] = e <= 0.04045 ? e / 12.92 : std::pow((e + 0.055) / 1.055, 2.4);
  }
  std::vector<std::uint16_t> out(std::size_t(photo.width()) * photo.height() * 3);
  const std::uint8_t* p = photo.data();
  for (std::size_t i = 0; i < out.size(); i += 3, p += 4) {
    double light[3];
    for (int r = 0; r < 3; ++r) {
      light[r] =
          codec::kSdrReferenceWhite * (kTo2020[r][0] * linear[p[0]] + kTo2020[r][1] * linear[p[1]] +
                                       kTo2020[r][2] * linear[p[2]]);
    }
    double signal[3];
    if (hlg) {
      const double yd = 0.2627 * light[0] + 0.6780 * light[1] + 0.0593 * light[2];
      const double ys = std::pow(yd / codec::kHlgNominalPeak, 1 / 1.2);
      for (int c = 0; c < 3; ++c) {
        signal[c] =
            ys > 0 ? hlgOetf(std::min(1.0, light[c] / codec::kHlgNominalPeak / std::pow(ys, 0.2)))
                   : 0.0;
      }
    } else {
      for (int c = 0; c < 3; ++c) signal[c] = codec::lightToPq(light[c]);
    }
    for (int c = 0; c < 3; ++c) out[i + c] = std::uint16_t(std::lround(signal[c] * 65535));
  }
  return out;
}

bool makeInputs() {
  std::string pattern = (fs::temp_directory_path() / "quorvane-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return false;
  g_dir = pattern;
  const fs::path sample = fs::path(QUORVANE_SAMPLES_DIR) / "seeding_by_Clements_Engelhardt.jpg";
  auto photo = codec::decode(sample);
  if (!photo) return false;
  g_pixels = photo.value().width() * photo.value().height();
  for (int hlg = 0; hlg < 2; ++hlg) {
    std::vector<std::uint16_t> signal = graded(photo.value(), hlg);
    const fs::path png = g_dir / (hlg ? "hlg.png" : "pq.png");
    if (!writePng16(png, photo.value().width(), photo.value().height(), signal)) return false;
    g_inputs[hlg] = g_dir / (hlg ? "hlg.avif" : "pq.avif");
    if (!run({"avifenc", "--depth", "10", "--cicp", hlg ? "9/18/9" : "9/16/9", "-r", "full", "-y",
              "444", "--min", "0", "--max", "8", "-s", "8", "--jobs", "2", png.string(),
              g_inputs[hlg].string()})) {
      return false;
    }
    fs::remove(png);
    auto rendered = codec::decode(g_inputs[hlg]);
    if (!rendered) return false;
    std::printf("%s %dx%d: mean CIEDE2000 %.2f against the SDR grade\n", hlg ? "HLG" : "PQ",
                photo.value().width(), photo.value().height(),
                codec::test::meanCiede2000(rendered.value(), photo.value()));
  }
  return true;
}

void decodeHdr(benchmark::State& state, int which) {
  for (auto _ : state) {
    auto image = codec::decode(g_inputs[which]);
    if (!image) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.value().data());
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t{g_pixels});
}

void BM_HdrDecodePqAvif(benchmark::State& state) {
  decodeHdr(state, 0);
}
BENCHMARK(BM_HdrDecodePqAvif)->Unit(benchmark::kMillisecond);

void BM_HdrDecodeHlgAvif(benchmark::State& state) {
  decodeHdr(state, 1);
}
BENCHMARK(BM_HdrDecodeHlgAvif)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  quorvane::codec::LibvipsRuntime vips(argv[0]);
  benchmark::Initialize(&argc, argv);
  if (!makeInputs()) {
    std::fprintf(stderr, "cannot make the HDR inputs in %s\n", g_dir.c_str());
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(g_dir, ignored);
  return 0;
}
