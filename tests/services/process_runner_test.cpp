#include "services/process_runner.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "services/conversion_errors.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

// Fake tools are small shell scripts; the runner starts them without a shell
// of its own, exactly as it starts the real encoders.
class ProcessRunnerTest : public ::testing::Test {
 protected:
  fs::path tool(const std::string& name, const std::string& body) {
    const fs::path path = m_dir / name;
    test::writeFile(path, "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
    return path;
  }
  static bool processExists(pid_t pid) { return ::kill(pid, 0) == 0; }
  pid_t readPid(const std::string& name) const {
    std::ifstream in(m_dir / name);
    pid_t pid = 0;
    in >> pid;
    return pid;
  }
  static std::size_t openDescriptors() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
  }
  // Cancels `token` once `file` exists (the fake tool is running by then).
  static std::jthread cancelWhenExists(const CancellationToken& token, fs::path file) {
    return std::jthread([token, file] {
      while (!fs::exists(file)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      token.cancel();
    });
  }

  ScratchDir m_dir;
  CancellationToken m_token;
};

TEST_F(ProcessRunnerTest, PassesArgumentsExactlyAndCapturesOutput) {
  const auto echo = tool("echo args", R"(for a in "$@"; do printf '[%s]' "$a"; done)");
  const std::string out =
      runProcess(echo, {"-q", "80", "a b", "it's \"quoted\"", "-o", "caf\xe9.webp"}, m_token,
                 {.captureStdout = true});
  EXPECT_EQ(out, "[-q][80][a b][it's \"quoted\"][-o][caf\xe9.webp]");
  EXPECT_EQ(runProcess(echo, {"x"}, m_token), "");  // not captured
}

TEST_F(ProcessRunnerTest, FeedsStandardInputAndSurvivesAChildThatStopsReading) {
  // Larger than any pipe buffer, in two pieces.
  const std::string head = "P7\n";
  const std::string body(3 << 20, 'x');
  const auto count = tool("count", "wc -c");
  EXPECT_EQ(
      std::stoul(runProcess(count, {}, m_token, {.captureStdout = true, .input = {head, body}})),
      head.size() + body.size());
  // Reads a little and leaves; the rest of the input has nowhere to go. No
  // SIGPIPE ends us, and the child's own exit status decides.
  const auto early = tool("early", "head -c 5 >/dev/null; exit 0");
  EXPECT_EQ(runProcess(early, {}, m_token, {.input = {body}}), "");
  const auto refuses = tool("refuses", "exit 4");
  try {
    runProcess(refuses, {}, m_token, {.input = {body}});
    FAIL() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_EQ(error.exitStatus(), 4);
  }
  // Without input, standard input is empty.
  EXPECT_EQ(runProcess(count, {}, m_token, {.captureStdout = true}), "0\n");
}

TEST_F(ProcessRunnerTest, AChildOverItsTimeLimitIsKilled) {
  const auto hangs = tool("hangs", "sleep 30");
  try {
    runProcess(hangs, {}, m_token, {.timeout = std::chrono::milliseconds(100)});
    FAIL() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_EQ(error.kind(), ConversionError::Kind::ProcessExitedWithError);
    EXPECT_EQ(error.exitStatus(), 128 + SIGKILL);
  }
}

TEST_F(ProcessRunnerTest, NonZeroExitCarriesTheErrorOutputUnchanged) {
  const auto bad = tool("bad", "printf 'bad input' >&2; exit 1");
  try {
    runProcess(bad, {}, m_token);
    FAIL() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_EQ(error.kind(), ConversionError::Kind::ProcessExitedWithError);
    EXPECT_EQ(error.exitStatus(), 1);
    EXPECT_EQ(error.detail(), "bad input");
    EXPECT_EQ(error.description(), "bad could not convert the image (exit status 1)");
  }
  const auto notUtf8 = tool("latin1", "printf 'caf\\351\\n' >&2; exit 3");
  try {
    runProcess(notUtf8, {}, m_token);
    FAIL() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_EQ(error.exitStatus(), 3);
    EXPECT_EQ(error.detail(), "");
  }
}

TEST_F(ProcessRunnerTest, ACrashSaysWhichSignalEndedTheTool) {
  const auto crash = tool("crash", "kill -SEGV $$");
  try {
    runProcess(crash, {}, m_token);
    FAIL() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_EQ(error.exitStatus(), 128 + SIGSEGV);
    EXPECT_EQ(error.description(), "crash was stopped by signal 11 (Segmentation fault)");
  }
}

TEST_F(ProcessRunnerTest, BothPipesAreReadAtOnce) {
  // 4 MB on stdout and 1 MB on stderr: reading one pipe to its end before the
  // other would stall on a full pipe.
  const auto chatty = tool("chatty", "head -c 1000000 /dev/zero >&2; head -c 4000000 /dev/zero");
  EXPECT_EQ(runProcess(chatty, {}, m_token, {.captureStdout = true}).size(), 4'000'000u);
}

TEST_F(ProcessRunnerTest, CancelBeforeStartRunsNothing) {
  const auto marker = m_dir / "ran";
  const auto touch = tool("touch", "touch '" + marker.native() + "'");
  m_token.cancel();
  EXPECT_THROW(runProcess(touch, {}, m_token), CancellationError);
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(ProcessRunnerTest, CancelEndsTheToolAndItsChildren) {
  const auto slow =
      tool("slow", "echo $$ > '" + (m_dir / "pid").native() + "'; sleep 30 & echo $! > '" +
                       (m_dir / "child").native() + ".tmp'; mv '" + (m_dir / "child").native() +
                       ".tmp' '" + (m_dir / "child").native() + "'; wait");
  const std::size_t descriptors = openDescriptors();
  const auto start = std::chrono::steady_clock::now();
  {
    auto canceller = cancelWhenExists(m_token, m_dir / "child");
    EXPECT_THROW(runProcess(slow, {}, m_token), CancellationError);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_FALSE(processExists(readPid("pid")));  // reaped: no zombie either
  // The grandchild got the signal with its group; give init a moment to reap it.
  for (int i = 0; i < 200 && processExists(readPid("child")); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(processExists(readPid("child")));
  EXPECT_EQ(openDescriptors(), descriptors);
}

TEST_F(ProcessRunnerTest, AToolThatIgnoresTerminateIsKilled) {
  const auto stubborn = tool("stubborn", "trap '' TERM; echo $$ > '" + (m_dir / "pid").native() +
                                             "'; while :; do sleep 0.05; done");
  auto canceller = cancelWhenExists(m_token, m_dir / "pid");
  EXPECT_THROW(runProcess(stubborn, {}, m_token, {.killGrace = std::chrono::milliseconds(200)}),
               CancellationError);
  EXPECT_FALSE(processExists(readPid("pid")));
}

TEST_F(ProcessRunnerTest, ASuccessfulExitAfterCancelStillCounts) {
  const auto graceful =
      tool("graceful", "trap 'printf done; exit 0' TERM; touch '" + (m_dir / "up").native() +
                           "'; while :; do sleep 0.05; done");
  auto canceller = cancelWhenExists(m_token, m_dir / "up");
  EXPECT_EQ(runProcess(graceful, {}, m_token, {.captureStdout = true}), "done");
}

TEST_F(ProcessRunnerTest, AToolThatCannotStartIsAFileSystemError) {
  EXPECT_THROW(runProcess(m_dir / "missing", {}, m_token), FileSystemError);
  const auto noExec = m_dir / "noexec";
  test::writeFile(noExec, "#!/bin/sh\n");
  fs::permissions(noExec, fs::perms::owner_read);
  EXPECT_THROW(runProcess(noExec, {}, m_token), FileSystemError);
}

}  // namespace
}  // namespace quorvane::core
