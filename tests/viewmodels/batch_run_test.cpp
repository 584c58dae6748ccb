#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "codec/image_codec.h"
#include "services/settings_store.h"
#include "support/test_files.h"
#include "viewmodels/conversion_view_model.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

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

// The batch runs real conversions through fake tools: a cwebp that waits for
// a gate file (so a test decides when conversions end) and records how many
// run at once.
class BatchRunTest : public ::testing::Test {
 protected:
  BatchRunTest() {
    fs::create_directories(m_resources / "bin");
    fs::create_directories(m_resources / "running");
    const std::string dir = m_resources.path().native();
    tool("cwebp",
         "eval in=\\${$(($# - 2))}; eval out=\\${$#}\n"
         "touch '" +
             dir +
             "/running/'$$\n"
             "ls '" +
             dir + "/running' | wc -l >> '" + dir +
             "/concurrency'\n"
             "while [ ! -e '" +
             dir +
             "/gate' ]; do sleep 0.01; done\n"
             "rm -f '" +
             dir +
             "/running/'$$\n"
             "cp \"$in\" \"$out\"");
    tool("cjpeg", "eval in=\\${$#}; cat \"$in\"");
  }
  void tool(const std::string& name, const std::string& body) {
    const fs::path path = m_resources / "bin" / name;
    test::writeFile(path, "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
  }
  void openGate() { test::writeFile(m_resources / "gate", ""); }
  void closeGate() { fs::remove(m_resources / "gate"); }
  int maxConcurrency() const {
    std::ifstream in(m_resources / "concurrency");
    int most = 0;
    for (int n; in >> n;) most = std::max(most, n);
    return most;
  }
  int runningTools() const {
    return static_cast<int>(std::distance(fs::directory_iterator(m_resources / "running"), {}));
  }
  // A PNG, which the fake cwebp gets directly (its name shows in the arguments).
  fs::path image(const fs::path& folder, const std::string& name) {
    fs::create_directories(folder);
    codec::RgbaImage pixels(6, 4);
    std::fill(pixels.data(), pixels.data() + pixels.byteSize(), 200);
    EXPECT_TRUE(codec::writePng(pixels, folder / name));
    return folder / name;
  }
  std::unique_ptr<ConversionViewModel> makeController() {
    auto store = settingsStoreAt(QString::fromStdString((m_config / "q.conf").native()));
    auto vm = std::make_unique<ConversionViewModel>(
        std::make_unique<SettingsPersistence>(store), std::make_unique<BookmarkService>(store),
        m_desktop, ImageConverter(ToolManager(m_resources.path())));
    vm->setParallelLimit(2);
    return vm;
  }
  bool runToEnd(ConversionViewModel& vm) {
    QSignalSpy finished(&vm, &ConversionViewModel::conversionFinished);
    vm.startConversion();
    return !finished.isEmpty() || finished.wait(20000);
  }
  std::vector<ConversionStatus::Kind> kinds() const {
    std::vector<ConversionStatus::Kind> result;
    for (const auto& item : m_vm->items()) result.push_back(item->status().kind);
    return result;
  }

  ScratchDir m_config;
  ScratchDir m_resources;
  ScratchDir m_files;
  RecordingDesktop m_desktop;
  std::unique_ptr<ConversionViewModel> m_vm = makeController();
};

using Kind = ConversionStatus::Kind;

TEST_F(BatchRunTest, AllCompletedRunsAnEmptyBatchAndStillSignalsTheEnd) {
  openGate();
  m_vm->addFiles({image(m_files.path(), "a.png")});
  ASSERT_TRUE(runToEnd(*m_vm));
  m_desktop.sounds = m_desktop.attentions = 0;
  QSignalSpy converting(m_vm.get(), &ConversionViewModel::isConvertingChanged);
  ASSERT_TRUE(runToEnd(*m_vm));
  EXPECT_EQ(converting.count(), 2);  // true, then false
  EXPECT_FALSE(m_vm->isConverting());
  EXPECT_EQ(m_desktop.sounds, 1);
  EXPECT_EQ(m_desktop.attentions, 1);

  m_desktop.active = true;  // frontmost: neither sound nor attention
  ASSERT_TRUE(runToEnd(*m_vm));
  EXPECT_EQ(m_desktop.sounds, 1);
}

TEST_F(BatchRunTest, DefaultFolderIsBesideTheFirstListedFile) {
  openGate();
  m_vm->addFiles({image(m_files / "one", "a.png"), image(m_files / "two", "b.png")});
  ASSERT_TRUE(runToEnd(*m_vm));
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Completed, Kind::Completed}));
  EXPECT_EQ(m_vm->items()[0]->outputURL(), m_files / "one/compressed/a.webp");
  EXPECT_EQ(m_vm->items()[1]->outputURL(), m_files / "one/compressed/b.webp");
  EXPECT_EQ(m_vm->items()[1]->compressedSize(),
            static_cast<qint64>(fs::file_size(m_files / "one/compressed/b.webp")));
  EXPECT_FALSE(fs::exists(m_files / "two/compressed"));
}

