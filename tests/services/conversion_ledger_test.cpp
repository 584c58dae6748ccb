#include "services/conversion_ledger.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <QTest>
#include <atomic>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "codec/unique_fd.h"
#include "services/ledger_line.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;

LedgerLine sampleLine() {
  LedgerLine line;
  // A tab, a newline, a percent sign and a byte that is not UTF-8.
  line.input = "/photos/a\tb\nc%d\xff.jpg";
  line.inputSize = 1234;
  line.inputModifiedNs = -5;
  for (std::size_t i = 0; i < line.contentHash.size(); ++i) {
    line.contentHash[i] = static_cast<std::uint8_t>(i * 7);
  }
  line.settings = 0x0123456789abcdefull;
  line.output = "a b%.webp";
  line.outputSize = 99;
  return line;
}

std::string textOf(const LedgerLine& line) {
  std::string text;
  appendLedgerLine(text, line);
  return text;
}

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Runs `work` on a thread of its own and waits at most a minute: a ledger
// that blocks fails the test instead of hanging it. `unblock` is called
// when the time is up, so that the thread can end.
bool endsInTime(std::function<void()> work, const std::function<void()>& unblock = {}) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread worker([work = std::move(work), done] {
    work();
    *done = true;
  });
  const bool ended = QTest::qWaitFor([&] { return done->load(); }, 60000);
  if (!ended && unblock) unblock();
  worker.join();
  return ended;
}

ConversionLedger::Entry entryFor(const std::string& input, const std::string& output, qint64 size,
                                 char hashDigit = 'a') {
  return {input, 1, 2, QByteArray(64, hashDigit), "0123456789abcdef", output, size};
}

// A line of the file as written by hand: fields joined by tabs.
std::string rawLine(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty()) line += '\t';
    line += field;
  }
  return line;
}

TEST(LedgerLine, ReadsBackWhatItWritesAndRefusesEveryMalformedField) {
  const LedgerLine line = sampleLine();
  std::string text = textOf(line);
  ASSERT_EQ(text.back(), '\n');
  text.pop_back();
  EXPECT_EQ(text.find('\n'), std::string::npos);  // one line, whatever the names hold
  EXPECT_EQ(parseLedgerLine(text), line);

  const std::string hash(64, 'a');
  const auto make = [&](const std::string& input, const std::string& size,
                        const std::string& fingerprint, const std::string& output) {
    return input + "\t" + size + "\t0\t" + hash + "\t" + fingerprint + "\t" + output + "\t7";
  };
  EXPECT_TRUE(parseLedgerLine(make("/a.png", "1", "0123456789ABCDEF", "a.webp")));
  const struct {
    const char* why;
    std::string line;
  } malformed[] = {
      {"six fields", rawLine({"/a.png", "1", "0", hash, "0123456789abcdef", "a.webp"})},
      {"eight fields", make("/a.png", "1", "0123456789abcdef", "a.webp") + "\t1"},
      {"empty", ""},
      {"size not a number", make("/a.png", "1x", "0123456789abcdef", "a.webp")},
      {"negative size", make("/a.png", "-1", "0123456789abcdef", "a.webp")},
      {"size beyond 64 bits", make("/a.png", "99999999999999999999", "0123456789abcdef", "a")},
      {"short fingerprint", make("/a.png", "1", "0123456789abcde", "a.webp")},
      {"fingerprint not hex", make("/a.png", "1", "0123456789abcdeg", "a.webp")},
      {"short hash", rawLine({"/a", "1", "0", hash.substr(1), "0123456789abcdef", "a", "7"})},
      {"bad escape", make("/a%G1.png", "1", "0123456789abcdef", "a.webp")},
      {"cut escape", make("/a.png", "1", "0123456789abcdef", "a.webp%4")},
      {"empty input", make("", "1", "0123456789abcdef", "a.webp")},
      {"NUL in input", make("/a%00.png", "1", "0123456789abcdef", "a.webp")},
      {"output with a slash", make("/a.png", "1", "0123456789abcdef", "..%2Fetc%2Fpasswd")},
      {"output a path", make("/a.png", "1", "0123456789abcdef", "/etc/passwd")},
      {"output ..", make("/a.png", "1", "0123456789abcdef", "..")},
      {"output empty", make("/a.png", "1", "0123456789abcdef", "")},
      {"output too long", make("/a.png", "1", "0123456789abcdef", std::string(256, 'x'))},
  };
  for (const auto& c : malformed) EXPECT_FALSE(parseLedgerLine(c.line)) << c.why;
  EXPECT_TRUE(parseLedgerLine(make("/a.png", "1", "0123456789abcdef", std::string(255, 'x'))));
}

