#include "codec/perceptual_score.h"

#include <new>

#include "metric/quorvane_metric.h"

namespace quorvane::codec {

namespace {

CodecError failure(CodecError::Kind kind, const char* why) {
  return CodecError{kind, std::string("compare images: ") + why};
}

}  // namespace

Result<double> perceptualScore(const RgbaImage& reference, const RgbaImage& candidate,
                               const ScoreOptions& options) {
  if (reference.empty() || reference.width() != candidate.width() ||
      reference.height() != candidate.height()) {
    return failure(CodecError::Kind::Unsupported, "the images differ in size");
  }
  const auto width = static_cast<std::uint32_t>(reference.width());
  const auto height = static_cast<std::uint32_t>(reference.height());
  if (options.differenceMap) {
    try {
      options.differenceMap->assign(std::size_t{width} * height, 0.0f);
    } catch (const std::bad_alloc&) {
      return failure(CodecError::Kind::OutOfMemory, "no room for the difference map");
    }
  }
  quorvane_metric_options metric{};
  metric.threads = options.threads;
  metric.difference_map = options.differenceMap ? options.differenceMap->data() : nullptr;
  if (options.stopRequested) {
    metric.should_stop = [](void* context) -> std::int32_t {
      return (*static_cast<const StopRequested*>(context))() ? 1 : 0;
    };
    metric.context = const_cast<StopRequested*>(&options.stopRequested);
  }
  double score = 0;
  switch (quorvane_ssimulacra2_rgba(reference.data(), std::size_t{width} * 4, candidate.data(),
                                    std::size_t{width} * 4, width, height, &metric, &score)) {
    case QUORVANE_METRIC_OK:
      return score;
    case QUORVANE_METRIC_STOPPED:
      return failure(CodecError::Kind::Cancelled, "stopped");
    case QUORVANE_METRIC_TOO_SMALL:
      return failure(CodecError::Kind::Unsupported, "too small to judge");
    default:
      return failure(CodecError::Kind::OutOfMemory, "not enough memory");
  }
}

}  // namespace quorvane::codec
