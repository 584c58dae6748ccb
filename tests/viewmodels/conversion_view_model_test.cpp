#include "viewmodels/conversion_view_model.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "services/image_converter.h"
#include "services/settings_store.h"
#include "support/fake_converter.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using test::writeBmp;
using test::writeFile;

class FakeDesktop final : public DesktopIntegration {
 public:
  void openFolder(const fs::path& folder) override { opened.push_back(folder); }
  bool isApplicationActive() const override { return true; }
  void playCompletionSound() override {}
  void requestAttention() override {}
  void announce(const QString&) override {}
  std::vector<fs::path> opened;
};

class ConversionViewModelTest : public ::testing::Test {
 protected:
  std::shared_ptr<QSettings> store() const {
    return settingsStoreAt(QString::fromStdString((m_config / "Quorvane.conf").native()));
  }
  std::unique_ptr<ConversionViewModel> makeController() {
    return std::make_unique<ConversionViewModel>(std::make_unique<SettingsPersistence>(store()),
                                                 std::make_unique<BookmarkService>(store()),
                                                 m_desktop, &m_converter);
  }
  ConversionSettings savedSettings() const { return SettingsPersistence(store()).load(); }
  std::vector<std::string> listedNames(const ConversionViewModel& vm) const {
    std::vector<std::string> result;
    for (const auto& item : vm.items())
      result.push_back(item.url().lexically_relative(m_files.path()));
    return result;
  }
  // Intake walks on a worker: wait (with a deadline) until it is done.
  bool add(const std::vector<fs::path>& locations) {
    m_vm->addFiles(locations);
    return QTest::qWaitFor([&] { return !m_vm->isAddingFiles(); }, 10000);
  }
  bool convertAll() {
    QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
    m_converter.releaseAll();
    m_vm->startConversion();
    return finished.wait(10000);
  }

  ScratchDir m_config;
  ScratchDir m_files;
  FakeDesktop m_desktop;
  test::FakeConverter m_converter;
  std::unique_ptr<ConversionViewModel> m_vm = makeController();
};

TEST_F(ConversionViewModelTest, AMissingEncoderKeepsTheBatchFromStartingAndSaysWhich) {
  // The real converter, with a resource folder that has no tools at all.
  ScratchDir resources;
  fs::create_directories(resources / "bin");
  const ImageConverter converter{ToolManager(resources.path())};
  ConversionViewModel vm(std::make_unique<SettingsPersistence>(store()),
                         std::make_unique<BookmarkService>(store()), m_desktop, &converter);
  writeBmp(m_files / "a.bmp", 4, 3);
  vm.addFiles({m_files / "a.bmp"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !vm.isAddingFiles(); }, 10000));
  vm.updateOutputFormat(OutputFormat::Jxl);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ASSERT_TRUE(vm.startRefusal());
  EXPECT_TRUE(vm.startRefusal()->startsWith(
      "JPEG XL needs the programs of libjxl-tools: CLI tool 'cjxl' not found"))
      << vm.startRefusal()->toStdString();
  vm.startConversion();
  EXPECT_FALSE(vm.isConverting());
  EXPECT_EQ(vm.items()[0].status().kind, ConversionStatus::Kind::Waiting);
  // Other formats' tools are looked for image by image, as before.
  vm.updateOutputFormat(OutputFormat::Webp);
  EXPECT_FALSE(vm.startRefusal());
}

TEST_F(ConversionViewModelTest, AddingAFolderTwiceAddsNothingTheSecondTime) {
  fs::create_directories(m_files / "album/sub");
  writeBmp(m_files / "album/a.bmp", 4, 3);
  writeBmp(m_files / "album/sub/b.bmp", 2, 2);
  QSignalSpy inserted(m_vm.get(), &ConversionViewModel::itemsInserted);

  ASSERT_TRUE(add({m_files / "album"}));
  EXPECT_EQ(listedNames(*m_vm), (std::vector<std::string>{"album/a.bmp", "album/sub/b.bmp"}));
  EXPECT_EQ(m_vm->items()[0].pixelWidth(), 4);  // measured on the way in
  EXPECT_EQ(m_vm->items()[0].pixelHeight(), 3);
  EXPECT_EQ(inserted.count(), 1);

  ASSERT_TRUE(add({m_files / "album"}));
  EXPECT_EQ(m_vm->items().size(), 2u);
  EXPECT_EQ(inserted.count(), 1);  // nothing new, nobody told
}

