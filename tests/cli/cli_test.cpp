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

TEST_F(CliTest, UsageErrorsExitTwoAndConvertNothing) {
  image(m_work / "a.png");
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--fromat", "png", "a.png"}, "unknown option '--fromat' (did you mean '--format'?)"},
      {{"--format", "webpp", "a.png"}, "unknown format 'webpp' (did you mean 'webp'?)"},
      {{"--quality", "101", "a.png"}, "quality must be a whole number from 0 to 100, not '101'"},
      {{"--quality=8x", "a.png"}, "quality must be a whole number from 0 to 100, not '8x'"},
      {{"--max-width", "0", "a.png"}, "max-width must be a whole number of pixels above 0"},
      {{"--jobs", "-1", "a.png"}, "jobs must be a whole number above 0"},
      {{"--start", "abc", "a.png"}, "start number 'abc' has no digits"},
      {{"--quality"}, "option '--quality' needs a value"},
      {{}, "no files or folders given"},
  };
  for (const auto& c : cases) {
    const CliRun result = run(c.args);
    EXPECT_EQ(result.exitCode, 2) << c.message;
    EXPECT_NE(result.err.find("quorvane: error: " + c.message), std::string::npos) << result.err;
  }
  EXPECT_FALSE(fs::exists(m_work / "compressed"));
}