TEST_F(BatchRunTest, CustomNumbersSkipCompletedItemsAndNeverCollide) {
  openGate();
  m_vm->addFiles({image(m_files.path(), "first.png")});
  ASSERT_TRUE(runToEnd(*m_vm));  // first.webp, in original naming
  // Same base name in two folders: original naming must still keep them apart.
  m_vm->addFiles({image(m_files / "x", "same.png"), image(m_files / "y", "same.png")});
  m_vm->updateNamingMode(NamingMode::Custom);
  m_vm->addFiles({image(m_files.path(), "c.png")});
  ASSERT_TRUE(runToEnd(*m_vm));
  const fs::path out = m_files / "compressed";
  EXPECT_EQ(m_vm->items()[0]->outputURL(), out / "first.webp");
  EXPECT_EQ(m_vm->items()[1]->outputURL(), out / "image-01.webp");
  EXPECT_EQ(m_vm->items()[2]->outputURL(), out / "image-02.webp");
  EXPECT_EQ(m_vm->items()[3]->outputURL(), out / "image-03.webp");
}

TEST_F(BatchRunTest, MemoryBudgetHoldsBackWhatWouldNotFitAndLetsTheLargestRunAlone) {
  // Each of these tiny conversions is estimated at a little over 16 MiB:
  // one fits in 20 MiB, two do not.
  m_vm->setMemoryBudget(20 << 20);
  for (int i = 0; i < 3; ++i)
    m_vm->addFiles({image(m_files.path(), test::numbered("m", i, ".png"))});
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return runningTools() == 1; }, 10000));
  EXPECT_FALSE(QTest::qWaitFor([&] { return runningTools() == 2; }, 300));
  openGate();
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_EQ(m_vm->completedCount(), 3);
  EXPECT_EQ(maxConcurrency(), 1);

  closeGate();
  m_vm->setMemoryBudget(1);  // over budget on its own: still converted, alone
  m_vm->addFiles({image(m_files.path(), "huge.png")});
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return runningTools() == 1; }, 10000));
  openGate();
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_EQ(m_vm->completedCount(), 4);
}

TEST_F(BatchRunTest, ParallelLimitHoldsAndASecondStartIsIgnored) {
  for (int i = 0; i < 6; ++i)
    m_vm->addFiles({image(m_files.path(), test::numbered("p", i, ".png"))});
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return runningTools() == 2; }, 10000));
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startConversion();  // ignored
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Processing, Kind::Processing, Kind::Waiting,
                                        Kind::Waiting, Kind::Waiting, Kind::Waiting}));
  openGate();
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_EQ(finished.count(), 1);
  EXPECT_EQ(m_vm->completedCount(), 6);
  EXPECT_LE(maxConcurrency(), 2);
}

