// End-to-end conversion of a 12 MP photo to each format, against the bare
// encoder on the same input with the same command line (started the same
// way, through runProcess, so process start-up counts on both sides), and
// the peak memory of converting a 24 MP PNG.
//
// The bare side of each pair:
//   WebP, AVIF  the tool on the photo itself (the converter hands it over
//               directly, as the photo is plain 8-bit sRGB, upright);
//   JPEG        cjpeg on a TGA of the photo made beforehand (cjpeg cannot
//               read JPEG, so decoding and the TGA are the converter's cost);
//   PNG         oxipng on the quantised PNG the converter wrote (the
//               quantiser is the converter's cost);
//   HEIC        codec::writeHeic on pixels decoded beforehand (the encoder
//               runs in process; decoding is the converter's cost).
//
// Peak memory runs each conversion in a fresh copy of this program
// (--peak-child) and reports its VmHWM (this process only) and the largest
// resident size of it and the tools it ran. Not measured from here: a child
// started from this process inherits its high-water mark through exec.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "services/cancellation_token.h"
#include "services/image_converter.h"
#include "services/process_runner.h"
#include "services/roads/road_support.h"
#include "services/run_conversion.h"
#include "services/tool_manager.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace quorvane;
using core::OutputFormat;

constexpr int kQuality = 80;  // the settings' default

const fs::path& photo12Mp() {
  static const fs::path path = fs::path(QUORVANE_SAMPLES_DIR) / "sunset_by_Aitzol_Berasategi.jpg";
  return path;
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "engine_bench: error: %s\n", what.c_str());
  std::exit(1);
}

// Scratch folder for inputs made at run time, alive for the whole run.
const fs::path& scratch() {
  static QTemporaryDir dir;
  static const fs::path path = dir.path().toStdString();
  return path;
}

codec::RgbaImage decodeOrDie(const fs::path& path) {
  auto decoded = codec::decode(path);
  if (!decoded) fail(decoded.error().detail);
  return std::move(decoded).value();
}

// 24 MP: the 12 MP photo enlarged by sqrt(2) on each side, as PNG.
const fs::path& png24Mp() {
  static const fs::path path = [] {
    const codec::RgbaImage photo = decodeOrDie(photo12Mp());
    const auto big = codec::resize(photo, static_cast<int>(photo.width() * 1.41421356),
                                   static_cast<int>(photo.height() * 1.41421356));
    if (!big) fail(big.error().detail);
    const fs::path png = scratch() / "photo-24mp.png";
    if (!codec::writePng(big.value(), png)) fail("write 24 MP PNG");
    return png;
  }();
  return path;
}

core::ConversionJob jobFor(const fs::path& input, const fs::path& outputDirectory,
                           OutputFormat format) {
  core::ConversionJob job;
  job.input = input;
  job.outputDirectory = outputDirectory;
  job.settings.format = format;
  job.settings.quality = kQuality;
  job.settings.options.ifLarger = core::IfLarger::Write;  // every road's own output
  return job;
}

void BM_EngineConvert(benchmark::State& state) {
  const auto format = static_cast<OutputFormat>(state.range(0));
  const core::ImageConverter converter;
  const core::CancellationToken token;
  QTemporaryDir out;
  const fs::path outDir = out.path().toStdString();
  std::uintmax_t bytes = 0;
  for (auto _ : state) {
    const fs::path written =
        core::runConversion(converter, jobFor(photo12Mp(), outDir, format), token, {}).output;
    state.PauseTiming();
    bytes = fs::file_size(written);
    fs::remove(written);
    state.ResumeTiming();
  }
  state.counters["out_kB"] = static_cast<double>(bytes) / 1024;
  state.SetLabel(core::rawValue(format).toStdString());
}

