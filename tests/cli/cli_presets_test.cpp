// Presets saved through the window's controller, used by the real
// quorvane-cli: both read the same settings store (the test's own
// XDG_CONFIG_HOME, which the command line inherits).
#include <filesystem>
#include <fstream>

#include "cli/cli_test_fixture.h"
#include "services/settings_store.h"
#include "viewmodels/conversion_view_model.h"

namespace quorvane::cli {
namespace {

class NoDesktop final : public core::DesktopIntegration {
 public:
  void openFolder(const fs::path&) override {}
  bool isApplicationActive() const override { return true; }
  void playCompletionSound() override {}
  void requestAttention() override {}
  void announce(const QString&) override {}
};

class CliPresetsTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    m_vm = std::make_unique<core::ConversionViewModel>(
        std::make_unique<core::SettingsPersistence>(core::standardSettingsStore()),
        std::make_unique<core::BookmarkService>(core::standardSettingsStore()), m_desktop);
  }
  void TearDown() override {
    for (const core::Preset& preset : m_vm->presets()) {
      if (!preset.isBuiltIn()) m_vm->deletePreset(preset.name);
    }
    CliTest::TearDown();
  }
  // JPEG at 60, at most 20 px, named trip-7, 8, ...; folders kept.
  void saveTripPreset() {
    m_vm->updateOutputFormat(core::OutputFormat::Jpeg);
    m_vm->updateQuality(60);
    m_vm->updateResizeEnabled(true);
    m_vm->updateMaxWidth(20);
    m_vm->updateMaxHeight(20);
    m_vm->updateNamingMode(core::NamingMode::Custom);
    m_vm->updateNamePrefix("trip");
    m_vm->updateNameStartNumber("7");
    core::OutputOptions options;
    options.keepFolderStructure = true;
    options.ifLarger = core::IfLarger::Write;
    m_vm->updateOptions(options);
    ASSERT_EQ(m_vm->saveCurrentAsPreset("Trip Photos"), core::PresetStore::Outcome::Done);
    // The window moves on; the preset stays as saved.
    m_vm->updateQuality(95);
  }
  std::string reportRow(const fs::path& csv) const {
    std::ifstream in(csv);
    std::string header, row;
    std::getline(in, header);
    std::getline(in, row);
    return row;
  }
  int widthOf(const fs::path& file) const {
    const auto header = codec::readHeader(file);
    return header ? header.value().width : -1;
  }

  NoDesktop m_desktop;
  std::unique_ptr<core::ConversionViewModel> m_vm;
};

TEST_F(CliPresetsTest, APresetSavedInTheWindowIsWhatTheCommandLineConvertsWith) {
  saveTripPreset();
  image(m_work / "a.png", 40, 30);
  const CliRun listed = run({"--list-presets"});
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_EQ(
      listed.out,
      "Web: WebP, 1920 px\nEmail: JPEG, 1280 px, under 500 kB\nArchive: lossless\nTrip Photos\n");

  const CliRun result =
      run({"--preset", " trip photos", "--output", "out", "--report", "r.csv", "a.png"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(filesIn(m_work / "out"), std::vector<std::string>{"trip-7.jpg"});
  EXPECT_EQ(widthOf(m_work / "out/trip-7.jpg"), 20);
  EXPECT_NE(reportRow(m_work / "r.csv").find(",jpeg,60,"), std::string::npos);

  // A built-in one by its key.
  const CliRun web = run({"--preset", "web", "--output", "web", "a.png"});
  ASSERT_EQ(web.exitCode, 0) << web.err;
  EXPECT_EQ(filesIn(m_work / "web"), std::vector<std::string>{"a.webp"});
}

TEST_F(CliPresetsTest, OptionsGivenReplaceThePresetsValuesBeforeOrAfterIt) {
  saveTripPreset();
  image(m_work / "a.png", 40, 30);
  const CliRun result =
      run({"--quality", "90", "--naming", "original", "--preset", "Trip Photos", "--max-width",
           "30", "--format", "webp", "--output", "out", "--report", "r.csv", "a.png"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(filesIn(m_work / "out"), std::vector<std::string>{"a.webp"});
  // The width given, the preset's height: 40 × 30 fits 27 × 20.
  EXPECT_EQ(widthOf(m_work / "out/a.webp"), 27);
  EXPECT_NE(reportRow(m_work / "r.csv").find(",webp,90,"), std::string::npos);

  // A switch the preset turns on is turned off by its --no- form.
  image(m_work / "trip/2023/b.png");
  ASSERT_EQ(run({"--preset", "Trip Photos", "--output", "kept", "trip"}).exitCode, 0);
  EXPECT_EQ(filesIn(m_work / "kept/2023"), std::vector<std::string>{"trip-7.jpg"});
  const CliRun flat =
      run({"--no-keep-structure", "--preset", "Trip Photos", "--output", "flat", "trip"});
  ASSERT_EQ(flat.exitCode, 0) << flat.err;
  EXPECT_EQ(filesIn(m_work / "flat"), std::vector<std::string>{"trip-7.jpg"});
}

TEST_F(CliPresetsTest, AnUnknownPresetStopsBeforeTheBatchAndNamesThoseThereAre) {
  saveTripPreset();
  image(m_work / "a.png");
  const CliRun result = run({"a.png", "--preset", "Trip"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("quorvane: error: unknown preset 'Trip'"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("'Web: WebP, 1920 px', 'Email: JPEG, 1280 px, under 500 kB', 'Archive: "
                            "lossless', 'Trip Photos'"),
            std::string::npos)
      << result.err;
  EXPECT_FALSE(fs::exists(m_work / "compressed"));
  // Deleted in the window, gone for the command line too.
  ASSERT_EQ(m_vm->deletePreset("Trip Photos"), core::PresetStore::Outcome::Done);
  EXPECT_EQ(run({"--preset", "Trip Photos", "a.png"}).exitCode, 2);
}

}  // namespace
}  // namespace quorvane::cli
