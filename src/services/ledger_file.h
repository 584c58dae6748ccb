// The ledger's file in a folder, as the file system holds it: opened only
// when it is a regular file, never through a link and never waiting on a
// pipe; locked through the folder against other processes; the folder's
// names listed once, to tell which outputs are still there.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_set>

#include "codec/unique_fd.h"

namespace quorvane::core {

// Which file was read, to tell later whether it changed since.
struct LedgerFileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const LedgerFileIdentity&) const = default;
};

struct LedgerFile {
  enum class State { Absent, Regular, NotRegular, TooLarge, Unreadable };
  State state = State::Absent;
  codec::UniqueFd fd;  // open for Regular
  LedgerFileIdentity identity;
  std::error_code error;  // for Unreadable
};

// Opens `file` with `access` (O_RDONLY, or O_WRONLY | O_APPEND). A link, a
// pipe or a device at the name is NotRegular; a file over `maxBytes` is
// TooLarge.
LedgerFile openLedgerFile(const std::filesystem::path& file, int access, std::int64_t maxBytes);

// The whole content of an open file, read from its start; nothing on a read
// error (in `error`).
std::optional<std::string> readLedgerFile(int fd, std::int64_t size, std::error_code& error);

// Appends `text` at the end of the file and flushes it to the disk; on a
// failure the file is cut back to `size`, what it held before.
std::error_code appendToLedgerFile(int fd, off_t size, std::string_view text);

// A lock on the folder (LOCK_EX or LOCK_SH), waited for at most `wait`;
// `Failed` leaves the reason in errno.
enum class FolderLock { Taken, Busy, Failed };
FolderLock lockFolder(int folder, int operation, std::chrono::milliseconds wait);

// Every name in the folder, from one listing; nothing when it cannot be read.
std::optional<std::unordered_set<std::string>> namesIn(int folder);

}  // namespace quorvane::core
