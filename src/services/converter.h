// What a batch needs of a converter: one image in, one file out. The
// production converter is ImageConverter; tests drive a batch with fakes.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

#include "services/auto_format.h"
#include "services/cancellation_token.h"
#include "services/conversion_job.h"
#include "services/conversion_ledger.h"
#include "services/output_name_reservations.h"

namespace quorvane::core {

// What became of one conversion that did not fail.
struct ConversionResult {
  enum class Kind {
    Written,           // the output is at `output`
    NotKept,           // converted, but it did not save enough: nothing written
    AlreadyConverted,  // left alone: `output` is its earlier output
    KeptOriginal,      // it did not save enough: `output` is the original's copy
  };
  Kind kind = Kind::Written;
  std::filesystem::path output{};
  qint64 outputSize = 0;  // of the output (or of what was not kept)
  QString reason{};       // why not kept, or what else to know ("profile converted")
  // How alike the output looks to what was encoded, 100 the same (see
  // codec::perceptualScore); absent when not measured.
  std::optional<double> score{};
  // The format and quality Auto chose.
  std::optional<OutputFormat> chosenFormat{};
  int chosenQuality = 0;
};

// What a batch shares with each of its conversions.
struct BatchContext {
  OutputNameReservations* reservations = nullptr;
  ConversionLedger* ledger = nullptr;  // set when inputs converted before are skipped
  AutoStartPoints* autoStarts = nullptr;  // where Auto's searches start
};

class Converter {
 public:
  virtual ~Converter() = default;
  // Converts one image; throws a ConversionFailure. Called on worker
  // threads, several at once.
  virtual ConversionResult convert(const ConversionJob& job, const CancellationToken& token,
                                   const BatchContext& batch) const = 0;
};

}  // namespace quorvane::core
