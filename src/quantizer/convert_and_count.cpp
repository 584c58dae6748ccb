#include "quantizer/convert_and_count.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "quantizer/work_split.h"

namespace quorvane::quant {
namespace {

// Pixels per piece of the colour conversion: a multiple of every vector width,
// so that the same pixels take the vector path as in one pass.
constexpr size_t kConversionPiece = size_t{1} << 16;

}  // namespace

// The Oklab image and its Wu histogram. One thread: the whole conversion,
// then the histogram. Several: the conversion piece by piece, and the pieces
// added to the histogram strictly in piece order by whichever thread holds the
// counting turn, the rest after the join. Either way every pixel is converted on
// its own and every bin receives its pixels in pixel order, so the sums are
// those of the single pass, to the bit.
void convertAndCount(const uint8_t* pixels, size_t stride, size_t count, Oklab* image,
                     WuHistogram& histogram, uint32_t threads) {
  const size_t pieces = (count + kConversionPiece - 1) / kConversionPiece;
  if (threads <= 1 || pieces <= 1) {
    srgbToOklab(pixels, stride, count, image);
    histogram.add(image, count);
    return;
  }
  const auto pieceSize = [&](size_t piece) {
    return std::min(kConversionPiece, count - piece * kConversionPiece);
  };
  const std::unique_ptr<std::atomic<bool>[]> converted(new std::atomic<bool>[pieces]);
  for (size_t i = 0; i < pieces; ++i) converted[i].store(false, std::memory_order_relaxed);
  std::atomic<bool> countingTurn{false};
  size_t counted = 0;  // pieces in the histogram; changed only by the turn's holder
  const auto countReady = [&] {
    while (counted < pieces && converted[counted].load(std::memory_order_acquire)) {
      histogram.add(image + counted * kConversionPiece, pieceSize(counted));
      ++counted;
    }
  };
  runTasks(pieces, threads, [&](size_t piece) {
    const size_t start = piece * kConversionPiece;
    srgbToOklab(pixels + start * stride, stride, pieceSize(piece), image + start);
    converted[piece].store(true, std::memory_order_release);
    if (!countingTurn.exchange(true, std::memory_order_acquire)) {
      countReady();
      countingTurn.store(false, std::memory_order_release);
    }
  });
  countReady();  // every piece is converted now
}

}  // namespace quorvane::quant
