// The fixture of the command-line tests: runs the real quorvane-cli.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "codec/image_codec.h"
#include "support/read_only_folder.h"
#include "support/test_files.h"

namespace quorvane::cli {

namespace fs = std::filesystem;
using test::ScratchDir;

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the real quorvane-cli (beside this test in the build) with its real
// encoders; temporary files go to a folder of the test's own.
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::current_path(m_work.path()); }
  // By bytes: the scratch folder's own clean-up misses names that are not
  // UTF-8.
  void TearDown() override {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(m_work.path(), ignored)) {
      fs::remove_all(entry.path(), ignored);
    }
  }

  QProcess* start(const std::vector<std::string>& arguments, const QString& tmpdir = {},
                  bool asNobody = false) {
    auto* process = new QProcess;
    // Root writes anywhere a folder's mode says no: run as someone else.
    if (asNobody && ::geteuid() == 0) {
      process->setChildProcessModifier([] {
        if (::setgid(test::NoRootRights::kNobody) != 0 ||
            ::setuid(test::NoRootRights::kNobody) != 0) {
          ::_exit(126);
        }
      });
    }
    m_processes.emplace_back(process);
    QStringList args;
    for (const auto& a : arguments) args << QString::fromLocal8Bit(a);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", tmpdir.isEmpty() ? QString::fromStdString(m_tmp.path().native()) : tmpdir);
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(QString::fromStdString(m_work.path().native()));
    process->start(QCoreApplication::applicationDirPath() + "/quorvane-cli", args);
    return process;
  }
  CliRun run(const std::vector<std::string>& arguments, const QString& tmpdir = {},
             bool asNobody = false) {
    QProcess* process = start(arguments, tmpdir, asNobody);
    EXPECT_TRUE(process->waitForFinished(120000));
    return {process->exitCode(), process->readAllStandardOutput().toStdString(),
            process->readAllStandardError().toStdString()};
  }
  // Ramps under strong grain, which PNG compresses poorly: every format
  // makes it smaller, as with photos.
  void image(const fs::path& path, int width = 40, int height = 30) {
    fs::create_directories(path.parent_path());
    codec::RgbaImage pixels(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 4; ++c) {
          const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4 + c;
          const std::size_t grain = (i * 2654435761u) >> 13 & 63;
          pixels.data()[i] = c == 3 ? 255 : static_cast<std::uint8_t>(60 + x * 3 + y * 2 + grain);
        }
      }
    }
    ASSERT_TRUE(codec::writePng(pixels, path));
  }
  // Waits (at most `ms`) until no process mentions the test's folder on its
  // command line: the encoders of a run are gone.
  bool noProcessUsesTheWorkFolder(int ms) const {
    return QTest::qWaitFor(
        [&] {
          for (const auto& entry : fs::directory_iterator("/proc")) {
            std::ifstream cmdline(entry.path() / "cmdline");
            const std::string text((std::istreambuf_iterator<char>(cmdline)), {});
            if (text.find(m_work.path().native()) != std::string::npos) return false;
          }
          return true;
        },
        ms);
  }
  bool stagingFileAppears(const fs::path& folder) const {
    return QTest::qWaitFor(
        [&] {
          for (const auto& name : filesIn(folder)) {
            if (name.starts_with(".quorvane-")) return true;
          }
          return false;
        },
        60000);
  }
  std::vector<std::string> filesIn(const fs::path& folder) const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& e : fs::directory_iterator(folder, error))
      names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  ScratchDir m_work;
  ScratchDir m_tmp;
  std::vector<std::unique_ptr<QProcess>> m_processes;
};

}  // namespace quorvane::cli
