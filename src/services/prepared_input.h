// The file handed to an encoder tool: the input itself, or an intermediate
// PNG of it that is removed with this value.
#pragma once

#include <filesystem>
#include <optional>

#include "services/temporary_files.h"

namespace quorvane::core {

struct PreparedInput {
  std::filesystem::path url;
  std::optional<TemporaryFile> tempFile;  // set when url is an intermediate

  // Removes the intermediate now rather than at destruction.
  void cleanup() { tempFile.reset(); }
};

}  // namespace quorvane::core
