// JPEG: cjpeg reads a TGA of the pixels from a pipe; JPEG has no alpha, so
// what lies under transparent pixels is put on white first.
#include <string>

#include "codec/metadata.h"
#include "services/conversion_errors.h"
#include "services/process_runner.h"
#include "services/roads/road_support.h"
#include "services/roads/tool_inputs.h"

namespace quorvane::core {

QString JpegRoad::encode(const RoadInput& in, const EncodeRequest& request) const {
  const std::filesystem::path tool = in.tools.toolPath(QStringLiteral("cjpeg"));
  const std::string& tga = in.inputs.tgaOnWhite();
  in.token.throwIfCancelled();
  const std::string jpeg = runProcess(
      tool, {"-quality", std::to_string(request.quality), "-optimize", "-progressive", "-targa"},
      in.token, {.captureStdout = true, .input = {tga}});
  if (in.carried.empty()) {
    writeWholeFile(request.output, jpeg);
  } else {
    const std::string carrying = codec::jpegWithMetadata(jpeg, in.carried);
    if (carrying.empty()) throw ConversionError::outputUnreadable();
    writeWholeFile(request.output, carrying);
  }
  return in.inputs.hasTransparency() ? transparencyFilledNote() : QString();
}

}  // namespace quorvane::core
