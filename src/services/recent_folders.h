// The output folders chosen last, newest first, kept in the settings store
// under one key. A folder stays remembered, byte for byte, until newer ones
// push it out or it is found gone. Main thread only.
#pragma once

#include <QSettings>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <vector>

namespace quorvane::core {

class RecentFolders {
 public:
  static constexpr const char* kKey = "recentOutputFolders";
  static constexpr std::size_t kLimit = 5;

  explicit RecentFolders(std::shared_ptr<QSettings> store);

  // Puts an absolute `folder` first, moving it up when it is listed already;
  // the oldest beyond kLimit are forgotten. Relative paths are ignored.
  void remember(const std::filesystem::path& folder);
  // The remembered folders that are still folders, newest first. Those gone
  // are forgotten: the store is rewritten without them.
  std::vector<std::filesystem::path> list();

 private:
  // What the store holds: a list of byte arrays as written, or (from a
  // hand-edited or one-entry file) a single text or byte array; anything
  // else, and entries that are not absolute paths, read as nothing.
  std::vector<std::filesystem::path> stored() const;
  void store(const std::vector<std::filesystem::path>& folders);

  std::shared_ptr<QSettings> m_store;
};

}  // namespace quorvane::core
