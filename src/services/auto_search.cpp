#include "services/auto_search.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "codec/indexed_png.h"
#include "services/auto_format.h"
#include "services/conversion_errors.h"
#include "services/fit_under.h"
#include "services/format_limits.h"
#include "services/output_check.h"
#include "services/roads/road_support.h"
#include "services/roads/tool_inputs.h"

namespace quorvane::core {

namespace {

// What the candidates' trials are encoded with: transparency kept, so the
// score sees what the format makes of it.
OutputOptions trialOptions(const OutputOptions& options) {
  OutputOptions trial = options;
  trial.keepAlpha = true;
  return trial;
}

// One candidate encoded into a private temporary file and scored. Throws
// the format's failure.
AutoChoice encodeScored(const RoadInput& in, OutputFormat format, int quality,
                        const OutputOptions& options, bool quick = true) {
  TemporaryFile file(fileExtension(format));
  QString note = roadFor(format).encode(in, {.quality = quality,
                                             .options = trialOptions(options),
                                             .output = file.path(),
                                             .quick = quick});
  return scoredCandidate(in, format, quality, std::move(file), std::move(note), options);
}

// The formats whose trials are encoded with less effort than a plain
// conversion's (EncodeRequest::quick).
bool hasQuickerEffort(OutputFormat format) {
  return format == OutputFormat::Avif || format == OutputFormat::Jxl;
}

}  // namespace

AutoChoice scoredCandidate(const RoadInput& in, OutputFormat format, int quality,
                           TemporaryFile file, QString note, const OutputOptions& options) {
  verifyOutput(file.path(), format, /*decodedLater=*/true);
  const bool srgb = judgedInSrgb(format, in.keepProfile(), options.lossless);
  const auto score = measuredScore(srgb ? in.inputs.pixelsInSrgb() : in.inputs.pixels(),
                                   file.path(), in.keepProfile() && !srgb, in.token);
  if (!score) throw ConversionError::outputUnreadable();
  const std::int64_t bytes = sizeOf(file.path());
  return AutoChoice{.format = format,
                    .quality = quality,
                    .file = std::move(file),
                    .bytes = bytes,
                    .score = *score,
                    .note = std::move(note)};
}

std::vector<OutputFormat> autoCandidates(bool transparent, bool fewColours, bool jpegHoldsMetadata,
                                         bool jpegXl) {
  std::vector<OutputFormat> candidates = {OutputFormat::Avif};
  if (jpegXl) candidates.push_back(OutputFormat::Jxl);
  candidates.push_back(OutputFormat::Webp);
  if (!transparent && jpegHoldsMetadata) candidates.push_back(OutputFormat::Jpeg);
  if (transparent || fewColours) candidates.push_back(OutputFormat::Png);
  return candidates;
}

AutoChoice chooseFormat(const RoadInput& in, const EncodeSettings& settings,
                        std::int64_t inputSize) {
  const codec::RgbaImage& reference = in.inputs.pixels();
  const bool transparent = in.inputs.hasTransparency();
  // A palette holds the image exactly: PNG is then a candidate for photos too.
  const bool fewColours = codec::indexedIfFits(reference, 256).has_value();
  const double target = autoTargetScore(settings.quality);

  std::optional<AutoChoice> met;      // the smallest that meets the target
  std::optional<AutoChoice> closest;  // while none does
  std::exception_ptr firstFailure;
  int encodes = 0;
  // A JPEG cannot hold, in one segment, EXIF over 64 kB (nor the rest of
  // what jpegLeavesOut lists), which the other candidates keep.
  const bool jpegHoldsMetadata = codec::jpegLeavesOut(in.carried).empty();
  for (const OutputFormat format :
       autoCandidates(transparent, fewColours, jpegHoldsMetadata, settings.options.autoJpegXl)) {
    if (!formatHolds(format, in.size)) {
      try {
        checkFormatHolds(format, in.size);
      } catch (const ConversionFailure&) {
        if (!firstFailure) firstFailure = std::current_exception();
      }
      continue;
    }
    // What is not smaller than the original (or the best so far) cannot win.
    const auto beatable = [&]() -> std::optional<std::int64_t> {
      if (met) return inputSize > 0 ? std::min<std::int64_t>(met->bytes, inputSize) : met->bytes;
      return inputSize > 0 ? std::optional<std::int64_t>(inputSize) : std::nullopt;
    };
    std::vector<AutoTrial> trials;
    const int start = autoStartQuality(format, target);
    while (const auto quality =
               nextAutoQuality(trials, target, start, beatable(), autoResolution(format))) {
      in.token.throwIfCancelled();
      // Neighbouring AVIF qualities may share a quantizer: the same file.
      const auto alike = std::find_if(trials.begin(), trials.end(), [&](const AutoTrial& trial) {
        return format == OutputFormat::Avif &&
               avifQuantizer(trial.quality) == avifQuantizer(*quality);
      });
      if (alike != trials.end()) {
        trials.push_back({*quality, alike->bytes, alike->score});
        continue;
      }
      std::optional<AutoChoice> choice;
      try {
        ++encodes;
        choice.emplace(encodeScored(in, format, *quality, settings.options));
      } catch (const CancellationError&) {
        throw;
      } catch (const ConversionFailure&) {
        // Its tool failed: the others may still do.
        if (!firstFailure) firstFailure = std::current_exception();
        break;
      }
      trials.push_back({*quality, choice->bytes, choice->score});
      const std::optional<std::int64_t> best = beatable();
      // A format that comes after a winner is searched further only where
      // its file at the usual quality is smaller than the winner's.
      const bool outrun = met && trials.size() == 1 && best && choice->bytes >= *best;
      if (choice->score >= target) {
        if (!met || choice->bytes < met->bytes) met.emplace(std::move(*choice));
      } else if (!met && (!closest || choice->score > closest->score)) {
        closest.emplace(std::move(*choice));
      }
      // A palette that holds every colour is exact at any quality.
      if (outrun || (format == OutputFormat::Png && fewColours)) break;
    }
  }
  if (met && settings.options.autoBestEffort && hasQuickerEffort(met->format)) {
    // One encode more, never a series: the chosen quality with the
    // encoder's thorough setting, kept when it also meets the target in
    // fewer bytes.
    in.token.throwIfCancelled();
    try {
      ++encodes;
      AutoChoice thorough =
          encodeScored(in, met->format, met->quality, settings.options, /*quick=*/false);
      if (thorough.score >= target && thorough.bytes < met->bytes) met.emplace(std::move(thorough));
    } catch (const CancellationError&) {
      throw;
    } catch (const ConversionFailure&) {
      // The quick file stands.
    }
  }
  if (met || closest) {
    AutoChoice chosen = std::move(met ? *met : *closest);
    chosen.encodes = encodes;
    return chosen;
  }
  if (firstFailure) std::rethrow_exception(firstFailure);
  throw ConversionError::outputFileNotCreated();
}

AutoChoice chooseFormatUnder(const RoadInput& in, const EncodeSettings& settings,
                             std::int64_t inputSize, std::int64_t limit) {
  AutoChoice choice = chooseFormat(in, settings, inputSize);
  if (choice.bytes <= limit) return choice;
  int encodes = choice.encodes;
  const double target = autoTargetScore(settings.quality);
  const bool jpegHoldsMetadata = codec::jpegLeavesOut(in.carried).empty();
  std::optional<AutoChoice> best;  // of those that fit, the one that looks best
  std::optional<FitResult> smallest;
  OutputFormat smallestFormat = OutputFormat::Webp;
  for (const OutputFormat format : autoCandidates(in.inputs.hasTransparency(), false,
                                                  jpegHoldsMetadata, settings.options.autoJpegXl)) {
    if (!formatHolds(format, in.size)) continue;
    std::optional<FitResult> fit;
    try {
      fit.emplace(fitUnder(in, format,
                           {.options = trialOptions(settings.options), .output = {}, .quick = true},
                           autoStartQuality(format, target), kAutoHighestQuality, limit));
    } catch (const CancellationError&) {
      throw;
    } catch (const ConversionFailure&) {
      continue;  // chooseFormat has reported what failed, if all did
    }
    encodes += fit->encodes;
    if (fit->fits) {
      AutoChoice scored = scoredCandidate(in, format, fit->quality, std::move(fit->file),
                                          std::move(fit->note), settings.options);
      if (!best || scored.score > best->score) best.emplace(std::move(scored));
    } else if (!best && (!smallest || fit->bytes < smallest->bytes)) {
      smallestFormat = format;
      smallest.emplace(std::move(*fit));
    }
  }
  if (best) {
    best->encodes = encodes;
    return std::move(*best);
  }
  choice.fits = false;
  choice.encodes = encodes;
  if (!smallest || smallest->bytes >= choice.bytes) return choice;
  AutoChoice least =
      scoredCandidate(in, smallestFormat, smallest->quality, std::move(smallest->file),
                      std::move(smallest->note), settings.options);
  least.fits = false;
  least.encodes = encodes;
  return least;
}

}  // namespace quorvane::core
