#include "metric/scale_pass.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <new>
#include <thread>
#include <vector>

#include "hwy/aligned_allocator.h"
#include "metric/kernels.h"

namespace quorvane::metric {

namespace {

// A tile: this many rows by this many columns (both even, and the columns a
// multiple of kSumSlots, so slots and 2 x 2 boxes never straddle tiles).
constexpr size_t kTileRows = 128;
constexpr size_t kTileColumns = 512;
constexpr size_t kHalo = kBlurReach;
constexpr size_t kWindow = 2 * kBlurReach + 1;  // rows of a vertical blur
constexpr size_t kRowFloats = (kTileColumns + 2 * kHalo + kRowPadding + 15) / 16 * 16;
constexpr int kQuantities = 5;  // mu1, mu2, sigma11, sigma22, sigma12

using Sums = std::array<std::array<double, 6>, kChannels>;

// One thread's rows. Rows of images carry the halo: index 0 is column
// x0 - kHalo. Blurred rows start at column x0.
class Worker {
 public:
  Worker(const ScaleSource& source, const ScaleTarget* next, float* map)
      : m_source(source), m_next(next), m_map(map), m_taps(blurTaps()) {
    constexpr size_t rows = 2 * 2 * 3 + 2 * kWindow * 3 + kChannels * kQuantities * kWindow + 5;
    m_memory = hwy::AllocateAligned<float>(rows * kRowFloats + kChannels * 6 * kSumSlots);
    if (!m_memory) throw std::bad_alloc();
    std::memset(m_memory.get(), 0, (rows * kRowFloats + kChannels * 6 * kSumSlots) * sizeof(float));
    float* next_row = m_memory.get();
    const auto take = [&] {
      float* row = next_row;
      next_row += kRowFloats;
      return row;
    };
    for (auto& image : m_linear)
      for (auto& slot : image)
        for (auto& row : slot) row = take();
    for (auto& image : m_xyb)
      for (auto& slot : image)
        for (auto& row : slot) row = take();
    for (auto& quantity : m_blurred)
      for (auto& row : quantity) row = take();
    for (auto& row : m_products) row = take();
    m_zero = take();
    m_mapRow = take();
    m_sums = next_row;
    for (int c = 0; c < kChannels; ++c) {
      for (int map = 0; map < 3; ++map) {
        m_mapWeights[c][map] =
            static_cast<float>(scoreWeight(c, 0, 0, map) + scoreWeight(c, 0, 1, map));
      }
    }
  }

  Sums run(size_t band, size_t strip);

 private:
  void loadLinear(int image, size_t y, size_t from, size_t count, float* const* out) const;
  void prepareRow(size_t y, size_t x0, size_t span);
  void finishRow(size_t n, size_t x0, size_t span, Sums& sums);

