// The windowed application.
#include <QApplication>
#include <QDBusConnection>
#include <cstdio>
#include <cstring>

#include "app/appearance.h"
#include "app/check_for_updates_view_model.h"
#include "app/qt_desktop_integration.h"
#include "app/quorvane_app.h"
#include "app/single_instance.h"
#include "app/translations.h"
#include "codec/libvips_runtime.h"
#include "services/file_service.h"
#include "services/settings_store.h"
#include "services/termination_signals.h"
#include "viewmodels/conversion_view_model.h"

int main(int argc, char** argv) {
  using namespace quorvane;
  // Answered before any window system is asked for, so they work anywhere.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("quorvane %s\n", QUORVANE_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf(
          "usage: quorvane [FILE|FOLDER|URL]...\n"
          "\n"
          "Opens the Quorvane window, with the given images and folders listed.\n"
          "When a Quorvane window is open already, they are added to that one.\n"
          "For conversions without a window, see quorvane-cli --help.\n"
          "\n"
          "  --help     show this text and exit\n"
          "  --version  show the version and exit\n");
      return 0;
    }
  }
  QApplication::setOrganizationName(QStringLiteral("Quorvane"));
  QApplication::setApplicationName(QStringLiteral("Quorvane"));
  QApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));
  QApplication::setDesktopFileName(QStringLiteral(QUORVANE_APP_ID));
  QApplication app(argc, argv);
  // Files handed over by the desktop ("Open with Quorvane") join the list;
  // their bytes are kept as given.
  std::vector<std::filesystem::path> given;
  for (int i = 1; i < argc; ++i) {
    const QUrl url(QString::fromLocal8Bit(argv[i]));
    if (url.isLocalFile()) {
      if (auto path = core::FileService::localPathFromUrl(url)) given.push_back(*path);
    } else if (argv[i][0] != '-') {
      given.push_back(std::filesystem::absolute(argv[i]));
    }
  }
  // One window per desktop session: with a window open already, it takes
  // the files and this launch is done.
  gui::SingleInstance single(QDBusConnection::sessionBus(), QStringLiteral(QUORVANE_APP_ID));
  if (single.start(given, gui::SingleInstance::launchPlatformData()) ==
      gui::SingleInstance::Role::HandedOver) {
    return 0;
  }
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/quorvane-%1.png").arg(size), QSize(size, size));
  }
  QApplication::setWindowIcon(icon);
  gui::followDesktopColorScheme(app);
  codec::LibvipsRuntime vips(argv[0]);

  auto store = core::standardSettingsStore();
  // Before any widget exists, so every text comes out in the chosen language.
  gui::installTranslations(app, *store);

  gui::QtDesktopIntegration desktop;
  core::ConversionViewModel controller(std::make_unique<core::SettingsPersistence>(store),
                                       std::make_unique<core::BookmarkService>(store), desktop);
  gui::CheckForUpdatesViewModel updates(QUrl(QStringLiteral(QUORVANE_UPDATE_FEED_URL)));
  gui::MainWindow window(controller, updates, store);
  desktop.setMainWindow(&window);
  window.show();
  QObject::connect(&single, &gui::SingleInstance::openRequested, &window,
                   &gui::MainWindow::openFromDesktop);
  // From here the program is only ending: later launches open their own.
  QObject::connect(&app, &QGuiApplication::lastWindowClosed, &single,
                   &gui::SingleInstance::release);
  if (!given.empty()) controller.addFiles(given);
  // Logging out, `kill` or Ctrl+C in a terminal: cancel the batch (its
  // encoders end, its staging and temporary files go), then quit.
  core::TerminationSignals termination;
  QObject::connect(&termination, &core::TerminationSignals::received, &app, [&] {
    if (!controller.isConverting()) return QApplication::quit();
    QObject::connect(&controller, &core::ConversionViewModel::conversionFinished, &app,
                     &QApplication::quit);
    controller.cancelConversion();
  });
  return app.exec();
}
