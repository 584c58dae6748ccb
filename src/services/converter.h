// What a batch needs of a converter: one image in, one staged file out. The
// production converter is ImageConverter; tests drive a batch with fakes.
// Naming, publishing, the ledger and what to do with a file that grew are
// the batch's (see runConversion).
#pragma once

#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "codec/opened_image.h"
#include "services/cancellation_token.h"
#include "services/conversion_job.h"
#include "services/staged_output.h"

namespace quorvane::core {

// One image encoded into a hidden staged file in the folder its output goes
// to; nothing is published yet.
struct EncodedImage {
  std::unique_ptr<StagedOutput> staged;
  OutputFormat format = OutputFormat::Webp;  // of the staged file
  int quality = 0;                           // it was encoded at
  bool chosen = false;                       // by Auto
  std::optional<double> score{};             // the receipt, when measured
  QString note{};                            // what else to know ("profile converted")
  // Auto's and a size limit's search: how many trial encodes it made.
  std::optional<int> searchEncodes{};
  // With a size limit: whether the file is no larger.
  std::optional<bool> fits{};
  // The input as opened for the conversion: what a kept original is copied
  // from, without opening the file again. Absent from fakes.
  std::shared_ptr<const codec::OpenedImage> input{};
};

class Converter {
 public:
  virtual ~Converter() = default;
  // Encodes one image; throws a ConversionFailure (CancellationError once
  // `token` is cancelled). Called on worker threads, several at once.
  virtual EncodedImage encode(const ConversionJob& job, const CancellationToken& token) const = 0;
  // Opens, checks and decodes the input of `job` ahead of encodes of it at
  // other qualities, which then skip those steps when given it in
  // `ConversionJob::prepared`. Absent where a converter has nothing to keep
  // (fakes). Throws what encode() would for the same steps.
  virtual std::shared_ptr<PreparedInput> prepare(const ConversionJob& job,
                                                 const CancellationToken& token) const {
    (void)job;
    (void)token;
    return nullptr;
  }
  // Why no batch with `settings` can start here (a tool every image would
  // need is missing), in the user's words; absent when one can. Never
  // throws.
  virtual std::optional<QString> startRefusal(const EncodeSettings& settings) const {
    (void)settings;
    return std::nullopt;
  }
};

}  // namespace quorvane::core
