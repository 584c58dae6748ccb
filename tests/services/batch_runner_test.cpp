#include "services/batch_runner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "codec/unique_fd.h"
#include "services/memory_budget.h"
#include "support/fake_converter.h"
#include "support/numbered.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using Kind = ConversionOutcome::Kind;

// The runner drives a fake converter; every wait polls the event loop with a
// deadline.
class BatchRunnerTest : public ::testing::Test {
 protected:
  std::unique_ptr<BatchRunner> makeRunner(int parallel, qint64 memoryBudget = 0,
                                          BatchSettings settings = {}) {
    if (settings.folder.empty()) settings.folder = m_out.path();
    auto runner = std::make_unique<BatchRunner>(m_converter, settings,
                                                BatchRunner::Limits{parallel, memoryBudget});
    QObject::connect(runner.get(), &BatchRunner::finished, runner.get(),
                     [this](const QUuid& id, const ConversionOutcome& outcome) {
                       m_outcomes[m_names[id]] = outcome;
                       m_endOrder.push_back(m_names[id]);
                     });
    QObject::connect(runner.get(), &BatchRunner::started, runner.get(),
                     [this](const QUuid& id) { m_startOrder.push_back(m_names[id]); });
    watchEnd(*runner);
    return runner;
  }
  std::vector<BatchEntry> entries(std::initializer_list<std::string> names, int side = 10) {
    std::vector<BatchEntry> result;
    for (const std::string& name : names) {
      const QUuid id = QUuid::createUuid();
      m_names[id] = name;
      m_ids[name] = id;
      result.push_back({id, m_in / name, side, side});
    }
    return result;
  }
  bool waitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 10000); }
  void watchEnd(BatchRunner& runner) {
    QObject::connect(&runner, &BatchRunner::done, &runner,
                     [this, &runner] { m_ended.insert(&runner); });
  }
  bool ended(BatchRunner& runner) {
    return waitFor([&] { return m_ended.count(&runner) > 0; });
  }

  test::ScratchDir m_in;
  test::ScratchDir m_out;
  test::FakeConverter m_converter;
  std::map<QUuid, std::string> m_names;
  std::map<std::string, QUuid> m_ids;
  std::map<std::string, ConversionOutcome> m_outcomes;
  std::vector<std::string> m_startOrder;  // as the runner started them
  std::vector<std::string> m_endOrder;
  std::set<const BatchRunner*> m_ended;
};

TEST_F(BatchRunnerTest, RunsInOrderAtMostTheLimitAtOnceAndTakesLateArrivals) {
  auto runner = makeRunner(2);
  QSignalSpy done(runner.get(), &BatchRunner::done);
  runner->append(entries({"a.png", "b.png", "c.png", "d.png"}));
  runner->start();
  ASSERT_TRUE(waitFor([&] { return m_converter.running() == 2; }));
  EXPECT_EQ(m_startOrder, (std::vector<std::string>{"a.png", "b.png"}));
  m_converter.release("b.png");  // a slot frees: the next one starts at once
  ASSERT_TRUE(waitFor([&] { return m_converter.running() == 2 && m_startOrder.size() == 3; }));
  EXPECT_EQ(m_startOrder.back(), "c.png");
  runner->append(entries({"late.png"}));  // joins the same run
  m_converter.releaseAll();
  ASSERT_TRUE(done.wait(10000));
  EXPECT_FALSE(done.front().front().toBool());
  EXPECT_EQ(m_startOrder,
            (std::vector<std::string>{"a.png", "b.png", "c.png", "d.png", "late.png"}));
  EXPECT_EQ(m_converter.mostAtOnce(), 2);
  EXPECT_EQ(m_outcomes.size(), 5u);
  for (const auto& [name, outcome] : m_outcomes) EXPECT_EQ(outcome.kind, Kind::Completed) << name;
}

TEST_F(BatchRunnerTest, WhileImagesAreStillFoundAnEmptyQueueWaitsForThem) {
  auto runner = makeRunner(1);
  runner->openIntake();
  runner->start();
  runner->append(entries({"first.png"}));
  ASSERT_TRUE(waitFor([&] { return m_converter.running() == 1; }));
  m_converter.releaseAll();
  ASSERT_TRUE(waitFor([&] { return m_outcomes.count("first.png") > 0; }));
  QTest::qWait(50);  // time for an end that must not come
  EXPECT_EQ(m_ended.count(runner.get()), 0u);
  runner->append(entries({"second.png"}));
  m_converter.releaseAll();
  ASSERT_TRUE(waitFor([&] { return m_outcomes.count("second.png") > 0; }));
  runner->closeIntake();
  ASSERT_TRUE(ended(*runner));
  EXPECT_EQ(m_outcomes["second.png"].kind, Kind::Completed);

  // Cancelled while still finding: the batch ends all the same.
  auto waiting = makeRunner(1);
  waiting->openIntake();
  waiting->start();
  waiting->cancel();
  EXPECT_TRUE(ended(*waiting));
}

