// What a batch keeps of the input besides its pixels, and what it leaves
// alone. Every option defaults to the behaviour without it.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace quorvane::core {

// What becomes of an output that is not smaller than its input (or, with a
// minimum saving, not smaller enough).
enum class IfLarger {
  KeepOriginal,  // the original goes to the output folder instead, unchanged
  Skip,          // nothing is written
  Write,         // the output is written all the same
};
// "keep-original", "skip", "write": the saved and command-line names.
QString rawValue(IfLarger choice);
std::optional<IfLarger> ifLargerFromRawValue(const QString& text);

struct OutputOptions {
  // How much smaller than its input an output must be, in percent: absent
  // (or 0) means smaller at all. What happens otherwise is `ifLarger`.
  std::optional<int> minSaving{};
  IfLarger ifLarger = IfLarger::KeepOriginal;
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
  // No pixel changes: each road writes exactly the decoded pixels (a JPEG
  // input its own coefficients), the colour profile and transparency kept;
  // the output is decoded and compared pixel by pixel before it counts.
  bool lossless = false;
  // Auto also tries JPEG XL. Off unless asked for: not every viewer opens it.
  bool autoJpegXl = false;
  // Auto, when AVIF or JPEG XL wins: the winning quality is encoded once
  // more with the encoder's slower, more thorough setting, and the smaller
  // of the two files that meets the target is kept.
  bool autoBestEffort = false;
  // The largest output wanted, in bytes: each image is encoded at the
  // highest quality (up to the one asked for) whose file is no larger.
  // Absent: no limit. Formats without a quality to lower (PNG, lossless)
  // are only checked against it.
  std::optional<std::int64_t> maxFileSize{};

  bool operator==(const OutputOptions&) const = default;
};

}  // namespace quorvane::core
