#include "services/output_check.h"

#include <new>

#include "codec/file_completeness.h"
#include "codec/perceptual_score.h"
#include "services/conversion_errors.h"
#include "services/image_fitting.h"
#include "services/roads/road_support.h"

namespace quorvane::core {

namespace fs = std::filesystem;

void verifyOutput(const fs::path& output, OutputFormat format, bool decodedLater) {
  std::error_code error;
  if (fs::file_size(output, error) == 0 || error) throw ConversionError::outputFileNotCreated();
  const bool fully = !decodedLater && (format == OutputFormat::Heic ||
                                       format == OutputFormat::Avif || format == OutputFormat::Jxl);
  const bool readsBack = fully ? codec::decodesCompletely(output) : codec::readHeader(output).ok();
  if (!readsBack) throw ConversionError::outputUnreadable();
  // A tool that exits 0 after writing part of a file: its structure tells.
  const auto whole = [&](bool (*isWhole)(std::string_view)) {
    if (!isWhole(readWholeFile(output))) throw ConversionError::outputUnreadable();
  };
  if (format == OutputFormat::Jpeg) whole(&codec::jpegIsWhole);
  if (format == OutputFormat::Png) whole(&codec::pngIsWhole);
  if (format == OutputFormat::Webp) whole(&codec::webpIsWhole);
}

std::optional<double> measuredScore(const codec::RgbaImage& reference, const fs::path& output,
                                    bool keepProfile, const CancellationToken& token) {
  token.throwIfCancelled();
  std::optional<codec::RgbaImage> decoded;
  try {
    decoded.emplace(
        decodeFitted(output, {reference.width(), reference.height()}, token, keepProfile));
  } catch (const CancellationError&) {
    throw;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  } catch (const ConversionFailure&) {
    throw ConversionError::outputUnreadable();
  }
  const codec::RgbaImage& candidate = *decoded;
  try {
    const auto score =
        codec::perceptualScore(reference, candidate, {.stopRequested = stopRequestedBy(token)});
    token.throwIfCancelled();
    if (score) return score.value();
  } catch (const std::bad_alloc&) {
  }
  return std::nullopt;
}

bool judgedInSrgb(OutputFormat format, bool keepProfile, bool lossless) {
  return format == OutputFormat::Jxl && keepProfile && !lossless;
}

qint64 sizeOf(const fs::path& file) {
  std::error_code error;
  const auto size = fs::file_size(file, error);
  return error ? 0 : static_cast<qint64>(size);
}

}  // namespace quorvane::core
