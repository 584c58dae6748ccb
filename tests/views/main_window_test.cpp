// Widget tests of the main window's views, on the offscreen platform.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <filesystem>
#include <fstream>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "services/settings_store.h"
#include "support/fake_converter.h"
#include "support/numbered.h"
#include "viewmodels/conversion_view_model.h"
#include "views/content_view.h"
#include "views/drop_zone_compact.h"
#include "views/drop_zone_view.h"
#include "views/elided_label.h"
#include "views/file_list_model.h"
#include "views/file_list_view.h"
#include "views/filled_button.h"
#include "views/options_button.h"
#include "views/output_folder_button.h"
#include "views/settings_bar.h"
#include "views/settings_view.h"
#include "views/summary_view.h"
#include "views/view_style.h"
#include "window_fixture.h"

namespace fs = std::filesystem;
using namespace quorvane;
using core::ConversionStatus;

using test::writeImage;

namespace {

void writeFile(const fs::path& path, std::size_t bytes) {
  test::writeBytes(path, bytes);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(m_window.setUp());
    m_files = m_window.files;
    m_converter = m_window.converter.get();
    m_vm = m_window.vm.get();
    m_view = m_window.view.get();
  }
  void cleanup() { m_window.tearDown(); }
  void testLayoutSwitchesOnFirstAddAndOnClear();
  void testDropsAddEveryLocationAndLightUpOnlyWhileHovering();
  void testSizeAndStartNumberFieldsKeepOnlyDigits();
  void testPresetHighlightFollowsQuality();
  void testOptionsMenuShowsAndChangesTheOptions();
  void testRowsShowConversionSizesAndSavingColours();
  void testSummaryCountsAndSaving();
  void testOutputFolderShowsWhereOutputsGo();
  void testOutputFolderMenuOffersTheRecentFolders();
  void testTheListShowsEightRowsAtTheSizeAskedFor();

 private:
  bool add(const std::vector<fs::path>& locations) { return m_window.add(locations); }
  void openGate() { m_window.openGate(); }

  test::WindowFixture m_window;
  fs::path m_files;
  test::FakeConverter* m_converter = nullptr;
  core::ConversionViewModel* m_vm = nullptr;
  gui::ContentView* m_view = nullptr;
};

void MainWindowTest::testLayoutSwitchesOnFirstAddAndOnClear() {
  QVERIFY(!m_view->showsList());
  writeImage(m_files / "a.png");
  QVERIFY(add({m_files / "a.png"}));
  QVERIFY(m_view->showsList());
  m_vm->updateQuality(33);
  m_view->clearButton()->click();
  QVERIFY(!m_view->showsList());
  QVERIFY(add({m_files / "a.png"}));
  QCOMPARE(m_view->settingsBar()->qualitySlider()->value(), 33);
}

void MainWindowTest::testDropsAddEveryLocationAndLightUpOnlyWhileHovering() {
  writeImage(m_files / "one.png");
  writeImage(m_files / "two.jpg.png");
  writeImage(m_files / "album/deep/three.png");
  writeFile(m_files / "notes.txt", 10);
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString((m_files / "one.png").native())),
                QUrl::fromLocalFile(QString::fromStdString((m_files / "album").native())),
                QUrl::fromLocalFile(QString::fromStdString((m_files / "notes.txt").native())),
                QUrl(QStringLiteral("https://example.org/x.png"))});
  gui::DropZoneView* zone = m_view->dropZone();
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(zone, &enter);
  QVERIFY(enter.isAccepted());
  QVERIFY(zone->isTargeted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(zone, &drop);
  QVERIFY(!zone->isTargeted());
  QVERIFY(drop.isAccepted());
  QTRY_COMPARE(m_vm->items().size(), std::size_t{2});
  QCOMPARE(m_vm->items()[0].url(), m_files / "one.png");
  QCOMPARE(m_vm->items()[1].url(), m_files / "album/deep/three.png");

  // A drag without files is refused and lights nothing.
  QMimeData text;
  text.setText(QStringLiteral("hello"));
  auto* strip = m_view->settingsBar()->findChild<gui::DropZoneCompact*>();
  QVERIFY(strip);
  QDragEnterEvent textEnter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(strip, &textEnter);
  QVERIFY(!textEnter.isAccepted());
  QVERIFY(!strip->isTargeted());
}

