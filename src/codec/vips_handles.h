// Private to the codec layer: owning handles for libvips objects and the
// helpers every codec unit uses to build pipelines and report failures.
#pragma once

#include <vips/vips.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "codec/image_codec.h"

namespace quorvane::codec::detail {

struct GObjectUnref {
  void operator()(void* object) const noexcept {
    if (object) g_object_unref(object);
  }
};
using ImagePtr = std::unique_ptr<VipsImage, GObjectUnref>;
using SourcePtr = std::unique_ptr<VipsSource, GObjectUnref>;
using TargetPtr = std::unique_ptr<VipsTarget, GObjectUnref>;
using RegionPtr = std::unique_ptr<VipsRegion, GObjectUnref>;

// Takes (and clears) libvips' process-wide error text. It may hold another
// thread's failure too, so it only ever goes into CodecError::detail.
std::string takeVipsError();

// "decode 'IMG_0042.jpg': reason"
CodecError makeError(CodecError::Kind kind, const char* action, const std::filesystem::path& path,
                     const std::string& reason);
// makeError with libvips' error text after `step`.
CodecError vipsError(CodecError::Kind kind, const char* action, const std::filesystem::path& path,
                     const char* step);

// Replaces image by op(image) when op succeeds.
template <typename Op>
bool apply(ImagePtr& image, Op&& op) {
  VipsImage* out = nullptr;
  if (op(image.get(), &out) != 0) {
    if (out) g_object_unref(out);
    return false;
  }
  image.reset(out);
  return true;
}

// Wraps caller-owned RGBA pixels without copying; the image must not
// outlive them.
ImagePtr wrap(const RgbaImage& image);
bool isOpaque(const RgbaImage& image);

// Computes a 4-band 8-bit pipeline strip by strip (top to bottom, as
// sequential loads need) into an RgbaImage. The buffer is allocated once the
// first strip has computed, so a file that only claims a size costs nothing.
Result<RgbaImage> copyOut(VipsImage* image, const std::filesystem::path& path, const char* action,
                          const StopRequested& stopRequested);

}  // namespace quorvane::codec::detail
