#include "services/settings_persistence.h"

#include <gtest/gtest.h>

#include "services/settings_store.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

using test::ScratchDir;

// Each store is read by a fresh QSettings on the file, as a new process would.
class SettingsPersistenceTest : public ::testing::Test {
 protected:
  QString file() const { return QString::fromStdString((m_dir / "Quorvane.conf").native()); }
  SettingsPersistence fresh() const { return SettingsPersistence(settingsStoreAt(file())); }
  void writeByHand(const std::string& text) { test::writeFile(m_dir / "Quorvane.conf", text); }

  ScratchDir m_dir;
};

TEST_F(SettingsPersistenceTest, EverySavedFieldComesBackInANewProcess) {
  {
    SettingsPersistence store(settingsStoreAt(file()));
    store.saveOutputFormat(OutputFormat::Avif);
    store.saveQuality(-3);
    store.saveResizeEnabled(true);
    store.saveMaxWidth(1920);
    store.saveMaxHeight(std::nullopt);
    store.saveNamingMode(NamingMode::Custom);
    store.saveNamePrefix("holiday, 2024 \"best\"");
    store.saveNameStartNumber("007");
  }
  const ConversionSettings loaded = fresh().load();
  EXPECT_EQ(loaded.outputFormat, OutputFormat::Avif);
  EXPECT_EQ(loaded.quality, -3);
  EXPECT_TRUE(loaded.resizeEnabled);
  EXPECT_EQ(loaded.maxWidth, 1920);
  EXPECT_FALSE(loaded.maxHeight);
  EXPECT_EQ(loaded.namingMode, NamingMode::Custom);
  EXPECT_EQ(loaded.namePrefix, "holiday, 2024 \"best\"");
  EXPECT_EQ(loaded.nameStartNumber, "007");
  EXPECT_FALSE(loaded.outputDirectory);

  // An absent maximum is stored as 0 and reads back as absent.
  {
    SettingsPersistence store(settingsStoreAt(file()));
    store.saveMaxWidth(std::nullopt);
    store.saveAutoFormat();
  }
  EXPECT_FALSE(fresh().load().maxWidth);
  // Auto is stored in place of a format.
  EXPECT_TRUE(fresh().load().autoFormat);
  EXPECT_EQ(fresh().load().outputFormat, OutputFormat::Webp);
  // So is Same as Original, and the two exclude each other.
  SettingsPersistence(settingsStoreAt(file())).saveSameFormat();
  EXPECT_TRUE(fresh().load().sameFormat);
  EXPECT_FALSE(fresh().load().autoFormat);
  // Lossless is one of the options, off unless saved on.
  EXPECT_FALSE(fresh().load().options.lossless);
  OutputOptions lossless;
  lossless.lossless = true;
  SettingsPersistence(settingsStoreAt(file())).saveOptions(lossless);
  EXPECT_TRUE(fresh().load().options.lossless);
  // So is Auto trying JPEG XL; JPEG XL itself is a format like the others.
  EXPECT_FALSE(fresh().load().options.autoJpegXl);
  OutputOptions jxl;
  jxl.autoJpegXl = true;
  SettingsPersistence(settingsStoreAt(file())).saveOptions(jxl);
  EXPECT_TRUE(fresh().load().options.autoJpegXl);
  SettingsPersistence(settingsStoreAt(file())).saveOutputFormat(OutputFormat::Jxl);
  EXPECT_EQ(fresh().load().outputFormat, OutputFormat::Jxl);
  EXPECT_FALSE(fresh().load().sameFormat);
  // A size limit is an option too; none is saved as 0.
  EXPECT_FALSE(fresh().load().options.maxFileSize);
  OutputOptions limited;
  limited.maxFileSize = 1'500'000;
  SettingsPersistence(settingsStoreAt(file())).saveOptions(limited);
  EXPECT_EQ(fresh().load().options.maxFileSize, std::optional<std::int64_t>(1'500'000));
  SettingsPersistence(settingsStoreAt(file())).saveOptions({});
  EXPECT_FALSE(fresh().load().options.maxFileSize);
  // What no limit can be reads as none.
  for (const char* stored : {"-5", "0", "2000000000", "200k"}) {
    writeByHand(std::string("[General]\nmaxFileSize=") + stored + "\n");
    EXPECT_FALSE(fresh().load().options.maxFileSize) << stored;
  }
}

TEST_F(SettingsPersistenceTest, SaveWritesOnlyItsOwnKey) {
  {
    SettingsPersistence store(settingsStoreAt(file()));
    store.saveQuality(55);
  }
  QSettings raw(file(), QSettings::IniFormat);
  EXPECT_EQ(raw.allKeys(), QStringList{"quality"});
}

