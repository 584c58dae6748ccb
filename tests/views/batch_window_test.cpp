// Widget tests of the window around a batch, on the offscreen platform: the
// main button, rows before, during and after a batch, where outputs go, and
// an output folder that cannot be written.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <filesystem>
#include <set>

#include "codec/libvips_runtime.h"
#include "support/read_only_folder.h"
#include "views/drop_zone_compact.h"
#include "views/drop_zone_view.h"
#include "views/elided_label.h"
#include "views/file_list_model.h"
#include "views/summary_view.h"
#include "views/file_list_view.h"
#include "views/filled_button.h"
#include "views/options_button.h"
#include "views/settings_bar.h"
#include "views/settings_button.h"
#include "window_fixture.h"

namespace fs = std::filesystem;
using namespace quorvane;
using gui::FileListModel;
using test::writeImage;

class BatchWindowTest : public QObject {
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
  void testButtonsFollowTheBatch();
  void testARedroppedFolderLeavesItsOutputsOut();
  void testFinishedRowsSayWhereTheyWentAndStartConvertsAgain();
  void testRowsShowEitherTheirResultOrWhatTheNextBatchDoes();
  void testANestedDropWritesIntoTheDroppedFoldersCompressedFolder();
  void testAReadOnlyChosenFolderSaysWhyAndConvertsNothing();
  void testTheTimeLeftIsFinerNearTheEnd();

 private:
  bool add(const std::vector<fs::path>& locations) { return m_window.add(locations); }
  void openGate() { m_window.openGate(); }
  // The texts a row shows, column by column, but its name.
  QStringList rowTexts(int row) const;

  test::WindowFixture m_window;
  fs::path m_files;
  test::FakeConverter* m_converter = nullptr;
  core::ConversionViewModel* m_vm = nullptr;
  gui::ContentView* m_view = nullptr;
};

QStringList BatchWindowTest::rowTexts(int row) const {
  const QAbstractItemModel* rows = m_view->fileList()->model();
  QStringList texts{rows->index(row, 0).data(FileListModel::DetailTextRole).toString()};
  for (int column = 1; column < FileListModel::ColumnCount; ++column) {
    texts << rows->index(row, column).data(Qt::DisplayRole).toString()
          << rows->index(row, column).data(Qt::AccessibleTextRole).toString();
  }
  return texts;
}

void BatchWindowTest::testButtonsFollowTheBatch() {
  writeImage(m_files / "a.png");
  writeImage(m_files / "b.png");
  QVERIFY(add({m_files / "a.png", m_files / "b.png"}));
  QPushButton* start = m_view->startButton();
  QPushButton* cancel = m_view->cancelButton();
  QVERIFY(start->isVisible() && start->isEnabled() && !cancel->isVisible());
  QVERIFY(!m_view->settingsBar()->isLockedForBatch());

  start->setFocus();
  QTest::keyClick(start, Qt::Key_Return);  // Return on the main button starts
  QVERIFY(m_vm->isConverting());
  QVERIFY(!start->isVisible());
  QVERIFY(cancel->isVisible() && cancel->isEnabled());
  QCOMPARE(m_view->cancelText(), QStringLiteral("Cancel"));
  QCOMPARE(cancel->accessibleName(), QStringLiteral("Cancel conversion"));
  QVERIFY(!m_view->clearButton()->isEnabled());
  // The settings are the batch's now: disabled, and saying why.
  gui::SettingsBar* bar = m_view->settingsBar();
  QVERIFY(bar->isLockedForBatch());
  for (QWidget* setting :
       {static_cast<QWidget*>(bar->formatMenu()), static_cast<QWidget*>(bar->qualitySlider()),
        static_cast<QWidget*>(bar->resizeBox()), static_cast<QWidget*>(bar->originalNaming()),
        static_cast<QWidget*>(bar->optionsButton())}) {
    QVERIFY(!setting->isEnabled());
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), setting->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(setting, &hover);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Applies to the next batch"));
    QToolTip::hideText();
  }

  QTest::keyClick(m_view, Qt::Key_Escape);  // Escape cancels
  QVERIFY(m_vm->isCancelling());
  QCOMPARE(m_view->cancelText(), QStringLiteral("Cancelling\u2026"));
  QCOMPARE(cancel->accessibleName(), QStringLiteral("Cancelling conversion"));
  cancel->click();  // a second press changes nothing (the button keeps the focus)
  QVERIFY(m_vm->isCancelling());
  QVERIFY(!m_view->clearButton()->isEnabled());

  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  QVERIFY(start->isVisible() && start->isEnabled());
  QVERIFY(m_view->clearButton()->isEnabled());
  QVERIFY(!bar->isLockedForBatch());
  QVERIFY(!m_view->openFolderButton()->isEnabled());  // nothing completed

  openGate();
  start->click();
  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  QCOMPARE(m_vm->completedCount(), 2);
  QVERIFY(m_view->openFolderButton()->isEnabled());
  QVERIFY(m_view->showsSummary());
}

