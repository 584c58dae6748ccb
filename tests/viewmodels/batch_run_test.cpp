#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "batch_run_fixture.h"
#include "support/read_only_folder.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;

TEST_F(BatchRunTest, AllCompletedRunsAnEmptyBatchAndStillSignalsTheEnd) {
  m_converter.releaseAll();
  add({"a.png"});
  ASSERT_TRUE(runToEnd());
  m_desktop.sounds = m_desktop.attentions = 0;
  QSignalSpy converting(m_vm.get(), &ConversionViewModel::isConvertingChanged);
  ASSERT_TRUE(runToEnd());
  EXPECT_EQ(converting.count(), 2);  // true, then false
  EXPECT_EQ(m_desktop.sounds, 1);
  EXPECT_EQ(m_desktop.attentions, 1);

  m_desktop.active = true;  // frontmost: neither sound nor attention
  ASSERT_TRUE(runToEnd());
  EXPECT_EQ(m_desktop.sounds, 1);
}

TEST_F(BatchRunTest, OneFolderBesideTheFirstListedFileAndTheSettingsOfTheStart) {
  m_converter.releaseAll();
  add({"a.png"}, m_files / "one");
  add({"b.png"}, m_files / "two");
  m_vm->updateResizeEnabled(true);  // fills 0 x 0: the empty files have no size
  m_vm->updateMaxWidth(640);
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startConversion();
  m_vm->updateOutputFormat(OutputFormat::Jpeg);  // too late for this run
  m_vm->updateMaxWidth(100);
  ASSERT_TRUE(finished.wait(10000));
  for (const ConversionJob& job : m_converter.jobs()) {
    EXPECT_EQ(job.outputDirectory, m_files / "one/compressed");
    EXPECT_EQ(job.settings.format, OutputFormat::Webp);
    EXPECT_EQ(job.settings.maxWidth, 640);
  }
  EXPECT_EQ(m_vm->items()[1].outputURL(), m_files / "one/compressed/b.webp");
  EXPECT_EQ(m_vm->items()[1].batchFormat(), OutputFormat::Webp);
}

TEST_F(BatchRunTest, CancelEndsRunningAndWaitingItemsThenRetryConvertsThem) {
  add({"c0.png", "c1.png", "c2.png", "c3.png", "c4.png"});
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_converter.running() == 2; }, 10000));
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Processing, Kind::Processing, Kind::Waiting,
                                        Kind::Waiting, Kind::Waiting}));
  m_vm->startConversion();  // a second start is ignored
  // While it stops, the bar stays at what was converted: the cancelled
  // images are not counted as done on the way out.
  std::vector<int> doneWhileStopping;
  QObject::connect(m_vm.get(), &ConversionViewModel::batchProgressChanged, m_vm.get(), [&] {
    if (m_vm->isConverting()) doneWhileStopping.push_back(m_vm->batchProgress().done);
  });
  m_vm->cancelConversion();
  EXPECT_TRUE(m_vm->isCancelling());
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_TRUE(std::all_of(doneWhileStopping.begin(), doneWhileStopping.end(),
                          [](int done) { return done == 0; }))
      << doneWhileStopping.size() << " readings, the last " << doneWhileStopping.back();
  EXPECT_TRUE(finished.front().front().toBool());
  // Cancelled and untouched rows alike wait for the next batch, with its
  // settings: none keeps the format of the batch that did not convert it.
  EXPECT_EQ(kinds(), std::vector<Kind>(5, Kind::Waiting));
  for (const ImageItem& item : m_vm->items()) {
    EXPECT_FALSE(item.batchFormat());
    EXPECT_FALSE(item.outputURL());
  }
  EXPECT_FALSE(m_vm->isCancelling());
  EXPECT_EQ(m_desktop.sounds, 0);  // no completion signal after a cancel
  ASSERT_EQ(m_desktop.announcements.size(), 1u);
  EXPECT_EQ(m_desktop.announcements[0], "Cancelling conversion");

  m_converter.releaseAll();
  ASSERT_TRUE(runToEnd());
  EXPECT_EQ(m_vm->completedCount(), 5);
  m_vm->cancelConversion();  // nothing runs: no announcement
  EXPECT_EQ(m_desktop.announcements.size(), 1u);
}

TEST_F(BatchRunTest, AFailureShowsItsTextAndIsRetriedNextTime) {
  m_converter.failOn("bad.png");
  m_converter.releaseAll();
  add({"good.png", "bad.png"});
  ASSERT_TRUE(runToEnd());
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Completed, Kind::Error}));
  EXPECT_EQ(m_vm->items()[1].status().message, "The image data is damaged");

  ASSERT_TRUE(runToEnd());  // the same converter fails it again
  EXPECT_EQ(m_vm->items()[1].status().kind, Kind::Error);
  EXPECT_EQ(m_converter.started().size(), 3u);  // only the failed one ran again
}

