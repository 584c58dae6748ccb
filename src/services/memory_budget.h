// How much memory a batch may take at once, and what one conversion takes.
// The batch starts a conversion only while the estimates of those running
// stay within the budget; a conversion over the budget on its own still runs,
// alone.
#pragma once

#include <cstdint>

#include "models/output_format.h"

namespace quorvane::core {

// Half the memory this process can still have: the smaller of the system's
// available memory (/proc/meminfo) and what the cgroup's limit leaves. 0
// when neither can be read (no budget).
std::int64_t defaultMemoryBudget();

// The peak memory of converting a width x height image (its header size) to
// `format`, the encoder process included, with or without the quality receipt.
std::int64_t estimatedConversionBytes(OutputFormat format, std::int64_t width, std::int64_t height,
                                      bool receipt);

}  // namespace quorvane::core
