// WebP: cwebp reads our decoded pixels from a pipe (upright, in sRGB or the
// kept profile, fitted by the Lanczos filter every road uses), so what it
// encodes is exactly what the receipt compares the output with.
#include <QCoreApplication>
#include <string>
#include <vector>

#include "codec/metadata.h"
#include "services/conversion_errors.h"
#include "services/process_runner.h"
#include "services/roads/road_support.h"
#include "services/roads/tool_inputs.h"

namespace quorvane::core {

QString WebpRoad::encode(const RoadInput& in, const EncodeRequest& request) const {
  const std::filesystem::path tool = in.tools.toolPath(QStringLiteral("cwebp"));
  const codec::RgbaImage& image = in.inputs.pixels();
  const std::string header = codec::pamHeader(image);
  const std::string_view pixels(reinterpret_cast<const char*>(image.data()), image.byteSize());
  // Lossless at the highest effort; -exact keeps the colour under
  // transparent pixels too.
  const std::vector<std::string> arguments =
      request.options.lossless
          ? std::vector<std::string>{"-lossless", "-exact", "-q", "100",
                                     "-m",        "6",      "-o", request.output.native(),
                                     "--",        "-"}
          : std::vector<std::string>{"-q", std::to_string(request.quality), "-m", "6",
                                     "-o", request.output.native(),         "--", "-"};
  runProcess(tool, arguments, in.token, {.input = {header, pixels}});
  if (in.carried.empty()) return {};
  // cwebp copies nothing by default; what is kept goes into the container.
  const std::string carrying = codec::webpWithMetadata(readWholeFile(request.output), in.carried);
  if (carrying.empty()) throw ConversionError::outputUnreadable();
  writeWholeFile(request.output, carrying);
  return {};
}

}  // namespace quorvane::core
