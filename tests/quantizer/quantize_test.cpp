#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <vector>

#include "quantizer/quorvane_quantize.h"
#include "quantizer/reference/reference_quantizer.h"
#include "test_support.h"

namespace quorvane::quant {
namespace {

using testing::forEachTarget;

size_t distinctColours(const std::vector<uint8_t>& rgba) {
  std::set<uint32_t> seen;
  for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
    seen.insert(uint32_t{rgba[i]} | uint32_t{rgba[i + 1]} << 8 | uint32_t{rgba[i + 2]} << 16);
  }
  return seen.size();
}

TEST(QuantizeRgba, StopsWhenAskedAndIsUnchangedWhenNot) {
  const std::vector<uint8_t> original = testing::randomRgba(97 * 61, 7);
  std::vector<uint8_t> plain = original;
  ASSERT_EQ(quorvane_quantize_rgba(plain.data(), 97, 61, 32), 0);

  struct Counter {
    int calls = 0;
    int stopAt = -1;  // never
  };
  const quorvane_should_stop_fn ask = [](void* context) -> int32_t {
    auto* counter = static_cast<Counter*>(context);
    return ++counter->calls == counter->stopAt ? 1 : 0;
  };
  std::vector<uint8_t> asked = original;
  Counter never;
  ASSERT_EQ(quorvane_quantize_rgba_stoppable(asked.data(), 97, 61, 32, ask, &never), 0);
  EXPECT_EQ(asked, plain);
  EXPECT_GT(never.calls, 4);  // between the stages and inside the remap
  // A stop at any of those points ends the call at once.
  for (int stopAt = 1; stopAt <= never.calls; ++stopAt) {
    std::vector<uint8_t> stopped = original;
    Counter counter{0, stopAt};
    EXPECT_EQ(quorvane_quantize_rgba_stoppable(stopped.data(), 97, 61, 32, ask, &counter), -2);
    EXPECT_EQ(counter.calls, stopAt);
  }
}

TEST(QuantizeRgba, RejectsBadArgumentsWithoutTouchingTheBuffer) {
  const std::vector<uint8_t> original = testing::randomRgba(16, 1);
  struct Case {
    uint32_t w, h, colours;
  };
  // 65536 x 65536 and 2^31 x 2 have 2^32 pixels: rejected before any allocation.
  for (Case c :
       {Case{4, 4, 0}, Case{4, 4, 257}, Case{4, 4, 0xFFFFFFFF}, Case{0, 4, 16}, Case{4, 0, 16},
        Case{65536, 65536, 16}, Case{0x80000000u, 2, 16}, Case{0xFFFFFFFF, 0xFFFFFFFF, 256}}) {
    std::vector<uint8_t> buffer = original;
    EXPECT_EQ(quorvane_quantize_rgba(buffer.data(), c.w, c.h, c.colours), -1)
        << c.w << "x" << c.h << " colours " << c.colours;
    EXPECT_EQ(buffer, original);
  }
  EXPECT_EQ(quorvane_quantize_rgba(nullptr, 4, 4, 16), -1);
}

// Just below 2^32 pixels the working memory (about 51 GB) cannot be had on the
// machines we test on: the call must fail cleanly before it reads the pixels, which
// is why a 16-byte buffer is enough here.
TEST(QuantizeRgba, ReportsWorkingMemoryFailureAsRejection) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator aborts instead of failing the allocation";
#else
  std::ifstream overcommit("/proc/sys/vm/overcommit_memory");
  int mode = -1;
  overcommit >> mode;
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  unsigned long long totalKb = 0;
  meminfo >> key >> totalKb;
  if (mode != 0 && mode != 2) GTEST_SKIP() << "overcommit mode " << mode << " may grant 51 GB";
  if (totalKb > 40ull * 1024 * 1024) GTEST_SKIP() << "machine may really have 51 GB";
  std::vector<uint8_t> buffer = testing::randomRgba(4, 2);
  const auto original = buffer;
  EXPECT_EQ(quorvane_quantize_rgba(buffer.data(), 65537, 65535, 256), -1);
  EXPECT_EQ(buffer, original);
#endif
}

