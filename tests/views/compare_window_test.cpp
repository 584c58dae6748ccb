// Widget tests of the compare view over a batch converted with the real
// engine, on the offscreen platform: how it opens, zooms, shows the
// difference map, tries another quality and is left from the keyboard.
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <set>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "services/settings_store.h"
#include "viewmodels/conversion_view_model.h"
#include "views/compare_canvas.h"
#include "views/compare_view.h"
#include "views/content_view.h"
#include "views/file_list_view.h"

namespace fs = std::filesystem;
using namespace quorvane;

namespace {

constexpr int kDeadlineMs = 30000;

// A picture with detail, so that encoders and the metric have work.
void writePhoto(const fs::path& path, int width, int height) {
  codec::RgbaImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = image.data() + 4 * (std::size_t(y) * width + x);
      p[0] = static_cast<std::uint8_t>((x * 255) / width);
      p[1] = static_cast<std::uint8_t>(((x ^ y) * 5) & 0xff);
      p[2] = static_cast<std::uint8_t>((y * 255) / height);
      p[3] = 255;
    }
  }
  if (!codec::writePng(image, path)) throw std::runtime_error("cannot write " + path.native());
}

}  // namespace

class CompareWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void testSpaceOpensTheViewOfAConvertedRowAndEscapeClosesIt();
  void testZoomsToActualSizeAndShowsTheDifferenceMap();
  void testANewQualityUpdatesTheOutputSideAndCanBeUsed();
  void testTabReachesEveryControl();

 private:
  gui::CompareView* openWithSpace();

  std::unique_ptr<QTemporaryDir> m_dir;
  core::NoDesktopIntegration m_desktop;
  std::unique_ptr<core::ConversionViewModel> m_vm;
  std::unique_ptr<gui::ContentView> m_view;
};

void CompareWindowTest::init() {
  m_dir = std::make_unique<QTemporaryDir>();
  const fs::path files = fs::path(m_dir->path().toStdString()) / "files";
  fs::create_directories(files);
  writePhoto(files / "photo.png", 320, 240);
  auto store = core::settingsStoreAt(m_dir->filePath("q.conf"));
  m_vm = std::make_unique<core::ConversionViewModel>(
      std::make_unique<core::SettingsPersistence>(store),
      std::make_unique<core::BookmarkService>(store), m_desktop);
  m_vm->updateOutputFormat(core::OutputFormat::Jpeg);
  m_view = std::make_unique<gui::ContentView>(*m_vm);
  m_view->resize(800, 600);
  m_view->show();
  m_view->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
  m_vm->addFiles({files});
  QVERIFY(QTest::qWaitFor([this] { return m_vm->items().size() == 1; }, kDeadlineMs));
  // Nothing to compare before it is converted.
  QVERIFY(!m_view->compareButton()->isEnabled());
  QSignalSpy finished(m_vm.get(), &core::ConversionViewModel::conversionFinished);
  m_vm->startConversion();
  QVERIFY(finished.wait(kDeadlineMs));
  QCOMPARE(m_vm->completedCount(), 1);
}

void CompareWindowTest::cleanup() {
  m_view.reset();
  m_vm.reset();
  m_dir.reset();
}

gui::CompareView* CompareWindowTest::openWithSpace() {
  gui::FileListView* list = m_view->fileList();
  list->setFocus();
  list->setCurrentIndex(list->model()->index(0, 0));
  if (!m_view->compareButton()->isEnabled()) return nullptr;
  QTest::keyClick(list, Qt::Key_Space);
  gui::CompareView* view = m_view->compareView();
  if (!view) return nullptr;
  if (!QTest::qWaitFor([view] { return view->canvas()->showsBoth(); }, kDeadlineMs)) return nullptr;
  return view;
}

void CompareWindowTest::testSpaceOpensTheViewOfAConvertedRowAndEscapeClosesIt() {
  // The row's menu offers it too.
  std::unique_ptr<QMenu> menu(m_view->fileList()->makeContextMenu(0, nullptr));
  const auto actions = menu->actions();
  const auto compare = std::find_if(actions.begin(), actions.end(), [](QAction* action) {
    return action->text().remove(u'&') == QStringLiteral("Compare");
  });
  QVERIFY(compare != actions.end());
  QVERIFY((*compare)->isEnabled());

  gui::CompareView* view = openWithSpace();
  QVERIFY(view);
  QVERIFY(view->isVisible());
  QVERIFY2(view->outputText().contains(QStringLiteral("JPEG")), qPrintable(view->outputText()));
  QVERIFY(QTest::qWaitFor([view] { return view->model().output().picture.full; }, kDeadlineMs));
  QCOMPARE(view->model().output().picture.width, 320);

  QTest::keyClick(view, Qt::Key_Escape);
  QVERIFY(QTest::qWaitFor([this] { return m_view->compareView() == nullptr; }, kDeadlineMs));
}

