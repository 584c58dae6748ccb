// What a perceptual score means to a person looking at the output: the
// thresholds, in one place, and the words for them. Scores are SSIMULACRA 2
// (100: identical), read against its published interpretation: 90 and up,
// nobody tells the two apart even flicking between them at 100 %; 85, nor
// flipping back and forth; 80, nor side by side; 70, artefacts hard to notice
// without comparing; 50, medium quality; 30 and below, low. Our blur is the
// exact filter where the published tool runs a recursion in single
// precision, whose round-off lowers high scores: on 171 encodes of our
// photos the two agree within 0.3 below 70, and a published 85 reads 85.8
// here (90: 91.2), so the first threshold is 86.
#pragma once

#include <QString>

namespace quorvane::core {

enum class QualityVerdict {
  Identical,           // flipping between the two at 100 % shows nothing
  VeryClose,           // side by side at 100 %, nobody notices
  VisibleOnCloseLook,  // visible when compared, not in passing
  VisiblyChanged,
};

// The lower bounds (inclusive) of the first three verdicts.
inline constexpr double kIdenticalFrom = 86.0;
inline constexpr double kVeryCloseFrom = 70.0;
inline constexpr double kCloseLookFrom = 50.0;

QualityVerdict verdictFor(double score);
// "identical to the eye", "very close", "visible on close look", "visibly changed"
QString verdictText(QualityVerdict verdict);
// Whether a viewer would see the change without looking for it.
inline bool isVisible(QualityVerdict verdict) {
  return verdict >= QualityVerdict::VisibleOnCloseLook;
}

}  // namespace quorvane::core
