// Intermediate files of conversions: one private folder per process
// (mode 0700, removed at exit), each file in it named by a fresh UUID and
// created exclusively, so no two conversions and no other user can share one.
#pragma once

#include <QString>
#include <filesystem>

namespace quorvane::core {

// Owns one intermediate file and removes it when it goes out of scope.
class TemporaryFile {
 public:
  // Creates "<uuid>.<ext>" in the process's private folder, empty.
  // Throws FileSystemError when the folder or the file cannot be created.
  explicit TemporaryFile(const QString& ext);
  ~TemporaryFile();
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

// The process's private folder, created on first use. Folders left behind
// by earlier runs that were killed are swept away at that moment.
const std::filesystem::path& privateTemporaryFolder();

// Removes the private folders (and what they hold) of processes that are
// gone, in every folder a private folder may go to; a batch does this when
// it starts, so a killed run's files go with the next batch, whether or not
// it makes a temporary file. Folders of other users are left alone.
void removeAbandonedTemporaryFolders();

}  // namespace quorvane::core