// Every field away from its default, as save() writes them all at once.
ConversionSettings unusualSettings() {
  ConversionSettings settings;
  settings.outputFormat = OutputFormat::Avif;
  settings.quality = 37;
  settings.outputDirectory = "/somewhere";
  settings.resizeEnabled = true;
  settings.maxWidth = 640;
  settings.maxHeight = 480;
  settings.namingMode = NamingMode::Custom;
  settings.namePrefix = "trip";
  settings.nameStartNumber = "0042";
  settings.options = {.minSaving = 20,
                      .ifLarger = IfLarger::Skip,
                      .keepMetadata = true,
                      .keepColorProfile = true,
                      .keepAlpha = true,
                      .keepFileDates = true,
                      .keepFolderStructure = true,
                      .skipConverted = true,
                      .checkQuality = false,
                      .lossless = true,
                      .autoJpegXl = true,
                      .autoBestEffort = true};
  return settings;
}

TEST_F(SettingsPersistenceTest, SaveWritesEveryFieldButTheFolderAndLoadGivesThemBack) {
  ConversionSettings settings = unusualSettings();
  SettingsPersistence(settingsStoreAt(file())).save(settings);
  settings.outputDirectory.reset();
  EXPECT_EQ(fresh().load(), settings);

  // Auto and Same as Original stand in place of the format.
  settings.autoFormat = true;
  SettingsPersistence(settingsStoreAt(file())).save(settings);
  EXPECT_TRUE(fresh().load().autoFormat);
  EXPECT_FALSE(fresh().load().sameFormat);
  settings.autoFormat = false;
  settings.sameFormat = true;
  SettingsPersistence(settingsStoreAt(file())).save(settings);
  EXPECT_TRUE(fresh().load().sameFormat);
  EXPECT_FALSE(fresh().load().autoFormat);

  // Saved back as defaults, every key reads as the default again.
  SettingsPersistence(settingsStoreAt(file())).save(ConversionSettings());
  EXPECT_EQ(fresh().load(), ConversionSettings());
}

TEST_F(SettingsPersistenceTest, ValuesOfTheWrongTypeReadAsDefaults) {
  writeByHand(
      "[General]\n"
      "outputFormat=JPEG\n"
      "quality=high\n"
      "resizeEnabled=yes\n"
      "resizeMaxWidth=-5\n"
      "resizeMaxHeight=12.5\n"
      "namingMode=Custom\n"
      "namePrefix=a, b\n"
      "nameStartNumber=abc\n");
  const ConversionSettings loaded = fresh().load();
  EXPECT_EQ(loaded.outputFormat, OutputFormat::Webp);
  EXPECT_EQ(loaded.quality, 80);
  EXPECT_FALSE(loaded.resizeEnabled);
  EXPECT_FALSE(loaded.maxWidth);
  EXPECT_FALSE(loaded.maxHeight);
  EXPECT_EQ(loaded.namingMode, NamingMode::Original);
  EXPECT_EQ(loaded.namePrefix, "image");     // an unquoted comma makes a list, not text
  EXPECT_EQ(loaded.nameStartNumber, "abc");  // text, kept as it was stored
}

TEST_F(SettingsPersistenceTest, AnEmptyStoreGivesDefaultsAndAnEmptyPrefixWrittenByHandIsTaken) {
  EXPECT_EQ(fresh().load(), ConversionSettings());
  writeByHand("[General]\nnamePrefix=\n");
  EXPECT_EQ(fresh().load().namePrefix, "");
}

TEST(SettingsPersistenceReads, InProcessTypesFollowTheSameRule) {
  EXPECT_EQ(SettingsPersistence::readInteger(QVariant(42), 1), 42);
  EXPECT_EQ(SettingsPersistence::readInteger(QVariant(true), 1), 1);
  EXPECT_EQ(SettingsPersistence::readInteger(QVariant(2.5), 1), 1);
  EXPECT_EQ(SettingsPersistence::readInteger(QVariant(qlonglong{1} << 40), 1), 1);
  EXPECT_EQ(SettingsPersistence::readInteger(QVariant(QString(" 4")), 1), 1);
  EXPECT_EQ(SettingsPersistence::readInteger(QVariant(QString("99999999999")), 1), 1);
  EXPECT_EQ(SettingsPersistence::readBoolean(QVariant(QString("1")), false), false);
  EXPECT_EQ(SettingsPersistence::readBoolean(QVariant(1), false), false);
  EXPECT_EQ(SettingsPersistence::readText(QVariant(5), "d"), "d");
  EXPECT_EQ(SettingsPersistence::readText(QVariant(QStringList{"a"}), "d"), "d");
}

}  // namespace
}  // namespace quorvane::core
