#include "services/image_converter.h"

#include <sys/statvfs.h>

#include <QCoreApplication>
#include <QStringList>

#include "services/auto_search.h"
#include "services/carried_metadata.h"
#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/fit_under.h"
#include "services/format_limits.h"
#include "services/hdr_output.h"
#include "services/left_out_notes.h"
#include "services/lossless_error.h"
#include "services/output_check.h"
#include "services/prepared_input.h"
#include "services/roads/road_support.h"
#include "services/roads/tool_inputs.h"
#include "services/temporary_files.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

// Frees libvips' per-thread buffers when a conversion ends on a pool thread.
struct ThreadResourcesGuard {
  ~ThreadResourcesGuard() { codec::releaseThreadResources(); }
};

// A tool that failed for want of space says so in its own words, if at all.
bool diskIsFull(const fs::path& folder) {
  struct statvfs info {};
  return ::statvfs(folder.c_str(), &info) == 0 && info.f_bavail == 0;
}

bool temporaryDiskIsFull() {
  try {
    return diskIsFull(privateTemporaryFolder());
  } catch (const ConversionFailure&) {
    return false;
  }
}

// Whether a road puts transparent areas on white: JPEG always, PNG unless
// transparency is kept.
bool flattensAlpha(OutputFormat format, const OutputOptions& options) {
  return format == OutputFormat::Jpeg || (format == OutputFormat::Png && !options.keepAlpha);
}

// Same as Original: what the decoder read the file as, not what its name
// says (a PNG named .jpg stays PNG); the name tells HEIC from AVIF only.
OutputFormat sameFormatOf(const codec::OpenedImage& input) {
  const std::string& loader = input.header().loader;
  if (loader == "jpegload") return OutputFormat::Jpeg;
  if (loader == "pngload") return OutputFormat::Png;
  if (loader == "webpload") return OutputFormat::Webp;
  if (loader == "heifload") {
    return lowerCaseExtension(input.path()) == "avif" ? OutputFormat::Avif : OutputFormat::Heic;
  }
  return OutputFormat::Png;
}

// The hidden file the output is written to, in the folder it goes to.
std::unique_ptr<StagedOutput> stagedIn(const fs::path& folder, OutputFormat format) {
  if (const auto error = FileService::ensureDirectory(folder)) {
    throw FileSystemError(
        QCoreApplication::translate("ConversionError", "Cannot create the output folder"), error);
  }
  return std::make_unique<StagedOutput>(folder, fileExtension(format));
}

QString joined(QStringList notes) {
  notes.removeAll(QString());
  return notes.join(QStringLiteral("; "));
}

// Lossless keeps what the pixels mean: the profile they are in, and their
// transparency.
EncodeSettings settingsAsEncoded(EncodeSettings settings) {
  if (settings.options.lossless) {
    settings.options.keepColorProfile = true;
    settings.options.keepAlpha = true;
  }
  return settings;
}

}  // namespace

ImageConverter::ImageConverter(ToolManager tools) : m_tools(std::move(tools)) {}

std::optional<QString> ImageConverter::startRefusal(const EncodeSettings& settings) const {
  const bool jxl = settings.autoFormat
                       ? settings.options.autoJpegXl
                       : !settings.sameFormat && settings.format == OutputFormat::Jxl;
  if (!jxl) return std::nullopt;
  try {
    m_tools.toolPath(QStringLiteral("cjxl"));
    if (settings.options.lossless) m_tools.toolPath(QStringLiteral("djxl"));
  } catch (const ToolManager::ToolError& missing) {
    //: %1 says which program is missing and where it was looked for
    return QCoreApplication::translate("ConversionError",
                                       "JPEG XL needs the programs of libjxl-tools: %1")
        .arg(missing.description());
  }
  return std::nullopt;
}

std::shared_ptr<PreparedInput> ImageConverter::prepareInput(const ConversionJob& job,
                                                            const CancellationToken& token) const {
  token.throwIfCancelled();
  if (const auto unavailable = losslessUnavailable(job.settings)) {
    throw LosslessError(*unavailable);
  }
  const EncodeSettings settings = settingsAsEncoded(job.settings);
  // Before any decoder or tool sees the file: a header claiming too many
  // pixels, or an output the format cannot hold, fails here.
  auto input = std::make_shared<const codec::OpenedImage>(openChecked(fs::absolute(job.input)));
  const codec::ImageHeader& header = input->header();
  const PixelSize size =
      fitSize(header.width, header.height, settings.maxWidth, settings.maxHeight);
  OutputFormat format = settings.sameFormat ? sameFormatOf(*input) : settings.format;
  if (settings.options.lossless) format = losslessFormat(format);
  if (!settings.autoFormat) checkFormatHolds(format, size);
  CarriedMetadata carried = carriedMetadata(*input, settings.options, size, token);
  if (!settings.autoFormat && format == OutputFormat::Jpeg) {
    leaveOutWhatJpegCannotHold(carried.metadata, carried.notes);
  }
  // Decoded once, when a road or the receipt first asks.
  return std::make_shared<PreparedInput>(std::move(input), job.settings, size, format,
                                         std::move(carried), token);
}

