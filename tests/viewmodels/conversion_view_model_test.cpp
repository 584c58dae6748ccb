#include <QSignalSpy>
#include <gtest/gtest.h>

#include <filesystem>

#include "services/settings_store.h"
#include "support/test_files.h"
#include "viewmodels/conversion_view_model.h"

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
                                                 m_desktop);
  }
  ConversionSettings savedSettings() const { return SettingsPersistence(store()).load(); }
  std::vector<std::string> listedNames(const ConversionViewModel& vm) const {
    std::vector<std::string> result;
    for (const auto& item : vm.items()) result.push_back(item->url().lexically_relative(m_files.path()));
    return result;
  }

  ScratchDir m_config;
  ScratchDir m_files;
  FakeDesktop m_desktop;
  std::unique_ptr<ConversionViewModel> m_vm = makeController();
};

TEST_F(ConversionViewModelTest, AddingAFolderTwiceAddsNothingTheSecondTime) {
  fs::create_directories(m_files / "album/sub");
  writeBmp(m_files / "album/a.bmp", 4, 3);
  writeBmp(m_files / "album/sub/b.bmp", 2, 2);
  QSignalSpy changes(m_vm.get(), &ConversionViewModel::itemsChanged);

  m_vm->addFiles({m_files / "album"});
  EXPECT_EQ(listedNames(*m_vm), (std::vector<std::string>{"album/a.bmp", "album/sub/b.bmp"}));
  EXPECT_EQ(changes.count(), 1);

  m_vm->addFiles({m_files / "album"});
  EXPECT_EQ(m_vm->items().size(), 2u);
  EXPECT_EQ(changes.count(), 1);  // nothing new, nobody told
}

TEST_F(ConversionViewModelTest, AFileNamedTwiceInOneCallIsListedTwice) {
  fs::create_directories(m_files / "album");
  writeBmp(m_files / "album/a.bmp", 4, 3);
  m_vm->addFiles({m_files / "album", m_files / "album/a.bmp"});
  EXPECT_EQ(listedNames(*m_vm), (std::vector<std::string>{"album/a.bmp", "album/a.bmp"}));
  EXPECT_NE(m_vm->items()[0]->id(), m_vm->items()[1]->id());
}

TEST_F(ConversionViewModelTest, NothingToAddChangesNothing) {
  fs::create_directories(m_files / "empty");
  writeFile(m_files / "notes.txt", "x");
  QSignalSpy changes(m_vm.get(), &ConversionViewModel::itemsChanged);
  m_vm->addFiles({m_files / "missing.png", m_files / "notes.txt", m_files / "empty"});
  EXPECT_FALSE(m_vm->hasItems());
  EXPECT_FALSE(m_vm->canStartConversion());
  EXPECT_EQ(changes.count(), 0);
}

TEST_F(ConversionViewModelTest, RemoveAndClearLeaveFilesOnDisk) {
  writeBmp(m_files / "a.bmp", 1, 1);
  writeBmp(m_files / "b.bmp", 1, 1);
  m_vm->addFiles({m_files / "a.bmp", m_files / "b.bmp", m_files / "a.bmp"});
  ASSERT_EQ(m_vm->items().size(), 3u);
  const auto first = m_vm->items()[0];
  m_vm->removeItem(*first);
  EXPECT_EQ(listedNames(*m_vm), (std::vector<std::string>{"b.bmp", "a.bmp"}));
  ImageItem stranger(m_files / "a.bmp");
  QSignalSpy changes(m_vm.get(), &ConversionViewModel::itemsChanged);
  m_vm->removeItem(stranger);  // same file, different item
  EXPECT_EQ(changes.count(), 0);
  m_vm->clearItems();
  EXPECT_FALSE(m_vm->hasItems());
  EXPECT_EQ(changes.count(), 1);
  m_vm->clearItems();
  EXPECT_EQ(changes.count(), 1);
  EXPECT_TRUE(fs::exists(m_files / "a.bmp"));
}

