#include "services/image_fitting.h"

#include <algorithm>
#include <cmath>

#include "services/conversion_errors.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

bool bounded(std::optional<int> bound) {
  return bound && *bound >= 1;
}

}  // namespace

PixelSize fitSize(int origWidth, int origHeight, std::optional<int> maxWidth,
                  std::optional<int> maxHeight) {
  double scale = 1.0;
  if (bounded(maxWidth) && origWidth > *maxWidth) {
    scale = static_cast<double>(*maxWidth) / origWidth;
  }
  if (bounded(maxHeight) && origHeight > *maxHeight) {
    scale = std::min(scale, static_cast<double>(*maxHeight) / origHeight);
  }
  // std::round rounds halves away from zero.
  const auto side = [scale](int original) {
    return std::max(1, static_cast<int>(std::round(original * scale)));
  };
  return {side(origWidth), side(origHeight)};
}

codec::ImageHeader readCheckedHeader(const fs::path& input) {
  auto header = codec::readHeader(input);
  if (!header) throwCodecFailure(header.error());
  const codec::ImageHeader& h = header.value();
  if (codec::exceedsPixelLimit(h.width, h.height)) {
    throw ConversionError::imageTooLarge(h.width, h.height);
  }
  return std::move(header).value();
}

codec::OpenedImage openChecked(const fs::path& input) {
  auto opened = codec::OpenedImage::open(input);
  if (!opened) throwCodecFailure(opened.error());
  const codec::ImageHeader& h = opened.value().header();
  if (codec::exceedsPixelLimit(h.width, h.height)) {
    throw ConversionError::imageTooLarge(h.width, h.height);
  }
  return std::move(opened).value();
}

codec::RgbaImage decodeFitted(const codec::OpenedImage& input, PixelSize size,
                              const CancellationToken& token, bool keepProfile) {
  codec::DecodeOptions options;
  options.keepRgbProfile = keepProfile;
  options.stopRequested = stopRequestedBy(token);
  options.fitWidth = size.width;
  options.fitHeight = size.height;
  auto decoded = input.decode(options);
  if (!decoded) throwCodecFailure(decoded.error());
  codec::RgbaImage image = std::move(decoded).value();
  if (image.width() == size.width && image.height() == size.height) return image;
  auto resized = codec::resize(image, size.width, size.height, options.stopRequested);
  if (!resized) throwCodecFailure(resized.error());
  return std::move(resized).value();
}

codec::StopRequested stopRequestedBy(const CancellationToken& token) {
  return [token] { return token.isCancelled(); };
}

codec::RgbaImage decodeFitted(const fs::path& input, PixelSize size, const CancellationToken& token,
                              bool keepProfile) {
  codec::DecodeOptions options;
  options.keepRgbProfile = keepProfile;
  options.stopRequested = stopRequestedBy(token);
  options.fitWidth = size.width;
  options.fitHeight = size.height;
  auto decoded = codec::decode(input, options);
  if (!decoded) throwCodecFailure(decoded.error());
  codec::RgbaImage image = std::move(decoded).value();
  if (image.width() == size.width && image.height() == size.height) return image;
  auto resized = codec::resize(image, size.width, size.height, options.stopRequested);
  if (!resized) throwCodecFailure(resized.error());
  return std::move(resized).value();
}

}  // namespace quorvane::core
