// JPEG XL: cjxl reads a PNG of the decoded pixels (with the kept profile),
// lossy at the distance the quality maps to, or lossless at
// distance 0. A JPEG input in lossless mode at its own size is recompressed
// reversibly instead: cjxl keeps its coefficients and what is needed to
// rebuild the file, and before the output counts, djxl rebuilds it and the
// result must be the input byte for byte.
//
// Only options that cjxl and djxl 0.7 (Debian 12) and 0.11 (Debian 13) both
// take are used.
#include <QCoreApplication>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "codec/jxl_container.h"
#include "services/conversion_errors.h"
#include "services/lossless_error.h"
#include "services/process_runner.h"
#include "services/roads/road_support.h"
#include "services/roads/tool_inputs.h"

namespace quorvane::core {

namespace {

// "1.900": always a point, whatever the locale.
std::string distanceText(double distance) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, distance, std::chars_format::fixed, 3);
  return std::string(text, end.ptr);
}

// cjxl's own arguments of every run: quiet, on the calling thread only (each
// conversion is one of the batch's slots).
std::vector<std::string> commonArguments(const std::filesystem::path& input,
                                         const std::filesystem::path& output) {
  return {input.native(), output.native(), "--quiet", "--num_threads=0"};
}

// The input's bytes as opened, in a temporary file: what cjxl recompresses
// is exactly what the reconstruction is compared with.
TemporaryFile sourceCopy(const std::string& bytes) {
  TemporaryFile copy(QStringLiteral("jpg"));
  writeWholeFile(copy.path(), bytes);
  return copy;
}

// Rebuilds the JPEG from `jxl` with djxl and compares it with `original`.
// Throws a LosslessError when they differ.
void checkReconstruction(const RoadInput& in, const std::filesystem::path& jxl,
                         const std::string& original) {
  const std::filesystem::path djxl = in.tools.toolPath(QStringLiteral("djxl"));
  TemporaryFile rebuilt(QStringLiteral("jpg"));
  in.token.throwIfCancelled();
  // djxl 0.7 reads 0 threads as "as many as the machine has".
  runProcess(djxl, {jxl.native(), rebuilt.path().native(), "--quiet", "--num_threads=1"}, in.token);
  if (readWholeFile(rebuilt.path()) != original) {
    throw LosslessError(QCoreApplication::translate(
        "ConversionError",
        "The JPEG XL file does not give the original JPEG back byte for byte, so it was not "
        "written"));
  }
}

QString recompressJpeg(const RoadInput& in, const EncodeRequest& request) {
  const std::filesystem::path cjxl = in.tools.toolPath(QStringLiteral("cjxl"));
  auto bytes = in.source.bytes();
  if (!bytes) throwCodecFailure(bytes.error());
  const TemporaryFile copy = sourceCopy(bytes.value());
  in.token.throwIfCancelled();
  std::vector<std::string> arguments = commonArguments(copy.path(), request.output);
  arguments.insert(arguments.end(), {"--lossless_jpeg=1", "-e", request.quick ? "5" : "7"});
  runProcess(cjxl, arguments, in.token);
  checkReconstruction(in, request.output, bytes.value());
  const codec::Metadata& own = in.source.metadata();
  if (!request.options.keepMetadata && (!own.exif.empty() || !own.xmp.empty())) {
    //: shown under a JPEG recompressed reversibly to JPEG XL
    return QCoreApplication::translate(
        "ConversionNote", "Camera data kept: the original JPEG comes back byte for byte");
  }
  return {};
}

}  // namespace

double jxlDistance(int quality) {
  const double q = std::clamp(quality, 0, 100);
  const double distance =
      q >= 30 ? 0.1 + (100 - q) * 0.09 : 6.4 + std::pow(2.5, (30 - q) / 5.0) / 6.25;
  return std::min(distance, 25.0);
}

bool jxlRecompressesJpeg(const RoadInput& in, const OutputOptions& options) {
  const codec::ImageHeader& h = in.source.header();
  return options.lossless && h.loader == "jpegload" && in.source.isComplete() &&
         in.size.width == h.width && in.size.height == h.height;
}

QString JxlRoad::encode(const RoadInput& in, const EncodeRequest& request) const {
  if (jxlRecompressesJpeg(in, request.options)) return recompressJpeg(in, request);
  const std::filesystem::path cjxl = in.tools.toolPath(QStringLiteral("cjxl"));
  // cjxl takes the profile from the PNG it reads; EXIF and XMP only from
  // 0.11 on, so they go into the container afterwards, the same everywhere.
  std::optional<TemporaryFile> carrying;
  if (in.keepProfile()) {
    carrying.emplace(QStringLiteral("png"));
    codec::Metadata profile;
    profile.icc = in.carried.icc;
    if (auto written = codec::writeScratchPng(in.inputs.pixels(), carrying->path(), &profile);
        !written) {
      throwCodecFailure(written.error(), QCoreApplication::translate(
                                             "ConversionError", "Cannot write a temporary file"));
    }
  }
  const std::filesystem::path& png = carrying ? carrying->path() : in.inputs.png();
  in.token.throwIfCancelled();
  std::vector<std::string> arguments = commonArguments(png, request.output);
  const double distance = request.options.lossless ? 0.0 : jxlDistance(request.quality);
  arguments.insert(arguments.end(),
                   {"-d", distanceText(distance), "-e", request.quick ? "5" : "7"});
  runProcess(cjxl, arguments, in.token);
  if (in.carried.exif.empty() && in.carried.xmp.empty()) return {};
  const std::string carried = codec::jxlWithMetadata(readWholeFile(request.output), in.carried);
  if (carried.empty()) throw ConversionError::outputUnreadable();
  writeWholeFile(request.output, carried);
  return {};
}

}  // namespace quorvane::core
