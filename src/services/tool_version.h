// Which release of an encoder is installed, for the options that changed
// between the releases we run on (Debian 12 has avifenc 0.11, Debian 13 1.2).
#pragma once

#include <QVersionNumber>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "services/cancellation_token.h"

namespace quorvane::core {

// The version `tool --version` reports (the first number such as "1.2.1" in
// what it prints), asked once per tool file and process; nothing when it
// cannot be started, names no version or does not answer within two
// seconds. Thread-safe; throws CancellationError once `token` is cancelled.
std::optional<QVersionNumber> toolVersion(const std::filesystem::path& tool,
                                          const CancellationToken& token);

// avifenc's arguments for one quantizer (0 best .. 63): --min/--max as
// avifenc 0.x takes them, or from 1.0, which deprecates those, the -q
// quality that libavif maps onto the very same quantizer, so the file is the
// same. An unknown version gets --min/--max, which every release accepts.
std::vector<std::string> avifQuantizerArguments(int quantizer,
                                                const std::optional<QVersionNumber>& version);

}  // namespace quorvane::core