TEST_F(ConversionViewModelTest, DropsQueueBehindEachOtherAndWhatCannotBeReadIsReported) {
  fs::create_directories(m_files / "first");
  fs::create_directories(m_files / "second");
  for (int i = 0; i < 3; ++i) writeBmp(m_files / test::numbered("first/", i, ".bmp"), 1, 1);
  writeBmp(m_files / "second/z.bmp", 1, 1);
  writeFile(m_files / "notes.txt", "x");
  QSignalSpy unreadable(m_vm.get(), &ConversionViewModel::unreadableFound);
  m_vm->addFiles({m_files / "first"});
  m_vm->addFiles({m_files / "second", m_files / "missing.png", m_files / "notes.txt"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !m_vm->isAddingFiles(); }, 10000));
  EXPECT_EQ(listedNames(*m_vm), (std::vector<std::string>{"first/0.bmp", "first/1.bmp",
                                                          "first/2.bmp", "second/z.bmp"}));
  ASSERT_EQ(unreadable.count(), 1);
  const auto paths = unreadable.front().front().value<std::vector<UnreadablePath>>();
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].path, m_files / "missing.png");
  EXPECT_EQ(paths[0].error, std::errc::no_such_file_or_directory);
}

TEST_F(ConversionViewModelTest, ClearStopsAWalkThatIsStillAdding) {
  fs::create_directories(m_files / "many");
  for (int i = 0; i < 3000; ++i) writeFile(m_files / test::numbered("many/", i, ".png"), "x");
  m_vm->addFiles({m_files / "many"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_vm->hasItems(); }, 10000));  // rows while walking
  m_vm->clearItems();
  EXPECT_FALSE(m_vm->isAddingFiles());
  EXPECT_FALSE(QTest::qWaitFor([&] { return m_vm->hasItems(); }, 300));  // nothing more arrives
}

TEST_F(ConversionViewModelTest, RemoveAndClearLeaveFilesOnDiskAndSayWhichRows) {
  writeBmp(m_files / "a.bmp", 1, 1);
  writeBmp(m_files / "b.bmp", 1, 1);
  ASSERT_TRUE(add({m_files / "a.bmp", m_files / "b.bmp", m_files / "a.bmp"}));
  ASSERT_EQ(m_vm->items().size(), 3u);  // named twice in one call: listed twice
  EXPECT_NE(m_vm->items()[0].id(), m_vm->items()[2].id());
  QSignalSpy removed(m_vm.get(), &ConversionViewModel::itemsRemoved);
  m_vm->removeItem(m_vm->items()[0].id());
  EXPECT_EQ(listedNames(*m_vm), (std::vector<std::string>{"b.bmp", "a.bmp"}));
  ASSERT_EQ(removed.count(), 1);
  EXPECT_EQ(removed.front(), (QList<QVariant>{0, 1}));
  m_vm->removeItem(QUuid::createUuid());  // not listed
  EXPECT_EQ(removed.count(), 1);
  // The remaining rows are still found by id.
  m_vm->removeItem(m_vm->items()[1].id());
  EXPECT_EQ(listedNames(*m_vm), std::vector<std::string>{"b.bmp"});
  // No row of it left: it can be added again, once; b.bmp is still listed.
  ASSERT_TRUE(add({m_files / "a.bmp", m_files / "b.bmp"}));
  EXPECT_EQ(listedNames(*m_vm), (std::vector<std::string>{"b.bmp", "a.bmp"}));

  QSignalSpy cleared(m_vm.get(), &ConversionViewModel::itemsCleared);
  m_vm->clearItems();
  EXPECT_FALSE(m_vm->hasItems());
  m_vm->clearItems();
  EXPECT_EQ(cleared.count(), 1);
  EXPECT_TRUE(fs::exists(m_files / "a.bmp"));
  ASSERT_TRUE(add({m_files / "a.bmp"}));  // listed again after a clear
  EXPECT_EQ(m_vm->items().size(), 1u);
}