void BatchWindowTest::testARedroppedFolderLeavesItsOutputsOut() {
  writeImage(m_files / "trip/a.png");
  writeImage(m_files / "trip/b.png");
  m_converter->writeOutputOf("a.png", 10);
  m_converter->writeOutputOf("b.png", 10);
  openGate();
  QVERIFY(add({m_files / "trip"}));
  m_vm->startConversion();
  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  QVERIFY(fs::exists(m_files / "trip/compressed/a.webp"));
  m_view->clearButton()->click();
  QVERIFY(add({m_files / "trip"}));
  QCOMPARE(m_vm->items().size(), std::size_t{2});  // a.png and b.png, not their outputs
  QCOMPARE(m_view->noticeText(), QStringLiteral("Images in output folders, left out: 2"));
}

void BatchWindowTest::testFinishedRowsSayWhereTheyWentAndStartConvertsAgain() {
  writeImage(m_files / "a.png");
  writeImage(m_files / "b.png");
  m_converter->writeOutputOf("a.png", 10);
  m_converter->failOn("b.png");
  openGate();
  QVERIFY(add({m_files / "a.png", m_files / "b.png"}));
  m_vm->startConversion();
  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  QAbstractItemModel* rows = m_view->fileList()->model();
  const auto detail = [rows](int row) {
    return rows->index(row, gui::FileListModel::FileColumn)
        .data(gui::FileListModel::DetailTextRole);
  };
  QCOMPARE(detail(0).toString(), QStringLiteral("\u2192 a.webp"));
  QCOMPARE(detail(1).toString(), QStringLiteral("The image data is damaged"));  // in the row itself
  QCOMPARE(rows->index(1, gui::FileListModel::FileColumn).data(Qt::AccessibleTextRole).toString(),
           QStringLiteral("b.png, The image data is damaged"));
  QCOMPARE(m_view->startButton()->text(), QStringLiteral("Start &Conversion"));  // one failed

  m_vm->removeItem(m_vm->items()[1].id());
  QCOMPARE(m_view->startButton()->text(), QStringLiteral("&Convert All Again"));
  const std::size_t before = m_converter->started().size();
  m_view->startButton()->click();
  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  QCOMPARE(m_converter->started().size(), before + 1);  // a.png ran again
  QCOMPARE(m_vm->completedCount(), 1);
}

void BatchWindowTest::testRowsShowEitherTheirResultOrWhatTheNextBatchDoes() {
  for (const char* name : {"a.png", "b.png"}) test::writeBytes(m_files / name, 1000);
  writeImage(m_files / "c.png");  // a real image: its original can be kept
  QVERIFY(add({m_files / "a.png", m_files / "b.png", m_files / "c.png"}));
  m_converter->writeOutputOf("a.png", 500);
  m_converter->encodeAs("a.png", {.score = 62.0});
  m_converter->writeOutputOf("b.png", 400);
  m_converter->encodeAs("b.png", {.score = 90.0});
  m_converter->writeOutputOf("c.png", 1500);
  openGate();
  QVERIFY(m_window.runToEnd());
  const QAbstractItemModel* rows = m_view->fileList()->model();
  const auto cell = [rows](int row, int column) {
    return rows->index(row, column).data().toString();
  };
  QCOMPARE(cell(0, FileListModel::QualityColumn), QStringLiteral("visible on close look"));
  QCOMPARE(cell(0, FileListModel::SavingColumn), QStringLiteral("-50%"));
  QCOMPARE(rows->index(0, FileListModel::QualityColumn).data(Qt::ToolTipRole).toString(),
           QStringLiteral("Scores 62.0 of 100. From 86 up, no difference can be seen."));
  // A finished row keeps the format it was converted to.
  m_vm->updateOutputFormat(core::OutputFormat::Jpeg);
  QCOMPARE(cell(0, FileListModel::ConversionColumn), QStringLiteral("PNG \u2192 WebP"));
  // A row whose output would have grown keeps the original, in its own format.
  QCOMPARE(m_vm->items()[2].status().kind, core::ConversionStatus::Kind::KeptOriginal);
  QCOMPARE(cell(2, FileListModel::ConversionColumn), QStringLiteral("PNG \u2192 PNG"));

  // Converted again: while they wait or convert, nothing of the last run.
  m_converter->closeGate();
  QCOMPARE(m_view->startButton()->text(), QStringLiteral("&Convert All Again"));
  m_view->startButton()->click();
  QTRY_COMPARE(m_converter->running(), 1);
  const QStringList waiting = rowTexts(1);
  QCOMPARE(waiting, (QStringList{QString(), QStringLiteral("PNG \u2192 JPEG"), QString(),
                                 QStringLiteral("1.0 kB"), QStringLiteral("1.0 kB"),
                                 QStringLiteral("\u2014"), QString(), QStringLiteral("\u2014"),
                                 QString(), QStringLiteral("Waiting"), QStringLiteral("Waiting")}));
  QCOMPARE(rowTexts(0)[0], QStringLiteral("Converting\u2026"));
  QCOMPARE(m_view->summary()->sizesText(), QString());  // nothing of the last run
  QCOMPARE(cell(0, FileListModel::QualityColumn), QStringLiteral("\u2014"));
  // The settings cannot change the running batch, and its rows say so.
  m_vm->updateOutputFormat(core::OutputFormat::Avif);
  QCOMPARE(cell(1, FileListModel::ConversionColumn), QStringLiteral("PNG \u2192 JPEG"));

  // Cancelled: the row that was converting reads as the one never reached,
  // and both follow the settings for the next batch.
  m_vm->cancelConversion();
  QTRY_VERIFY_WITH_TIMEOUT(!m_vm->isConverting(), 10000);
  QCOMPARE(rowTexts(0), rowTexts(1));
  QCOMPARE(cell(0, FileListModel::ConversionColumn), QStringLiteral("PNG \u2192 AVIF"));
  QCOMPARE(m_view->startButton()->text(), QStringLiteral("Start &Conversion"));
}

