#include "services/auto_format.h"

#include <gtest/gtest.h>

#include "models/quality_verdict.h"

namespace quorvane::core {
namespace {

// Runs a search against a format whose score and size grow steadily with
// quality; returns the trials made.
std::vector<AutoTrial> search(int threshold, int start, std::optional<std::int64_t> best = {}) {
  std::vector<AutoTrial> trials;
  while (const auto quality = nextAutoQuality(trials, 80.0, start, best)) {
    EXPECT_GE(*quality, kAutoLowestQuality);
    EXPECT_LE(*quality, kAutoHighestQuality);
    // Meets the target 80 from `threshold` up.
    trials.push_back({*quality, 1000 + *quality * 100, 80.0 + (*quality - threshold) * 0.4});
  }
  return trials;
}

int lowestMet(const std::vector<AutoTrial>& trials) {
  int lowest = 1000;
  for (const AutoTrial& t : trials) {
    if (t.score >= 80.0) lowest = std::min(lowest, t.quality);
  }
  return lowest;
}

TEST(AutoFormat, TheSearchBracketsTheLowestQualityThatMeetsTheTargetInFewEncodes) {
  for (int threshold : {25, 48, 63, 77, 90}) {
    for (int start : {kAutoStartQuality, threshold, threshold + 3}) {
      SCOPED_TRACE(testing::Message() << "threshold " << threshold << ", start " << start);
      const auto trials = search(threshold, start);
      EXPECT_LE(trials.size(), static_cast<std::size_t>(kAutoMaxEncodes));
      EXPECT_GE(lowestMet(trials), threshold);
      EXPECT_LE(lowestMet(trials), threshold + 12);
    }
  }
  // Starting where the last image ended gives a close answer.
  EXPECT_LE(lowestMet(search(63, 63)), 65);
}

TEST(AutoFormat, TheSearchGivesUpWhenTheTargetIsOutOfReachOrAlreadyBeaten) {
  // Never met: it climbs towards the highest quality and stops.
  const auto out = search(200, kAutoStartQuality);
  EXPECT_GE(out.back().quality, 90);
  EXPECT_EQ(lowestMet(out), 1000);
  // A miss already larger than another format's best: going up only grows.
  EXPECT_EQ(search(90, 50, 5000).size(), 1u);
  // Targets: 100 asks for identical to the eye, the default for very close,
  // lower qualities for less, never for nothing.
  EXPECT_EQ(verdictFor(autoTargetScore(100)), QualityVerdict::Identical);
  EXPECT_EQ(verdictFor(autoTargetScore(80)), QualityVerdict::VeryClose);
  for (int quality = 1; quality <= 100; ++quality) {
    EXPECT_GT(autoTargetScore(quality), autoTargetScore(quality - 1)) << quality;
  }
  EXPECT_GE(autoTargetScore(0), 30.0);
}

TEST(AutoFormat, EachFormatStartsWithinTheRangeAndHigherForAHigherTarget) {
  for (OutputFormat format : kAllOutputFormats) {
    int previous = kAutoLowestQuality;
    for (int quality = 0; quality <= 100; ++quality) {
      const int start = autoStartQuality(format, autoTargetScore(quality));
      EXPECT_GE(start, previous) << rawValue(format).toStdString() << " " << quality;
      EXPECT_LE(start, kAutoHighestQuality);
      previous = start;
    }
  }
}

}  // namespace
}  // namespace quorvane::core