TEST_F(BatchRunnerTest, CancelEndsTheWaitingAtOnceAndTheRunningWhenTheyStop) {
  auto runner = makeRunner(1);
  runner->append(entries({"a.png", "b.png", "c.png"}));
  runner->start();
  ASSERT_TRUE(waitFor([&] { return m_converter.running() == 1; }));
  runner->cancel();
  // The two that never started are cancelled before the running one ends.
  EXPECT_EQ(m_endOrder, (std::vector<std::string>{"b.png", "c.png"}));
  ASSERT_TRUE(ended(*runner));
  EXPECT_EQ(m_outcomes["a.png"].kind, Kind::Cancelled);
  EXPECT_EQ(m_outcomes["c.png"].kind, Kind::Cancelled);
  EXPECT_EQ(m_startOrder, std::vector<std::string>{"a.png"});
}

TEST_F(BatchRunnerTest, AFileFinishedAfterTheCancelIsNotPublishedNorLeftBehind) {
  auto runner = makeRunner(1);
  runner->append(entries({"a.png"}));
  m_converter.ignoreCancelOf("a.png");  // its encoder finishes the file anyway
  runner->start();
  ASSERT_TRUE(waitFor([&] { return m_converter.running() == 1; }));
  runner->cancel();
  m_converter.release("a.png");
  ASSERT_TRUE(ended(*runner));
  EXPECT_EQ(m_outcomes["a.png"].kind, Kind::Cancelled);
  EXPECT_TRUE(test::filesIn(m_out.path()).empty());  // nor its staging file
}

TEST_F(BatchRunnerTest, RemovedBeforeItsTurnItNeverRunsRemovedWhileRunningItEnds) {
  auto runner = makeRunner(1);
  runner->append(entries({"a.png", "b.png", "c.png"}));
  runner->start();
  ASSERT_TRUE(waitFor([&] { return m_converter.running() == 1; }));
  runner->remove(m_ids["b.png"]);
  runner->remove(m_ids["a.png"]);  // already converting: reported as usual
  m_converter.releaseAll();
  ASSERT_TRUE(ended(*runner));
  EXPECT_EQ(m_startOrder, (std::vector<std::string>{"a.png", "c.png"}));
  EXPECT_EQ(m_endOrder, (std::vector<std::string>{"a.png", "c.png"}));
}

TEST_F(BatchRunnerTest, AFailureCarriesItsText) {
  m_converter.failOn("bad.png");
  auto runner = makeRunner(2);
  runner->append(entries({"good.png", "bad.png"}));
  runner->start();
  m_converter.releaseAll();
  ASSERT_TRUE(ended(*runner));
  EXPECT_EQ(m_outcomes["good.png"].kind, Kind::Completed);
  EXPECT_EQ(m_outcomes["bad.png"].kind, Kind::Failed);
  EXPECT_EQ(m_outcomes["bad.png"].message, "The image data is damaged");
}

TEST_F(BatchRunnerTest, CustomNamesCountInTheOrderImagesStartAndSkipTakenNames) {
  test::writeFile(m_out / "trip-07.webp", "taken");
  auto runner = makeRunner(1, 0,
                           {.naming = NamingMode::Custom,
                            .namePrefix = QStringLiteral("trip"),
                            .nameStartNumber = QStringLiteral("07")});
  runner->append(entries({"x.png", "y.png", "z.png"}));
  m_converter.releaseAll();
  runner->start();
  ASSERT_TRUE(ended(*runner));
  std::vector<std::string> names;
  for (const ConversionJob& job : m_converter.jobs()) {
    names.push_back(job.customOutputURL->filename().native());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"trip-07-1.webp", "trip-08.webp", "trip-09.webp"}));
}

