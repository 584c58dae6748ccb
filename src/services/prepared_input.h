// One input opened, checked and decoded for the settings it is to be encoded
// with, kept so that several encodes of it at different qualities (the
// compare view's trials) decode it once between them.
#pragma once

#include <memory>

#include "codec/opened_image.h"
#include "models/encode_settings.h"
#include "models/output_format.h"
#include "services/cancellation_token.h"
#include "services/carried_metadata.h"
#include "services/image_fitting.h"
#include "services/roads/tool_inputs.h"

namespace quorvane::core {

struct PreparedInput {
  PreparedInput(std::shared_ptr<const codec::OpenedImage> opened, EncodeSettings asked,
                PixelSize fitted, OutputFormat chosen, CarriedMetadata kept,
                CancellationToken decodeToken)
      : input(std::move(opened)),
        settings(std::move(asked)),
        size(fitted),
        format(chosen),
        carried(std::move(kept)),
        token(std::move(decodeToken)),
        inputs(*input, size, !carried.metadata.icc.empty(), token) {}
  PreparedInput(const PreparedInput&) = delete;
  PreparedInput& operator=(const PreparedInput&) = delete;

  // Whether an encode with `asked` can use this: the same settings but for
  // the quality, which only the encoder reads.
  bool serves(EncodeSettings asked) const {
    asked.quality = settings.quality;
    return asked == settings;
  }

  const std::shared_ptr<const codec::OpenedImage> input;
  const EncodeSettings settings;  // as the job asked for them
  const PixelSize size;           // of the output
  const OutputFormat format;      // Auto: only the settings' default
  const CarriedMetadata carried;
  // The decode's: a decode still to come stops with it. Inputs that were
  // decoded stay usable after it is cancelled.
  const CancellationToken token;
  ToolInputs inputs;  // `input` decoded at `size`, once
};

}  // namespace quorvane::core
