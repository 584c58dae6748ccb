// The quantiser on several threads: the same bytes as on one, stops asked on
// the calling thread at the same points, and no thread outlives the call.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <thread>
#include <vector>

#include "quantizer/convert_and_count.h"
#include "quantizer/quorvane_quantize.h"
#include "quantizer/wu.h"
#include "test_support.h"

namespace quorvane::quant {
namespace {

using testing::forEachTarget;

// Flat graphics: a few solid colours in blocks, with hard edges.
std::vector<uint8_t> blocksRgba(uint32_t width, uint32_t height) {
  const uint8_t colours[][3] = {
      {255, 255, 255}, {20, 30, 200}, {230, 40, 40}, {0, 0, 0}, {250, 200, 0}};
  std::vector<uint8_t> out(size_t{width} * height * 4);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* c = colours[(x / 13 + (y / 9) * 3) % 5];
      uint8_t* p = &out[(size_t{y} * width + x) * 4];
      p[0] = c[0];
      p[1] = c[1];
      p[2] = c[2];
      p[3] = 255;
    }
  }
  return out;
}

size_t threadsOfThisProcess() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator("/proc/self/task")) {
    ++n;
  }
  return n;
}

int32_t quantize(std::vector<uint8_t>& rgba, uint32_t width, uint32_t height, uint32_t colours,
                 uint32_t threads) {
  return quorvane_quantize_rgba_threads(rgba.data(), width, height, colours, threads, nullptr,
                                        nullptr);
}

void expectSameBits(const WuHistogram& a, const WuHistogram& b) {
  for (int iL = 0; iL < kWuBinsL; ++iL) {
    for (int ia = 0; ia < kWuBinsA; ++ia) {
      for (int ib = 0; ib < kWuBinsB; ++ib) {
        const Stats& x = a.bin(iL, ia, ib);
        const Stats& y = b.bin(iL, ia, ib);
        const double xs[] = {x.sumL, x.sumA, x.sumB, x.sumSquares};
        const double ys[] = {y.sumL, y.sumA, y.sumB, y.sumSquares};
        ASSERT_EQ(x.count, y.count) << iL << " " << ia << " " << ib;
        for (int k = 0; k < 4; ++k) {
          ASSERT_EQ(std::bit_cast<uint64_t>(xs[k]), std::bit_cast<uint64_t>(ys[k]))
              << "field " << k << " of bin " << iL << " " << ia << " " << ib;
        }
      }
    }
  }
}

// The f64 bin sums depend on the order pixels are added in; on many pieces and
// two threads they must still be those of the single pass, and so must the
// Oklab image. Repeated, since a wrong order would show only in some runs.
TEST(QuantizeThreads, ConversionAndHistogramAreThoseOfOnePass) {
  const size_t count = size_t{2048} * 1536;  // 48 pieces
  std::vector<uint8_t> rgba = testing::randomRgba(count, 21);
  // Half of it smooth, so that long runs fall into the same bins.
  const std::vector<uint8_t> smooth = testing::gradientRgba(2048, 768, 4);
  std::copy(smooth.begin(), smooth.end(), rgba.begin());
  std::vector<Oklab> single(count);
  WuHistogram singleHistogram;
  convertAndCount(rgba.data(), 4, count, single.data(), singleHistogram, 1);
  for (int run = 0; run < 4; ++run) {
    SCOPED_TRACE(run);
    std::vector<Oklab> two(count);
    WuHistogram twoHistogram;
    convertAndCount(rgba.data(), 4, count, two.data(), twoHistogram, 2);
    ASSERT_EQ(std::memcmp(two.data(), single.data(), count * sizeof(Oklab)), 0);
    expectSameBits(twoHistogram, singleHistogram);
  }
}

struct Shape {
  uint32_t w, h, colours;
  int kind;  // 0 smooth, 1 random, 2 blocks
};

std::vector<uint8_t> imageOf(const Shape& c) {
  return c.kind == 0   ? testing::gradientRgba(c.w, c.h, c.w + c.h)
         : c.kind == 1 ? testing::randomRgba(size_t{c.w} * c.h, c.w)
                       : blocksRgba(c.w, c.h);
}

void expectSameBytesOnThreads(const Shape& c, std::initializer_list<uint32_t> threadCounts) {
  SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " colours " << c.colours);
  const std::vector<uint8_t> original = imageOf(c);
  std::vector<uint8_t> one = original;
  ASSERT_EQ(quorvane_quantize_rgba(one.data(), c.w, c.h, c.colours), 0);
  for (uint32_t threads : threadCounts) {
    std::vector<uint8_t> many = original;
    ASSERT_EQ(quantize(many, c.w, c.h, c.colours, threads), 0) << threads << " threads";
    ASSERT_EQ(many, one) << threads << " threads";
  }
}