void BM_EngineBareTool(benchmark::State& state) {
  const auto format = static_cast<OutputFormat>(state.range(0));
  const auto tools = core::ToolManager::forApplication();
  const core::CancellationToken token;
  QTemporaryDir out;
  const fs::path outDir = out.path().toStdString();
  const fs::path input = photo12Mp();
  const std::string q = std::to_string(kQuality);

  // Inputs the bare tools need, made outside the timed loop.
  const fs::path tga = outDir / "photo.tga";
  const fs::path quantised = outDir / "quantised.png";
  codec::RgbaImage pixels;
  if (format == OutputFormat::Jpeg) {
    if (!codec::writeTga(decodeOrDie(input), tga)) fail("write TGA");
  } else if (format == OutputFormat::Png) {
    const fs::path made =
        core::runConversion(core::ImageConverter(), jobFor(input, outDir, format), token, {})
            .output;
    fs::rename(made, quantised);
  } else if (format == OutputFormat::Heic) {
    pixels = decodeOrDie(input);
  }

  std::uintmax_t bytes = 0;
  for (auto _ : state) {
    const fs::path output = outDir / "bare.out";
    switch (format) {
      case OutputFormat::Webp:
        core::runProcess(tools.toolPath(QStringLiteral("cwebp")),
                         {"-q", q, "-m", "6", input.native(), "-o", output.native()}, token);
        break;
      case OutputFormat::Avif: {
        const std::string aq = std::to_string(core::avifQuantizer(kQuality));
        core::runProcess(
            tools.toolPath(QStringLiteral("avifenc")),
            {"--min", aq, "--max", aq, "--speed", "4", input.native(), output.native()}, token);
        break;
      }
      case OutputFormat::Jpeg: {
        const std::string jpeg =
            core::runProcess(tools.toolPath(QStringLiteral("cjpeg")),
                             {"-quality", q, "-optimize", "-progressive", "-targa", tga.native()},
                             token, {.captureStdout = true});
        std::ofstream(output, std::ios::binary).write(jpeg.data(), std::streamsize(jpeg.size()));
        break;
      }
      case OutputFormat::Png:
        state.PauseTiming();
        fs::copy_file(quantised, output, fs::copy_options::overwrite_existing);
        state.ResumeTiming();
        core::runProcess(tools.toolPath(QStringLiteral("oxipng")),
                         {"-o", "4", "--strip", "safe", output.native()}, token);
        break;
      case OutputFormat::Heic:
        if (!codec::writeHeic(pixels, output, kQuality / 100.0)) fail("write HEIC");
        break;
      case OutputFormat::Jxl: {
        // From the photo's pixels, not its JPEG coefficients.
        char distance[16];
        std::snprintf(distance, sizeof distance, "%.3f", core::jxlDistance(kQuality));
        core::runProcess(tools.toolPath(QStringLiteral("cjxl")),
                         {input.native(), output.native(), "--lossless_jpeg=0", "-d", distance,
                          "-e", "7", "--quiet", "--num_threads=0"},
                         token);
        break;
      }
    }
    state.PauseTiming();
    bytes = fs::file_size(output);
    fs::remove(output);
    state.ResumeTiming();
  }
  state.counters["out_kB"] = static_cast<double>(bytes) / 1024;
  state.SetLabel(core::rawValue(format).toStdString());
}

// What the direct roads do before starting the tool: read the header and
// check that the JPEG's scan data is complete.
void BM_EngineDirectInputChecks(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(codec::readHeader(photo12Mp()).ok());
    benchmark::DoNotOptimize(codec::verifyComplete(photo12Mp()));
  }
}
BENCHMARK(BM_EngineDirectInputChecks)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

long vmHwmKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// The --peak-child mode: one conversion, then this process's VmHWM in kB
// and the largest ru_maxrss of the tools it ran into `report`.
int peakChild(const std::string& format, const fs::path& input, const fs::path& outputDirectory,
              const fs::path& report) {
  const auto parsed = core::outputFormatFromRawValue(QString::fromStdString(format));
  if (!parsed) return 2;
  const core::CancellationToken token;
  const core::ConversionOutcome outcome = core::runConversion(
      core::ImageConverter(), jobFor(input, outputDirectory, *parsed), token, {});
  if (outcome.kind != core::ConversionOutcome::Kind::Completed) {
    std::fprintf(stderr, "engine_bench: error: %s\n", outcome.message.toUtf8().constData());
    return 1;
  }
  // ru_maxrss of the tools as this process reaps them; a tool starts from
  // this process's peak at spawn time (exec keeps the high-water mark), so
  // the figure is the largest of this process and its tools, never a sum.
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  std::ofstream(report) << vmHwmKb() << " " << children.ru_maxrss << "\n";
  return 0;
}

void BM_EnginePeakMemory24Mp(benchmark::State& state) {
  const auto format = static_cast<OutputFormat>(state.range(0));
  const fs::path input = png24Mp();
  QTemporaryDir out;
  const fs::path outDir = out.path().toStdString();
  const fs::path report = outDir / "vmhwm.txt";
  const std::string self = fs::read_symlink("/proc/self/exe").native();
  const std::string raw = core::rawValue(format).toStdString();
  long ownKb = 0, withToolsKb = 0;
  for (auto _ : state) {
    std::vector<std::string> args = {self,           "--peak-child",  raw,
                                     input.native(), outDir.native(), report.native()};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
      fail("spawn");
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      fail("peak-memory child failed for " + raw);
    }
    long toolsKb = 0;
    std::ifstream(report) >> ownKb >> toolsKb;
    withToolsKb = std::max(ownKb, toolsKb);
    state.PauseTiming();
    for (const auto& entry : fs::directory_iterator(outDir)) fs::remove(entry.path());
    state.ResumeTiming();
  }
  state.counters["vmhwm_MB"] = static_cast<double>(ownKb) / 1024;
  state.counters["maxrss_incl_tools_MB"] = static_cast<double>(withToolsKb) / 1024;
  state.SetLabel(raw);
}

void allFormats(benchmark::internal::Benchmark* b) {
  for (const OutputFormat format : core::kAllOutputFormats) b->Arg(static_cast<int>(format));
}

// Single runs take seconds (AVIF tens of seconds), so few iterations; the
// repetitions show the spread.
BENCHMARK(BM_EngineConvert)
    ->Apply(allFormats)
    ->Iterations(1)
    ->Repetitions(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_EngineBareTool)
    ->Apply(allFormats)
    ->Iterations(1)
    ->Repetitions(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_EnginePeakMemory24Mp)
    ->Apply(allFormats)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  if (argc == 6 && std::string(argv[1]) == "--peak-child") {
    return peakChild(argv[2], argv[3], argv[4], argv[5]);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
