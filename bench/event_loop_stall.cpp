// The longest stall of the controller's event loop while a batch runs: a
// timer ticks every 2 ms and records the largest gap between ticks, from
// startConversion() until the batch has ended.
//
//   event_loop_stall [--format webp|jpeg|png|heic|avif] FOLDER
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "codec/libvips_runtime.h"
#include "services/settings_store.h"
#include "viewmodels/conversion_view_model.h"

int main(int argc, char** argv) {
  using namespace quorvane;
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  core::OutputFormat format = core::OutputFormat::Webp;
  const char* folder = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--format") == 0 && i + 1 < argc) {
      format = core::outputFormatFromRawValue(QString::fromLatin1(argv[++i])).value_or(format);
    } else {
      folder = argv[i];
    }
  }
  if (!folder) {
    std::fprintf(stderr, "usage: event_loop_stall [--format F] FOLDER\n");
    return 2;
  }
  QTemporaryDir work;
  auto store = core::settingsStoreAt(work.filePath("settings.conf"));
  core::NoDesktopIntegration desktop;
  core::ConversionViewModel controller(std::make_unique<core::SettingsPersistence>(store),
                                       std::make_unique<core::BookmarkService>(store), desktop);
  controller.updateOutputFormat(format);
  const std::filesystem::path out = work.filePath("out").toStdString();
  std::filesystem::create_directories(out);
  controller.setOutputDirectory(out);
  QElapsedTimer intake;
  intake.start();
  controller.addFiles({std::filesystem::path(folder)});
  while (controller.isAddingFiles()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const qint64 intakeMs = intake.elapsed();

  QElapsedTimer clock;
  qint64 last = 0;
  qint64 longest = 0;
  QTimer ticker;
  ticker.setInterval(2);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last);
    last = now;
  });
  QObject::connect(&controller, &core::ConversionViewModel::conversionFinished,
                   [] { QCoreApplication::quit(); });
  clock.start();
  ticker.start();
  controller.startConversion();
  QCoreApplication::exec();
  std::printf("%zu images to %s: intake %lld ms, batch %.1f s, longest event-loop stall %.1f ms\n",
              controller.items().size(), qPrintable(core::rawValue(format)),
              static_cast<long long>(intakeMs), clock.elapsed() / 1000.0, longest / 1e6);
  return 0;
}