TEST(QuantizeRgba, NeverMoreColoursThanAskedAndAlphaUntouched) {
  const auto original = testing::gradientRgba(120, 80, 9);
  for (uint32_t colours : {1u, 2u, 7u, 64u, 128u, 256u}) {
    std::vector<uint8_t> buffer = original;
    ASSERT_EQ(quorvane_quantize_rgba(buffer.data(), 120, 80, colours), 0);
    EXPECT_LE(distinctColours(buffer), colours);
    if (colours >= 64) {
      EXPECT_GT(distinctColours(buffer), colours / 2) << "palette collapsed";
    }
    for (size_t i = 3; i < buffer.size(); i += 4) ASSERT_EQ(buffer[i], original[i]) << i;
  }
}

TEST(QuantizeRgba, OnePixelOrFewSeparatedColoursComeBackUnchanged) {
  for (const auto& px : {std::vector<uint8_t>{12, 200, 77, 5}, std::vector<uint8_t>{0, 0, 0, 0},
                         std::vector<uint8_t>{255, 255, 255, 255}}) {
    std::vector<uint8_t> buffer = px;
    ASSERT_EQ(quorvane_quantize_rgba(buffer.data(), 1, 1, 256), 0);
    EXPECT_EQ(buffer, px);
  }
  // Colours far apart in Oklab (different histogram bins), fully transparent
  // pixels among them: quantised by RGB like the rest, alpha kept.
  const uint8_t colours[][3] = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},  {0, 160, 0},
                                {20, 40, 230}, {250, 220, 30},  {128, 0, 128}};
  std::vector<uint8_t> image;
  for (int i = 0; i < 31 * 9; ++i) {
    const uint8_t* c = colours[(i * 5 + i / 31) % 7];
    image.insert(image.end(), {c[0], c[1], c[2], static_cast<uint8_t>(i % 3 ? 255 : 0)});
  }
  for (uint32_t budget : {7u, 8u, 256u}) {
    std::vector<uint8_t> buffer = image;
    ASSERT_EQ(quorvane_quantize_rgba(buffer.data(), 31, 9, budget), 0);
    EXPECT_EQ(buffer, image) << "budget " << budget;
  }
}

// The whole call on every SIMD target equals the literal scalar pipeline, for
// awkward sizes (1, 7, 9, 8k+1 pixels and colours) and both random and smooth images.
TEST(QuantizeRgba, EveryTargetMatchesScalarOracle) {
  struct Case {
    uint32_t w, h, colours;
    bool smooth;
  };
  const Case cases[] = {{1, 1, 1, false},     {7, 1, 7, false},    {1, 9, 9, false},
                        {3, 3, 256, false},   {17, 1, 17, true},   {33, 2, 33, false},
                        {41, 23, 64, true},   {64, 64, 255, true}, {129, 65, 256, false},
                        {100, 75, 128, true}, {23, 41, 1, true},   {320, 200, 256, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " colours " << c.colours);
    const auto original = c.smooth ? testing::gradientRgba(c.w, c.h, c.w)
                                   : testing::randomRgba(size_t{c.w} * c.h, c.h);
    std::vector<uint8_t> expected = original;
    ASSERT_EQ(reference::quantizeRgba(expected.data(), c.w, c.h, c.colours), 0);
    EXPECT_LE(distinctColours(expected), c.colours);
    forEachTarget([&] {
      std::vector<uint8_t> buffer = original;
      ASSERT_EQ(quorvane_quantize_rgba(buffer.data(), c.w, c.h, c.colours), 0);
      EXPECT_EQ(buffer, expected);
    });
  }
}

TEST(SimdTargets, FallbackAndBestTargetAreBothTested) {
  const auto targets = simd::availableSimdTargets();
  ASSERT_GE(targets.size(), 2u) << "only one code path compiled in";
  std::string names;
  for (const auto& t : targets) names += t.name + " ";
  RecordProperty("targets", names);
  std::printf("SIMD targets: %s\n", names.c_str());
  const bool hasFallback =
      names.find("SCALAR") != std::string::npos || names.find("EMU128") != std::string::npos;
  EXPECT_TRUE(hasFallback) << names;
}

}  // namespace
}  // namespace quorvane::quant
