// Descriptor-level file access for the codec: every file is opened here with
// O_CLOEXEC and handed to libvips as a descriptor, never as a name, so no
// character in a file name (brackets, colons, a leading dash) is ever parsed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/unique_fd.h"

namespace quorvane::codec::detail {

using codec::UniqueFd;

// An image file opened for reading: a regular, non-empty file. Opening never
// blocks (a FIFO named like an image is refused, not waited on).
struct InputFile {
  enum class Failure { None, System, NotRegularFile, EmptyFile };
  UniqueFd fd;
  std::int64_t size = 0;
  Failure failure = Failure::None;
  int systemError = 0;  // errno, for Failure::System
};

// Called with the path of every file openInput opens (tries to), on the
// thread that opens it; nullptr: none.
using OpenObserver = void (*)(const std::filesystem::path&);
void setOpenObserver(OpenObserver observer);

// Opens path for reading. On failure the descriptor is invalid and the
// failure says why.
InputFile openInput(const std::filesystem::path& path);

// Reads up to length bytes from the start of the file without moving its
// offset. Returns what could be read (short for short files).
std::vector<std::uint8_t> readPrefix(int fd, std::size_t length);

// Reads the whole file (size bytes) from the start. Empty on failure.
std::vector<std::uint8_t> readAll(int fd, std::int64_t size);

// An output file that disappears unless commit() succeeds. Creates or
// truncates the file at path; a failed or abandoned write removes it (only if
// it is a regular file, so a device such as /dev/null is never unlinked).
class OutputFile {
 public:
  explicit OutputFile(std::filesystem::path path);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  bool isOpen() const { return m_fd.valid(); }
  int fd() const { return m_fd.get(); }
  // errno text of the failed open or write, for logs, and the errno itself.
  const std::string& error() const { return m_error; }
  int systemError() const { return m_errno; }

  // Writes all bytes, retrying short writes and EINTR. False on any error.
  bool write(const void* data, std::size_t length);
  // Closes the file and keeps it. False (and the file removed) when closing
  // fails.
  bool commit();

 private:
  void discard();

  std::filesystem::path m_path;
  UniqueFd m_fd;
  bool m_regular = false;
  bool m_committed = false;
  std::string m_error;
  int m_errno = 0;
};

}  // namespace quorvane::codec::detail
