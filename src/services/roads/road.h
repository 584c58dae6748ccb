// One road per output format: what turns the decoded image into a file of
// that format. Every road reads the input as the conversion opened and
// decoded it once; what a tool needs besides (a TGA, a PNG) is made once per
// conversion by ToolInputs and shared by every encode of it (Auto's trials).
#pragma once

#include <QString>
#include <filesystem>

#include "codec/image_codec.h"
#include "codec/metadata.h"
#include "codec/opened_image.h"
#include "models/output_format.h"
#include "models/output_options.h"
#include "services/cancellation_token.h"
#include "services/image_fitting.h"
#include "services/tool_manager.h"

namespace quorvane::core {

class ToolInputs;

// What every encode of one conversion shares.
struct RoadInput {
  const codec::OpenedImage& source;
  PixelSize size;                  // of the output
  const codec::Metadata& carried;  // what the output carries; empty: nothing
  const CancellationToken& token;
  const ToolManager& tools;
  ToolInputs& inputs;  // the decoded pixels (upright, at `size`) and what is made of them
  // An HDR input whose signal the output keeps (see keepsHdr): the road
  // encodes inputs.hdrPng() with the input's code points.
  bool keepHdr = false;
  bool keepProfile() const { return !carried.icc.empty(); }
};

// One encode: at which quality, with which options, into which file.
struct EncodeRequest {
  int quality = 80;
  OutputOptions options{};
  std::filesystem::path output;
  // For Auto, which encodes each candidate several times: less effort where
  // it saves much time for a few per cent of size (AVIF, ~5x faster).
  bool quick = false;
};

class Road {
 public:
  virtual ~Road() = default;
  // Writes `request.output`; returns what the row should say beside it ("",
  // or e.g. "Transparent areas filled with white"). Throws a
  // ConversionFailure; CancellationError once the token is cancelled.
  virtual QString encode(const RoadInput& input, const EncodeRequest& request) const = 0;
};

const Road& roadFor(OutputFormat format);

// Shown under a converted image that had transparent areas.
QString transparencyFilledNote();

}  // namespace quorvane::core
