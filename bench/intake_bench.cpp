// Adding a folder of many small images: the folder walk, one stat and one
// header read per file, and the items themselves.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <fstream>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "services/settings_store.h"
#include "viewmodels/conversion_view_model.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvane;

long residentBytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// A folder of `count` small PNGs in subfolders of 500, made once per size.
const fs::path& folderOf(int count) {
  static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
  static std::map<int, fs::path> paths;
  if (!paths.count(count)) {
    auto dir = std::make_unique<QTemporaryDir>();
    const fs::path root = dir->path().toStdString();
    codec::RgbaImage image(48, 32);
    for (std::size_t i = 0; i < image.byteSize(); ++i) image.data()[i] = static_cast<std::uint8_t>(i * 7);
    for (int i = 0; i < count; ++i) {
      const fs::path sub = root / ("batch" + std::to_string(i / 500));
      fs::create_directories(sub);
      if (!codec::writePng(image, sub / ("image " + std::to_string(i) + ".png"))) std::abort();
    }
    folders[count] = std::move(dir);
    paths[count] = root;
  }
  return paths[count];
}

void BM_IntakeAddFolder(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const fs::path& folder = folderOf(count);
  QTemporaryDir config;
  core::NoDesktopIntegration desktop;
  double bytesPerItem = 0;
  for (auto _ : state) {
    auto store = core::settingsStoreAt(config.filePath("q.conf"));
    core::ConversionViewModel controller(std::make_unique<core::SettingsPersistence>(store),
                                         std::make_unique<core::BookmarkService>(store), desktop);
    const long before = residentBytes();
    controller.addFiles({folder});
    const long after = residentBytes();
    if (controller.items().size() != static_cast<std::size_t>(count)) std::abort();
    bytesPerItem = static_cast<double>(after - before) / count;
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["bytes_per_item"] = bytesPerItem;
}
BENCHMARK(BM_IntakeAddFolder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