void BatchWindowTest::testANestedDropWritesIntoTheDroppedFoldersCompressedFolder() {
  const fs::path batch = m_files / "batch20";
  for (const char* name : {"alpha/a.png", "alpha/deep/b.png", "beta/c.png"}) {
    writeImage(batch / name);
    m_converter->writeOutputOf(fs::path(name).filename(), 10);
  }
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(batch.native()))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(m_view->dropZone(), &enter);
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(m_view->dropZone(), &drop);
  QTRY_COMPARE(m_vm->items().size(), std::size_t{3});
  QVERIFY(QTest::qWaitFor([this] { return !m_vm->isAddingFiles(); }, 10000));
  // Named before the start, as it will be.
  QCOMPARE(m_view->settingsBar()->outputPath()->fullText(),
           QStringLiteral("compressed/ in ") + QString::fromStdString(batch.native()));
  openGate();
  QVERIFY(m_window.runToEnd());
  for (const char* name : {"a.webp", "b.webp", "c.webp"}) {
    QVERIFY2(fs::exists(batch / "compressed" / name), name);
  }
  QVERIFY(!fs::exists(batch / "alpha/compressed"));
}

void BatchWindowTest::testAReadOnlyChosenFolderSaysWhyAndConvertsNothing() {
  writeImage(m_files / "a.png");
  QVERIFY(add({m_files / "a.png"}));
  const fs::path locked = m_files / "locked";
  test::makeReadOnlyFolder(locked, m_files);
  m_vm->setOutputDirectory(locked);
  openGate();
  QMessageBox* refusal = nullptr;
  {
    const test::NoRootRights user;
    QVERIFY(user.ok());
    m_view->startButton()->click();
    refusal = m_view->findChild<QMessageBox*>(QStringLiteral("folderRefusal"));
  }
  QVERIFY(refusal && refusal->isVisible());
  QCOMPARE(refusal->text(), QStringLiteral("Nothing was converted: %1 cannot be written to "
                                           "(Permission denied).")
                                .arg(QString::fromStdString(locked.native())));
  QVERIFY(!m_vm->isConverting());
  QVERIFY(m_converter->started().empty());
  QCOMPARE(m_vm->settings().outputDirectory, std::optional<fs::path>(locked));

  // "Choose Another Folder…", a writable one: the start is made there.
  const fs::path open = m_files / "open";
  fs::create_directories(open);
  m_converter->writeOutputOf("a.png", 10);
  QTimer answer;
  connect(&answer, &QTimer::timeout, this, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    answer.stop();
    dialog->setDirectory(QString::fromStdString(open.native()));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as "Choose" does
  });
  answer.start(20);
  QAbstractButton* choose = refusal->buttons().front();
  for (QAbstractButton* button : refusal->buttons()) {
    if (refusal->buttonRole(button) == QMessageBox::AcceptRole) choose = button;
  }
  QCOMPARE(choose->text(), QStringLiteral("C&hoose Another Folder\u2026"));
  choose->click();
  QTRY_VERIFY_WITH_TIMEOUT(fs::exists(open / "a.webp"), 10000);
  QCOMPARE(m_vm->settings().outputDirectory, std::optional<fs::path>(open));
}

void BatchWindowTest::testTheTimeLeftIsFinerNearTheEnd() {
  // Nothing without a pace; under two minutes in steps of ten seconds.
  using gui::SummaryView;
  QCOMPARE(SummaryView::timeLeftText(std::nullopt), QString());
  QCOMPARE(SummaryView::timeLeftText(59'000), QStringLiteral("less than a minute left"));
  QCOMPARE(SummaryView::timeLeftText(60'000), QStringLiteral("about 60 seconds left"));
  QCOMPARE(SummaryView::timeLeftText(86'000), QStringLiteral("about 90 seconds left"));
  QCOMPARE(SummaryView::timeLeftText(114'000), QStringLiteral("about 110 seconds left"));
  QCOMPARE(SummaryView::timeLeftText(115'000), QStringLiteral("about 2 min left"));
  QCOMPARE(SummaryView::timeLeftText(400'000), QStringLiteral("about 7 min left"));
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir config;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  BatchWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "batch_window_test.moc"
