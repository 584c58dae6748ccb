#include "models/batch_pace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace quorvane::core {
namespace {

// A batch of photos of very different sizes converted one after another at
// `msPerMegapixel`, its time left read once a second, as the window does.
struct Reading {
  qint64 at = 0;
  qint64 shown = 0;
  qint64 truth = 0;
};

std::vector<Reading> simulate(double priorMsPerMegapixel, double msPerMegapixel) {
  const std::vector<double> sizes{1.5, 24, 2, 12, 12, 0.5, 20, 3, 8, 16};
  std::vector<QUuid> ids;
  BatchPace pace(priorMsPerMegapixel, 1);
  double total = 0;
  for (double mp : sizes) {
    ids.push_back(QUuid::createUuid());
    pace.add(ids.back(), mp);
    total += mp;
  }
  std::vector<Reading> readings;
  std::size_t next = 0;
  double endOfNext = sizes[0] * msPerMegapixel;
  pace.started(ids[0], 0);
  const auto end = static_cast<qint64>(total * msPerMegapixel);
  for (qint64 now = 0; now < end; now += 1000) {
    while (next < sizes.size() && endOfNext <= static_cast<double>(now)) {
      const auto at = static_cast<qint64>(endOfNext);
      pace.ended(ids[next], at);
      if (++next < sizes.size()) {
        pace.started(ids[next], at);
        endOfNext += sizes[next] * msPerMegapixel;
      }
    }
    const auto left = pace.msLeft(now);
    EXPECT_TRUE(left.has_value());
    readings.push_back({now, left.value_or(-1), end - now});
  }
  return readings;
}

TEST(BatchPace, AKnownPaceCountsDownThroughLargeImagesWithoutStandingStill) {
  const auto readings = simulate(1000, 1000);  // 24 s for a 24 MP photo among small ones
  for (std::size_t i = 1; i < readings.size(); ++i) {
    SCOPED_TRACE(readings[i].at);
    EXPECT_LT(readings[i].shown, readings[i - 1].shown);
    EXPECT_NEAR(readings[i].shown, readings[i].truth, 0.1 * readings[i].truth + 2000);
  }
}

TEST(BatchPace, AWrongStartIsCorrectedGraduallyNeverByAJump) {
  for (const double prior : {200.0, 4000.0}) {  // 5 times too fast, 4 times too slow
    SCOPED_TRACE(prior);
    const auto readings = simulate(prior, 1000);
    for (std::size_t i = 1; i < readings.size(); ++i) {
      // From one second to the next the time left moves by at most a quarter
      // of itself (plus the second gone): 5 min never becomes 13 at once.
      const double step = std::abs(readings[i].shown - readings[i - 1].shown);
      EXPECT_LE(step, 0.25 * std::max(readings[i].shown, readings[i - 1].shown) + 1500)
          << "at " << readings[i].at;
    }
    // Nor does it stand still while an image runs longer than expected,
    // to jump when it ends: no ten readings in a row within a second or so.
    std::size_t still = 0;
    for (std::size_t i = 1; i < readings.size(); ++i) {
      still = std::abs(readings[i].shown - readings[i - still - 1].shown) <= 1500 ? still + 1 : 0;
      EXPECT_LT(still, 10u) << "standing at " << readings[i].shown << " at " << readings[i].at;
    }
    // Past the first half the batch's own pace leads.
    const Reading& late = readings[readings.size() * 3 / 4];
    EXPECT_NEAR(late.shown, late.truth, 0.35 * late.truth + 3000);
  }
}

TEST(BatchPace, NothingIsClaimedBeforeAPaceIsKnownAndLeftImagesCountOut) {
  BatchPace fresh(0, 2);
  const QUuid a = QUuid::createUuid(), b = QUuid::createUuid(), c = QUuid::createUuid();
  fresh.add(a, 6);
  fresh.add(b, 6);
  fresh.add(c, 12);
  fresh.started(a, 0);
  fresh.started(b, 0);
  EXPECT_FALSE(fresh.msLeft(5000).has_value());
  fresh.ended(a, 6000);  // 1 s per megapixel
  fresh.started(c, 6000);
  // b is done any moment (its 6 s are up); c needs 12 s, and one lane.
  EXPECT_EQ(fresh.msLeft(6000), 12000);
  fresh.remove(c);  // left the queue
  fresh.remove(b);  // cancelled
  EXPECT_EQ(fresh.msLeft(6500), 0);
  EXPECT_EQ(fresh.measuredMsPerMegapixel(), 1000);

  EXPECT_EQ(megapixelsOf(0, 0), 1);  // an unread size counts as one
  EXPECT_DOUBLE_EQ(megapixelsOf(4000, 3000), 12);
  EXPECT_GT(builtInPace("avif"), builtInPace("jpeg"));
  EXPECT_GT(builtInPace("auto"), builtInPace("webp"));
}

}  // namespace
}  // namespace quorvane::core