std::shared_ptr<PreparedInput> ImageConverter::prepare(const ConversionJob& job,
                                                       const CancellationToken& token) const {
  const ThreadResourcesGuard threadResources;
  auto prepared = prepareInput(job, token);
  prepared->inputs.pixels();
  return prepared;
}

EncodedImage ImageConverter::encode(const ConversionJob& job,
                                    const CancellationToken& token) const {
  token.throwIfCancelled();
  const ThreadResourcesGuard threadResources;
  const EncodeSettings settings = settingsAsEncoded(job.settings);
  // Tools get absolute paths only, so no file name can read as an option.
  const fs::path folder = fs::absolute(job.outputDirectory);
  const std::shared_ptr<PreparedInput> prepared =
      job.prepared && job.prepared->serves(job.settings) ? job.prepared : prepareInput(job, token);
  const std::shared_ptr<const codec::OpenedImage>& input = prepared->input;
  const PixelSize size = prepared->size;
  const OutputFormat format = prepared->format;
  const CarriedMetadata& carried = prepared->carried;
  ToolInputs& inputs = prepared->inputs;
  const bool keepHdr = keepsHdr(input->header(), format, settings);
  const RoadInput in{*input, size, carried.metadata, token, m_tools, inputs, keepHdr};

  EncodedImage encoded;
  encoded.input = input;
  QStringList notes = carried.notes;
  if (!keepHdr) notes << hdrNote(input->header());
  const std::optional<std::int64_t> limit = settings.options.maxFileSize;
  try {
    if (settings.autoFormat) {
      // The original is a candidate too, unless larger outputs are wanted anyway.
      const std::int64_t bound =
          settings.options.ifLarger == IfLarger::Write ? 0 : input->fileSize();
      AutoChoice choice = limit ? chooseFormatUnder(in, settings, bound, *limit)
                                : chooseFormat(in, settings, bound);
      encoded.staged = stagedIn(folder, choice.format);
      writeWholeFile(encoded.staged->path(), readWholeFile(choice.file.path()));
      encoded.format = choice.format;
      encoded.quality = choice.quality;
      encoded.chosen = true;
      encoded.score = choice.score;
      encoded.searchEncodes = choice.encodes;
      notes << choice.note;
      if (limit) {
        encoded.fits = choice.fits;
        // Auto's quality is its own pick either way: said as fitting.
        notes << (choice.fits ? fittedNote(choice.format, choice.quality, *limit, false)
                              : notFittedNote(kFitLowestQuality, *limit));
      }
    } else {
      encoded.staged = stagedIn(folder, format);
      encoded.format = format;
      encoded.quality = settings.quality;
      // The row says what each image became.
      encoded.chosen = settings.sameFormat;
      const EncodeRequest request{.quality = settings.quality,
                                  .options = settings.options,
                                  .output = encoded.staged->path()};
      // PNG's quality only sets the palette, and lossless has none: the
      // limit is only checked there.
      if (limit && !settings.options.lossless && format != OutputFormat::Png) {
        // From the quality asked for down; the trial that fits best is the output.
        FitResult fit = fitUnder(in, format, request, settings.quality, settings.quality, *limit);
        writeWholeFile(encoded.staged->path(), readWholeFile(fit.file.path()));
        encoded.quality = fit.quality;
        encoded.searchEncodes = fit.encodes;
        encoded.fits = fit.fits;
        notes << fit.note
              << (fit.fits ? fittedNote(format, fit.quality, *limit, fit.quality < settings.quality)
                           : notFittedNote(kFitLowestQuality, *limit));
      } else {
        notes << roadFor(format).encode(in, request);
        if (limit) {
          encoded.fits = sizeOf(encoded.staged->path()) <= *limit;
          if (!*encoded.fits) notes << notFittedWithoutQualityNote(*limit);
        }
      }
      const bool receipt = settings.options.checkQuality;
      verifyOutput(encoded.staged->path(), format, receipt || settings.options.lossless);
      if (settings.options.lossless) {
        // A JPEG recompressed to JPEG XL was checked by rebuilding the file.
        if (format != OutputFormat::Jxl || !jxlRecompressesJpeg(in, settings.options)) {
          checkEveryPixel(inputs.pixels(), encoded.staged->path(), in.keepProfile(), token);
        }
        if (receipt) encoded.score = 100.0;  // every pixel is the same
      } else if (receipt) {
        // Compared as encoded: on white where the road flattens.
        const bool srgb = judgedInSrgb(format, in.keepProfile(), false);
        const codec::RgbaImage& reference =
            srgb ? inputs.pixelsInSrgb()
                 : (flattensAlpha(format, settings.options) ? inputs.pixelsOnWhite()
                                                            : inputs.pixels());
        encoded.score =
            measuredScore(reference, encoded.staged->path(), in.keepProfile() && !srgb, token);
      }
    }
  } catch (const ConversionError& failure) {
    if (failure.kind() == ConversionError::Kind::ProcessExitedWithError &&
        (diskIsFull(folder) || temporaryDiskIsFull())) {
      throw FileSystemError(
          QCoreApplication::translate("ConversionError", "Cannot write the output file"),
          std::make_error_code(std::errc::no_space_on_device));
    }
    throw;
  }
  encoded.note = joined(notes);
  return encoded;
}

}  // namespace quorvane::core
