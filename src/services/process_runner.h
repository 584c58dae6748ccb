// Runs an encoder tool as a child process, without a shell.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "services/cancellation_token.h"

namespace quorvane::core {

struct ProcessOptions {
  bool captureStdout = false;
  // Written, one after the other, to the child's standard input, which is
  // then closed; without any, standard input is /dev/null. The views must
  // stay valid for the call. A child that stops reading early is no error
  // of ours: its exit status tells.
  std::vector<std::string_view> input = {};
  // How long a cancelled child may take to end after SIGTERM before SIGKILL.
  std::chrono::milliseconds killGrace{2000};
  // A child still running after this long is killed (its exit then reads as
  // SIGKILL); 0: no limit.
  std::chrono::milliseconds timeout{0};
  // What is kept of the child's error output for the message; the rest is
  // read and dropped so the child never blocks on a full pipe.
  std::size_t maxErrorBytes = 64 * 1024;
};

// Runs `tool` (an absolute path) with exactly `arguments`, stdin from
// `options.input` or /dev/null, in its own process group. Reads standard output (when captured)
// and standard error at the same time, waits for the exit and reaps the child
// on every path, exceptions included. Blocks the calling thread.
//
// Returns the standard output bytes (empty unless captured). Throws
// CancellationError when the token was cancelled (before the start, or during
// the run with a non-zero exit), ConversionError::processExitedWithError for a
// non-zero exit (the error output as UTF-8, empty when it is not valid UTF-8),
// and FileSystemError when the tool cannot be started.
std::string runProcess(const std::filesystem::path& tool, const std::vector<std::string>& arguments,
                       const CancellationToken& token, const ProcessOptions& options = {});

}  // namespace quorvane::core