void MainWindowTest::testSizeAndStartNumberFieldsKeepOnlyDigits() {
  QCOMPARE(gui::SettingsBar::parseMaxSide(QStringLiteral("\u00bd")), std::optional<int>());
  QCOMPARE(gui::SettingsBar::parseMaxSide(QStringLiteral("99999999999")),
           std::optional<int>(65535));
  QCOMPARE(gui::SettingsBar::parseMaxSide(QStringLiteral("0")), std::optional<int>());

  writeImage(m_files / "a.png", 40, 30);
  QVERIFY(add({m_files / "a.png"}));
  gui::SettingsBar* bar = m_view->settingsBar();
  QVERIFY(!bar->maxWidthField()->isEnabled());  // until resizing is on
  bar->resizeBox()->click();
  QCOMPARE(bar->maxWidthField()->text(), QStringLiteral("40"));  // filled from the image
  bar->maxWidthField()->setFocus();
  bar->maxWidthField()->selectAll();
  QTest::keyClicks(bar->maxWidthField(), QStringLiteral("12a3"));
  QCOMPARE(m_vm->settings().maxWidth, std::optional<int>(123));
  bar->maxHeightField()->setFocus();
  bar->maxHeightField()->selectAll();
  // An Arabic-Indic three, typed as a keyboard of that script would: the
  // field takes ASCII digits only, so nothing changes.
  QKeyEvent arabicThree(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u0663"));
  QApplication::sendEvent(bar->maxHeightField(), &arabicThree);
  QCOMPARE(m_vm->settings().maxHeight, std::optional<int>(30));
  QTest::keyClick(bar->maxHeightField(), Qt::Key_Backspace);  // emptied: no limit
  QCOMPARE(m_vm->settings().maxHeight, std::optional<int>());
  QCOMPARE(bar->maxWidthField()->text(), QStringLiteral("123"));  // tidied once focus left

  QVERIFY(!bar->startField()->isVisible());
  bar->customNaming()->click();
  QVERIFY(bar->startField()->isVisible());
  bar->startField()->setFocus();
  bar->startField()->selectAll();
  QTest::keyClick(bar->startField(), Qt::Key_Backspace);
  QCOMPARE(m_vm->settings().nameStartNumber, QStringLiteral("01"));  // empty keeps the previous
  QTest::keyClicks(bar->startField(), QStringLiteral("7x"));
  QCOMPARE(m_vm->settings().nameStartNumber, QStringLiteral("7"));
  bar->originalNaming()->click();
  QVERIFY(!bar->startField()->isVisible());
}

void MainWindowTest::testPresetHighlightFollowsQuality() {
  writeImage(m_files / "a.png");
  QVERIFY(add({m_files / "a.png"}));
  gui::SettingsBar* bar = m_view->settingsBar();
  const auto presets = bar->presets();
  QVERIFY(bar->isPresetHighlighted(presets.balance));
  presets.webOptimal->click();
  QCOMPARE(m_vm->settings().quality, 75);
  QCOMPARE(bar->qualitySlider()->value(), 75);
  QCOMPARE(bar->qualityValue()->value(), 75);
  QVERIFY(bar->isPresetHighlighted(presets.webOptimal));
  bar->qualitySlider()->setValue(77);
  QCOMPARE(bar->qualityValue()->value(), 77);
  QCOMPARE(m_vm->settings().quality, 77);
  QVERIFY(!bar->isPresetHighlighted(presets.webOptimal));
  QVERIFY(!bar->isPresetHighlighted(presets.balance));
  bar->qualityValue()->setValue(81);  // typed
  QCOMPARE(m_vm->settings().quality, 81);
  QCOMPARE(bar->qualitySlider()->value(), 81);
}

void MainWindowTest::testOptionsMenuShowsAndChangesTheOptions() {
  gui::OptionsButton* button = m_view->settingsBar()->optionsButton();
  QVERIFY(button);
  const auto action = [&](const QString& text) -> QAction* {
    for (QAction* a : button->menu()->actions()) {
      if (a->text() == text) return a;
      if (a->menu()) {
        for (QAction* b : a->menu()->actions()) {
          if (b->text() == text) return b;
        }
      }
    }
    return nullptr;
  };
  QAction* keepData = action(QStringLiteral("Keep Camera &Data"));
  QVERIFY(keepData && keepData->isCheckable() && !keepData->isChecked());
  keepData->trigger();
  QVERIFY(m_vm->settings().options.keepMetadata);
  QAction* fivePercent = action(QStringLiteral("At Least 5% Smaller"));
  QVERIFY(fivePercent);
  fivePercent->trigger();
  QCOMPARE(m_vm->settings().options.minSaving, std::optional<int>(5));
  QCOMPARE(button->text(), QStringLiteral("O&ptions (2)"));
  // A value saved by another run that the menu does not offer shows as is.
  core::OutputOptions options = m_vm->settings().options;
  options.minSaving = 7;
  options.keepMetadata = false;
  m_vm->updateOptions(options);
  QVERIFY(!keepData->isChecked());
  QAction* seven = action(QStringLiteral("At Least 7% Smaller"));
  QVERIFY(seven && seven->isVisible() && seven->isChecked());
  QVERIFY(!fivePercent->isChecked());
}

void MainWindowTest::testRowsShowConversionSizesAndSavingColours() {
  gui::FileListModel* model = m_view->fileList()->listModel();
  QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
  for (const char* name : {"a.heic", "b.png", "c.png", "d.png", "e.png"})
    writeFile(m_files / name, 1000);
  QVERIFY(add({m_files / "a.heic", m_files / "b.png", m_files / "c.png", m_files / "d.png",
               m_files / "e.png"}));
  QCOMPARE(model->rowCount(), 5);
  m_converter->failOn("a.heic");
  m_converter->writeOutputOf("b.png", 970);   // 3 % smaller
  m_converter->writeOutputOf("c.png", 940);   // 6 % smaller
  m_converter->writeOutputOf("d.png", 1100);  // 10 % larger, written all the same
  m_converter->failOn("e.png");
  m_vm->updateOptions({.ifLarger = core::IfLarger::Write});
  openGate();
  m_vm->startConversion();
  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  const QPalette palette = QApplication::palette();
  const auto cell = [model](int row, int column, int role = Qt::DisplayRole) {
    return model->index(row, column).data(role);
  };
  QCOMPARE(cell(0, gui::FileListModel::ConversionColumn).toString(),
           QStringLiteral("HEIC \u2192 WebP"));
  QCOMPARE(cell(0, gui::FileListModel::SavingColumn).toString(), QStringLiteral("\u2014"));
  QCOMPARE(cell(0, gui::FileListModel::SavingColumn, Qt::ForegroundRole).value<QColor>(),
           gui::style::secondary(palette));
  QCOMPARE(cell(1, gui::FileListModel::SavingColumn, Qt::ForegroundRole).value<QColor>(),
           gui::style::orange(palette));
  QCOMPARE(cell(2, gui::FileListModel::SavingColumn, Qt::ForegroundRole).value<QColor>(),
           gui::style::green(palette));
  QCOMPARE(cell(3, gui::FileListModel::SavingColumn).toString(), QStringLiteral("+10%"));
  QCOMPARE(cell(3, gui::FileListModel::SavingColumn, Qt::ForegroundRole).value<QColor>(),
           gui::style::red(palette));
  QCOMPARE(cell(4, gui::FileListModel::StatusColumn, Qt::ToolTipRole).toString(),
           QStringLiteral("The image data is damaged"));
  QCOMPARE(cell(4, gui::FileListModel::StatusColumn, Qt::AccessibleTextRole).toString(),
           QStringLiteral("Error"));
  QCOMPARE(cell(0, gui::FileListModel::FileColumn, Qt::ToolTipRole).toString(),
           QString::fromStdString((m_files / "a.heic").native()));

  // Rows of the batch keep its format; a row added since follows the setting.
  m_vm->updateOutputFormat(core::OutputFormat::Avif);
  writeFile(m_files / "f.png", 1000);
  QVERIFY(add({m_files / "f.png"}));
  QCOMPARE(cell(1, gui::FileListModel::ConversionColumn).toString(),
           QStringLiteral("PNG \u2192 WebP"));
  QCOMPARE(cell(5, gui::FileListModel::ConversionColumn).toString(),
           QStringLiteral("PNG \u2192 AVIF"));
  m_view->fileList()->deleteRows(0);
  QCOMPARE(model->rowCount(), 5);
  QCOMPARE(m_vm->items().size(), std::size_t{5});
}

void MainWindowTest::testSummaryCountsAndSaving() {
  for (int i = 0; i < 5; ++i)
    writeFile(m_files / (quorvane::test::numbered("s", i, ".png")), 1'000'000);
  gui::SummaryView* summary = m_view->summary();
  m_converter->writeOutputOf("s0.png", 0);
  m_converter->writeOutputOf("s1.png", 1'250'000);  // larger, written all the same
  m_vm->updateOptions({.ifLarger = core::IfLarger::Write});
  for (const char* name : {"s2.png", "s3.png", "s4.png"}) m_converter->failOn(name);
  openGate();
  QVERIFY(add({m_files / "s0.png"}));
  m_vm->startConversion();
  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  QCOMPARE(summary->countText(), QStringLiteral("1 of 1 converted"));
  QCOMPARE(summary->sizesText(), QString());  // no sizes while outputs total 0
  QVERIFY(add({m_files / "s0.png", m_files / "s1.png", m_files / "s2.png", m_files / "s3.png",
               m_files / "s4.png"}));
  m_vm->startConversion();
  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  // The sizes are those of the converted files only: 2 MB in, 1.25 MB out.
  QCOMPARE(summary->countText(), QStringLiteral("2 of 5 converted \u00b7 3 failed"));
  QVERIFY(summary->sizesText().contains(QStringLiteral("2.0 MB")));
  QCOMPARE(gui::SummaryView::savingText(5'000'000, 1'250'000), QStringLiteral("(\u221275%)"));
  QCOMPARE(gui::SummaryView::savingText(1000, 1125), QStringLiteral("(+12%)"));
  QVERIFY(m_view->showsSummary());
}

void MainWindowTest::testOutputFolderShowsWhereOutputsGo() {
  QCOMPARE(m_view->settingsBar()->outputPath()->fullText(),
           QStringLiteral("(compressed/ folder next to the first file)"));
  writeImage(m_files / "a.png");
  QVERIFY(add({m_files / "a.png"}));
  // Where outputs will really go: beside the first listed file.
  QCOMPARE(m_view->settingsBar()->outputPath()->fullText(),
           QStringLiteral("compressed/ in ") + QString::fromStdString(m_files.native()));
}

void MainWindowTest::testOutputFolderMenuOffersTheRecentFolders() {
  QMenu* menu = m_view->settingsBar()->outputFolderButton()->menu();
  const auto entries = [menu] {
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction* action : menu->actions()) {
      if (!action->isCheckable()) continue;  // the dialog entry, the section title
      texts << (action->isChecked() ? QStringLiteral("* ") : QString()) + action->text();
    }
    return texts;
  };
  const QString byDefault = QStringLiteral("&Default: compressed/ Next to the First File");
  QCOMPARE(entries(), QStringList{QStringLiteral("* ") + byDefault});

  const fs::path base = m_files;
  for (const char* name : {"a", "b & c", "gone"}) {
    fs::create_directories(base / name);
    m_vm->setOutputDirectory(base / name);
  }
  fs::remove(base / "gone");
  const QString b = QString::fromStdString((base / "b && c").native());
  const QString a = QString::fromStdString((base / "a").native());
  // The chosen folder went away: none of the listed ones is ticked.
  QCOMPARE(entries(),
           (QStringList{QStringLiteral("&1  ") + b, QStringLiteral("&2  ") + a, byDefault}));

  // Taking a recent one sets it and makes it the newest.
  for (QAction* action : menu->actions()) {
    if (action->text().endsWith(a)) action->trigger();
  }
  QCOMPARE(m_vm->settings().outputDirectory, std::optional<fs::path>(base / "a"));
  QCOMPARE(entries(),
           (QStringList{QStringLiteral("* &1  ") + a, QStringLiteral("&2  ") + b, byDefault}));
  for (QAction* action : menu->actions()) {
    if (action->text() == byDefault) action->trigger();
  }
  QVERIFY(!m_vm->settings().outputDirectory);
}

void MainWindowTest::testTheListShowsEightRowsAtTheSizeAskedFor() {
  std::vector<fs::path> files;
  for (int i = 0; i < 12; ++i) {
    files.push_back(m_files / ("image-" + std::to_string(i) + ".png"));
    writeFile(files.back(), 100);
  }
  QVERIFY(add(files));
  openGate();
  m_view->resize(m_view->sizeShowingRows(8));
  // With the summary shown under the list as well.
  m_vm->startConversion();
  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  QVERIFY(m_view->showsSummary());
  QTRY_COMPARE(m_view->size(), m_view->sizeShowingRows(8));
  gui::FileListView* list = m_view->fileList();
  const int rowHeight = list->rowHeight(0);
  QVERIFY2(list->viewport()->height() >= 8 * rowHeight,
           qPrintable(QStringLiteral("%1 px for rows of %2 px")
                          .arg(list->viewport()->height())
                          .arg(rowHeight)));
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  QApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
