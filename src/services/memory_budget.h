// How much memory a batch may take at once, and what one conversion takes.
// The batch starts a conversion only while the estimates of those running
// stay within the budget; a conversion over the budget on its own still runs,
// alone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "models/output_format.h"

namespace quorvane::core {

// Half the memory this process can still have: the smaller of the system's
// available memory (/proc/meminfo) and what its cgroups leave. 0 when
// neither can be read (no budget).
std::int64_t defaultMemoryBudget();

// What the memory cgroups of this process still allow: at its own cgroup and
// every ancestor up to the root of the hierarchy, the lower of memory.max and
// memory.high (v2; memory.limit_in_bytes in a v1 memory hierarchy) less that
// cgroup's usage, and the least of these. Found through /proc/self/cgroup and
// /proc/self/mountinfo, read under `root` (a copy of those files elsewhere,
// for tests). Nothing when no cgroup sets a limit.
std::optional<std::int64_t> cgroupMemoryHeadroom(const std::filesystem::path& root = "/");

// The peak memory of converting a width x height image (its header size) to
// `format`, the encoder process included, with or without the quality receipt.
std::int64_t estimatedConversionBytes(OutputFormat format, std::int64_t width, std::int64_t height,
                                      bool receipt);

}  // namespace quorvane::core
