#include "services/run_conversion.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QStringList>
#include <chrono>
#include <new>

#include "codec/camera_data.h"
#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/output_check.h"
#include "services/roads/road_support.h"
#include "services/saving_policy.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

using Kind = ConversionOutcome::Kind;

// Where a name is taken from: the batch's reservations, else the folder.
fs::path reserveName(const BatchContext& batch, const fs::path& folder, const fs::path& stem,
                     const QString& ext) {
  if (batch.reservations) return batch.reservations->reserveUnique(folder, stem, ext);
  return FileService::uniqueOutputURL(folder, stem, ext);
}

// The name an output of `ext` goes under: the custom one (numbered before
// the format was known, so it takes this extension), else the input's stem.
fs::path desiredName(const ConversionJob& job, const BatchContext& batch, const QString& ext) {
  if (job.customOutputURL) {
    fs::path desired = fs::absolute(*job.customOutputURL).replace_extension(ext.toStdString());
    if (batch.reservations) batch.reservations->reserve(desired);
    return desired;
  }
  return reserveName(batch, job.outputDirectory, job.input.stem(), ext);
}

// The file dates, when kept, and the ledger's line of a published output.
void finishPublished(const ConversionJob& job, ConversionOutcome& outcome,
                     const fs::path& outputFolder, ConversionLedger* ledger,
                     const QByteArray& contentHash, const QByteArray& settings, qint64 inputSize) {
  std::error_code error;
  if (job.settings.options.keepFileDates && outcome.output != job.input) {
    const auto modified = fs::last_write_time(job.input, error);
    if (!error) fs::last_write_time(outcome.output, modified, error);
    if (error) {
      //: shown under a converted image
      const QString note =
          QCoreApplication::translate("ConversionNote", "The file date could not be kept: %1")
              .arg(QString::fromLocal8Bit(error.message()));
      outcome.message =
          outcome.message.isEmpty() ? note : outcome.message + QStringLiteral("; ") + note;
    }
  }
  if (ledger && !contentHash.isEmpty()) {
    struct stat info {};
    const bool known = ::stat(job.input.c_str(), &info) == 0;
    ledger->record(
        outputFolder,
        {job.input.native(), inputSize,
         known ? qint64{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec : 0,
         contentHash, settings, fs::relative(outcome.output, outputFolder).native(), outcome.size});
  }
}

// Puts the original where the output would have gone, under its own
// extension, without camera data unless that is kept; not at all when it
// lies in the output folder already.
ConversionOutcome keepOriginal(const ConversionJob& job, const EncodedImage& encoded,
                               const Shortfall& shortfall, qint64 inputSize,
                               const CancellationToken& token, const BatchContext& batch) {
  const QString reason = keptReason(shortfall, encoded.format);
  const fs::path folder = encoded.staged->path().parent_path();
  std::error_code error;
  if (fs::equivalent(job.input.parent_path(), folder, error)) {
    return {.kind = Kind::KeptOriginal, .output = job.input, .size = inputSize, .message = reason};
  }
  // Read through the descriptor the conversion opened: the file as it was.
  std::string bytes;
  if (encoded.input) {
    auto read = encoded.input->bytes();
    if (!read) throwCodecFailure(read.error());
    bytes = std::move(read).value();
  } else {
    bytes = readWholeFile(job.input);
  }
  if (!job.settings.options.keepMetadata) {
    // Outputs carry no camera data unless asked, copies of originals neither.
    const codec::Metadata* metadata = encoded.input ? &encoded.input->metadata() : nullptr;
    if (!metadata || !metadata->exif.empty() || !metadata->xmp.empty()) {
      const int orientation = encoded.input ? encoded.input->header().orientation : 1;
      auto without = codec::withoutCameraData(bytes, orientation);
      if (!without) {
        return {.kind = Kind::Skipped, .size = inputSize, .message = notCopiedReason(shortfall)};
      }
      bytes = std::move(*without);
    }
  }
  const std::string extension = job.input.extension().string();
  const QString ext = QString::fromStdString(extension.empty() ? extension : extension.substr(1));
  const fs::path desired = job.customOutputURL ? desiredName(job, batch, ext)
                                               : reserveName(batch, folder, job.input.stem(), ext);
  StagedOutput staged(folder, ext);
  writeWholeFile(staged.path(), bytes);
  fs::path published;
  token.runUnlessCancelled([&] { published = staged.publish(desired, batch.reservations); });
  ConversionOutcome kept{.kind = Kind::KeptOriginal,
                         .output = published,
                         .size = static_cast<qint64>(bytes.size()),
                         .message = reason};
  // It is the original: it looks exactly as it does.
  if (job.settings.options.checkQuality) kept.score = 100.0;
  return kept;
}

ConversionOutcome convertAndPublish(const Converter& converter, const ConversionJob& job,
                                    const CancellationToken& token, const BatchContext& batch) {
  token.throwIfCancelled();
  const EncodeSettings& settings = job.settings;
  const fs::path outputFolder =
      job.customOutputURL ? fs::absolute(*job.customOutputURL).parent_path() : job.outputDirectory;

  // An input converted before with the same settings, whose output is still
  // there, is left alone.
  ConversionLedger* const ledger = settings.options.skipConverted ? batch.ledger : nullptr;
  QByteArray contentHash;
  const QByteArray fingerprint = ConversionLedger::settingsFingerprint(
      settings.format, settings.quality, settings.maxWidth, settings.maxHeight, settings.options,
      settings.autoFormat, settings.sameFormat);
  if (ledger) {
    contentHash = ConversionLedger::contentHash(job.input);
    if (!contentHash.isEmpty()) {
      if (const auto earlier = ledger->find(outputFolder, contentHash, fingerprint)) {
        return {.kind = Kind::AlreadyConverted,
                .output = outputFolder / earlier->output,
                .size = earlier->outputSize};
      }
    }
  }

  const EncodedImage encoded = converter.encode(job, token);
  const fs::path folder = encoded.staged->path().parent_path();
  if (!batch.reservations || batch.reservations->isFirstUseOf(folder)) {
    removeAbandonedStagingFiles(folder);
  }
  const qint64 inputSize = encoded.input ? encoded.input->fileSize() : sizeOf(job.input);
  const qint64 outputSize = sizeOf(encoded.staged->path());
  const auto shortfall = shortfallOf(inputSize, outputSize, settings.options.minSaving);
  if (shortfall && settings.options.ifLarger == IfLarger::Skip) {
    token.throwIfCancelled();
    return {.kind = Kind::Skipped,
            .size = outputSize,
            .message = skippedReason(*shortfall),
            .searchEncodes = encoded.searchEncodes,
            .fits = encoded.fits};
  }
  if (shortfall && settings.options.ifLarger == IfLarger::KeepOriginal) {
    ConversionOutcome kept = keepOriginal(job, encoded, *shortfall, inputSize, token, batch);
    kept.searchEncodes = encoded.searchEncodes;
    if (kept.kind == Kind::KeptOriginal) {
      finishPublished(job, kept, outputFolder, ledger, contentHash, fingerprint, inputSize);
    }
    return kept;
  }
  const fs::path desired = desiredName(job, batch, fileExtension(encoded.format));
  fs::path published;
  token.runUnlessCancelled(
      [&] { published = encoded.staged->publish(desired, batch.reservations); });
  QStringList notes;
  if (!encoded.note.isEmpty()) notes << encoded.note;
  if (shortfall) notes << writtenNote(*shortfall);
  ConversionOutcome outcome{.kind = Kind::Completed,
                            .output = published,
                            .size = outputSize,
                            .message = notes.join(QStringLiteral("; ")),
                            .score = encoded.score,
                            .quality = encoded.quality,
                            .searchEncodes = encoded.searchEncodes,
                            .fits = encoded.fits};
  if (encoded.chosen) {
    outcome.chosenFormat = encoded.format;
    outcome.chosenQuality = encoded.quality;
  }
  finishPublished(job, outcome, outputFolder, ledger, contentHash, fingerprint, inputSize);
  return outcome;
}

}  // namespace

