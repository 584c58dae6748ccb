// The command line's format and lossless modes, with the real encoders.
#include <filesystem>
#include <fstream>

#include "cli/cli_test_fixture.h"

namespace quorvane::cli {
namespace {

TEST_F(CliTest, SameKeepsEachFormatAndTheReportSaysWhichItWas) {
  image(m_work / "a.png", 64, 48);
  fs::copy_file(
      fs::path(QUORVANE_TEST_DATA_DIR "/../../codec/data/2-animated.gif").lexically_normal(),
      m_work / "b.gif");
  const CliRun result = run({"--format", "same", "--if-larger", "write", "--output", "out",
                             "--report", "r.csv", "a.png", "b.gif"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(filesIn(m_work / "out"), (std::vector<std::string>{"a.png", "b.png"}));
  EXPECT_NE(result.out.find("PNG at quality 80"), std::string::npos) << result.out;
  std::ifstream csv(m_work / "r.csv");
  std::string header, row;
  std::getline(csv, header);
  for (int i = 0; i < 2 && std::getline(csv, row); ++i) {
    EXPECT_NE(row.find(",png,80,"), std::string::npos) << row;
  }
  // A typo gets the nearest choice.
  const CliRun typo = run({"--format", "sam", "a.png"});
  EXPECT_EQ(typo.exitCode, 2);
  EXPECT_NE(typo.err.find("(did you mean 'same'?)"), std::string::npos) << typo.err;
}

TEST_F(CliTest, LosslessIsRefusedBeforeTheBatchWhereItCannotBeAndReported) {
  image(m_work / "a.png", 64, 48);
  for (const char* format : {"heic", "auto"}) {
    const CliRun refused = run({"--format", format, "--lossless", "a.png"});
    EXPECT_EQ(refused.exitCode, 2) << format;
    EXPECT_NE(refused.err.find("quorvane: error: lossless "), std::string::npos) << refused.err;
  }
  EXPECT_FALSE(fs::exists(m_work / "compressed"));
  const CliRun lossless = run({"--format", "webp", "--lossless", "--if-larger", "write", "--output",
                               "out", "--report", "r.csv", "a.png"});
  EXPECT_EQ(lossless.exitCode, 0) << lossless.err;
  std::ifstream csv(m_work / "r.csv");
  std::string header, row;
  std::getline(csv, header);
  std::getline(csv, row);
  EXPECT_NE(header.find(",looks,lossless"), std::string::npos) << header;
  EXPECT_NE(row.find(",webp,"), std::string::npos) << row;
  EXPECT_EQ(row.substr(row.size() - 5), ",yes\r") << row;
}

}  // namespace
}  // namespace quorvane::cli
