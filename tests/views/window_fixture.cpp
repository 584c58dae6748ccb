#include "window_fixture.h"

#include <QSignalSpy>
#include <QTest>
#include <fstream>

#include "codec/image_codec.h"
#include "services/settings_store.h"

namespace quorvane::test {

namespace fs = std::filesystem;

bool WindowFixture::setUp() {
  dir = std::make_unique<QTemporaryDir>();
  files = fs::path(dir->path().toStdString()) / "files";
  fs::create_directories(files);
  auto store = core::settingsStoreAt(dir->filePath("q.conf"));
  converter = std::make_unique<FakeConverter>();
  vm = std::make_unique<core::ConversionViewModel>(
      std::make_unique<core::SettingsPersistence>(store),
      std::make_unique<core::BookmarkService>(store), desktop, converter.get());
  vm->setParallelLimit(1);
  view = std::make_unique<gui::ContentView>(*vm);
  view->resize(700, 600);
  view->show();
  view->activateWindow();
  return QTest::qWaitForWindowActive(view.get());
}

void WindowFixture::tearDown() {
  openGate();
  view.reset();
  vm.reset();
  converter.reset();
  dir.reset();
}

bool WindowFixture::add(const std::vector<fs::path>& locations) {
  vm->addFiles(locations);
  return QTest::qWaitFor([this] { return !vm->isAddingFiles(); }, 10000);
}

bool WindowFixture::runToEnd() {
  QSignalSpy finished(vm.get(), &core::ConversionViewModel::conversionFinished);
  vm->startConversion();
  return finished.wait(10000);
}

void writeImage(const fs::path& path, int width, int height) {
  fs::create_directories(path.parent_path());
  codec::RgbaImage pixels(width, height);
  std::fill(pixels.data(), pixels.data() + pixels.byteSize(), 180);
  if (!codec::writePng(pixels, path)) throw std::runtime_error("cannot write " + path.native());
}

void writeBytes(const fs::path& path, std::size_t bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
}

}  // namespace quorvane::test
