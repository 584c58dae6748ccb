// The command line's messages, whole, against the files in golden/: what a
// script reading them sees, line for line. Sizes and percentages depend on
// the encoders' versions and are written as <size> and <n>%.
// QUORVANE_UPDATE_GOLDEN=1 rewrites the files from the runs.
#include <QRegularExpression>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_test_fixture.h"

namespace quorvane::cli {
namespace {

const fs::path kGolden = fs::path(QUORVANE_TEST_DATA_DIR).parent_path() / "golden";

std::string normalised(const std::string& text) {
  QString result = QString::fromStdString(text);
  static const QRegularExpression size(QStringLiteral(R"(\b\d+(\.\d+)? (bytes|kB|MB|GB)\b)"));
  static const QRegularExpression percent(QStringLiteral(R"([+-]?\d+%)"));
  result.replace(size, QStringLiteral("<size>"));
  result.replace(percent, QStringLiteral("<n>%"));
  return result.toStdString();
}

std::string transcript(const std::vector<std::string>& args, const CliRun& run) {
  std::string text = "$ quorvane-cli";
  for (const std::string& arg : args) text.append(" ").append(arg);
  text.append("\n--- stdout\n").append(run.out).append("--- stderr\n").append(run.err);
  text.append("--- exit ").append(std::to_string(run.exitCode)).append("\n");
  return normalised(text);
}

class CliGoldenTest : public CliTest {
 protected:
  void expectGolden(const std::string& name, const std::vector<std::vector<std::string>>& runs) {
    std::string text;
    for (const auto& args : runs) text += transcript(args, run(args));
    const fs::path file = kGolden / (name + ".txt");
    if (std::getenv("QUORVANE_UPDATE_GOLDEN")) {
      std::ofstream(file, std::ios::binary) << text;
      return;
    }
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << "no " << file << ": run with QUORVANE_UPDATE_GOLDEN=1";
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(text, expected.str()) << "differs from " << file;
  }
};

TEST_F(CliGoldenTest, UsageErrors) {
  image(m_work / "a.png");
  expectGolden("usage-errors", {{"--fromat", "png", "a.png"},
                                {"--format", "webpp", "a.png"},
                                {"--quality", "101", "a.png"},
                                {"--max-width", "0", "a.png"},
                                {"--if-larger", "keep", "a.png"},
                                {"--lossless", "--format", "heic", "a.png"},
                                {"--format", "jxll", "a.png"},
                                {"--auto-jxl=yes", "a.png"},
                                {"--no-lossless=1", "a.png"},
                                {"--preset", "wbe", "a.png"},
                                {"--quality"},
                                {}});
  EXPECT_FALSE(fs::exists(m_work / "compressed"));
}

TEST_F(CliGoldenTest, ABatchWithBadPathsGrownOutputsAndNothingToDo) {
  image(m_work / "photos/one.png");
  image(m_work / "photos/two.png", 200, 150);
  test::writeFile(m_work / "photos/broken.jpg", "not a jpeg");
  fs::copy_file(
      fs::path(QUORVANE_TEST_DATA_DIR "/../../codec/data/2-truncated.png").lexically_normal(),
      m_work / "photos/cut.png");
  fs::create_symlink("nowhere.png", m_work / "dangling.png");
  // A grainy JPEG, which grows as PNG.
  image(m_work / "grain.png", 300, 200);
  ASSERT_EQ(run({"--format", "jpeg", "--quality", "40", "--output", "jpeg", "grain.png"}).exitCode,
            0);
  fs::rename(m_work / "jpeg/grain.jpg", m_work / "photo.jpg");
  fs::create_directories(m_work / "empty");
  expectGolden("batch", {{"--jobs", "1", "--no-check-quality", "photos", "dangling.png"},
                         {"--jobs", "1", "--no-check-quality", "--format", "png", "--output",
                          "grown", "photo.jpg"},
                         {"--jobs", "1", "--no-check-quality", "--format", "png", "--if-larger",
                          "skip", "--output", "skipped", "photo.jpg"},
                         {"empty"}});
}

}  // namespace
}  // namespace quorvane::cli
