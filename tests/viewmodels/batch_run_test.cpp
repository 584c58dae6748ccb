#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "services/settings_store.h"
#include "support/fake_converter.h"
#include "support/read_only_folder.h"
#include "support/test_files.h"
#include "viewmodels/conversion_view_model.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using Kind = ConversionStatus::Kind;

class RecordingDesktop final : public DesktopIntegration {
 public:
  void openFolder(const fs::path&) override {}
  bool isApplicationActive() const override { return active; }
  void playCompletionSound() override { ++sounds; }
  void requestAttention() override { ++attentions; }
  void announce(const QString& text) override { announcements.push_back(text); }
  bool active = false;
  int sounds = 0;
  int attentions = 0;
  std::vector<QString> announcements;
};

// The controller's batches, with a fake converter that the test lets finish.
// (The scheduling itself is BatchRunner's, tested with it.)
class BatchRunTest : public ::testing::Test {
 protected:
  std::unique_ptr<ConversionViewModel> makeController() {
    auto store = settingsStoreAt(QString::fromStdString((m_config / "q.conf").native()));
    auto vm = std::make_unique<ConversionViewModel>(std::make_unique<SettingsPersistence>(store),
                                                    std::make_unique<BookmarkService>(store),
                                                    m_desktop, &m_converter);
    vm->setParallelLimit(2);
    return vm;
  }
  // Files named like images, holding their name: the fake converter never
  // reads them, and no two look alike to the ledger.
  void add(std::initializer_list<std::string> names, const fs::path& folder = {}) {
    std::vector<fs::path> paths;
    for (const std::string& name : names) {
      const fs::path path = (folder.empty() ? m_files.path() : folder) / name;
      fs::create_directories(path.parent_path());
      test::writeFile(path, name);
      paths.push_back(path);
    }
    m_vm->addFiles(paths);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_vm->isAddingFiles(); }, 10000));
  }
  bool runToEnd() {
    QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
    m_vm->startConversion();
    return finished.wait(10000);
  }
  std::vector<Kind> kinds() const {
    std::vector<Kind> result;
    for (const auto& item : m_vm->items()) result.push_back(item.status().kind);
    return result;
  }

  ScratchDir m_config;
  ScratchDir m_files;
  RecordingDesktop m_desktop;
  test::FakeConverter m_converter;
  std::unique_ptr<ConversionViewModel> m_vm = makeController();
};

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

TEST_F(BatchRunTest, ImagesOfADroppedFolderGoIntoItsCompressedFolderHoweverDeep) {
  m_converter.releaseAll();
  const fs::path batch = m_files / "batch20";
  for (const char* name : {"alpha/a.png", "alpha/deep/b.png", "beta/c.png", "d.png"}) {
    fs::create_directories((batch / name).parent_path());
    test::writeFile(batch / name, "x");
  }
  m_vm->addFiles({batch});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !m_vm->isAddingFiles(); }, 10000));
  ASSERT_EQ(m_vm->items().front().url(), batch / "alpha/a.png");
  EXPECT_EQ(m_vm->outputFolder(), batch / "compressed");  // named before the start
  ASSERT_TRUE(runToEnd());
  ASSERT_EQ(m_converter.jobs().size(), 4u);
  for (const ConversionJob& job : m_converter.jobs()) {
    EXPECT_EQ(job.outputDirectory, batch / "compressed") << job.input;
  }
}

