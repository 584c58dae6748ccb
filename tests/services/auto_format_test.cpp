#include "services/auto_format.h"

#include <gtest/gtest.h>

#include <cmath>

#include "models/quality_verdict.h"

namespace quorvane::core {
namespace {

// Runs a search against a format whose size grows steadily with quality and
// whose score is `score(quality)`; returns the trials made.
template <typename Score>
std::vector<AutoTrial> searchWith(Score score, int start, std::optional<std::int64_t> best = {},
                                  int resolution = kAutoResolution) {
  std::vector<AutoTrial> trials;
  while (const auto quality = nextAutoQuality(trials, 80.0, start, best, resolution)) {
    EXPECT_GE(*quality, kAutoLowestQuality);
    EXPECT_LE(*quality, kAutoHighestQuality);
    for (const AutoTrial& t : trials) EXPECT_NE(t.quality, *quality) << "tried twice";
    trials.push_back({*quality, 1000 + *quality * 100, score(*quality)});
  }
  return trials;
}

// Meets the target 80 from `threshold` up, `slope` points per step.
std::vector<AutoTrial> search(int threshold, int start, std::optional<std::int64_t> best = {},
                              double slope = 0.4, int resolution = kAutoResolution) {
  return searchWith([=](int q) { return 80.0 + (q - threshold) * slope; }, start, best, resolution);
}

int lowestMet(const std::vector<AutoTrial>& trials) {
  int lowest = 1000;
  for (const AutoTrial& t : trials) {
    if (t.score >= 80.0) lowest = std::min(lowest, t.quality);
  }
  return lowest;
}

TEST(AutoFormat, TheSearchFindsTheLowestQualityThatMeetsTheTargetInFewEncodes) {
  for (int resolution : {kAutoResolution, 1}) {
    std::size_t encodes = 0;
    int searches = 0;
    for (double slope : {0.25, 0.5, 1.0}) {
      for (int threshold : {25, 48, 63, 77, 90}) {
        for (int start :
             {threshold - 10, threshold - 3, threshold, threshold + 4, threshold + 12}) {
          SCOPED_TRACE(testing::Message() << "resolution " << resolution << ", slope " << slope
                                          << ", threshold " << threshold << ", start " << start);
          const auto trials = search(threshold, start, {}, slope, resolution);
          EXPECT_LE(trials.size(), static_cast<std::size_t>(kAutoMaxEncodes));
          EXPECT_GE(lowestMet(trials), threshold);
          EXPECT_LE(lowestMet(trials), threshold + resolution);
          encodes += trials.size();
          ++searches;
        }
      }
    }
    // A score that rises steadily is found from a start near it in about
    // three encodes (halving the range would take five); to the very step
    // in about four.
    EXPECT_LE(static_cast<double>(encodes) / searches, resolution == 1 ? 4.0 : 3.5)
        << "resolution " << resolution;
  }
  EXPECT_EQ(autoResolution(OutputFormat::Avif), 1);
  EXPECT_EQ(autoResolution(OutputFormat::Webp), kAutoResolution);
}

TEST(AutoFormat, TheSearchStaysWithinItsEncodesWhenTheScoreCurvesOrJumps) {
  for (int threshold : {30, 55, 72, 88}) {
    for (int start : {kAutoStartQuality, threshold + 20, threshold - 20}) {
      SCOPED_TRACE(testing::Message() << "threshold " << threshold << ", start " << start);
      // Flat far from the threshold, steep near it.
      const auto curved =
          searchWith([=](int q) { return 80.0 + 12 * std::tanh((q - threshold) / 6.0); }, start);
      EXPECT_LE(curved.size(), static_cast<std::size_t>(kAutoMaxEncodes));
      EXPECT_GE(lowestMet(curved), threshold);
      EXPECT_LE(lowestMet(curved), threshold + 8);
      // A step: the score says nothing about how far the threshold is.
      const auto jump = searchWith([=](int q) { return q >= threshold ? 85.0 : 70.0; }, start);
      EXPECT_LE(jump.size(), static_cast<std::size_t>(kAutoMaxEncodes));
      EXPECT_GE(lowestMet(jump), threshold);
    }
  }
  // A score that is not a number ends in range too.
  const auto broken = searchWith([](int) { return std::nan(""); }, kAutoStartQuality);
  EXPECT_LE(broken.size(), static_cast<std::size_t>(kAutoMaxEncodes));
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
