// What a perceptual distance means to a person looking at the output: the
// thresholds, in one place, and the words for them.
#pragma once

#include <QString>

namespace quorvane::core {

enum class QualityVerdict {
  Identical,  // nobody tells them apart
  VeryClose,  // a trained eye, side by side, at full size
  VisibleOnCloseLook,
  VisiblyChanged,
};

// The upper bounds (inclusive) of the first three verdicts.
inline constexpr double kIdenticalBelow = 1.0;
inline constexpr double kVeryCloseUpTo = 2.0;
inline constexpr double kCloseLookUpTo = 3.0;

QualityVerdict verdictFor(double distance);
// "identical to the eye", "very close", "visible on close look", "visibly changed"
QString verdictText(QualityVerdict verdict);
// Whether a viewer would see the change without looking for it.
inline bool isVisible(QualityVerdict verdict) {
  return verdict >= QualityVerdict::VisibleOnCloseLook;
}

}  // namespace quorvane::core
