// How far an output falls short of the saving asked for, and what the row
// says of it: skipped, kept as the original, or written all the same.
#pragma once

#include <QString>
#include <optional>

#include "models/output_format.h"

namespace quorvane::core {

struct Shortfall {
  bool larger = false;  // not smaller at all
  qint64 percent = 0;   // larger by, or smaller by (whole percent)
  int minimum = 0;
};

// Nothing when the output is smaller than the input by `minSaving` percent
// (absent: smaller at all), or the input's size is unknown (0).
std::optional<Shortfall> shortfallOf(qint64 inputSize, qint64 outputSize,
                                     std::optional<int> minSaving);

// "Skipped: 12% larger than the original" and its kin.
QString skippedReason(const Shortfall& shortfall);
// Why the original was kept, naming the format the user asked for (or Auto
// chose), so the choice is visible.
QString keptReason(const Shortfall& shortfall, OutputFormat format);
// What a row says of an output written although it saved too little.
QString writtenNote(const Shortfall& shortfall);
// The original was not copied: it would have carried its camera data.
QString notCopiedReason(const Shortfall& shortfall);

}  // namespace quorvane::core
