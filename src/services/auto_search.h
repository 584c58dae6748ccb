// Auto's search over one image: each candidate format encoded at the
// qualities nextAutoQuality asks for, scored against the decoded image, the
// smallest file that meets the target kept.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "models/encode_settings.h"
#include "services/roads/road.h"
#include "services/temporary_files.h"

namespace quorvane::core {

struct AutoChoice {
  OutputFormat format = OutputFormat::Webp;
  int quality = 0;
  TemporaryFile file;  // the encoded candidate, in the private temporary folder
  std::int64_t bytes = 0;
  double score = 0;
  QString note{};    // what its road had to say
  int encodes = 0;   // how many trials the search made for this image
  bool fits = true;  // under the size limit, when there is one
};

// The candidates, in the order searched: AVIF first (it wins most photos),
// then JPEG XL when asked for (OutputOptions::autoJpegXl), WebP, JPEG
// without transparency and when it holds all the metadata carried, PNG with
// transparency or few enough colours for a palette. One that cannot hold
// `in.size` is left out.
std::vector<OutputFormat> autoCandidates(bool transparent, bool fewColours,
                                         bool jpegHoldsMetadata = true, bool jpegXl = false);

// The smallest candidate whose score reaches autoTargetScore(quality), else
// the closest to it. A format after the first is searched further only when
// its file at its start quality is smaller than the best so far, and no
// file at least `inputSize` bytes can win (0: any size may). Candidates
// are encoded with less effort where that saves much time for little size
// (AVIF, JPEG XL); with OutputOptions::autoBestEffort the winner of those is
// encoded once more at its quality with the full effort, and the smaller
// of the two that meets the target is chosen. Throws the first
// candidate's failure when none could be encoded;
// CancellationError once cancelled.
AutoChoice chooseFormat(const RoadInput& in, const EncodeSettings& settings,
                        std::int64_t inputSize);

// With a size limit (settings.options.maxFileSize): chooseFormat's choice
// when it fits. Otherwise each candidate but PNG (whose quality only sets
// the palette) is searched for its highest quality that fits (see
// fitUnder), and the one that scores best wins; when none fits, the
// smallest file of the search (`fits` false).
AutoChoice chooseFormatUnder(const RoadInput& in, const EncodeSettings& settings,
                             std::int64_t inputSize, std::int64_t limit);

// A trial `file` of `format` verified and scored against the image.
AutoChoice scoredCandidate(const RoadInput& in, OutputFormat format, int quality,
                           TemporaryFile file, QString note, const OutputOptions& options);

}  // namespace quorvane::core