void CompareWindowTest::testZoomsToActualSizeAndShowsTheDifferenceMap() {
  gui::CompareView* view = openWithSpace();
  QVERIFY(view);
  gui::CompareCanvas* canvas = view->canvas();
  view->resize(400, 300);  // smaller than the picture: fitting shrinks it
  QVERIFY(QTest::qWaitFor([canvas] { return canvas->scale() < 1.0; }, kDeadlineMs));
  QTest::mouseClick(view->actualSizeButton(), Qt::LeftButton);
  QCOMPARE(canvas->scale(), 1.0);
  QTest::keyClick(view, Qt::Key_2, Qt::ControlModifier);
  QCOMPARE(canvas->scale(), 2.0);
  QTest::keyClick(view, Qt::Key_0, Qt::ControlModifier);
  QVERIFY(canvas->scale() < 1.0);

  QVERIFY(!canvas->hasOverlay());
  view->differenceBox()->click();
  QVERIFY(QTest::qWaitFor([canvas] { return canvas->hasOverlay(); }, kDeadlineMs));
  view->differenceBox()->click();
  QVERIFY(!canvas->hasOverlay());
}

void CompareWindowTest::testANewQualityUpdatesTheOutputSideAndCanBeUsed() {
  gui::CompareView* view = openWithSpace();
  QVERIFY(view);
  const int batchQuality = m_vm->settings().quality;
  QVERIFY(!view->useQualityButton()->isEnabled());
  QSlider* slider = view->qualitySlider();
  QCOMPARE(slider->value(), batchQuality);
  // A dragged slider asks for nothing until it is let go, then for where
  // it rests.
  slider->setSliderDown(true);
  slider->setValue(batchQuality - 3);
  slider->setValue(batchQuality - 6);
  QCOMPARE(view->model().requestedQuality(), batchQuality);
  QVERIFY(!view->model().isEncoding());
  slider->setValue(batchQuality);
  slider->setSliderDown(false);  // let go where it started: nothing to encode
  QCOMPARE(view->model().requestedQuality(), batchQuality);
  QVERIFY(!view->model().isEncoding());
  // A key's step starts its encode at once, before any event is handled.
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_PageDown);  // 10 lower
  const int trial = batchQuality - 10;
  QCOMPARE(view->model().requestedQuality(), trial);
  QVERIFY(view->model().isEncoding());
  QVERIFY(QTest::qWaitFor(
      [view, trial] {
        return view->model().output().trial && view->model().output().quality == trial;
      },
      kDeadlineMs));
  QVERIFY(QTest::qWaitFor([view] { return view->outputText().startsWith(QStringLiteral("Trial")); },
                          kDeadlineMs));
  QVERIFY2(view->outputText().contains(QString::number(trial)), qPrintable(view->outputText()));
  // The whole picture, then its receipt.
  QVERIFY(QTest::qWaitFor([view] { return view->model().output().picture.full; }, kDeadlineMs));
  QCOMPARE(view->model().output().picture.width, 320);
  QVERIFY(
      QTest::qWaitFor([view] { return view->model().output().score.has_value(); }, kDeadlineMs));

  QVERIFY(view->useQualityButton()->isEnabled());
  QSignalSpy finished(m_vm.get(), &core::ConversionViewModel::conversionFinished);
  view->useQualityButton()->click();
  QVERIFY(finished.wait(kDeadlineMs));
  QCOMPARE(m_vm->items().front().chosenQuality(), std::optional<int>(trial));
  QCOMPARE(m_vm->lastReport().back().quality, trial);
  QVERIFY(QTest::qWaitFor([this] { return m_view->compareView() == nullptr; }, kDeadlineMs));
}

void CompareWindowTest::testTabReachesEveryControl() {
  gui::CompareView* view = openWithSpace();
  QVERIFY(view);
  view->qualitySlider()->setValue(view->qualitySlider()->value() - 5);  // Use enabled
  QTRY_VERIFY_WITH_TIMEOUT(view->useQualityButton()->isEnabled(), kDeadlineMs);
  std::set<QWidget*> reached;
  view->canvas()->setFocus();
  for (int i = 0; i < 20; ++i) {
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QVERIFY2(
        !focused->accessibleName().isEmpty() || !focused->property("text").toString().isEmpty(),
        focused->metaObject()->className());
    reached.insert(focused);
    QTest::keyClick(focused, Qt::Key_Tab);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{
           view->canvas(), view->fitButton(), view->actualSizeButton(), view->doubleSizeButton(),
           view->sideBySideBox(), view->differenceBox(), view->qualitySlider(),
           view->useQualityButton()}) {
    QVERIFY2(reached.count(control), qPrintable(control->accessibleName()));
  }
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  QApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  CompareWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "compare_window_test.moc"