TEST_F(BatchRunTest, AChosenFolderThatCannotBeWrittenStartsNothingAndIsNeverReplaced) {
  add({"a.png", "b.png"});
  m_converter.releaseAll();
  QSignalSpy refused(m_vm.get(), &ConversionViewModel::outputFolderRefused);

  // Read-only: as someone who may not write there (root may).
  const fs::path locked = m_files / "locked";
  test::makeReadOnlyFolder(locked, m_files.path());
  m_vm->setOutputDirectory(locked);
  {
    const test::NoRootRights user;
    ASSERT_TRUE(user.ok());
    m_vm->startConversion();
    m_vm->startOrConvertAllAgain();
  }
  ASSERT_EQ(refused.count(), 2);
  EXPECT_EQ(refused.front().at(0).toString(), QString::fromStdString(locked.native()));
  EXPECT_EQ(refused.front().at(1).toString(), QStringLiteral("Permission denied"));

  // Gone (an unplugged drive), at the next launch: still the choice, and
  // not made anew somewhere.
  const fs::path drive = m_files / "drive";
  fs::create_directories(drive);
  m_vm->setOutputDirectory(drive);
  fs::remove(drive);
  m_vm->loadSavedSettings();
  EXPECT_EQ(m_vm->settings().outputDirectory, drive);
  m_vm->startConversion();
  ASSERT_EQ(refused.count(), 3);
  EXPECT_EQ(refused.back().at(1).toString(), QStringLiteral("No such file or folder"));
  EXPECT_FALSE(fs::exists(drive));

  EXPECT_FALSE(m_vm->isConverting());
  EXPECT_TRUE(m_converter.started().empty());
  EXPECT_EQ(kinds(), std::vector<Kind>(2, Kind::Waiting));

  // Another folder chosen, the refused start is made.
  const fs::path open = m_files / "open";
  fs::create_directories(open);
  m_vm->setOutputDirectory(open);
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->retryRefusedStart();
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_EQ(m_converter.jobs().size(), 2u);
  EXPECT_EQ(m_converter.jobs()[0].outputDirectory, open);
}

TEST_F(BatchRunTest, OneImageGoesAgainAtHigherQualityAndKeepsItsScore) {
  m_converter.encodeAs("a.png", {.score = 3.4});
  m_converter.releaseAll();
  add({"a.png", "b.png"});
  ASSERT_TRUE(runToEnd());
  EXPECT_EQ(m_vm->items()[0].score(), std::optional<double>(3.4));
  m_vm->updateQuality(95);
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->convertAgainAtHigherQuality(m_vm->items()[0].id());
  ASSERT_TRUE(finished.wait(10000));
  ASSERT_EQ(m_converter.jobs().size(), 3u);  // only that image ran again
  EXPECT_EQ(m_converter.jobs()[2].input.filename(), "a.png");
  EXPECT_EQ(m_converter.jobs()[2].settings.quality, 100);  // 10 higher, at most 100

  // The report says the quality it was encoded at, not the batch's.
  m_vm->convertAgainAtHigherQuality(m_vm->items()[1].id());
  ASSERT_TRUE(finished.wait(10000));
  ASSERT_EQ(m_converter.jobs().size(), 4u);
  ASSERT_FALSE(m_vm->lastReport().empty());
  EXPECT_EQ(m_vm->lastReport().back().quality, 100);
}

TEST_F(BatchRunTest, AQualityChosenForOneImageStaysWithItUntilAllGoAgain) {
  m_converter.releaseAll();
  add({"a.png", "b.png"});
  ASSERT_TRUE(runToEnd());
  const QUuid b = m_vm->items()[1].id();
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->convertAtQuality(b, 35);
  ASSERT_TRUE(finished.wait(10000));
  ASSERT_EQ(m_converter.jobs().size(), 3u);  // only that image ran again
  EXPECT_EQ(m_converter.jobs()[2].input.filename(), "b.png");
  EXPECT_EQ(m_converter.jobs()[2].settings.quality, 35);
  EXPECT_EQ(m_vm->items()[1].chosenQuality(), std::optional<int>(35));
  // The report says the quality it was encoded at, not the batch's.
  ASSERT_FALSE(m_vm->lastReport().empty());
  EXPECT_EQ(m_vm->lastReport().back().quality, 35);

  // Higher quality raises the chosen one; the batch's quality does not move it.
  m_vm->updateQuality(60);
  m_vm->convertAgainAtHigherQuality(b);
  ASSERT_TRUE(finished.wait(10000));
  ASSERT_EQ(m_converter.jobs().size(), 4u);
  EXPECT_EQ(m_converter.jobs()[3].settings.quality, 45);
  EXPECT_EQ(m_vm->lastReport().back().quality, 45);

  // Convert All Again is with the settings of now, for every image.
  m_vm->convertAllAgain();
  ASSERT_TRUE(finished.wait(10000));
  ASSERT_EQ(m_converter.jobs().size(), 6u);
  for (std::size_t i : {4u, 5u}) EXPECT_EQ(m_converter.jobs()[i].settings.quality, 60);
  EXPECT_FALSE(m_vm->items()[1].chosenQuality());
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
