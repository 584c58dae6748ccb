#include "services/recent_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "services/bookmark_service.h"
#include "services/settings_store.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

class RecentFoldersTest : public ::testing::Test {
 protected:
  // A fresh store on the same file, as the next run of the program sees it.
  std::shared_ptr<QSettings> store() const {
    return settingsStoreAt(QString::fromStdString((m_config / "Quorvane.conf").native()));
  }
  fs::path folder(const std::string& name) const {
    const fs::path path = m_folders / name;
    fs::create_directories(path);
    return path;
  }
  void writeByHand(const std::string& text) { test::writeFile(m_config / "Quorvane.conf", text); }

  ScratchDir m_config;
  ScratchDir m_folders;
};

TEST_F(RecentFoldersTest, NewestFirstAtMostFiveWithoutRepeats) {
  std::vector<fs::path> chosen;
  for (int i = 0; i < 7; ++i) chosen.push_back(folder("out" + std::to_string(i)));
  {
    RecentFolders recent(store());
    for (const fs::path& f : chosen) recent.remember(f);
    // Chosen again, spelled differently: moves up, is not listed twice.
    recent.remember(chosen[3] / ".");
    recent.remember(chosen[3].native() + "/");
    recent.remember("relative/out");
  }
  EXPECT_EQ(RecentFolders(store()).list(),
            (std::vector<fs::path>{chosen[3], chosen[6], chosen[5], chosen[4], chosen[2]}));
}

TEST_F(RecentFoldersTest, FoldersGoneAreLeftOutAndForgotten) {
  const fs::path a = folder("a"), b = folder("usb stick"), c = folder("c");
  {
    RecentFolders recent(store());
    for (const fs::path& f : {a, b, c}) recent.remember(f);
  }
  fs::remove(b);
  EXPECT_EQ(RecentFolders(store()).list(), (std::vector<fs::path>{c, a}));
  // Forgotten, not just hidden: it does not come back with the folder.
  fs::create_directories(b);
  EXPECT_EQ(RecentFolders(store()).list(), (std::vector<fs::path>{c, a}));
  // A file standing where a folder was is gone too.
  fs::remove(a);
  test::writeFile(a, "x");
  EXPECT_EQ(RecentFolders(store()).list(), (std::vector<fs::path>{c}));
}

TEST_F(RecentFoldersTest, NamesThatAreNotUtf8SurviveARestart) {
  // One entry is the case the store writes as a single value, not a list.
  const fs::path odd = folder("caf\xe9, \"1\"");
  RecentFolders(store()).remember(odd);
  EXPECT_EQ(RecentFolders(store()).list(), (std::vector<fs::path>{odd}));
  const fs::path cjk = folder("写真");
  RecentFolders(store()).remember(cjk);
  EXPECT_EQ(RecentFolders(store()).list(), (std::vector<fs::path>{cjk, odd}));
}

TEST_F(RecentFoldersTest, HandWrittenValuesReadAsFarAsTheyMakeSense) {
  const fs::path a = folder("a"), b = folder("b");
  writeByHand("[General]\nrecentOutputFolders=" + a.native() + "\n");
  EXPECT_EQ(RecentFolders(store()).list(), (std::vector<fs::path>{a}));
  writeByHand("[General]\nrecentOutputFolders=" + a.native() + ", relative, " + b.native() + "\n");
  EXPECT_EQ(RecentFolders(store()).list(), (std::vector<fs::path>{a, b}));
  for (const std::string value : {"42", "relative/path", "@Rect(1 2 3 4)", ""}) {
    SCOPED_TRACE(value);
    writeByHand("[General]\nrecentOutputFolders=" + value + "\n");
    EXPECT_TRUE(RecentFolders(store()).list().empty());
  }
}

TEST_F(RecentFoldersTest, BookmarkServiceRemembersEveryFolderItOpens) {
  const fs::path a = folder("a"), b = folder("b");
  BookmarkService service(store());
  EXPECT_TRUE(service.recentFolders().empty());
  ASSERT_EQ(service.setDirectory(a), a);
  ASSERT_EQ(service.setDirectory(b), b);
  // A choice that cannot be used is no recent folder.
  EXPECT_EQ(service.setDirectory(m_folders / "missing"), b);
  service.clear();
  EXPECT_EQ(service.recentFolders(), (std::vector<fs::path>{b, a}));
  // Opening a recent one again makes it the newest.
  ASSERT_EQ(service.setDirectory(a), a);
  EXPECT_EQ(BookmarkService(store()).recentFolders(), (std::vector<fs::path>{a, b}));
}

}  // namespace
}  // namespace quorvane::core
