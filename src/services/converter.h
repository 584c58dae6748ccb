// What a batch needs of a converter: one image in, one file out. The
// production converter is ImageConverter; tests drive a batch with fakes.
#pragma once

#include <filesystem>

#include "services/cancellation_token.h"
#include "services/conversion_job.h"
#include "services/output_name_reservations.h"

namespace quorvane::core {

class Converter {
 public:
  virtual ~Converter() = default;
  // Writes the converted file and returns where; throws a ConversionFailure.
  // Called on worker threads, several at once.
  virtual std::filesystem::path convert(const ConversionJob& job, const CancellationToken& token,
                                        OutputNameReservations* reservations) const = 0;
};

}  // namespace quorvane::core
