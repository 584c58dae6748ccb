// What a batch keeps of the input besides its pixels, and what it leaves
// alone. Every option defaults to the behaviour without it.
#pragma once

#include <optional>

namespace quorvane::core {

struct OutputOptions {
  // An output must be at least this many percent smaller than its input to
  // be kept (0: smaller at all); absent keeps every output.
  std::optional<int> minSaving{};
  bool keepMetadata = false;         // EXIF and XMP carried into the output
  bool keepColorProfile = false;     // an RGB profile kept, pixels left in it
  bool keepAlpha = false;            // PNG outputs keep transparency (else on white)
  bool keepFileDates = false;        // the output gets the input's modification time
  bool keepFolderStructure = false;  // walked folders re-made under the output folder
  bool skipConverted = false;        // inputs a ledger shows as converted are left alone
  // Each output is compared at full size with what was encoded and given a
  // perceptual score. Changes no output; costs about a fifth of the CPU of a
  // WebP conversion, so it is on unless turned off.
  bool checkQuality = true;

  bool operator==(const OutputOptions&) const = default;
};

}  // namespace quorvane::core
