// Renders the real window in its main states into PNG files for the docs:
//   take_screenshots OUTPUT_FOLDER [--dark] [--lang de|ja|ko] [--min]
// --min shows the window at its minimum size. Run with QT_SCALE_FACTOR=2 for
// a high-density screen. Files are named STATE-LOOK[-LANG][-min].png.
// Drives the controller the way the user would (adding files, a batch with
// one broken file, the preferences, the compare view with its difference
// map) and grabs the window after each step.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/appearance.h"
#include "app/check_for_updates_view_model.h"
#include "app/quorvane_app.h"
#include "app/translations.h"
#include "codec/libvips_runtime.h"
#include "services/settings_store.h"
#include "views/compare_canvas.h"
#include "views/compare_view.h"
#include "views/content_view.h"

namespace fs = std::filesystem;
using namespace quorvane;

int main(int argc, char** argv) {
  QApplication::setApplicationName(QStringLiteral("Quorvane"));
  QApplication::setApplicationVersion(QStringLiteral("0.1.0"));
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  codec::LibvipsRuntime vips(argv[0]);
  const QStringList args = app.arguments();
  if (args.size() < 2) return 2;
  const QString outDir = args[1];
  const bool dark = args.contains(QStringLiteral("--dark"));
  if (dark) gui::applyDarkAppearance(app);
  const bool minimum = args.contains(QStringLiteral("--min"));
  const qsizetype langAt = args.indexOf(QStringLiteral("--lang"));
  const QString language = langAt > 0 && langAt + 1 < args.size() ? args[langAt + 1] : QString();
  QString suffix = dark ? QStringLiteral("dark") : QStringLiteral("light");
  if (!language.isEmpty()) suffix += u'-' + language;
  if (minimum) suffix += QStringLiteral("-min");

  QTemporaryDir work;
  if (!language.isEmpty()) {
    QSettings chosen(work.filePath(QStringLiteral("language.conf")), QSettings::IniFormat);
    chosen.setValue(QStringLiteral("selectedLanguage"), language);
    gui::installTranslations(app, chosen);
  }
  const fs::path photos = fs::path(work.path().toStdString()) / "Holiday 2026";
  fs::create_directories(photos);
  const fs::path samples = QUORVANE_SAMPLES_DIR;
  fs::copy_file(samples / "sunset_by_Aitzol_Berasategi.jpg", photos / "Lake at sunset.jpg");
  fs::copy_file(samples / "seeding_by_Clements_Engelhardt.jpg",
                photos / "Seedlings in the greenhouse.jpg");
  fs::copy_file(samples / "skimage-astronaut.png", photos / "Astronaut portrait.png");
  std::ofstream(photos / "Scan 004.jpg") << "this scan was cut short";

  auto store = core::settingsStoreAt(work.filePath(QStringLiteral("Quorvane.conf")));
  core::NoDesktopIntegration desktop;
  core::ConversionViewModel controller(std::make_unique<core::SettingsPersistence>(store),
                                       std::make_unique<core::BookmarkService>(store), desktop);
  controller.setParallelLimit(1);
  gui::CheckForUpdatesViewModel updates{QUrl()};
  gui::MainWindow window(controller, updates, store);
  window.show();
  if (minimum) window.resize(window.minimumSizeHint());
  QTest::qWait(300);
  const auto grab = [&](QWidget* widget, const QString& name) {
    QTest::qWait(150);
    widget->grab().save(QDir(outDir).filePath(name + u'-' + suffix + QStringLiteral(".png")));
  };
  grab(&window, QStringLiteral("empty"));

  controller.addFiles({photos});
  if (!QTest::qWaitFor([&] { return !controller.isAddingFiles(); }, 60000)) return 1;
  controller.updateResizeEnabled(true);
  controller.updateMaxWidth(2048);
  controller.updateMaxHeight(std::nullopt);
  controller.updateOptions({.checkQuality = true});  // the Looks column filled in
  controller.startConversion();
  if (!QTest::qWaitFor([&] { return controller.completedCount() >= 1; }, 60000)) return 1;
  grab(&window, QStringLiteral("converting"));
  if (!QTest::qWaitFor([&] { return !controller.isConverting(); }, 120000)) return 1;
  grab(&window, QStringLiteral("converted"));

  window.showSettings();
  QTest::qWait(300);
  grab(window.settingsDialog(), QStringLiteral("preferences"));
  window.settingsDialog()->close();

  const auto& items = controller.items();
  const auto lake = std::find_if(items.begin(), items.end(), [](const core::ImageItem& item) {
    return item.url().filename() == "Lake at sunset.jpg";
  });
  if (lake == items.end()) return 1;
  window.content()->openCompare(lake->id());
  gui::CompareView* compare = window.content()->compareView();
  if (!compare) return 1;
  compare->resize(1000, 640);
  compare->differenceBox()->setChecked(true);
  if (!QTest::qWaitFor([&] { return compare->canvas()->hasOverlay(); }, 60000)) return 1;
  grab(compare, QStringLiteral("compare"));
  return 0;
}
