// HEIC: encoded by a helper process of ours that reads the pixels from a
// pipe: a call into the HEVC encoder cannot be interrupted, a process can.
// An HDR input whose signal is kept goes to it as a 16-bit PNG file.
#include <string>
#include <vector>

#include "services/lossless_error.h"
#include "services/process_runner.h"
#include "services/roads/road_support.h"
#include "services/roads/tool_inputs.h"

namespace quorvane::core {

QString HeicRoad::encode(const RoadInput& in, const EncodeRequest& request) const {
  if (request.options.lossless) {
    throw LosslessError(
        *losslessUnavailable({.format = OutputFormat::Heic, .options = request.options}));
  }
  const std::filesystem::path tool = in.tools.toolPath(QStringLiteral("quorvane-heic"));
  const MetadataFiles blocks(in.carried);
  std::vector<std::string> arguments;
  for (const auto& [option, file] : blocks.files) {
    arguments.insert(arguments.end(), {option, file.path().native()});
  }
  if (in.keepHdr) {
    // The signal as it is, from a file, with its own code points.
    const codec::HdrSignal& hdr = in.source.header().hdr;
    arguments.insert(
        arguments.end(),
        {"--hdr",
         std::to_string(hdr.primaries) + "/" + std::to_string(hdr.transfer) + "/" +
             std::to_string(hdr.matrix) + "/" + (hdr.fullRange ? "1" : "0"),
         std::to_string(request.quality), in.inputs.hdrPng().native(), request.output.native()});
    runProcess(tool, arguments, in.token);
    return {};
  }
  arguments.insert(arguments.end(),
                   {std::to_string(request.quality), "-", request.output.native()});
  const codec::RgbaImage& image = in.inputs.pixels();
  const std::string header = codec::rawRgbaHeader(image);
  const std::string_view pixels(reinterpret_cast<const char*>(image.data()), image.byteSize());
  runProcess(tool, arguments, in.token, {.input = {header, pixels}});
  return {};
}

}  // namespace quorvane::core
