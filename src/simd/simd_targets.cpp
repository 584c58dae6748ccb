#include "simd/simd_targets.h"

#include "hwy/targets.h"

namespace quorvane::simd {

std::vector<SimdTarget> availableSimdTargets() {
  std::vector<SimdTarget> result;
  for (int64_t target : hwy::SupportedAndGeneratedTargets()) {
    result.push_back({target, hwy::TargetName(target)});
  }
  return result;
}

ScopedSimdTarget::ScopedSimdTarget(int64_t target) {
  hwy::SetSupportedTargetsForTest(target);
}

ScopedSimdTarget::~ScopedSimdTarget() {
  hwy::SetSupportedTargetsForTest(0);
}

}  // namespace quorvane::simd
