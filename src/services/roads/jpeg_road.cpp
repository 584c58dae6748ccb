// JPEG: cjpeg reads a TGA of the pixels from a pipe; JPEG has no alpha, so
// what lies under transparent pixels is put on white first. Lossless: the
// input's own coefficients, rearranged by jpegtran.
#include <QCoreApplication>
#include <string>

#include "codec/metadata.h"
#include "services/conversion_errors.h"
#include "services/lossless_error.h"
#include "services/process_runner.h"
#include "services/roads/road_support.h"
#include "services/roads/tool_inputs.h"

namespace quorvane::core {

namespace {

// The input's coefficients, optimised and progressive, with only what is
// kept. A JPEG stored turned is refused: turned by jpegtran, its colours
// are interpolated anew and pixels change (its own check shows it).
std::string losslessJpeg(const RoadInput& in) {
  const codec::ImageHeader& h = in.source.header();
  // A damaged input fails as it does on every road, whatever the mode.
  if (!in.source.isComplete()) {
    throwCodecFailure({.kind = codec::CodecError::Kind::Damaged,
                       .detail = "lossless JPEG: the compressed data is cut short"});
  }
  if (h.loader != "jpegload" || in.size.width != h.width || in.size.height != h.height) {
    throw LosslessError(QCoreApplication::translate(
        "ConversionError",
        "Lossless JPEG needs a complete JPEG at its own size: choose PNG or WebP, or Same as "
        "Original"));
  }
  if (h.orientation != 1) {
    throw LosslessError(QCoreApplication::translate(
        "ConversionError",
        "This JPEG is stored turned, and turning it upright changes pixels: choose PNG or WebP "
        "for it"));
  }
  auto bytes = in.source.bytes();
  if (!bytes) throwCodecFailure(bytes.error());
  const std::filesystem::path tool = in.tools.toolPath(QStringLiteral("jpegtran"));
  in.token.throwIfCancelled();
  return runProcess(tool, {"-copy", "none", "-optimize", "-progressive"}, in.token,
                    {.captureStdout = true, .input = {bytes.value()}});
}

}  // namespace

QString JpegRoad::encode(const RoadInput& in, const EncodeRequest& request) const {
  std::string jpeg;
  if (request.options.lossless) {
    jpeg = losslessJpeg(in);
  } else {
    const std::filesystem::path tool = in.tools.toolPath(QStringLiteral("cjpeg"));
    const std::string& tga = in.inputs.tgaOnWhite();
    in.token.throwIfCancelled();
    jpeg = runProcess(
        tool, {"-quality", std::to_string(request.quality), "-optimize", "-progressive", "-targa"},
        in.token, {.captureStdout = true, .input = {tga}});
  }
  if (in.carried.empty()) {
    writeWholeFile(request.output, jpeg);
  } else {
    const std::string carrying = codec::jpegWithMetadata(jpeg, in.carried);
    if (carrying.empty()) throw ConversionError::outputUnreadable();
    writeWholeFile(request.output, carrying);
  }
  if (request.options.lossless) return {};
  return in.inputs.hasTransparency() ? transparencyFilledNote() : QString();
}

}  // namespace quorvane::core
