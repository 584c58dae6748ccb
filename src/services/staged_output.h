// An output file written under a hidden temporary name in the output folder
// and moved to its final name only when complete. A reader never sees half a
// file, a cancelled or failed conversion leaves nothing behind, and an
// existing file (another output, or the input itself) is never replaced.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

#include "codec/unique_fd.h"

namespace quorvane::core {

class OutputNameReservations;

class StagedOutput {
 public:
  // Creates ".quorvane-<pid>-<uuid>.<ext>" in `directory`, empty and
  // exclusively. The pid lets a later run tell a staging file of a killed run
  // from one still being written. Throws FileSystemError.
  StagedOutput(const std::filesystem::path& directory, const QString& ext);
  // Removes the staged file unless it was published, also when the folder
  // was moved or removed and made anew meanwhile: from where the folder went
  // and from its old place.
  ~StagedOutput();
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  // Where the encoder writes.
  const std::filesystem::path& path() const { return m_path; }

  // Moves the staged file to `desired`, or, when something appeared there
  // meanwhile, to the next free "-n" name (skipping reserved names); returns
  // where it went. Throws FileSystemError.
  std::filesystem::path publish(const std::filesystem::path& desired,
                                OutputNameReservations* reservations);

 private:
  std::filesystem::path m_path;
  std::string m_name;        // in m_folder
  codec::UniqueFd m_folder;  // follows the folder wherever it is moved
  QString m_ext;
  bool m_published = false;
};

// Removes the staging files in `directory` whose writing process no longer
// exists (regular files of this user only); returns how many.
int removeAbandonedStagingFiles(const std::filesystem::path& directory);

}  // namespace quorvane::core