TEST_F(BatchRunTest, AKeptOriginalIsCountedApartAndOpensTheCopy) {
  // The input holds its 8-byte name: an output of 16 is larger. Kept with its
  // metadata, the original is copied as it is.
  m_vm->updateOptions({.keepMetadata = true});
  m_converter.writeOutputOf("grew.jpg", 16);
  m_converter.releaseAll();
  add({"good.png", "grew.jpg"});
  ASSERT_TRUE(runToEnd());
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Completed, Kind::KeptOriginal}));
  EXPECT_EQ(m_vm->items()[1].status().message, "Kept the original: the WebP would be 100% larger");
  EXPECT_EQ(m_vm->items()[1].outputURL(), m_files / "compressed/grew.jpg");
  EXPECT_TRUE(fs::exists(m_files / "compressed/grew.jpg"));
  EXPECT_EQ(m_vm->completedCount(), 1);
  EXPECT_EQ(m_vm->keptOriginalCount(), 1);
  EXPECT_EQ(m_vm->skippedCount(), 0);
  EXPECT_TRUE(m_vm->allFinished());  // nothing is left to convert
  EXPECT_EQ(m_vm->lastReport().size(), 2u);
}

TEST_F(BatchRunTest, SkippedRowsSayWhyCountApartAndTheReportHasEveryImage) {
  // old.png was converted by an earlier batch with the same settings; grew.png
  // comes out four times its size and is not kept.
  m_vm->updateOptions({.ifLarger = IfLarger::Skip, .skipConverted = true});
  m_converter.releaseAll();
  add({"old.png"});
  ASSERT_TRUE(runToEnd());
  m_vm->clearItems();
  m_converter.writeOutputOf("grew.png", 32);
  m_converter.failOn("bad.png");
  add({"good.png", "grew.png", "old.png", "bad.png"});
  ASSERT_TRUE(runToEnd());
  EXPECT_EQ(kinds(),
            (std::vector<Kind>{Kind::Completed, Kind::Skipped, Kind::Skipped, Kind::Error}));
  EXPECT_EQ(m_vm->items()[1].status().message, "Skipped: 300% larger than the original");
  EXPECT_FALSE(m_vm->items()[1].outputURL());
  EXPECT_EQ(m_vm->items()[2].status().message, "Already converted");
  EXPECT_EQ(m_vm->items()[2].outputURL(), m_files / "compressed/old.webp");
  EXPECT_EQ(m_vm->skippedCount(), 2);
  EXPECT_EQ(m_vm->completedCount(), 1);
  EXPECT_EQ(m_vm->failedCount(), 1);

  std::vector<ReportRow::Status> statuses;
  for (const ReportRow& row : m_vm->lastReport()) statuses.push_back(row.status);
  std::sort(statuses.begin(), statuses.end());
  EXPECT_EQ(statuses, (std::vector<ReportRow::Status>{
                          ReportRow::Status::Converted, ReportRow::Status::Skipped,
                          ReportRow::Status::AlreadyConverted, ReportRow::Status::Failed}));
  const fs::path report = m_files / "report.csv";
  EXPECT_FALSE(m_vm->exportReport(report));
  EXPECT_TRUE(fs::file_size(report) > 0);
  EXPECT_TRUE(m_vm->exportReport(m_files / "missing/report.csv"));  // says why it could not
}

TEST_F(BatchRunTest, OptionsAreSavedAndReachTheBatchWithTheTreeBelowTheDroppedFolder) {
  const OutputOptions options{.minSaving = 5, .keepMetadata = true, .keepFolderStructure = true};
  m_vm->updateOptions(options);
  auto restarted = makeController();
  restarted->loadSavedSettings();
  EXPECT_EQ(restarted->settings().options, options);

  m_converter.releaseAll();
  const fs::path trip = m_files / "trip";
  fs::create_directories(trip / "2023/summer");
  test::writeFile(trip / "2023/summer/a.png", "x");
  m_vm->addFiles({trip});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !m_vm->isAddingFiles(); }, 10000));
  // With the structure kept, the tree goes inside the dropped folder.
  EXPECT_EQ(m_vm->outputFolder(), trip / "compressed");
  ASSERT_TRUE(runToEnd());
  ASSERT_EQ(m_converter.jobs().size(), 1u);
  EXPECT_EQ(m_converter.jobs()[0].outputDirectory, trip / "compressed/2023/summer");
  EXPECT_EQ(m_converter.jobs()[0].settings.options, options);
}

