#pragma once

#include <functional>

namespace quorvane::codec {

// Asked between steps of long work; true ends it with CodecError::Cancelled.
// An empty function never stops anything.
using StopRequested = std::function<bool()>;

}  // namespace quorvane::codec
