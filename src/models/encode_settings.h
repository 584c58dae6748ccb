// What a conversion makes of an image: the one value that travels from the
// window or the command line through the batch down to the encoder's road.
#pragma once

#include <optional>

#include "models/output_format.h"
#include "models/output_options.h"

namespace quorvane::core {

struct EncodeSettings {
  OutputFormat format = OutputFormat::Webp;
  // Auto: per image, the smallest format that keeps it looking the same, with
  // `quality` setting how close (see autoTargetScore); `format` is then only
  // the default of the settings.
  bool autoFormat = false;
  // Same as Original: each image stays in its own format (see sameFormatFor);
  // `format` is then only the default of the settings.
  bool sameFormat = false;
  int quality = 80;               // 0..100
  std::optional<int> maxWidth{};  // absent, 0 or negative: no bound
  std::optional<int> maxHeight{};
  OutputOptions options{};

  bool hasBound() const { return maxWidth.value_or(0) >= 1 || maxHeight.value_or(0) >= 1; }
  bool operator==(const EncodeSettings&) const = default;
};

}  // namespace quorvane::core
