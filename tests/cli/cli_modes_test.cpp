// The command line's format and lossless modes, with the real encoders.
#include <QProcess>
#include <filesystem>
#include <fstream>
#include <iterator>

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
  EXPECT_NE(row.find(",yes,,\r"), std::string::npos) << row;  // no search, no limit
}

TEST_F(CliTest, JpegXlGivesTheJpegBackAndAMissingCjxlStopsTheRunFirst) {
  const fs::path jpeg =
      fs::path(QUORVANE_TEST_DATA_DIR "/../../codec/data/2-camera.jpg").lexically_normal();
  fs::copy_file(jpeg, m_work / "a.jpg");
  const CliRun lossless = run({"--format", "jxl", "--lossless", "--if-larger", "write", "--output",
                               "out", "--report", "r.csv", "a.jpg"});
  ASSERT_EQ(lossless.exitCode, 0) << lossless.err;
  ASSERT_TRUE(fs::exists(m_work / "out/a.jxl"));
  QProcess djxl;
  djxl.start(QCoreApplication::applicationDirPath() + "/../share/quorvane/bin/djxl",
             {QStringLiteral("out/a.jxl"), QStringLiteral("back.jpg")});
  djxl.setWorkingDirectory(QString::fromStdString(m_work.path().native()));
  ASSERT_TRUE(djxl.waitForFinished(30000));
  std::ifstream original(jpeg, std::ios::binary), back(m_work / "back.jpg", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(back), {}),
            std::string(std::istreambuf_iterator<char>(original), {}));
  std::ifstream csv(m_work / "r.csv");
  std::string header, row;
  std::getline(csv, header);
  std::getline(csv, row);
  EXPECT_NE(row.find(",jxl,"), std::string::npos) << row;

  // The same program with a resource folder that lacks cjxl.
  fs::create_directories(m_work / "app/bin");
  fs::create_directories(m_work / "app/share/quorvane/bin");
  fs::copy_file(QCoreApplication::applicationDirPath().toStdString() + "/quorvane-cli",
                m_work / "app/bin/quorvane-cli");
  for (const char* arguments : {"--format jxl", "--format auto --auto-jxl"}) {
    QProcess cli;
    cli.setWorkingDirectory(QString::fromStdString(m_work.path().native()));
    cli.start(QString::fromStdString((m_work / "app/bin/quorvane-cli").native()),
              QString::fromLatin1(arguments).split(u' ') << QStringLiteral("a.jpg"));
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 1) << arguments;
    EXPECT_EQ(cli.readAllStandardError().toStdString(),
              "quorvane: error: JPEG XL needs the programs of libjxl-tools: CLI tool 'cjxl' not "
              "found. Place binaries in " +
                  (m_work / "app/share/quorvane/bin").native() + "/\n")
        << arguments;
  }
  EXPECT_FALSE(fs::exists(m_work / "compressed"));
}

}  // namespace
}  // namespace quorvane::cli
