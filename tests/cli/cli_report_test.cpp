// The report and what the terminal shows of names: skipped outputs and why,
// names escaped for the terminal and kept byte for byte in the report, a
// report that cannot be written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "cli/cli_test_fixture.h"
#include "codec/image_codec.h"
#include "support/read_only_folder.h"
#include "support/test_files.h"

namespace quorvane::cli {
namespace {

TEST_F(CliTest, SkippedOutputsAreNoFailureAndTheReportSaysWhy) {
  image(m_work / "tiny.png", 4, 4);  // any JPEG of it is larger
  // A ramp with a little grain: much smaller as a JPEG than as a PNG.
  codec::RgbaImage smooth(200, 150);
  for (std::size_t i = 0; i < smooth.byteSize(); ++i) {
    smooth.data()[i] = static_cast<std::uint8_t>(i / 4 % 200 + ((i * 2654435761u) >> 29));
  }
  ASSERT_TRUE(codec::writePng(smooth, m_work / "photo.png"));
  const CliRun result = run({"--if-larger", "skip", "--format", "jpeg", "--output", "out",
                             "--report", "report.json", "tiny.png", "photo.png"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("tiny.png: Skipped: "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("1 converted, 1 skipped"), std::string::npos) << result.out;
  EXPECT_FALSE(fs::exists(m_work / "out/tiny.jpg"));
  std::ifstream in(m_work / "report.json");
  const std::string report((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(report.find("\"status\": \"skipped\""), std::string::npos) << report;
  EXPECT_NE(report.find("larger than the original"), std::string::npos) << report;

  // By default the original stands in for an output that would grow, and a
  // later run with --skip-converted knows it.
  const std::vector<std::string> keep = {"--skip-converted", "--format", "jpeg",
                                         "--output",         "kept",     "--report",
                                         "kept.csv",         "tiny.png"};
  const CliRun kept = run(keep);
  EXPECT_EQ(kept.exitCode, 0) << kept.err;
  EXPECT_NE(kept.out.find("tiny.png: Kept the original: the JPEG would be "), std::string::npos)
      << kept.out;
  EXPECT_NE(kept.out.find("0 converted, 1 kept as the original"), std::string::npos) << kept.out;
  std::ifstream original(m_work / "tiny.png", std::ios::binary);
  std::ifstream copy(m_work / "kept/tiny.png", std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(copy)), {}),
            std::string((std::istreambuf_iterator<char>(original)), {}));
  std::ifstream keptReport(m_work / "kept.csv");
  const std::string keptRows((std::istreambuf_iterator<char>(keptReport)), {});
  EXPECT_NE(keptRows.find(",kept original,"), std::string::npos) << keptRows;
  EXPECT_NE(run(keep).out.find("tiny.png: already converted -> tiny.png"), std::string::npos);
  // --if-larger write keeps the larger output; a mistyped choice is a usage error.
  const CliRun written =
      run({"--if-larger", "write", "--format", "jpeg", "--output", "written", "tiny.png"});
  EXPECT_TRUE(fs::exists(m_work / "written/tiny.jpg")) << written.out;
  const CliRun wrong = run({"--if-larger", "keep", "tiny.png"});
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_NE(wrong.err.find("did you mean 'keep-original'?"), std::string::npos) << wrong.err;

  const CliRun checked = run(
      {"--check-quality", "--format", "jpeg", "--output", "out", "--report", "r.csv", "photo.png"});
  EXPECT_EQ(checked.exitCode, 0) << checked.err;
  EXPECT_NE(checked.out.find("%), "), std::string::npos) << checked.out;  // then the verdict
  std::ifstream csv(m_work / "r.csv");
  std::string header, row;
  std::getline(csv, header);
  std::getline(csv, row);
  EXPECT_EQ(header.rfind("input,output,format,quality,input_bytes,output_bytes,saving_percent,"
                         "status,reason,time_ms,score,looks",
                         0),
            0u);
  EXPECT_NE(row.find(",jpeg,80,"), std::string::npos) << row;
  EXPECT_NE(row.find(",converted,"), std::string::npos) << row;
}

TEST_F(CliTest, NamesReachTheTerminalEscapedAndTheReportWithTheirOwnBytes) {
  image(m_work / "in/\xff.png");
  image(m_work / "in/\xfe.png");  // the same as the one above, once made UTF-8
  image(m_work / "in/e\x1b[2Jvil.png");
  test::writeFile(m_work / "in/bad\x07.png", "not an image");
  // Through a shell: an argument of this test reaches the program as UTF-8.
  const std::string cli = QCoreApplication::applicationDirPath().toStdString() + "/quorvane-cli";
  QProcess shell;
  shell.setWorkingDirectory(QString::fromStdString(m_work.path().native()));
  shell.start("bash", {"-c", QString::fromStdString("'" + cli +
                                                    "' --format jpeg --output out"
                                                    " --report $'r\\xff.csv' in")});
  ASSERT_TRUE(shell.waitForFinished(60000));
  EXPECT_EQ(shell.exitCode(), 1);  // the file that is no image
  const std::string out = shell.readAllStandardOutput().toStdString();
  const std::string err = shell.readAllStandardError().toStdString();
  EXPECT_EQ((out + err).find_first_of("\x07\x1b"), std::string::npos) << out << err;
  for (const char* line : {"in/\\xff.png: ", "in/\\xfe.png: ", "in/e\\x1b[2Jvil.png: "}) {
    EXPECT_NE(out.find(line), std::string::npos) << line << '\n' << out;
  }
  EXPECT_NE(err.find("quorvane: error: 'in/bad\\x07.png': "), std::string::npos) << err;
  std::ifstream report(m_work / "r\xff.csv");
  const std::string rows((std::istreambuf_iterator<char>(report)), {});
  EXPECT_NE(rows.find("/in/\\xff.png,"), std::string::npos) << rows;
  EXPECT_NE(rows.find("/in/\\xfe.png,"), std::string::npos) << rows;
}

TEST_F(CliTest, AReportThatCannotBeWrittenFailsTheRunWithTheReason) {
  image(m_work / "a.png");
  const struct {
    std::string file;
    std::string reason;
  } cases[] = {{"/dev/full", "No space left on the device"},
               {"missing/r.csv", "No such file or folder"}};
  for (const auto& c : cases) {
    const CliRun result = run({"--format", "jpeg", "--output", "out", "--report", c.file, "a.png"});
    EXPECT_EQ(result.exitCode, 1) << c.file;
    EXPECT_NE(result.err.find("cannot write the report '" + c.file + "': " + c.reason),
              std::string::npos)
        << result.err;
  }
}

}  // namespace
}  // namespace quorvane::cli
