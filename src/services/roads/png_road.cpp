// PNG: our own palette quantiser on the decoded pixels (lossless: the
// pixels as they are), then the optimiser when it is there.
#include <QCoreApplication>
#include <string>
#include <vector>

#include "services/conversion_errors.h"
#include "services/png_quantizer.h"
#include "services/process_runner.h"
#include "services/roads/road_support.h"
#include "services/roads/tool_inputs.h"

namespace quorvane::core {

QString PngRoad::encode(const RoadInput& in, const EncodeRequest& request) const {
  bool filled = false;
  if (request.options.lossless) {
    const auto written = codec::writePng(in.inputs.pixels(), request.output,
                                         in.carried.empty() ? nullptr : &in.carried);
    if (!written) {
      throwCodecFailure(written.error(), QCoreApplication::translate(
                                             "ConversionError", "Cannot write the output file"));
    }
  } else {
    filled = PNGQuantizer::quantize(in.inputs.pixels().clone(), request.output, request.quality,
                                    in.token, in.carried.empty() ? nullptr : &in.carried,
                                    request.options.keepAlpha);
  }
  if (in.tools.isToolAvailable(QStringLiteral("oxipng"))) {
    const std::filesystem::path tool = in.tools.toolPath(QStringLiteral("oxipng"));
    // The file holds only what we put in: what is to be kept stays.
    std::vector<std::string> arguments = {"-o", "4"};
    if (in.carried.exif.empty() && in.carried.xmp.empty()) {
      arguments.insert(arguments.end(), {"--strip", "safe"});
    }
    arguments.push_back(request.output.native());
    runProcess(tool, arguments, in.token);
  }
  return filled ? transparencyFilledNote() : QString();
}

}  // namespace quorvane::core