// Sizes around the conversion's pieces of 65536 pixels (one short, one over,
// several with a partial last piece) and the degenerate shapes, on photo-like,
// random and flat images; 1000 threads are capped at the processor count.
TEST(QuantizeThreads, EveryThreadCountGivesTheBytesOfOne) {
  const Shape shapes[] = {{1, 1, 256, 1},     {1, 300, 16, 0},    {300, 1, 16, 1},
                          {1, 70000, 64, 0},  {70000, 1, 64, 1},  {255, 257, 256, 0},
                          {256, 256, 256, 1}, {300, 219, 128, 0}, {517, 389, 256, 0},
                          {517, 389, 1, 1},   {640, 480, 64, 2},  {333, 777, 256, 1}};
  for (const Shape& c : shapes) expectSameBytesOnThreads(c, {0u, 2u, 1000u});
}

// Each SIMD target converts the pieces with its own kernels (vector body,
// scalar tail): two threads still give that target's single-thread bytes.
TEST(QuantizeThreads, EveryTargetGivesItsOwnBytesOnTwoThreads) {
  forEachTarget([] {
    for (const Shape& c : {Shape{300, 219, 128, 0}, Shape{70001, 1, 64, 1}}) {
      expectSameBytesOnThreads(c, {2u});
    }
  });
}

TEST(QuantizeThreads, RejectsWhatTheSingleThreadCallRejects) {
  const std::vector<uint8_t> original = testing::randomRgba(16, 3);
  std::vector<uint8_t> buffer = original;
  EXPECT_EQ(quantize(buffer, 4, 4, 0, 2), -1);
  EXPECT_EQ(quantize(buffer, 0, 4, 16, 2), -1);
  EXPECT_EQ(quantize(buffer, 65536, 65536, 16, 2), -1);
  EXPECT_EQ(quorvane_quantize_rgba_threads(nullptr, 4, 4, 16, 2, nullptr, nullptr), -1);
  EXPECT_EQ(buffer, original);
}

// The stop callback is asked at the same points as on one thread, and a stop
// at any of them ends the call.
TEST(QuantizeThreads, StopsAtTheSamePointsAsOneThread) {
  const uint32_t w = 401;
  const uint32_t h = 333;  // two conversion pieces and some
  const std::vector<uint8_t> original = testing::gradientRgba(w, h, 5);
  struct Counter {
    int calls = 0;
    int stopAt = -1;
  };
  const quorvane_should_stop_fn ask = [](void* context) -> int32_t {
    auto* counter = static_cast<Counter*>(context);
    return ++counter->calls == counter->stopAt ? 1 : 0;
  };
  Counter single;
  std::vector<uint8_t> buffer = original;
  ASSERT_EQ(quorvane_quantize_rgba_stoppable(buffer.data(), w, h, 64, ask, &single), 0);
  Counter two;
  buffer = original;
  ASSERT_EQ(quorvane_quantize_rgba_threads(buffer.data(), w, h, 64, 2, ask, &two), 0);
  EXPECT_EQ(two.calls, single.calls);
  for (int stopAt : {1, 2, 3, two.calls}) {
    Counter counter{0, stopAt};
    buffer = original;
    EXPECT_EQ(quorvane_quantize_rgba_threads(buffer.data(), w, h, 64, 2, ask, &counter), -2);
    EXPECT_EQ(counter.calls, stopAt);
  }
}

// A stop requested from another thread while the call runs ends it with -2;
// afterwards the process has exactly the threads it had before.
TEST(QuantizeThreads, StopsFromAnotherThreadAndLeavesNoThreadBehind) {
  const uint32_t w = 1500;
  const uint32_t h = 1000;
  const std::vector<uint8_t> original = testing::randomRgba(size_t{w} * h, 11);
  const size_t before = threadsOfThisProcess();

  std::vector<uint8_t> buffer = original;
  ASSERT_EQ(quantize(buffer, w, h, 256, 2), 0);
  EXPECT_EQ(threadsOfThisProcess(), before);

  struct Flags {
    std::atomic<int> asked{0};
    std::atomic<bool> stop{false};
  } flags;
  const quorvane_should_stop_fn ask = [](void* context) -> int32_t {
    auto* f = static_cast<Flags*>(context);
    f->asked.fetch_add(1);
    return f->stop.load() ? 1 : 0;
  };
  std::atomic<bool> stopperTimedOut{false};
  std::thread stopper([&] {
    // Stop once the call is past its first question.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (flags.asked.load() == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        stopperTimedOut = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    flags.stop = true;
  });
  buffer = original;
  const int32_t status = quorvane_quantize_rgba_threads(buffer.data(), w, h, 256, 2, ask, &flags);
  stopper.join();
  EXPECT_FALSE(stopperTimedOut);
  // Either the stop came in time (-2), or the call finished first; with a
  // 1.5 MP remap asked every 16 rows the former is all but certain.
  EXPECT_EQ(status, -2);
  EXPECT_EQ(threadsOfThisProcess(), before);
}

}  // namespace
}  // namespace quorvane::quant