TEST(LedgerText, KeepsWhatParsesAndCountsTornAndForeignText) {
  const std::string good = textOf(sampleLine());
  const std::string header = std::string(kLedgerHeader) + "\n";
  EXPECT_EQ(parseLedgerText(header + good + "junk\n" + good).lines.size(), 2u);
  EXPECT_EQ(parseLedgerText(header + good + "junk\n" + good).malformedLines, 1u);
  // A last line cut short counts as malformed even where its fields parse.
  const LedgerText torn = parseLedgerText(header + good + good.substr(0, good.size() - 2));
  EXPECT_EQ(torn.lines.size(), 1u);
  EXPECT_EQ(torn.malformedLines, 1u);
  EXPECT_TRUE(parseLedgerText("# another program\n" + good).foreign);
  EXPECT_TRUE(parseLedgerText("# another program\n" + good).lines.empty());
  EXPECT_FALSE(parseLedgerText("").foreign);
}

class ConversionLedgerTest : public ::testing::Test {
 protected:
  fs::path ledgerFile() const { return m_folder / ConversionLedger::kFileName; }
  void output(const std::string& name, std::size_t size) {
    test::writeFile(m_folder / name, std::string(size, 'o'));
  }
  test::ScratchDir m_folder;
};

TEST_F(ConversionLedgerTest, APipeAtItsNameIsNeverWaitedOnNorReplaced) {
  ASSERT_EQ(::mkfifo(ledgerFile().c_str(), 0644), 0);
  output("a.webp", 5);
  ConversionLedger ledger;
  std::optional<ConversionLedger::Entry> found;
  QStringList warnings;
  ASSERT_TRUE(endsInTime(
      [&] {
        found = ledger.find(m_folder.path(), QByteArray(64, 'a'), "0123456789abcdef");
        ledger.record(m_folder.path(), entryFor("/in/a.png", "a.webp", 5));
        warnings = ledger.save();
      },
      // A writer lets a reader's open return.
      [&] { codec::UniqueFd(::open(ledgerFile().c_str(), O_WRONLY | O_NONBLOCK)); }));
  EXPECT_FALSE(found);
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_TRUE(warnings[0].contains("not a regular file")) << warnings[0].toStdString();
  struct stat info {};
  ASSERT_EQ(::lstat(ledgerFile().c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(ConversionLedgerTest, MalformedLinesAreDroppedWithAWarningAndTheRestCounts) {
  output("a.webp", 5);
  const std::string fingerprint = "0123456789abcdef";
  const std::string good =
      rawLine({"/in/a.png", "1", "2", std::string(64, 'a'), fingerprint, "a.webp", "5"});
  const std::string overlong(300, 'x');  // longer than any file system takes
  std::string file(kLedgerHeader);
  file += '\n';
  file += rawLine({"/in/b.png", "1", "2", std::string(64, 'b'), fingerprint, overlong, "5"});
  file += '\n';
  file += rawLine({"/in/c.png", "1", "2", std::string(64, 'c'), fingerprint, "..%2Fa.webp", "5"});
  file += '\n';
  file += good;
  file += '\n';
  test::writeFile(ledgerFile(), file);
  ConversionLedger ledger;
  const auto found = ledger.find(m_folder.path(), QByteArray(64, 'a'), "0123456789abcdef");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->output, "a.webp");
  EXPECT_FALSE(ledger.find(m_folder.path(), QByteArray(64, 'c'), "0123456789abcdef"));
  output("d.webp", 3);
  ledger.record(m_folder.path(), entryFor("/in/d.png", "d.webp", 3, 'd'));
  // Nor is an entry recorded that would not read back.
  ledger.record(m_folder.path(), entryFor("/in/e.png", "sub/e.webp", 3, 'e'));
  const QStringList warnings = ledger.save();
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_TRUE(warnings[0].contains("damaged")) << warnings[0].toStdString();
  std::string expected(kLedgerHeader);
  expected += '\n';
  expected += good;
  expected += '\n';
  expected += rawLine({"/in/d.png", "1", "2", std::string(64, 'd'), fingerprint, "d.webp", "3"});
  expected += '\n';
  EXPECT_EQ(readAll(ledgerFile()), expected);
  ConversionLedger next;
  EXPECT_TRUE(next.find(m_folder.path(), QByteArray(64, 'd'), "0123456789abcdef"));
  EXPECT_TRUE(next.save().isEmpty());  // the file now reads whole
}

TEST_F(ConversionLedgerTest, SavingMergesWithWhatAnotherBatchSavedMeanwhile) {
  output("a.webp", 5);
  output("b.webp", 6);
  output("b-1.webp", 7);
  output("c.webp", 8);
  ConversionLedger first;
  ConversionLedger second;
  // Both read the folder before either saves.
  EXPECT_FALSE(first.find(m_folder.path(), QByteArray(64, 'a'), "0123456789abcdef"));
  EXPECT_FALSE(second.find(m_folder.path(), QByteArray(64, 'a'), "0123456789abcdef"));
  first.record(m_folder.path(), entryFor("/in/a.png", "a.webp", 5, 'a'));
  first.record(m_folder.path(), entryFor("/in/b.png", "b.webp", 6, 'b'));
  first.record(m_folder.path(), entryFor("/in/gone.png", "gone.webp", 1, 'f'));
  EXPECT_TRUE(first.save().isEmpty());
  // The same input converted again replaces its line; another one joins.
  second.record(m_folder.path(), entryFor("/in/b.png", "b-1.webp", 7, '1'));
  second.record(m_folder.path(), entryFor("/in/c.png", "c.webp", 8, 'c'));
  EXPECT_TRUE(second.save().isEmpty());

  ConversionLedger later;
  EXPECT_EQ(later.find(m_folder.path(), QByteArray(64, 'a'), "0123456789abcdef")->output, "a.webp");
  EXPECT_EQ(later.find(m_folder.path(), QByteArray(64, '1'), "0123456789abcdef")->output,
            "b-1.webp");
  EXPECT_EQ(later.find(m_folder.path(), QByteArray(64, 'c'), "0123456789abcdef")->output, "c.webp");
  EXPECT_FALSE(later.find(m_folder.path(), QByteArray(64, 'b'), "0123456789abcdef"));
  // Other settings, an output of another size or one gone: not converted.
  EXPECT_FALSE(later.find(m_folder.path(), QByteArray(64, 'a'), "fedcba9876543210"));
  output("c.webp", 9);
  EXPECT_FALSE(later.find(m_folder.path(), QByteArray(64, 'c'), "0123456789abcdef"));
  const std::string text = readAll(ledgerFile());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);  // header, a, b-1, c
  EXPECT_EQ(text.find("gone.webp"), std::string::npos);
}

TEST_F(ConversionLedgerTest, EveryLineOfTheSameContentIsTriedUntilOneOutputIsThere) {
  // The same photo converted into three names over the years; two are gone
  // or changed since.
  output("b.webp", 6);
  output("c.webp", 9);
  const std::string hash(64, 'a');
  std::string file = std::string(kLedgerHeader) + "\n";
  for (const auto& [name, size] : {std::pair{"a.webp", "5"}, {"b.webp", "6"}, {"c.webp", "7"}}) {
    file += rawLine({"/in/a.png", "1", "2", hash, "0123456789abcdef", name, size}) + "\n";
  }
  test::writeFile(ledgerFile(), file);
  ConversionLedger ledger;
  const auto found = ledger.find(m_folder.path(), QByteArray(64, 'a'), "0123456789abcdef");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->output, "b.webp");
  // Recorded again: the new line is the one found.
  output("d.webp", 4);
  ledger.record(m_folder.path(), entryFor("/in/a.png", "d.webp", 4));
  EXPECT_EQ(ledger.find(m_folder.path(), QByteArray(64, 'a'), "0123456789abcdef")->output,
            "d.webp");
}

