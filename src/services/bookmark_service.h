// Remembers the user's chosen output folder between runs, and the folders
// chosen before it, and holds "access" to at most one folder at a time. On
// Linux a bookmark is the folder's absolute path as bytes; it resolves while
// a folder stands there, access succeeds while the folder is writable, and
// bookmarks never go stale. Main thread only.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "services/recent_folders.h"

namespace quorvane::core {

class BookmarkService {
 public:
  static constexpr const char* kBookmarkKey = "outputDirectoryBookmark";

  explicit BookmarkService(std::shared_ptr<QSettings> store);
  ~BookmarkService();
  BookmarkService(const BookmarkService&) = delete;
  BookmarkService& operator=(const BookmarkService&) = delete;

  // Re-opens the remembered folder: the folder, or nothing when none is
  // remembered, it no longer resolves or cannot be accessed (the bookmark
  // stays saved for a later try). A folder opened becomes the most recent.
  std::optional<std::filesystem::path> activate();
  // Remembers and opens `folder`; when that fails, goes back to the folder
  // remembered before (re-opened) or nothing.
  std::optional<std::filesystem::path> setDirectory(const std::filesystem::path& folder);
  // The remembered folder, also when it cannot be opened now (gone, or no
  // longer writable); nothing when none is remembered.
  std::optional<std::filesystem::path> rememberedFolder() const;
  // Stops access and forgets the remembered folder (not the recent ones).
  void clear();
  // The last RecentFolders::kLimit folders opened that are still there,
  // newest first (the current one among them).
  std::vector<std::filesystem::path> recentFolders() { return m_recent.list(); }

  const std::optional<std::filesystem::path>& accessingScopedURL() const {
    return m_accessingScopedURL;
  }

 private:
  struct Resolved {
    std::filesystem::path folder;
    bool stale = false;
  };
  static std::optional<QByteArray> createBookmark(const std::filesystem::path& folder);
  static std::optional<Resolved> resolveBookmark(const QByteArray& data);
  static bool startAccessing(const std::filesystem::path& folder);

  QByteArray bookmarkData() const;
  void setBookmarkData(const QByteArray& data);
  void deactivate();
  void saveBookmark(const std::filesystem::path& folder);

  std::shared_ptr<QSettings> m_store;
  RecentFolders m_recent;
  std::optional<std::filesystem::path> m_accessingScopedURL;
};

}  // namespace quorvane::core