  const ScaleSource& m_source;
  const ScaleTarget* m_next;
  float* m_map;
  const std::array<float, kBlurReach + 1> m_taps;
  hwy::AlignedFreeUniquePtr<float[]> m_memory;
  float* m_linear[2][2][3] = {};     // image, row parity, channel
  float* m_xyb[2][kWindow][3] = {};  // image, row mod kWindow, channel
  float* m_blurred[kChannels * kQuantities][kWindow] = {};
  float* m_products[3] = {};
  float* m_zero = nullptr;
  float* m_mapRow = nullptr;
  float* m_sums = nullptr;  // channel, quantity, slot
  float m_mapWeights[kChannels][3] = {};
};

void Worker::loadLinear(int image, size_t y, size_t from, size_t count, float* const* out) const {
  if (m_source.rgba[image]) {
    const uint8_t* row = m_source.rgba[image] + y * m_source.rgbaStride[image] + from * 4;
    rgbaToLinear(row, count, m_source.background, out[0], out[1], out[2]);
  } else {
    for (int c = 0; c < 3; ++c) {
      std::memcpy(out[c], m_source.planes[image][c] + y * m_source.planeStride + from,
                  count * sizeof(float));
    }
  }
}

// Row y of both images: linear, XYB (zero outside the image, so the blur
// sees zero padding), and the horizontal blur of the five quantities.
void Worker::prepareRow(size_t y, size_t x0, size_t span) {
  const size_t width = m_source.width;
  const size_t from = x0 >= kHalo ? x0 - kHalo : 0;
  const size_t to = std::min(x0 + span + kHalo, width);
  const size_t offset = from + kHalo - x0;
  const size_t count = to - from;
  const size_t haloed = span + 2 * kHalo;
  for (int image = 0; image < 2; ++image) {
    float* const* linear = m_linear[image][y % 2];
    float* const shifted[3] = {linear[0] + offset, linear[1] + offset, linear[2] + offset};
    loadLinear(image, y, from, count, shifted);
    float* const* xyb = m_xyb[image][y % kWindow];
    linearToXyb(shifted[0], shifted[1], shifted[2], count, xyb[0] + offset, xyb[1] + offset,
                xyb[2] + offset);
    for (int c = 0; c < 3; ++c) {
      std::fill(xyb[c], xyb[c] + offset, 0.0f);
      std::fill(xyb[c] + offset + count, xyb[c] + haloed + kRowPadding, 0.0f);
    }
  }
  for (int c = 0; c < kChannels; ++c) {
    const float* image1 = m_xyb[0][y % kWindow][c];
    const float* image2 = m_xyb[1][y % kWindow][c];
    productRows(image1, image2, haloed, m_products[0], m_products[1], m_products[2]);
    const float* inputs[kQuantities] = {image1, image2, m_products[0], m_products[1],
                                        m_products[2]};
    for (int q = 0; q < kQuantities; ++q) {
      blurRow(inputs[q] + kHalo, span, m_taps, m_blurred[c * kQuantities + q][y % kWindow]);
    }
  }
}

// Row n's errors, once rows n - 4 .. n + 4 are blurred horizontally.
void Worker::finishRow(size_t n, size_t x0, size_t span, Sums& sums) {
  const size_t height = m_source.height;
  if (m_map) std::fill(m_mapRow, m_mapRow + span + kRowPadding, 0.0f);
  for (int c = 0; c < kChannels; ++c) {
    ChannelRows rows{};
    for (int q = 0; q < kQuantities; ++q) {
      for (size_t m = 0; m < kWindow; ++m) {
        const size_t row = n + m;  // n - kHalo + m, shifted to stay unsigned
        rows.blurred[q][m] = row >= kHalo && row - kHalo < height
                                 ? m_blurred[c * kQuantities + q][(row - kHalo) % kWindow]
                                 : m_zero;
      }
    }
    rows.image1 = m_xyb[0][n % kWindow][c] + kHalo;
    rows.image2 = m_xyb[1][n % kWindow][c] + kHalo;
    float* slots = m_sums + c * 6 * kSumSlots;
    errorMapsRow(rows, span, m_taps, m_mapWeights[c], m_map ? m_mapRow : nullptr, slots);
    for (int q = 0; q < 6; ++q) {
      double total = 0.0;
      for (size_t s = 0; s < kSumSlots; ++s) total += slots[q * kSumSlots + s];
      sums[c][q] += total;
    }
    std::fill(slots, slots + 6 * kSumSlots, 0.0f);
  }
  if (m_map) std::memcpy(m_map + n * m_source.width + x0, m_mapRow, span * sizeof(float));
}

Sums Worker::run(size_t band, size_t strip) {
  const size_t height = m_source.height;
  const size_t r0 = band * kTileRows;
  const size_t r1 = std::min(r0 + kTileRows, height);
  const size_t x0 = strip * kTileColumns;
  const size_t span = std::min(x0 + kTileColumns, m_source.width) - x0;
  Sums sums{};
  for (size_t y = r0 >= kHalo ? r0 - kHalo : 0; y < r1 + kHalo; ++y) {
    if (y < height) {
      prepareRow(y, x0, span);
      // Rows pair up from the tile's first (even) row; an odd last row
      // pairs with itself.
      const bool second = (y - r0) % 2 == 1;
      if (m_next && y >= r0 && y < r1 && (second || y == height - 1)) {
        const size_t upper = second ? y - 1 : y;
        for (int image = 0; image < 2; ++image) {
          for (int c = 0; c < 3; ++c) {
            downsampleRow(m_linear[image][upper % 2][c] + kHalo, m_linear[image][y % 2][c] + kHalo,
                          span, m_next->planes[image][c] + (y / 2) * m_next->stride + x0 / 2);
          }
        }
      }
    }
    if (y >= r0 + kHalo) finishRow(y - kHalo, x0, span, sums);
  }
  return sums;
}

}  // namespace

std::optional<ScaleSums> runScale(const ScaleSource& source, const ScaleTarget* next,
                                  const PassOptions& options) {
  const size_t bands = (source.height + kTileRows - 1) / kTileRows;
  const size_t strips = (source.width + kTileColumns - 1) / kTileColumns;
  const size_t tiles = bands * strips;
  std::vector<Sums> tileSums(tiles);
  std::atomic<size_t> nextTile{0};
  std::atomic<bool> stop{false};
  std::exception_ptr failure;
  std::atomic_flag failed = ATOMIC_FLAG_INIT;

  const auto work = [&] {
    try {
      Worker worker(source, next, options.map);
      for (;;) {
        if (stop.load(std::memory_order_relaxed)) return;
        if (options.stopRequested && options.stopRequested()) {
          stop = true;
          return;
        }
        const size_t tile = nextTile.fetch_add(1);
        if (tile >= tiles) return;
        tileSums[tile] = worker.run(tile / strips, tile % strips);
      }
    } catch (...) {
      if (!failed.test_and_set()) failure = std::current_exception();
      stop = true;
    }
  };

  const size_t threads = std::clamp<size_t>(options.threads, 1, tiles);
  std::vector<std::jthread> helpers;
  helpers.reserve(threads - 1);
  try {
    for (size_t t = 1; t < threads; ++t) helpers.emplace_back(work);
  } catch (...) {
    stop = true;
    throw;  // the jthreads already started are joined on the way out
  }
  work();
  helpers.clear();
  if (failure) std::rethrow_exception(failure);
  if (stop) return std::nullopt;

  ScaleSums result;
  result.pixels = static_cast<double>(source.width) * static_cast<double>(source.height);
  for (const Sums& sums : tileSums) {
    for (int c = 0; c < kChannels; ++c) {
      for (int q = 0; q < 6; ++q) result.channel[c][q] += sums[c][q];
    }
  }
  return result;
}

}  // namespace quorvane::metric