TEST_F(ConversionLedgerTest, ALockHeldElsewhereEndsTheSaveWithAWarning) {
  output("a.webp", 5);
  codec::UniqueFd folder(::open(m_folder.path().c_str(), O_RDONLY | O_DIRECTORY));
  ASSERT_EQ(::flock(folder.get(), LOCK_EX), 0);
  ConversionLedger ledger(std::chrono::milliseconds(50));
  ledger.record(m_folder.path(), entryFor("/in/a.png", "a.webp", 5));
  QStringList warnings;
  ASSERT_TRUE(
      endsInTime([&] { warnings = ledger.save(); }, [&] { ::flock(folder.get(), LOCK_UN); }));
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_TRUE(warnings[0].contains("locked")) << warnings[0].toStdString();
  EXPECT_FALSE(fs::exists(ledgerFile()));
}

TEST_F(ConversionLedgerTest, ALargeLibraryLoadsAndSavesWhole) {
  // 200,000 lines: read in one pass, the batch's line appended. (Replacing
  // lines one by one against the whole file took minutes at this size, and
  // so did an index keyed on the hashes' first bytes.)
  // Outputs are shared, so the folder stays small.
  constexpr int kLines = 200000;
  for (int i = 0; i < 100; ++i) output(test::numbered("o", i, ".webp"), 4);
  std::string text = std::string(kLedgerHeader) + "\n";
  for (int i = 0; i < kLines; ++i) {
    LedgerLine line = sampleLine();
    line.input = test::numbered("/library/", i, ".jpg");
    // Alike but for the last bytes, as no SHA-256 is but a hand-made file
    // may be: they must not pile up in one bucket of the index either.
    line.contentHash[29] = static_cast<std::uint8_t>(i);
    line.contentHash[30] = static_cast<std::uint8_t>(i >> 8);
    line.contentHash[31] = static_cast<std::uint8_t>(i >> 16);
    line.output = test::numbered("o", i % 100, ".webp");
    line.outputSize = 4;
    appendLedgerLine(text, line);
  }
  test::writeFile(ledgerFile(), text);
  QStringList warnings;
  ASSERT_TRUE(endsInTime([&] {
    ConversionLedger ledger;
    ledger.record(m_folder.path(), entryFor("/library/new.jpg", "o0.webp", 4));
    warnings = ledger.save();
  }));
  EXPECT_TRUE(warnings.isEmpty());
  const std::string saved = readAll(ledgerFile());
  EXPECT_EQ(saved.substr(0, text.size()), text);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), kLines + 2);
}

