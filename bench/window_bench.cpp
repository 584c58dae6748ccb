// The window's figures: time from process start to the first painted
// window, time to add 10,000 files and to scroll through them, and memory
// per listed item. Runs on any Qt platform (offscreen or a real display).
//
//   window_bench [COUNT]
#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/check_for_updates_view_model.h"
#include "app/quorvane_app.h"
#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "services/settings_store.h"
#include "views/content_view.h"
#include "views/file_list_view.h"

namespace fs = std::filesystem;
using namespace quorvane;

namespace {

double secondsSinceBoot() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

// When this process started, in seconds since boot (/proc/self/stat).
double processStart() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 22; ++i) fields >> field;
  return std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long residentBytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && when == 0) when = secondsSinceBoot();
    return false;
  }
  double when = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  QTemporaryDir work;
  auto store = core::settingsStoreAt(work.filePath(QStringLiteral("q.conf")));
  core::NoDesktopIntegration desktop;
  core::ConversionViewModel controller(std::make_unique<core::SettingsPersistence>(store),
                                       std::make_unique<core::BookmarkService>(store), desktop);
  gui::CheckForUpdatesViewModel updates{QUrl()};
  gui::MainWindow window(controller, updates, store);
  FirstPaint firstPaint;
  window.installEventFilter(&firstPaint);
  window.show();
  while (firstPaint.when == 0) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  std::printf("start to first painted window: %.0f ms\n", (firstPaint.when - processStart()) * 1000);

  // Small real images in folders of 500, as a photo library export would be.
  const fs::path folder = fs::path(work.path().toStdString()) / "library";
  codec::RgbaImage pixels(48, 32);
  for (std::size_t i = 0; i < pixels.byteSize(); ++i) pixels.data()[i] = static_cast<std::uint8_t>(i * 13);
  for (int i = 0; i < count; ++i) {
    const fs::path sub = folder / ("roll " + std::to_string(i / 500));
    fs::create_directories(sub);
    if (!codec::writePng(pixels, sub / ("IMG_" + std::to_string(10000 + i) + ".png"))) return 1;
  }

  const long before = residentBytes();
  QElapsedTimer timer;
  timer.start();
  controller.addFiles({folder});
  window.repaint();
  QApplication::processEvents();
  const qint64 addMs = timer.elapsed();
  const long after = residentBytes();
  std::printf("add %zu files (walk, measure, list, paint): %lld ms\n", controller.items().size(),
              static_cast<long long>(addMs));
  std::printf("memory: %.0f bytes per listed item (%.1f MB in all)\n",
              static_cast<double>(after - before) / count, (after - before) / 1e6);

  gui::FileListView* list = window.content()->fileList();
  QScrollBar* bar = list->verticalScrollBar();
  int pages = 0;
  double slowestMs = 0;
  timer.restart();
  for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
    QElapsedTimer page;
    page.start();
    bar->setValue(value);
    list->viewport()->repaint();
    slowestMs = std::max(slowestMs, page.nsecsElapsed() / 1e6);
    ++pages;
  }
  std::printf("scroll through %d pages: %lld ms (%.2f ms a page, slowest %.2f ms)\n", pages,
              static_cast<long long>(timer.elapsed()), timer.elapsed() / static_cast<double>(pages),
              slowestMs);
  return 0;
}
