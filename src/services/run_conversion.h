// One conversion of a batch, start to end: an input converted before is left
// alone; otherwise the converter encodes it, and what saves too little is
// skipped or replaced by the original as the options say; the output gets
// its name, is published, keeps the input's dates when asked, and goes into
// the ledger.
#pragma once

#include "services/conversion_ledger.h"
#include "services/conversion_outcome.h"
#include "services/converter.h"
#include "services/output_name_reservations.h"

namespace quorvane::core {

// What a batch shares with each of its conversions.
struct BatchContext {
  OutputNameReservations* reservations = nullptr;  // absent: names are chosen alone
  ConversionLedger* ledger = nullptr;              // set when inputs converted before are skipped
};

// Never throws: a failure is the outcome's (Failed with the description and
// what the tool said; Cancelled once `token` is cancelled, whatever failed).
// No output is published once the token is cancelled, an existing file is
// never replaced, and the input is never touched. Runs on a worker thread.
ConversionOutcome runConversion(const Converter& converter, const ConversionJob& job,
                                const CancellationToken& token, const BatchContext& batch);

}  // namespace quorvane::core
