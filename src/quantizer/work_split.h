// Runs independent pieces of one stage on several threads. Which piece does
// what is fixed by the caller, never by the number of threads, so a stage
// whose pieces write disjoint outputs gives the same bytes on any count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quorvane::quant {

// Calls task(0) .. task(taskCount - 1), each exactly once, on up to `threads`
// threads, the calling thread included (0 and 1: all on the caller, in
// order). When a thread cannot be started the others take its share. Every
// started thread has been joined when this returns. `task` must not throw.
void runTasks(size_t taskCount, uint32_t threads, const std::function<void(size_t)>& task);

}  // namespace quorvane::quant