TEST_F(BatchRunTest, StartWithEveryRowFinishedConvertsThemAllAgainFromScratch) {
  // a.png converts with a score; b.png comes out larger and is not kept.
  m_vm->updateOptions({.ifLarger = IfLarger::Skip});
  m_converter.writeOutputOf("a.png", 3);
  m_converter.encodeAs("a.png", {.score = 91.0});
  m_converter.writeOutputOf("b.png", 6);
  m_converter.releaseAll();
  add({"a.png", "b.png"});
  ASSERT_TRUE(runToEnd());
  EXPECT_TRUE(m_vm->allFinished());  // a skipped image is finished too
  ASSERT_TRUE(runToEnd());           // a plain start leaves finished rows alone
  EXPECT_EQ(m_converter.started().size(), 2u);

  m_vm->updateOutputFormat(OutputFormat::Jpeg);
  m_converter.encodeAs("a.png", {.format = OutputFormat::Jpeg});
  m_converter.closeGate();
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startOrConvertAllAgain();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_converter.started().size() == 4; }, 10000));
  // While they convert again, nothing of the last run shows beside them.
  for (const ImageItem& item : m_vm->items()) {
    EXPECT_EQ(item.status().kind, Kind::Processing);
    EXPECT_FALSE(item.outputURL());
    EXPECT_FALSE(item.compressedSize());
    EXPECT_FALSE(item.score());
    EXPECT_EQ(item.batchFormat(), OutputFormat::Jpeg);
  }
  EXPECT_EQ(m_vm->completedCount(), 0);
  EXPECT_EQ(m_vm->skippedCount(), 0);
  m_converter.releaseAll();
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_EQ(m_converter.jobs()[2].settings.format, OutputFormat::Jpeg);
  EXPECT_EQ(m_vm->items()[0].outputURL(), m_files / "compressed/a.jpg");
  EXPECT_FALSE(m_vm->items()[0].score());  // not measured this time
}

TEST_F(BatchRunTest, AutoIsSavedReachesTheJobsAndRowsShowTheFormatThatWon) {
  m_vm->updateAutoFormat();
  auto restarted = makeController();
  restarted->loadSavedSettings();
  EXPECT_TRUE(restarted->settings().autoFormat);

  m_converter.encodeAs("a.png",
                       {.format = OutputFormat::Avif, .quality = 61, .chosen = true, .score = 1.2});
  m_converter.failOn("b.png");
  m_converter.releaseAll();
  add({"a.png", "b.png"});
  ASSERT_TRUE(runToEnd());
  ASSERT_EQ(m_converter.jobs().size(), 2u);
  EXPECT_TRUE(m_converter.jobs()[0].settings.autoFormat);
  EXPECT_EQ(m_vm->items()[0].batchFormat(), OutputFormat::Avif);
  EXPECT_FALSE(m_vm->items()[1].batchFormat());  // failed: no format was chosen
  EXPECT_TRUE(m_vm->items()[1].batchAuto());
  const auto& report = m_vm->lastReport();
  ASSERT_EQ(report.size(), 2u);
  for (const ReportRow& row : report) {
    if (row.status == ReportRow::Status::Converted) {
      EXPECT_EQ(row.format, OutputFormat::Avif);
      EXPECT_EQ(row.quality, 61);
    } else {
      EXPECT_TRUE(row.autoUnchosen);
    }
  }
}

TEST_F(BatchRunTest, RowsRemovedOrClearedDuringARunAreLeftAloneTheRestConverts) {
  add({"r0.png", "r1.png", "r2.png", "r3.png", "r4.png"});
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_converter.running() == 2; }, 10000));
  m_vm->removeItem(m_vm->items()[0].id());  // converting
  m_vm->removeItem(m_vm->items()[2].id());  // r3, waiting: never starts
  add({"late.png"});                        // joins the run
  m_converter.releaseAll();
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_EQ(kinds(), std::vector<Kind>(4, Kind::Completed));
  std::vector<std::string> started = m_converter.started();
  std::sort(started.begin(), started.end());
  EXPECT_EQ(started,
            (std::vector<std::string>{"late.png", "r0.png", "r1.png", "r2.png", "r4.png"}));

  m_converter.releaseAll();
  add({"x0.png", "x1.png", "x2.png"});
  m_vm->startConversion();
  m_vm->clearItems();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !m_vm->isConverting(); }, 10000));
  EXPECT_FALSE(m_vm->hasItems());
}

TEST_F(BatchRunTest, DestroyingTheControllerMidRunStopsTheConversions) {
  add({"d0.png", "d1.png", "d2.png"});
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_converter.running() == 2; }, 10000));
  m_vm.reset();  // cancels and waits: returns at all only if they stopped
  EXPECT_EQ(m_converter.running(), 0);
}

}  // namespace
}  // namespace quorvane::core
