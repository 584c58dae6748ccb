// The window's figures: time from process start to the first painted
// window; adding COUNT files (100,000 by default, in folders of 1,000) as a
// drop would: the longest time the GUI thread did not answer a call queued
// from another thread every 20 ms, the time until every row is listed, and
// memory per listed item; then scrolling through them. Runs on any Qt
// platform (offscreen or a real display).
//
//   window_bench [COUNT]
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

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
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
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
  std::printf("start to first painted window: %.0f ms\n",
              (firstPaint.when - processStart()) * 1000);

  // Small real images, nested in folders of 1,000, as a photo library
  // export would be; the same bytes each time (hard links, at most 10,000 to
  // one file), to save time.
  const fs::path folder = fs::path(work.path().toStdString()) / "library";
  const fs::path originals = fs::path(work.path().toStdString()) / "originals";
  fs::create_directories(originals);
  codec::RgbaImage pixels(48, 32);
  for (std::size_t i = 0; i < pixels.byteSize(); ++i)
    pixels.data()[i] = static_cast<std::uint8_t>(i * 13);
  for (int i = 0; i < count; ++i) {
    const std::string year = std::to_string(2000 + i / 10000);
    const fs::path original = originals / (year + ".png");
    if (i % 10000 == 0 && !codec::writePng(pixels, original)) return 1;
    const fs::path sub = folder / ("year " + year) / ("roll " + std::to_string(i / 1000));
    fs::create_directories(sub);
    fs::create_hard_link(original, sub / ("IMG_" + std::to_string(100000 + i) + ".png"));
  }

  // From outside the event loop: a call queued every 20 ms, and how late
  // the GUI thread runs it.
  std::atomic<bool> probing{true};
  std::atomic<qint64> worstLateness{0};
  std::thread prober([&] {
    while (probing) {
      QElapsedTimer queued;
      queued.start();
      std::atomic<bool> ran{false};
      QMetaObject::invokeMethod(
          &app,
          [&] {
            worstLateness = std::max<qint64>(worstLateness, queued.nsecsElapsed());
            ran = true;
          },
          Qt::QueuedConnection);
      while (!ran && probing) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      if (!ran) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });

  const long before = residentBytes();
  QElapsedTimer timer;
  timer.start();
  qint64 firstRowMs = -1;
  controller.addFiles({folder});
  while (controller.isAddingFiles()) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (firstRowMs < 0 && controller.hasItems()) firstRowMs = timer.elapsed();
  }
  window.repaint();
  QApplication::processEvents();
  const qint64 addMs = timer.elapsed();
  probing = false;
  QApplication::processEvents();
  prober.join();
  const long after = residentBytes();
  std::printf(
      "add %zu files (walk, measure, list, paint): first row after %lld ms, all after %lld ms\n",
      controller.items().size(), static_cast<long long>(firstRowMs), static_cast<long long>(addMs));
  std::printf("longest wait of a call queued to the GUI thread meanwhile: %.1f ms\n",
              worstLateness / 1e6);
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
