// What the compare view shows of one converted image: its original, its
// output, and what a trial encode at another quality is made with.
#pragma once

#include <QUuid>
#include <filesystem>
#include <optional>

#include "models/encode_settings.h"

namespace quorvane::core {

class ConversionViewModel;

struct CompareSubject {
  QUuid id;
  std::filesystem::path original;
  std::filesystem::path output;
  qint64 originalSize = 0;
  qint64 outputSize = 0;
  std::optional<double> score{};  // the output's receipt, when measured
  // What the output was made with; a trial encode changes only the quality.
  // Always one format (never Auto nor Same as Original) and with the receipt.
  EncodeSettings settings{};
  // False for a lossless output: no quality changes it.
  bool qualityApplies = true;
  // Whether the image's next conversion would use a quality chosen for it
  // as the encoder's quality: not in Auto, where the quality is the score to
  // reach.
  bool qualityCanBeChosen = true;
};

// The subject for the image `id`, when it has a converted output; absent
// otherwise (waiting, failed, skipped or a kept original).
std::optional<CompareSubject> compareSubjectFor(const ConversionViewModel& controller,
                                                const QUuid& id);

}  // namespace quorvane::core
