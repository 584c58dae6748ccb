#include "codec/perceptual_distance.h"

#include <jxl/butteraugli.h>

#include <cmath>
#include <memory>
#include <vector>

namespace quorvane::codec {

namespace {

struct ApiDeleter {
  void operator()(JxlButteraugliApi* api) const { JxlButteraugliApiDestroy(api); }
};
struct ResultDeleter {
  void operator()(JxlButteraugliResult* result) const { JxlButteraugliResultDestroy(result); }
};

CodecError failure(CodecError::Kind kind, const char* why) {
  return CodecError{kind, std::string("compare images: ") + why};
}

// RGB as the image shows over mid grey.
std::vector<std::uint8_t> overGrey(const RgbaImage& image) {
  constexpr unsigned kGrey = 128;
  const std::size_t pixels = image.byteSize() / 4;
  std::vector<std::uint8_t> rgb(pixels * 3);
  const std::uint8_t* in = image.data();
  for (std::size_t i = 0; i < pixels; ++i, in += 4) {
    const unsigned alpha = in[3];
    for (int c = 0; c < 3; ++c) {
      rgb[i * 3 + c] =
          static_cast<std::uint8_t>((in[c] * alpha + kGrey * (255 - alpha) + 127) / 255);
    }
  }
  return rgb;
}

}  // namespace

Result<double> perceptualDistance(const RgbaImage& reference, const RgbaImage& candidate,
                                  const DistanceOptions& options) {
  if (reference.empty() || reference.width() != candidate.width() ||
      reference.height() != candidate.height()) {
    return failure(CodecError::Kind::Unsupported, "the images differ in size");
  }
  const auto stopped = [&] { return options.stopRequested && options.stopRequested(); };
  if (stopped()) return failure(CodecError::Kind::Cancelled, "stopped");
  int width = reference.width();
  int height = reference.height();
  const std::int64_t pixels = std::int64_t{width} * height;
  std::vector<std::uint8_t> a;
  std::vector<std::uint8_t> b;
  if (options.maxPixels > 0 && pixels > options.maxPixels) {
    const double scale = std::sqrt(static_cast<double>(options.maxPixels) / pixels);
    width = std::max(1, static_cast<int>(width * scale));
    height = std::max(1, static_cast<int>(height * scale));
    auto smallA = resize(reference, width, height, options.stopRequested);
    if (!smallA) return smallA.error();
    auto smallB = resize(candidate, width, height, options.stopRequested);
    if (!smallB) return smallB.error();
    a = overGrey(smallA.value());
    b = overGrey(smallB.value());
  } else {
    a = overGrey(reference);
    b = overGrey(candidate);
  }
  if (stopped()) return failure(CodecError::Kind::Cancelled, "stopped");

  // No parallel runner: the comparison stays on the conversion's thread, so
  // it counts against the batch's limit like the rest of the conversion.
  const std::unique_ptr<JxlButteraugliApi, ApiDeleter> api(JxlButteraugliApiCreate(nullptr));
  if (!api) return failure(CodecError::Kind::OutOfMemory, "no comparison");
  const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
  const std::unique_ptr<JxlButteraugliResult, ResultDeleter> result(JxlButteraugliCompute(
      api.get(), static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), &format,
      a.data(), a.size(), &format, b.data(), b.size()));
  if (!result) return failure(CodecError::Kind::OutOfMemory, "the comparison failed");
  const double distance = JxlButteraugliResultGetMaxDistance(result.get());
  if (!std::isfinite(distance)) return failure(CodecError::Kind::Unsupported, "no distance");
  return distance;
}

}  // namespace quorvane::codec
