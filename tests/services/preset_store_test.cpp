#include "services/preset_store.h"

#include <gtest/gtest.h>

#include "services/settings_persistence.h"
#include "services/settings_store.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

using test::ScratchDir;

std::vector<QString> namesOf(const std::vector<Preset>& presets) {
  std::vector<QString> names;
  for (const Preset& preset : presets) names.push_back(preset.name);
  return names;
}

// Each read goes through a fresh QSettings on the file, as a new process
// (the command line) would.
class PresetStoreTest : public ::testing::Test {
 protected:
  QString file() const { return QString::fromStdString((m_dir / "Quorvane.conf").native()); }
  PresetStore fresh() const { return PresetStore(settingsStoreAt(file())); }
  void writeByHand(const std::string& text) { test::writeFile(m_dir / "Quorvane.conf", text); }

  ScratchDir m_dir;
};

ConversionSettings customSettings() {
  ConversionSettings settings;
  settings.outputFormat = OutputFormat::Jxl;
  settings.quality = 63;
  settings.outputDirectory = "/out";
  settings.resizeEnabled = true;
  settings.maxWidth = 800;
  settings.namingMode = NamingMode::Custom;
  settings.namePrefix = "a&b";
  settings.nameStartNumber = "007";
  settings.options.keepMetadata = true;
  settings.options.minSaving = 10;
  settings.options.ifLarger = IfLarger::Write;
  return settings;
}

TEST_F(PresetStoreTest, SaveReplaceRenameAndDeleteComeBackInANewProcess) {
  ASSERT_EQ(fresh().save("  Holiday  ", customSettings()), PresetStore::Outcome::Done);
  ConversionSettings second;
  second.sameFormat = true;
  ASSERT_EQ(fresh().save("Second", second), PresetStore::Outcome::Done);

  std::vector<Preset> saved = fresh().userPresets();
  ASSERT_EQ(namesOf(saved), (std::vector<QString>{"Holiday", "Second"}));
  ConversionSettings expected = customSettings();
  expected.outputDirectory.reset();  // never part of a preset
  EXPECT_EQ(saved[0].settings, expected);
  EXPECT_FALSE(saved[0].isBuiltIn());
  EXPECT_TRUE(saved[1].settings.sameFormat);

  // The same name in another case replaces the preset where it stands.
  ASSERT_EQ(fresh().save("HOLIDAY", ConversionSettings()), PresetStore::Outcome::Done);
  saved = fresh().userPresets();
  ASSERT_EQ(namesOf(saved), (std::vector<QString>{"HOLIDAY", "Second"}));
  EXPECT_EQ(saved[0].settings, ConversionSettings());

  // Renaming keeps the settings; a name another preset has is refused.
  EXPECT_EQ(fresh().rename("holiday", " Trip "), PresetStore::Outcome::Done);
  EXPECT_EQ(fresh().rename("Trip", "second"), PresetStore::Outcome::NameTaken);
  EXPECT_EQ(fresh().rename("Trip", "web"), PresetStore::Outcome::NameTaken);
  EXPECT_EQ(fresh().rename("Trip", ""), PresetStore::Outcome::BadName);
  EXPECT_EQ(fresh().rename("Nowhere", "x"), PresetStore::Outcome::NotFound);
  EXPECT_EQ(fresh().rename("trip", "TRIP"), PresetStore::Outcome::Done);  // its own name
  ASSERT_TRUE(fresh().find("trip"));
  EXPECT_EQ(fresh().find("trip")->name, "TRIP");

  EXPECT_EQ(fresh().remove("second"), PresetStore::Outcome::Done);
  EXPECT_EQ(fresh().remove("second"), PresetStore::Outcome::NotFound);
  EXPECT_EQ(namesOf(fresh().userPresets()), std::vector<QString>{"TRIP"});
  EXPECT_EQ(fresh().remove("TRIP"), PresetStore::Outcome::Done);
  EXPECT_TRUE(fresh().userPresets().empty());

  // The window's own settings are not touched by any of it.
  EXPECT_EQ(SettingsPersistence(settingsStoreAt(file())).load(), ConversionSettings());
}