TEST_F(ConversionViewModelTest, TotalsFollowEveryChange) {
  writeFile(m_files / "a.png", std::string(1000, 'x'));
  writeFile(m_files / "b.png", std::string(500, 'x'));
  ASSERT_TRUE(add({m_files / "a.png", m_files / "b.png"}));
  EXPECT_EQ(m_vm->totalOriginalSize(), 1500);
  m_converter.failOn("a.png");
  ASSERT_TRUE(convertAll());
  EXPECT_EQ(m_vm->completedCount(), 1);
  EXPECT_EQ(m_vm->failedCount(), 1);
  EXPECT_EQ(m_vm->convertedOriginalSize(), 500);
  m_vm->removeItem(m_vm->items()[1].id());
  EXPECT_EQ(m_vm->totalOriginalSize(), 1000);
  EXPECT_EQ(m_vm->completedCount(), 0);
  EXPECT_EQ(m_vm->convertedOriginalSize(), 0);
  EXPECT_EQ(m_vm->failedCount(), 1);
}

TEST_F(ConversionViewModelTest, SwitchingResizeOnFillsTheLargestSides) {
  m_vm->updateMaxWidth(640);
  m_vm->updateResizeEnabled(true);  // empty list: maxima stay
  EXPECT_EQ(m_vm->settings().maxWidth, 640);
  EXPECT_FALSE(m_vm->settings().maxHeight);

  writeBmp(m_files / "landscape.bmp", 40, 30);
  writeBmp(m_files / "portrait.bmp", 10, 50);
  writeFile(m_files / "broken.png", "not an image");
  ASSERT_TRUE(add({m_files / "landscape.bmp", m_files / "portrait.bmp", m_files / "broken.png"}));
  m_vm->updateResizeEnabled(false);
  EXPECT_EQ(m_vm->settings().maxWidth, 640);  // switching off keeps the values
  m_vm->updateResizeEnabled(true);
  EXPECT_EQ(m_vm->settings().maxWidth, 40);
  EXPECT_EQ(m_vm->settings().maxHeight, 50);
  EXPECT_EQ(savedSettings().maxHeight, 50);
}

TEST_F(ConversionViewModelTest, PrefixIsMadeSafeForFileNames) {
  const struct {
    const char* typed;
    const char* stored;
  } cases[] = {{"a/b", "a_b"},
               {"..hidden", "_hidden"},
               {"x...y", "x_.y"},
               {"a\\b", "a_b"},
               {"../../etc", "____etc"},
               {"", ""},
               {"Ürlaub 写真", "Ürlaub 写真"}};
  for (const auto& c : cases) {
    m_vm->updateNamePrefix(QString::fromUtf8(c.typed));
    EXPECT_EQ(m_vm->settings().namePrefix, QString::fromUtf8(c.stored)) << c.typed;
    EXPECT_EQ(savedSettings().namePrefix, QString::fromUtf8(c.stored)) << c.typed;
  }
}

TEST_F(ConversionViewModelTest, StartNumberKeepsUpToSixNumericCharacters) {
  const struct {
    const char* typed;
    const char* stored;
  } cases[] = {
      {"007", "007"},
      {"12345678", "123456"},
      {"-5", "5"},
      {"abc", "5"},
      {"", "5"},
      {"1 2a3", "123"},
      {"\u0663", "\u0663"},
      {"\u00bd", "\u00bd"},
      {"\U0001D7D9\U0001D7DA", "\U0001D7D9\U0001D7DA"},
  };
  for (const auto& c : cases) {
    m_vm->updateNameStartNumber(QString::fromUtf8(c.typed));
    EXPECT_EQ(m_vm->settings().nameStartNumber, QString::fromUtf8(c.stored)) << c.typed;
    EXPECT_EQ(savedSettings().nameStartNumber, QString::fromUtf8(c.stored)) << c.typed;
  }
}

