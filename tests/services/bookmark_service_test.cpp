#include "services/bookmark_service.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "services/settings_store.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

class BookmarkServiceTest : public ::testing::Test {
 protected:
  std::shared_ptr<QSettings> store() const {
    return settingsStoreAt(QString::fromStdString((m_config / "Quorvane.conf").native()));
  }
  ScratchDir m_config;
  ScratchDir m_folders;
};

TEST_F(BookmarkServiceTest, NothingRememberedAtFirstStart) {
  BookmarkService service(store());
  EXPECT_FALSE(service.activate());
  EXPECT_FALSE(service.accessingScopedURL());
}

TEST_F(BookmarkServiceTest, ChosenFolderComesBackAfterARestart) {
  const fs::path folder = m_folders / "out \xe9 [1]";
  fs::create_directories(folder);
  {
    BookmarkService service(store());
    EXPECT_EQ(service.setDirectory(folder), folder);
    EXPECT_EQ(service.accessingScopedURL(), folder);
  }
  BookmarkService restarted(store());
  EXPECT_EQ(restarted.activate(), folder);
}

TEST_F(BookmarkServiceTest, UnusableChoiceFallsBackToThePreviousFolder) {
  const fs::path first = m_folders / "first";
  fs::create_directories(first);
  BookmarkService service(store());
  ASSERT_EQ(service.setDirectory(first), first);

  EXPECT_EQ(service.setDirectory(m_folders / "missing"), first);
  EXPECT_EQ(service.setDirectory("relative/folder"), first);
  EXPECT_EQ(BookmarkService(store()).activate(), first);  // the saved data is the old one

  BookmarkService empty(
      settingsStoreAt(QString::fromStdString((m_config / "other.conf").native())));
  EXPECT_FALSE(empty.setDirectory(m_folders / "missing"));
}

TEST_F(BookmarkServiceTest, VanishedFolderResolvesToNothingButStaysSaved) {
  const fs::path folder = m_folders / "usb";
  fs::create_directories(folder);
  BookmarkService service(store());
  ASSERT_EQ(service.setDirectory(folder), folder);
  fs::remove(folder);
  EXPECT_FALSE(service.activate());
  EXPECT_FALSE(service.accessingScopedURL());
  fs::create_directories(folder);  // the drive comes back
  EXPECT_EQ(service.activate(), folder);
}

}  // namespace
}  // namespace quorvane::core
