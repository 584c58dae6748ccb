// AVIF: avifenc reads PNG and JPEG files only. A plain file of those (upright,
// 8-bit sRGB, one frame, complete) that needs no scaling goes to it as it
// is; everything else through a PNG of the decoded pixels, made once per
// conversion. avifenc copies the metadata of a file it reads: only what is
// kept may reach the output. An HDR input whose signal is kept goes as a
// 16-bit PNG of it, with its code points.
#include <algorithm>
#include <string>
#include <vector>

#include "services/conversion_errors.h"
#include "services/process_runner.h"
#include "services/roads/road_support.h"
#include "services/roads/tool_inputs.h"
#include "services/tool_version.h"

namespace quorvane::core {

namespace {

// Whether avifenc reads the file itself as our decoder does.
bool readsItAsItIs(const RoadInput& in) {
  const codec::ImageHeader& h = in.source.header();
  if (in.size.width != h.width || in.size.height != h.height) return false;
  const std::string ext = lowerCaseExtension(in.source.path());
  const bool format = (ext == "png" && h.loader == "pngload") ||
                      ((ext == "jpg" || ext == "jpeg") && h.loader == "jpegload");
  return format && h.frameCount == 1 && h.orientation == 1 && h.bitsPerSample == 8 &&
         (h.colourModel == codec::ColourModel::Srgb || h.colourModel == codec::ColourModel::Grey) &&
         (!h.hasIccProfile || h.iccProfileIsSrgb) && in.source.isComplete();
}

}  // namespace

int avifQuantizer(int quality) {
  const int q =
      static_cast<int>(static_cast<double>(100 - static_cast<long long>(quality)) / 100 * 63);
  return std::clamp(q, 0, 63);
}

QString AvifRoad::encode(const RoadInput& in, const EncodeRequest& request) const {
  const std::filesystem::path tool = in.tools.toolPath(QStringLiteral("avifenc"));
  // One worker thread, as avifenc 0.11 has by default and 1.x not: each
  // conversion is one of the batch's slots, and the output does not depend
  // on thread timing.
  // Lossless: 4:4:4 with the identity matrix, quantiser 0, from a PNG of
  // exactly the decoded pixels.
  std::vector<std::string> arguments =
      request.options.lossless
          ? std::vector<std::string>{"--lossless", "--depth", "8"}
          : avifQuantizerArguments(avifQuantizer(request.quality), toolVersion(tool, in.token));
  arguments.insert(arguments.end(), {"--speed", request.quick ? "6" : "4", "--jobs", "1"});
  const MetadataFiles blocks(in.carried);
  for (const char* kind : {"exif", "xmp", "icc"}) {
    const auto given =
        std::find_if(blocks.files.begin(), blocks.files.end(),
                     [&](const auto& file) { return file.first == "--" + std::string(kind); });
    if (given != blocks.files.end()) {
      arguments.insert(arguments.end(), {given->first, given->second.path().native()});
    } else {
      arguments.push_back("--ignore-" + std::string(kind));
    }
  }
  const auto run = [&](const std::filesystem::path& file) {
    std::vector<std::string> all = arguments;
    all.insert(all.end(), {file.native(), request.output.native()});
    runProcess(tool, all, in.token);
  };
  if (in.keepHdr) {
    // The signal as it is, with its own code points, at 10 bits.
    const codec::HdrSignal& hdr = in.source.header().hdr;
    arguments.insert(arguments.end(),
                     {"--depth", "10", "--cicp",
                      std::to_string(hdr.primaries) + "/" + std::to_string(hdr.transfer) + "/" +
                          std::to_string(hdr.matrix),
                      "--range", hdr.fullRange ? "full" : "limited"});
    run(in.inputs.hdrPng());
    return {};
  }
  if (request.options.lossless || !readsItAsItIs(in)) {
    run(in.inputs.png());
    return {};
  }
  try {
    run(in.source.path());
  } catch (const ConversionError& refused) {
    if (refused.kind() != ConversionError::Kind::ProcessExitedWithError) throw;
    // The tool is stricter than our decoder about damage that leaves every
    // pixel readable (a bad checksum, a missing end chunk): what we can
    // decode, it gets decoded.
    in.token.throwIfCancelled();
    run(in.inputs.png());
  }
  return {};
}

}  // namespace quorvane::core
