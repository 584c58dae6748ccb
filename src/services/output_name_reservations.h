// The output names a batch has handed out. Two conversions of one batch that
// run at the same time (a.png and a.jpg, both to WebP) would otherwise pick
// the same free name; once reserved, a name stays taken for the whole batch.
// Thread-safe.
#pragma once

#include <QString>
#include <filesystem>
#include <mutex>
#include <string>
#include <unordered_set>

namespace quorvane::core {

class OutputNameReservations {
 public:
  // The name uniqueOutputURL would give, skipping reserved names too; reserved.
  std::filesystem::path reserveUnique(const std::filesystem::path& directory,
                                      const std::filesystem::path& baseName, const QString& ext);
  // Reserves an exact name; false when it was reserved already.
  bool reserve(const std::filesystem::path& path);
  bool isReserved(const std::filesystem::path& path) const;
  // True the first time a folder is named in this batch.
  bool isFirstUseOf(const std::filesystem::path& directory);

 private:
  mutable std::mutex m_mutex;
  std::unordered_set<std::string> m_reserved;
  std::unordered_set<std::string> m_folders;
};

}  // namespace quorvane::core