TEST_F(CliTest, BadFilesAndPathsFailAloneAndExitOne) {
  image(m_work / "photos/one.png");
  image(m_work / "photos/two.png");
  image(m_work / "photos/zalbum.png/three.png");  // a folder named like an image is walked
  test::writeFile(m_work / "photos/broken.jpg", "not a jpeg");
  fs::create_symlink("nowhere.png", m_work / "dangling.png");
  fs::create_symlink("loop.png", m_work / "loop.png");
  const CliRun result = run({"--format", "png", "--max-width", "20", "photos", "dangling.png",
                             "loop.png", "missing.png"});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_EQ(filesIn(m_work / "photos/compressed"),
            (std::vector<std::string>{"one.png", "three.png", "two.png"}));
  for (const std::string line :
       {"'photos/broken.jpg': Not an image, or a kind this program cannot read",
        "'dangling.png': No such file or directory",
        "'loop.png': Too many levels of symbolic links",
        "'missing.png': No such file or directory"}) {
    EXPECT_NE(result.err.find("quorvane: error: " + line + "\n"), std::string::npos) << result.err;
  }
  EXPECT_NE(result.out.find("photos/one.png: "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("3 converted, 4 failed: "), std::string::npos) << result.out;
  const auto header = codec::readHeader(m_work / "photos/compressed/one.png");
  ASSERT_TRUE(header);
  EXPECT_EQ(header.value().width, 20);
  EXPECT_EQ(header.value().height, 15);
}

TEST_F(CliTest, CustomNamesIntoAnOutputFolderWithOddInputNames) {
  image(m_work / "-dash.png");
  image(m_work / "in/caf\xe9 \"q\".png");  // not UTF-8: found by walking the folder
  const CliRun result =
      run({"--format", "jpeg", "--naming", "custom", "--prefix", "trip/x", "--start", "007",
           "--output", "out/nested", "--jobs", "1", "--", "-dash.png", "in"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(filesIn(m_work / "out/nested"),
            (std::vector<std::string>{"trip_x-007.jpg", "trip_x-008.jpg"}));
  EXPECT_NE(result.out.find("2 converted: "), std::string::npos) << result.out;
  EXPECT_TRUE(filesIn(m_tmp.path()).empty());  // the private temporary folder is gone
}

TEST_F(CliTest, AnOutputPathThatIsAFileIsReported) {
  image(m_work / "a.png");
  test::writeFile(m_work / "taken", "x");
  const CliRun result = run({"--output", "taken/sub", "a.png"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("cannot create output folder"), std::string::npos) << result.err;
}

// Whether a user other than the owner can reach the program to run it (a
// build inside root's home cannot be run as nobody).
bool othersCanRun(const fs::path& program) {
  for (fs::path folder = program.parent_path(); folder != folder.root_path();
       folder = folder.parent_path()) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || (info.st_mode & S_IXOTH) == 0) return false;
  }
  return true;
}

TEST_F(CliTest, AnOutputFolderThatCannotBeWrittenStopsTheRunBeforeAnything) {
  // Root writes where a mode says no: the runs are made as nobody then.
  const fs::path program = QCoreApplication::applicationDirPath().toStdString() + "/quorvane-cli";
  if (::geteuid() == 0 && !othersCanRun(program)) {
    GTEST_SKIP() << "nobody cannot reach " << program;
  }
  image(m_work / "a.png");
  test::makeReadOnlyFolder(m_work / "locked", m_work.path());
  ::chmod(m_tmp.path().c_str(), 0777);
  const CliRun result = run({"--output", "locked", "a.png"}, {}, true);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "quorvane: error: cannot write into output folder '" +
                            (m_work / "locked").native() + "': Permission denied\n");
  EXPECT_TRUE(result.out.empty()) << result.out;
  EXPECT_TRUE(filesIn(m_work / "locked").empty());
  // The default folder, in a folder that cannot take it: the same.
  test::makeReadOnlyFolder(m_work / "cd", m_work.path());
  ::chmod((m_work / "cd").c_str(), 0755);
  image(m_work / "cd/b.png");
  ::chmod((m_work / "cd").c_str(), 0555);
  const CliRun fromCd = run({"cd"}, {}, true);
  EXPECT_EQ(fromCd.exitCode, 1);
  EXPECT_NE(fromCd.err.find("cannot write into output folder '" +
                            (m_work / "cd/compressed").native() + "': Permission denied"),
            std::string::npos)
      << fromCd.err;
  EXPECT_FALSE(fs::exists(m_work / "cd/compressed"));
}

TEST_F(CliTest, ImagesFoundDeepInAFolderGoIntoItsCompressedFolder) {
  image(m_work / "batch20/alpha/a.png");
  image(m_work / "batch20/alpha/deep/b.png");
  image(m_work / "batch20/beta/c.png");
  const CliRun result = run({"batch20"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(filesIn(m_work / "batch20/compressed"),
            (std::vector<std::string>{"a.webp", "b.webp", "c.webp"}));
  EXPECT_FALSE(fs::exists(m_work / "batch20/alpha/compressed"));
}

TEST_F(CliTest, InterruptCancelsLikeTheCancelButton) {
  // Large enough that AVIF encoding is still running when the signal comes.
  image(m_work / "big.png", 1600, 1200);
  image(m_work / "next.png", 1600, 1200);
  QProcess* process =
      start({"--format", "avif", "--quality", "100", "--jobs", "1", "big.png", "next.png"});
  const fs::path outputFolder = m_work / "compressed";
  // A hidden staged output appears once the encoder is writing.
  ASSERT_TRUE(stagingFileAppears(outputFolder));
  ::kill(static_cast<pid_t>(process->processId()), SIGINT);
  ASSERT_TRUE(process->waitForFinished(20000));
  EXPECT_EQ(process->exitCode(), 130);
  EXPECT_TRUE(filesIn(outputFolder).empty());  // no partial output
  EXPECT_TRUE(filesIn(m_tmp.path()).empty());  // no intermediate files
  EXPECT_TRUE(noProcessUsesTheWorkFolder(0));  // no encoder outlives the run
  const std::string out = process->readAllStandardOutput().toStdString();
  EXPECT_NE(out.find("0 converted, 2 cancelled (interrupted)"), std::string::npos) << out;
}

TEST_F(CliTest, EncodersDieWithAKilledRunAndItsLeftoversGoNextTime) {
  image(m_work / "big.png", 1600, 1200);
  QProcess* process = start({"--format", "avif", "--quality", "100", "big.png"});
  const fs::path outputFolder = m_work / "compressed";
  ASSERT_TRUE(stagingFileAppears(outputFolder));
  ::kill(static_cast<pid_t>(process->processId()), SIGKILL);
  ASSERT_TRUE(process->waitForFinished(20000));
  EXPECT_TRUE(noProcessUsesTheWorkFolder(5000));
  ASSERT_EQ(filesIn(outputFolder).size(), 1u);  // the killed run's staging file

  image(m_work / "small.png");
  const CliRun next = run({"--format", "avif", "--output", "compressed", "small.png"});
  EXPECT_EQ(next.exitCode, 0) << next.err;
  EXPECT_EQ(filesIn(outputFolder), std::vector<std::string>{"small.avif"});
}

TEST_F(CliTest, AReaderThatGoesAwayEndsOnlyThePrinting) {
  for (int i = 0; i < 6; ++i) image(m_work / (test::numbered("p", i, ".png")));
  const std::string cli = QCoreApplication::applicationDirPath().toStdString() + "/quorvane-cli";
  QProcess shell;
  shell.setWorkingDirectory(QString::fromStdString(m_work.path().native()));
  shell.start(
      "bash",
      {"-c", QString::fromStdString("'" + cli +
                                    "' --format jpeg --jobs 1 p*.png | head -n 1 >/dev/null;"
                                    " echo \"status ${PIPESTATUS[0]}\"")});
  ASSERT_TRUE(shell.waitForFinished(60000));
  EXPECT_EQ(shell.readAllStandardOutput().toStdString(), "status 0\n");
  EXPECT_EQ(filesIn(m_work / "compressed"),
            (std::vector<std::string>{"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg", "p5.jpg"}));
}

TEST_F(CliTest, AnUnusableTemporaryFolderFallsBackToTmp) {
  image(m_work / "a.png");
  test::writeFile(m_work / "not-a-folder", "x");
  for (const QString& tmpdir : {QStringLiteral("/nonexistent"),
                                QString::fromStdString((m_work / "not-a-folder").native())}) {
    const CliRun result = run({"--format", "jpeg", "--output", "out", "a.png"}, tmpdir);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(fs::exists(m_work / "out/a.jpg"));
    fs::remove_all(m_work / "out");
  }
}

TEST_F(CliTest, ATakenNameShowsWhereTheOutputWent) {
  image(m_work / "a.png");
  EXPECT_EQ(run({"a.png"}).exitCode, 0);
  const CliRun second = run({"a.png"});
  EXPECT_EQ(second.exitCode, 0);
  EXPECT_EQ(second.out.rfind("a.png -> a-1.webp: ", 0), 0u) << second.out;
}

TEST_F(CliTest, KeepStructureRemakesTheTreeUnderTheOutputFolder) {
  image(m_work / "trip/a.png");
  image(m_work / "trip/2023/b.png");
  image(m_work / "trip/2023/summer/a.png");  // same name as the top one: no collision
  image(m_work / "loose.png");
  const CliRun result =
      run({"--keep-structure", "--format", "jpeg", "--output", "out", "trip", "loose.png"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(filesIn(m_work / "out"), (std::vector<std::string>{"2023", "a.jpg", "loose.jpg"}));
  EXPECT_EQ(filesIn(m_work / "out/2023"), (std::vector<std::string>{"b.jpg", "summer"}));
  EXPECT_EQ(filesIn(m_work / "out/2023/summer"), std::vector<std::string>{"a.jpg"});
  // Without an output folder, the tree goes into "compressed" inside the
  // folder named (walks pass it over).
  EXPECT_EQ(run({"--keep-structure", "trip"}).exitCode, 0);
  EXPECT_TRUE(fs::exists(m_work / "trip/compressed/2023/summer/a.webp"));
}

TEST_F(CliTest, SkipConvertedLeavesAFolderConvertedBeforeAlone) {
  image(m_work / "in/a.png");
  image(m_work / "in/b.png", 50, 40);
  const std::vector<std::string> args = {"--skip-converted", "--output", "out", "in"};
  ASSERT_EQ(run(args).exitCode, 0);
  const auto firstRun = filesIn(m_work / "out");
  EXPECT_EQ(firstRun, (std::vector<std::string>{".quorvane-ledger", "a.webp", "b.webp"}));

  const CliRun second = run(args);
  EXPECT_EQ(second.exitCode, 0) << second.err;
  EXPECT_NE(second.out.find("in/a.png: already converted -> a.webp"), std::string::npos)
      << second.out;
  EXPECT_NE(second.out.find("0 converted, 2 skipped"), std::string::npos) << second.out;
  EXPECT_EQ(filesIn(m_work / "out"), firstRun);

  // A changed input is converted again; a torn ledger is warned about, the
  // batch converts as if there were none and leaves a whole one.
  image(m_work / "in/b.png", 51, 40);
  const CliRun changed = run(args);
  EXPECT_NE(changed.out.find("1 converted, 1 skipped"), std::string::npos) << changed.out;
  EXPECT_TRUE(fs::exists(m_work / "out/b-1.webp"));
  const fs::path ledger = m_work / "out/.quorvane-ledger";
  fs::resize_file(ledger, 30);  // the header and a few bytes of the first line
  const CliRun torn = run(args);
  EXPECT_EQ(torn.exitCode, 0) << torn.err;
  EXPECT_NE(torn.err.find("warning"), std::string::npos) << torn.err;
  EXPECT_NE(torn.out.find("2 converted"), std::string::npos) << torn.out;
  EXPECT_NE(run(args).out.find("0 converted, 2 skipped"), std::string::npos);
}

TEST_F(CliTest, AutoNamesTheFormatItChoseAndAnInterruptEndsEveryCandidate) {
  image(m_work / "small.png", 64, 48);
  const CliRun chosen =
      run({"--format", "auto", "--output", "out", "--report", "r.csv", "small.png"});
  EXPECT_EQ(chosen.exitCode, 0) << chosen.err;
  EXPECT_NE(chosen.out.find(" at quality "), std::string::npos) << chosen.out;
  const auto written = filesIn(m_work / "out");
  ASSERT_EQ(written.size(), 1u);
  std::ifstream csv(m_work / "r.csv");
  std::string header, row;
  std::getline(csv, header);
  std::getline(csv, row);
  // The report names the format that won, as the file's extension does.
  std::string format = fs::path(written[0]).extension().string();
  if (format == ".jpg") format = ".jpeg";
  format.front() = ',';
  format.push_back(',');
  EXPECT_NE(row.find(format), std::string::npos) << row;

  // Candidates are encoded in the private temporary folder, one after another.
  image(m_work / "big.png", 1600, 1200);
  QProcess* process = start({"--format", "auto", "--quality", "100", "big.png"});
  const bool encoding = QTest::qWaitFor(
      [&] {
        for (const auto& entry : fs::directory_iterator("/proc")) {
          std::ifstream cmdline(entry.path() / "cmdline");
          const std::string text((std::istreambuf_iterator<char>(cmdline)), {});
          if (text.find(m_tmp.path().native()) != std::string::npos &&
              text.find("quorvane-cli") == std::string::npos) {
            return true;
          }
        }
        return false;
      },
      60000);
  ASSERT_TRUE(encoding);
  ::kill(static_cast<pid_t>(process->processId()), SIGINT);
  ASSERT_TRUE(process->waitForFinished(20000));
  EXPECT_EQ(process->exitCode(), 130);
  EXPECT_TRUE(filesIn(m_work / "compressed").empty());
  EXPECT_TRUE(filesIn(m_tmp.path()).empty());
  EXPECT_TRUE(noProcessUsesTheWorkFolder(0));
}

}  // namespace
}  // namespace quorvane::cli
