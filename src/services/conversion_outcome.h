// What became of one image of a batch.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

#include "models/output_format.h"

namespace quorvane::core {

struct ConversionOutcome {
  // Skipped: converted, but not kept (see message); AlreadyConverted: left
  // alone, `output` is what an earlier batch wrote; KeptOriginal: the
  // output would not have been smaller, `output` is the original as kept
  // (a copy in the output folder, or the input itself when it lies there).
  enum class Kind { Completed, Skipped, AlreadyConverted, KeptOriginal, Failed, Cancelled };
  Kind kind = Kind::Failed;
  std::filesystem::path output{};
  qint64 size = 0;    // of the output (or of what was not kept)
  QString message{};  // why it failed or was skipped; a note beside a completed one
  QString detail{};   // what an encoder said, for those who ask
  qint64 durationMs = 0;
  std::optional<double> score{};  // how alike the output looks to its input
  // The quality it was encoded at, when it was (the batch's, raised or
  // chosen for this image).
  std::optional<int> quality{};
  // What Auto chose for this image.
  std::optional<OutputFormat> chosenFormat{};
  int chosenQuality = 0;
  // How many trial encodes Auto's or a size limit's search made.
  std::optional<int> searchEncodes{};
  // With a size limit: whether the encoded file was no larger.
  std::optional<bool> fits{};
};

}  // namespace quorvane::core
