#include "services/batch_report.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>

#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<ReportRow> rowsFor(std::initializer_list<std::string> inputs) {
  std::vector<ReportRow> rows;
  for (const std::string& input : inputs) {
    ReportRow row;
    row.input = "/photos/" + input;
    row.status = ReportRow::Status::Failed;
    rows.push_back(row);
  }
  return rows;
}

TEST(BatchReport, NamesThatAreNotUtf8KeepTheirBytesInCsvAndJson) {
  const auto rows = rowsFor({"\xff.png", "\xfe.png", "tab\there.png"});
  const QString csv = QString::fromUtf8(reportCsv(rows));
  EXPECT_TRUE(csv.contains("\r\n/photos/\\xff.png,")) << csv.toStdString();
  EXPECT_TRUE(csv.contains("\r\n/photos/\\xfe.png,")) << csv.toStdString();
  EXPECT_TRUE(csv.contains("\r\n/photos/tab\\x09here.png,")) << csv.toStdString();
  const QJsonArray images =
      QJsonDocument::fromJson(reportJson(rows)).object().value("images").toArray();
  ASSERT_EQ(images.size(), 3);
  EXPECT_EQ(images[0].toObject().value("input").toString(), "/photos/\\xff.png");
  EXPECT_EQ(images[1].toObject().value("input").toString(), "/photos/\\xfe.png");
}

class ReportFileTest : public ::testing::Test {
 protected:
  test::ScratchDir m_folder;
};

TEST_F(ReportFileTest, IsWrittenUnderItsOwnNameAndReplacesTheOldWhole) {
  const fs::path file = m_folder / "r\xff.csv";
  test::writeFile(file, "an older report");
  ASSERT_EQ(writeReport(file, rowsFor({"a.png"})), std::nullopt);
  EXPECT_EQ(readAll(file), reportCsv(rowsFor({"a.png"})).toStdString());
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(m_folder.path())) {
    names.push_back(entry.path().filename());
  }
  EXPECT_EQ(names, std::vector<std::string>{"r\xff.csv"});
}

TEST_F(ReportFileTest, AWriteThatCannotCompleteIsAnErrorAndLeavesTheOldReport) {
  // A full disk, as the file system says it: a regular file that may not
  // grow, and a device that is always full.
  const fs::path file = m_folder / "r.json";
  test::writeFile(file, "an older report");
  const auto rows = rowsFor({"a.png", "b.png"});
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto error = writeReport(file, rows);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, SIG_DFL);
  ASSERT_TRUE(error);
  EXPECT_EQ(*error, "File too large");
  EXPECT_EQ(readAll(file), "an older report");
  EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.path()), fs::directory_iterator()), 1);

  EXPECT_EQ(writeReport("/dev/full", rows), "No space left on the device");
  EXPECT_EQ(writeReport(m_folder / "missing/r.csv", rows), "No such file or folder");
}

}  // namespace
}  // namespace quorvane::core