TEST_F(BatchRunnerTest, TheMemoryBudgetHoldsBackWhatWouldNotFitAndLetsALargeImageRunAlone) {
  // Two 2000 x 2000 conversions to WebP fit in two and a half times the
  // estimate of one, three do not; a budget smaller than one still runs
  // it, alone.
  const qint64 one = estimatedConversionBytes(OutputFormat::Webp, 2000, 2000, true);
  auto runner = makeRunner(4, one * 5 / 2);
  runner->append(entries({"a.png", "b.png", "c.png"}, 2000));
  runner->start();
  ASSERT_TRUE(waitFor([&] { return m_converter.running() == 2; }));
  EXPECT_FALSE(QTest::qWaitFor([&] { return m_converter.running() == 3; }, 200));
  m_converter.releaseAll();
  ASSERT_TRUE(ended(*runner));
  EXPECT_EQ(m_converter.mostAtOnce(), 2);

  test::FakeConverter alone;
  alone.releaseAll();
  BatchRunner tight(alone, {.folder = m_out.path()}, {4, 1});
  watchEnd(tight);
  tight.append(entries({"p.png", "q.png"}, 2000));
  tight.start();
  ASSERT_TRUE(ended(tight));
  EXPECT_EQ(alone.mostAtOnce(), 1);
  EXPECT_EQ(alone.started().size(), 2u);
}

TEST_F(BatchRunnerTest, AnEmptyBatchEndsOnTheNextTurn) {
  auto runner = makeRunner(2);
  QSignalSpy done(runner.get(), &BatchRunner::done);
  runner->start();
  EXPECT_EQ(done.count(), 0);  // not from inside start()
  ASSERT_TRUE(done.wait(10000));
  EXPECT_FALSE(done.front().front().toBool());
}

TEST_F(BatchRunnerTest, EveryBatchStartsBySweepingWhatKilledRunsLeftInTheTemporaryFolder) {
  // A run killed while Auto encoded its candidates: its private folder stays
  // until a batch starts, whether or not that batch makes a temporary file.
  test::ScratchDir tmp;
  const fs::path killed = tmp / "quorvane-999999999-Ab12Cd";  // no such process
  const fs::path alive = tmp / test::numbered("quorvane-", ::getpid(), "-Ef34Gh");
  for (const fs::path& folder : {killed, alive}) {
    fs::create_directories(folder);
    test::writeFile(folder / "candidate.avif", "x");
  }
  const char* const saved = std::getenv("TMPDIR");
  const std::string savedValue = saved ? saved : "";
  ::setenv("TMPDIR", tmp.path().c_str(), 1);
  std::vector<std::unique_ptr<BatchRunner>> runners;
  for (int batch = 0; batch < 2; ++batch) {
    BatchRunner& runner = *runners.emplace_back(makeRunner(1));
    runner.start();
    EXPECT_TRUE(ended(runner));
    EXPECT_FALSE(fs::exists(killed)) << "batch " << batch;
    EXPECT_TRUE(fs::exists(alive / "candidate.avif"));
    fs::create_directories(killed);  // the next one sweeps again
  }
  if (saved) {
    ::setenv("TMPDIR", savedValue.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
}

TEST_F(BatchRunnerTest, TheLedgerIsSavedOffThisThreadWhileAnotherProcessHoldsItsLock) {
  // Another batch saving into the same folder holds the lock: this thread
  // keeps serving its events meanwhile, and the batch ends once it is saved.
  codec::UniqueFd folder(::open(m_out.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  ASSERT_EQ(::flock(folder.get(), LOCK_EX), 0);
  std::atomic<bool> release = false;
  std::jthread unlocker([&] {
    // Never later than this: a test that blocks fails, it does not hang.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!release && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::flock(folder.get(), LOCK_UN);
  });
  BatchSettings settings;
  settings.encode.options.skipConverted = true;
  auto runner = makeRunner(1, 0, settings);
  test::writeFile(m_in / "a.png", "an input of 20 bytes");  // the ledger hashes it
  m_converter.writeOutputOf("a.png", 10);
  m_converter.releaseAll();
  runner->append(entries({"a.png"}));
  runner->start();
  ASSERT_TRUE(waitFor([&] { return m_outcomes.count("a.png") > 0; }));
  bool served = false;
  QTimer::singleShot(20, runner.get(), [&] { served = true; });
  EXPECT_TRUE(waitFor([&] { return served; }));
  EXPECT_EQ(m_ended.count(runner.get()), 0u);  // still waiting to save
  release = true;
  ASSERT_TRUE(ended(*runner));
  std::ifstream ledger(m_out / ConversionLedger::kFileName);
  const std::string text((std::istreambuf_iterator<char>(ledger)), {});
  EXPECT_NE(text.find("\ta.webp\t10\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace quorvane::core