TEST_F(ConversionLedgerTest, ALongLedgerIsRewrittenOnlyOnceAQuarterOfItIsOfNoUse) {
  // 12,000 lines, the last 1,000 for outputs deleted since; then the same
  // with every fourth content converted twice.
  constexpr int kLines = 12000;
  for (int i = 0; i < 100; ++i) output(test::numbered("o", i, ".webp"), 4);
  for (const int repeatEvery : {0, 4}) {
    SCOPED_TRACE(repeatEvery);
    std::string text = std::string(kLedgerHeader) + "\n";
    for (int i = 0; i < kLines; ++i) {
      LedgerLine line = sampleLine();
      line.input = test::numbered("/library/", i, ".jpg");
      const int content = repeatEvery && i % repeatEvery == 0 ? i + 1 : i;
      line.contentHash[0] = static_cast<std::uint8_t>(content);
      line.contentHash[1] = static_cast<std::uint8_t>(content >> 8);
      line.output = i < kLines - 1000 ? test::numbered("o", i % 100, ".webp") : "gone.webp";
      line.outputSize = 4;
      appendLedgerLine(text, line);
    }
    test::writeFile(ledgerFile(), text);
    ConversionLedger ledger;
    ledger.record(m_folder.path(), entryFor("/library/new.jpg", "o0.webp", 4));
    EXPECT_TRUE(ledger.save().isEmpty());
    const std::string saved = readAll(ledgerFile());
    const auto lines = std::count(saved.begin(), saved.end(), '\n');
    EXPECT_EQ(lines, repeatEvery ? kLines - 1000 + 2 : kLines + 2);
  }
}

}  // namespace
}  // namespace quorvane::core