ConversionOutcome runConversion(const Converter& converter, const ConversionJob& request,
                                const CancellationToken& token, const BatchContext& batch) {
  const auto begun = std::chrono::steady_clock::now();
  ConversionJob job = request;
  job.input = fs::absolute(job.input);
  job.outputDirectory = fs::absolute(job.outputDirectory);
  ConversionOutcome outcome;
  try {
    outcome = convertAndPublish(converter, job, token, batch);
  } catch (const CancellationError&) {
    outcome = {.kind = Kind::Cancelled};
  } catch (const ConversionFailure& failure) {
    // Any failure of a cancelled conversion counts as its cancellation.
    outcome.kind = token.isCancelled() ? Kind::Cancelled : Kind::Failed;
    outcome.message = failure.description();
    outcome.detail = failure.detail();
  } catch (const std::bad_alloc&) {
    outcome.kind = Kind::Failed;
    outcome.message = QCoreApplication::translate("ConversionError", "Not enough memory");
  } catch (const std::exception& failure) {
    outcome.kind = token.isCancelled() ? Kind::Cancelled : Kind::Failed;
    outcome.message = QString::fromLocal8Bit(failure.what());
  } catch (...) {
    outcome.kind = Kind::Failed;
    outcome.message = QCoreApplication::translate("ConversionError", "Conversion failed");
  }
  outcome.durationMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - begun)
                           .count();
  return outcome;
}

}  // namespace quorvane::core
