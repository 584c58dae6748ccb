// Batches and their folders (a dropped folder's compressed/, a chosen one
// that cannot be written) and the quality one image is given on its own.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "batch_run_fixture.h"
#include "support/read_only_folder.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;

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

}  // namespace
}  // namespace quorvane::core