TEST_F(PresetStoreTest, BuiltInPresetsCannotBeDeletedRenamedOrReplaced) {
  ASSERT_EQ(namesOf(fresh().all()),
            (std::vector<QString>{"Web: WebP, 1920 px", "Email: JPEG, 1280 px, under 500 kB",
                                  "Archive: lossless"}));
  EXPECT_EQ(fresh().remove("Archive: lossless"), PresetStore::Outcome::BuiltIn);
  EXPECT_EQ(fresh().remove("archive"), PresetStore::Outcome::BuiltIn);
  EXPECT_EQ(fresh().rename("web", "Mine"), PresetStore::Outcome::BuiltIn);
  EXPECT_EQ(fresh().save("web: webp, 1920 PX", ConversionSettings()),
            PresetStore::Outcome::NameTaken);
  EXPECT_EQ(fresh().save("EMAIL", ConversionSettings()), PresetStore::Outcome::NameTaken);
  EXPECT_TRUE(fresh().userPresets().empty());

  // Found by key and by name in any case; what each holds.
  const auto web = fresh().find(" WEB ");
  ASSERT_TRUE(web);
  EXPECT_EQ(web->settings.outputFormat, OutputFormat::Webp);
  EXPECT_EQ(web->settings.quality, 80);
  EXPECT_TRUE(web->settings.resizeEnabled);
  EXPECT_EQ(web->settings.maxWidth, 1920);
  EXPECT_EQ(web->settings.maxHeight, 1920);
  const auto email = fresh().find("email: jpeg, 1280 px, UNDER 500 kb");
  ASSERT_TRUE(email);
  EXPECT_EQ(email->settings.outputFormat, OutputFormat::Jpeg);
  EXPECT_EQ(email->settings.quality, 75);
  EXPECT_EQ(email->settings.maxWidth, 1280);
  EXPECT_EQ(email->settings.options.maxFileSize, 500'000);
  const auto archive = fresh().find("archive");
  ASSERT_TRUE(archive);
  const OutputOptions& kept = archive->settings.options;
  EXPECT_TRUE(archive->settings.sameFormat);
  EXPECT_FALSE(archive->settings.resizeEnabled);
  EXPECT_TRUE(kept.lossless && kept.keepMetadata && kept.keepColorProfile && kept.keepAlpha &&
              kept.keepFileDates);
  EXPECT_FALSE(fresh().find("nothing"));
}

TEST_F(PresetStoreTest, BrokenStoredPresetsReadAsDefaultsOrAreLeftOut) {
  writeByHand(
      "[General]\n"
      "quality=55\n"
      "[presets]\n"
      "size=banana\n"
      "1\\name=Good\n"
      "1\\quality=high\n"
      "1\\outputFormat=tiff\n"
      "1\\resizeEnabled=maybe\n"
      "1\\ifLarger=explode\n"
      "2\\quality=10\n"
      "3\\name=good\n"
      "x\\name=Lettered\n"
      "0\\name=Zero\n"
      "12\\name=\"  Later  \"\n"
      "12\\quality=500\n"
      "12\\keepMetadata=true\n"
      "12\\namePrefix=../../etc/x\n"
      "12\\nameStartNumber=no digits\n"
      "9\\name=Web\n"
      "8\\name=" +
      std::string(61, 'n') + "\n");
  const std::vector<Preset> presets = fresh().userPresets();
  ASSERT_EQ(namesOf(presets), (std::vector<QString>{"Good", "Later"}));
  EXPECT_EQ(presets[0].settings, ConversionSettings());
  EXPECT_EQ(presets[1].settings.quality, 80);  // out of range: the default
  EXPECT_TRUE(presets[1].settings.options.keepMetadata);
  EXPECT_EQ(presets[1].settings.namePrefix, QStringLiteral("____etc_x"));  // never a path
  EXPECT_EQ(presets[1].settings.nameStartNumber, "01");

  // Saving rewrites the group whole, with what could be read.
  ASSERT_EQ(fresh().save("Third", ConversionSettings()), PresetStore::Outcome::Done);
  EXPECT_EQ(namesOf(fresh().userPresets()), (std::vector<QString>{"Good", "Later", "Third"}));
  EXPECT_EQ(SettingsPersistence(settingsStoreAt(file())).load().quality, 55);
}

TEST(PresetNames, AreTrimmedNonEmptyShortPrintableAndNotBuiltIn) {
  EXPECT_EQ(presetNameProblem("   "), PresetNameProblem::Empty);
  EXPECT_EQ(presetNameProblem(QString(61, u'x')), PresetNameProblem::TooLong);
  EXPECT_FALSE(presetNameProblem(QString(60, u'x')));
  // Counted by character: sixty emoji fit, each two UTF-16 units.
  QString emoji;
  for (int i = 0; i < 60; ++i) emoji += QString::fromUtf8("\xF0\x9F\x93\xB7");
  EXPECT_FALSE(presetNameProblem(emoji));
  EXPECT_EQ(presetNameProblem("two\nlines"), PresetNameProblem::ControlCharacter);
  EXPECT_EQ(presetNameProblem(QString("tab\there")), PresetNameProblem::ControlCharacter);
  EXPECT_EQ(presetNameProblem(" Archive "), PresetNameProblem::BuiltIn);
  EXPECT_EQ(presetNameProblem("ARCHIVE: LOSSLESS"), PresetNameProblem::BuiltIn);
  EXPECT_FALSE(presetNameProblem("Archive: lossless, mine"));
  EXPECT_FALSE(presetNameProblem("Fotos für Oma & Opa"));
}

TEST(PresetMatching, CountsOnlyWhatABatchRunsWith) {
  const ConversionSettings preset = builtInPresets().front().settings;
  ConversionSettings current = preset;
  current.outputDirectory = "/elsewhere";
  current.namePrefix = "unused";  // original names
  EXPECT_TRUE(matchesPreset(current, preset));
  current.quality = 81;
  EXPECT_FALSE(matchesPreset(current, preset));
  current.quality = preset.quality;
  current.namingMode = NamingMode::Custom;
  EXPECT_FALSE(matchesPreset(current, preset));

  // Sizes wait unused while resizing is off; the format behind Auto too.
  ConversionSettings plain;
  ConversionSettings sized = plain;
  sized.maxWidth = 100;
  EXPECT_TRUE(matchesPreset(sized, plain));
  sized.resizeEnabled = true;
  EXPECT_FALSE(matchesPreset(sized, plain));
  ConversionSettings autoJpeg;
  autoJpeg.autoFormat = true;
  autoJpeg.outputFormat = OutputFormat::Jpeg;
  ConversionSettings autoWebp = autoJpeg;
  autoWebp.outputFormat = OutputFormat::Webp;
  EXPECT_TRUE(matchesPreset(autoJpeg, autoWebp));
  EXPECT_FALSE(matchesPreset(autoJpeg, plain));
}

}  // namespace
}  // namespace quorvane::core