TEST_F(ConversionViewModelTest, SettingsAreSavedAtOnceAndNotifyOnlyOnChange) {
  QSignalSpy changes(m_vm.get(), &ConversionViewModel::settingsChanged);
  m_vm->updateOutputFormat(OutputFormat::Png);
  m_vm->updateOutputFormat(OutputFormat::Png);
  m_vm->updateQuality(101);
  m_vm->updateNamingMode(NamingMode::Custom);
  m_vm->updateMaxHeight(0);
  EXPECT_EQ(changes.count(), 4);
  EXPECT_EQ(savedSettings().outputFormat, OutputFormat::Png);
  EXPECT_EQ(savedSettings().namingMode, NamingMode::Custom);
}

TEST_F(ConversionViewModelTest, SavedSettingsAndFolderReturnOnlyWhenLoaded) {
  const fs::path out = m_files / "out";
  fs::create_directories(out);
  m_vm->updateQuality(33);
  m_vm->setOutputDirectory(out);

  auto restarted = makeController();
  EXPECT_EQ(restarted->settings(), ConversionSettings());
  restarted->loadSavedSettings();
  EXPECT_EQ(restarted->settings().quality, 33);
  EXPECT_EQ(restarted->settings().outputDirectory, out);

  restarted->setOutputDirectory(m_files / "missing");  // keeps the remembered folder
  EXPECT_EQ(restarted->settings().outputDirectory, out);
  restarted->resetOutputDirectory();
  EXPECT_FALSE(restarted->settings().outputDirectory);
  restarted->loadSavedSettings();
  EXPECT_FALSE(restarted->settings().outputDirectory);
}

TEST_F(ConversionViewModelTest, ASizeLimitIsSavedAndComesBackWithTheOtherOptions) {
  OutputOptions options = m_vm->settings().options;
  options.maxFileSize = 200'000;
  options.keepMetadata = true;
  m_vm->updateOptions(options);
  EXPECT_EQ(savedSettings().options.maxFileSize, std::optional<std::int64_t>(200'000));
  auto restarted = makeController();
  restarted->loadSavedSettings();
  EXPECT_EQ(restarted->settings().options, options);
  // The batch gets it.
  EXPECT_EQ(encodeSettingsOf(restarted->settings()).options.maxFileSize, options.maxFileSize);
  // No limit can be 0 or negative: that is none.
  options.maxFileSize = 0;
  restarted->updateOptions(options);
  EXPECT_FALSE(restarted->settings().options.maxFileSize);
  EXPECT_FALSE(savedSettings().options.maxFileSize);
}

TEST_F(ConversionViewModelTest, OpenOutputFolderPicksTheChosenThenTheFirstOutput) {
  m_vm->openOutputFolder();
  EXPECT_TRUE(m_desktop.opened.empty());

  writeBmp(m_files / "a.bmp", 1, 1);
  writeBmp(m_files / "b.bmp", 1, 1);
  ASSERT_TRUE(add({m_files / "a.bmp", m_files / "b.bmp"}));
  m_vm->openOutputFolder();
  EXPECT_TRUE(m_desktop.opened.empty());
  m_converter.failOn("a.bmp");
  ASSERT_TRUE(convertAll());
  m_vm->openOutputFolder();
  ASSERT_EQ(m_desktop.opened.size(), 1u);
  EXPECT_EQ(m_desktop.opened[0], m_files / "compressed");

  fs::create_directories(m_files / "chosen");
  m_vm->setOutputDirectory(m_files / "chosen");
  m_vm->openOutputFolder();
  ASSERT_EQ(m_desktop.opened.size(), 2u);
  EXPECT_EQ(m_desktop.opened[1], m_files / "chosen");
}

}  // namespace
}  // namespace quorvane::core
