// Which SIMD code paths this build carries, and a way to pin one (tests and
// benchmarks only: pinning changes process-wide dispatch and is not thread-safe).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::simd {

struct SimdTarget {
  int64_t id;
  std::string name;
};

// Targets both compiled into the kernel libraries and supported by this CPU,
// best first. Every kernel library is built for the same set of targets.
std::vector<SimdTarget> availableSimdTargets();

// Restricts dispatch to one target for its lifetime, then restores the default.
class ScopedSimdTarget {
 public:
  explicit ScopedSimdTarget(int64_t target);
  ~ScopedSimdTarget();
  ScopedSimdTarget(const ScopedSimdTarget&) = delete;
  ScopedSimdTarget& operator=(const ScopedSimdTarget&) = delete;
};

}  // namespace quorvane::simd