TEST_F(BatchRunTest, CancelStopsRunningToolsAndWaitingItemsThenRetryConvertsThem) {
  for (int i = 0; i < 5; ++i)
    m_vm->addFiles({image(m_files.path(), test::numbered("c", i, ".png"))});
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return runningTools() == 2; }, 10000));
  m_vm->cancelConversion();
  EXPECT_TRUE(m_vm->isCancelling());
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_TRUE(finished.front().front().toBool());
  EXPECT_EQ(kinds(), std::vector<Kind>(5, Kind::Cancelled));
  EXPECT_FALSE(m_vm->isCancelling());
  EXPECT_EQ(m_desktop.sounds, 0);  // no completion signal after a cancel
  ASSERT_EQ(m_desktop.announcements.size(), 1u);
  EXPECT_EQ(m_desktop.announcements[0], "Cancelling conversion");
  EXPECT_FALSE(fs::exists(m_files / "compressed/c0.webp"));

  openGate();
  ASSERT_TRUE(runToEnd(*m_vm));
  EXPECT_EQ(m_vm->completedCount(), 5);

  m_vm->cancelConversion();  // nothing runs: no announcement
  EXPECT_EQ(m_desktop.announcements.size(), 1u);
}

TEST_F(BatchRunTest, AFailureShowsItsTextAndIsRetriedNextTime) {
  openGate();
  test::writeFile(m_files / "broken.png", "not a PNG");
  m_vm->addFiles({image(m_files.path(), "good.png"), m_files / "broken.png"});
  ASSERT_TRUE(runToEnd(*m_vm));
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Completed, Kind::Error}));
  const QString notAnImage = "Not an image, or a kind this program cannot read";
  EXPECT_EQ(m_vm->items()[1]->status().message, notAnImage);
  EXPECT_EQ(m_vm->items()[1]->errorMessage(), notAnImage);

  image(m_files.path(), "broken.png");  // mended
  ASSERT_TRUE(runToEnd(*m_vm));
  EXPECT_EQ(kinds(), (std::vector<Kind>{Kind::Completed, Kind::Completed}));
  EXPECT_FALSE(m_vm->items()[1]->errorMessage());
}

TEST_F(BatchRunTest, SettingsChangedDuringARunDoNotAffectIt) {
  m_vm->addFiles({image(m_files.path(), "a.png"), image(m_files.path(), "b.png"),
                  image(m_files.path(), "c.png")});
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return runningTools() == 2; }, 10000));
  m_vm->updateOutputFormat(OutputFormat::Jpeg);
  openGate();
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_EQ(m_vm->items()[2]->outputURL(), m_files / "compressed/c.webp");
}

TEST_F(BatchRunTest, RemovingOrClearingDuringARunIsSafe) {
  for (int i = 0; i < 4; ++i)
    m_vm->addFiles({image(m_files.path(), test::numbered("r", i, ".png"))});
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return runningTools() == 2; }, 10000));
  const auto removed = m_vm->items()[0];
  m_vm->removeItem(*removed);
  m_vm->clearItems();
  openGate();
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_FALSE(m_vm->hasItems());
  EXPECT_EQ(removed->status().kind, Kind::Processing);  // a removed item is left alone
}

TEST_F(BatchRunTest, RemovingARowDuringARunStillConvertsTheRest) {
  for (int i = 0; i < 5; ++i)
    m_vm->addFiles({image(m_files.path(), test::numbered("k", i, ".png"))});
  QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return runningTools() == 2; }, 10000));
  m_vm->removeItem(*m_vm->items()[0]);  // a running one, before the walk's position
  openGate();
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_EQ(kinds(), std::vector<Kind>(4, Kind::Completed));
}

TEST_F(BatchRunTest, DestroyingTheControllerMidRunEndsTheTools) {
  for (int i = 0; i < 3; ++i)
    m_vm->addFiles({image(m_files.path(), test::numbered("d", i, ".png"))});
  m_vm->startConversion();
  ASSERT_TRUE(QTest::qWaitFor([&] { return runningTools() == 2; }, 10000));
  m_vm.reset();
  EXPECT_TRUE(fs::is_empty(m_files / "compressed"));
}

}  // namespace
}  // namespace quorvane::core
