// Replacing a file's whole content so that a reader, a crash or a full disk
// never leaves half of it: the bytes go to a hidden file beside it, are
// flushed to the disk, and that file is renamed over the old one.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace quorvane::core {

// Makes `bytes` the content of `file` (a path of bytes: any name the file
// system takes). The hidden file is ".quorvane-<pid>-<uuid>.tmp" in the same
// folder, so one left by a killed process is swept like a staging file. An
// existing file keeps its permission bits; a link to a file stays a link and
// its target is replaced. Something that is not a regular file (a terminal,
// a pipe, /dev/null) is written to directly, never replaced; opening it does
// not wait for a reader. Returns the system's error: nothing is changed then.
[[nodiscard]] std::error_code writeFileAtomically(const std::filesystem::path& file,
                                                  std::string_view bytes);

// The same for a file of ours in a folder others may write to: whatever
// stands at the name (a link, a pipe) is replaced, never written through.
[[nodiscard]] std::error_code replaceFileAtomically(const std::filesystem::path& file,
                                                    std::string_view bytes);

}  // namespace quorvane::core
