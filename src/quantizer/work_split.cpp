#include "quantizer/work_split.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace quorvane::quant {

void runTasks(size_t taskCount, uint32_t threads, const std::function<void(size_t)>& task) {
  if (threads <= 1 || taskCount <= 1) {
    for (size_t i = 0; i < taskCount; ++i) task(i);
    return;
  }
  const size_t helpers = std::min<size_t>(threads, taskCount) - 1;
  std::atomic<size_t> next{0};
  const auto work = [&] {
    for (size_t i = next.fetch_add(1, std::memory_order_relaxed); i < taskCount;
         i = next.fetch_add(1, std::memory_order_relaxed)) {
      task(i);
    }
  };
  {
    // Joined by their destructors, also when a later start fails.
    std::vector<std::jthread> started;
    try {
      started.reserve(helpers);
      for (size_t k = 0; k < helpers; ++k) started.emplace_back(work);
    } catch (const std::system_error&) {
      // Fewer threads; the caller's share grows.
    } catch (const std::bad_alloc&) {
    }
    work();
  }
}

}  // namespace quorvane::quant