TEST_F(ConversionViewModelTest, TotalsCountWhatTheyShould) {
  writeFile(m_files / "a.png", std::string(1000, 'x'));
  writeFile(m_files / "b.png", std::string(500, 'x'));
  m_vm->addFiles({m_files / "a.png", m_files / "b.png"});
  EXPECT_EQ(m_vm->totalOriginalSize(), 1500);
  EXPECT_EQ(m_vm->totalCompressedSize(), 0);
  m_vm->items()[1]->setCompressedSize(100);
  m_vm->items()[1]->setStatus(ConversionStatus::completed());
  EXPECT_EQ(m_vm->totalOriginalSize(), 1500);
  EXPECT_EQ(m_vm->totalCompressedSize(), 100);
  EXPECT_EQ(m_vm->completedCount(), 1);
}

TEST_F(ConversionViewModelTest, SwitchingResizeOnFillsTheLargestSides) {
  m_vm->updateMaxWidth(640);
  m_vm->updateResizeEnabled(true);  // empty list: maxima stay
  EXPECT_EQ(m_vm->settings().maxWidth, 640);
  EXPECT_FALSE(m_vm->settings().maxHeight);

  writeBmp(m_files / "landscape.bmp", 40, 30);
  writeBmp(m_files / "portrait.bmp", 10, 50);
  writeFile(m_files / "broken.png", "not an image");
  m_vm->addFiles({m_files / "landscape.bmp", m_files / "portrait.bmp", m_files / "broken.png"});
  m_vm->updateResizeEnabled(false);
  EXPECT_EQ(m_vm->settings().maxWidth, 640);  // switching off keeps the values
  m_vm->updateResizeEnabled(true);
  EXPECT_EQ(m_vm->settings().maxWidth, 40);
  EXPECT_EQ(m_vm->settings().maxHeight, 50);
  const ConversionSettings saved = savedSettings();
  EXPECT_TRUE(saved.resizeEnabled);
  EXPECT_EQ(saved.maxWidth, 40);
  EXPECT_EQ(saved.maxHeight, 50);
}

TEST_F(ConversionViewModelTest, PrefixIsMadeSafeForFileNames) {
  const struct {
    const char* typed;
    const char* stored;
  } cases[] = {{"a/b", "a_b"},   {"..hidden", "_hidden"}, {"x...y", "x_.y"},
               {"a\\b", "a_b"}, {"../../etc", "____etc"},   {"", ""},
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
      {"007", "007"},           {"12345678", "123456"}, {"-5", "5"},
      {"abc", "5"},             {"", "5"},              {"1 2a3", "123"},
      {"\u0663", "\u0663"},     {"\u00bd", "\u00bd"},  {"\U0001D7D9\U0001D7DA", "\U0001D7D9\U0001D7DA"},
      {"7x", "7"},
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
  const ConversionSettings saved = savedSettings();
  EXPECT_EQ(saved.outputFormat, OutputFormat::Png);
  EXPECT_EQ(saved.quality, 101);
  EXPECT_EQ(saved.namingMode, NamingMode::Custom);
  EXPECT_FALSE(saved.maxHeight);
}

TEST_F(ConversionViewModelTest, SavedSettingsAndFolderReturnOnlyWhenLoaded) {
  const fs::path out = m_files / "out";
  fs::create_directories(out);
  m_vm->updateQuality(33);
  m_vm->setOutputDirectory(out);
  EXPECT_EQ(m_vm->settings().outputDirectory, out);

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

TEST_F(ConversionViewModelTest, OpenOutputFolderPicksTheChosenThenTheFirstOutput) {
  m_vm->openOutputFolder();
  EXPECT_TRUE(m_desktop.opened.empty());

  writeBmp(m_files / "a.bmp", 1, 1);
  writeBmp(m_files / "b.bmp", 1, 1);
  m_vm->addFiles({m_files / "a.bmp", m_files / "b.bmp"});
  m_vm->openOutputFolder();
  EXPECT_TRUE(m_desktop.opened.empty());
  m_vm->items()[1]->setOutputURL(m_files / "compressed/b.webp");
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
