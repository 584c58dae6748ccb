#include "services/fit_under.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/output_check.h"

namespace quorvane::core {

namespace {

// What the first `count` trials know: the highest quality that fits (and
// its size), the lowest above it that does not; -1 and highest + 1 (size
// 0) where none is known.
struct Bracket {
  int fits = kFitLowestQuality - 1;
  std::int64_t fitsBytes = 0;
  int over = 0;
  std::int64_t overBytes = 0;
  int width() const { return over - fits; }
};

Bracket bracketOf(const std::vector<FitTrial>& trials, std::size_t count, int highest,
                  std::int64_t limit) {
  Bracket bracket;
  bracket.over = highest + 1;
  for (std::size_t i = 0; i < count; ++i) {
    if (trials[i].bytes <= limit && trials[i].quality > bracket.fits) {
      bracket.fits = trials[i].quality;
      bracket.fitsBytes = trials[i].bytes;
    }
  }
  // An encoder whose size fell as the quality rose: only what lies above
  // the best fit bounds it.
  for (std::size_t i = 0; i < count; ++i) {
    if (trials[i].bytes > limit && trials[i].quality > bracket.fits &&
        trials[i].quality < bracket.over) {
      bracket.over = trials[i].quality;
      bracket.overBytes = trials[i].bytes;
    }
  }
  return bracket;
}

}  // namespace

std::optional<int> nextFitQuality(const std::vector<FitTrial>& trials, int start, int highest,
                                  std::int64_t limit) {
  highest = std::clamp(highest, kFitLowestQuality, 100);
  if (trials.empty()) return std::clamp(start, kFitLowestQuality, highest);
  const Bracket now = bracketOf(trials, trials.size(), highest, limit);
  if (now.width() <= 1) return std::nullopt;  // found, or nothing fits at the lowest
  const int lo = now.fits;
  const int hi = now.over;
  int next = lo + (hi - lo) / 2;
  // Interpolated where both ends were measured, unless the last step did
  // not halve the bracket (then halved, so the search always ends soon).
  const bool measured = now.fitsBytes > 0 && now.overBytes > now.fitsBytes;
  const bool lastHalved =
      trials.size() < 2 ||
      now.width() * 2 <= bracketOf(trials, trials.size() - 1, highest, limit).width();
  if (measured && lastHalved) {
    const double share =
        (std::log(static_cast<double>(limit)) - std::log(static_cast<double>(now.fitsBytes))) /
        (std::log(static_cast<double>(now.overBytes)) -
         std::log(static_cast<double>(now.fitsBytes)));
    next = lo + static_cast<int>(std::floor(share * (hi - lo)));
  }
  return std::clamp(next, lo + 1, hi - 1);
}

FitResult fitUnder(const RoadInput& in, OutputFormat format, const EncodeRequest& request,
                   int start, int highest, std::int64_t limit) {
  struct Kept {
    int quality;
    TemporaryFile file;
    std::int64_t bytes;
    QString note;
  };
  std::optional<Kept> fitting;   // the highest quality that fits so far
  std::optional<Kept> smallest;  // while none does
  std::vector<FitTrial> trials;
  while (const auto quality = nextFitQuality(trials, start, highest, limit)) {
    in.token.throwIfCancelled();
    TemporaryFile file(fileExtension(format));
    EncodeRequest trial = request;
    trial.quality = *quality;
    trial.output = file.path();
    QString note = roadFor(format).encode(in, trial);
    const std::int64_t bytes = sizeOf(file.path());
    if (bytes <= 0) throw ConversionError::outputFileNotCreated();
    trials.push_back({*quality, bytes});
    if (bytes <= limit) {
      if (!fitting || *quality > fitting->quality) {
        fitting.emplace(Kept{*quality, std::move(file), bytes, std::move(note)});
      }
      smallest.reset();
    } else if (!fitting && (!smallest || bytes < smallest->bytes ||
                            (bytes == smallest->bytes && *quality < smallest->quality))) {
      // Of equal files (cjpeg makes 0 what it makes 1), the lower quality.
      smallest.emplace(Kept{*quality, std::move(file), bytes, std::move(note)});
    }
  }
  Kept& chosen = fitting ? *fitting : *smallest;
  return FitResult{chosen.quality,      std::move(chosen.file),          chosen.bytes,
                   fitting.has_value(), static_cast<int>(trials.size()), std::move(chosen.note)};
}

QString fittedNote(OutputFormat format, int quality, std::int64_t limit, bool lowered) {
  //: %1 is a format ("WebP"), %2 a quality (0-100), %3 a size ("200.0 kB")
  return (lowered ? QCoreApplication::translate("ConversionNote", "%1 at %2 to fit under %3")
                  : QCoreApplication::translate("ConversionNote", "%1 at %2 fits under %3"))
      .arg(displayName(format))
      .arg(quality)
      .arg(FileService::formatFileSize(limit));
}

QString notFittedNote(int lowestQuality, std::int64_t limit) {
  //: %1 is a size ("200.0 kB"), %2 the lowest quality (0)
  return QCoreApplication::translate("ConversionNote", "Does not fit under %1 even at quality %2")
      .arg(FileService::formatFileSize(limit))
      .arg(lowestQuality);
}

QString notFittedWithoutQualityNote(std::int64_t limit) {
  //: %1 is a size ("200.0 kB"); PNG and lossless outputs have no quality to lower
  return QCoreApplication::translate("ConversionNote",
                                     "Does not fit under %1: this format has no quality to lower")
      .arg(FileService::formatFileSize(limit));
}

std::optional<QString> sizeLimitCaveat(const EncodeSettings& settings) {
  if (!settings.options.maxFileSize) return std::nullopt;
  const QString limit = FileService::formatFileSize(*settings.options.maxFileSize);
  if (settings.options.lossless) {
    //: %1 is a size ("200.0 kB")
    return QCoreApplication::translate("ConversionNote",
                                       "Lossless outputs cannot be made smaller to fit under %1: "
                                       "each is written as usual, and one over it is marked as "
                                       "not fitting")
        .arg(limit);
  }
  if (settings.autoFormat) return std::nullopt;
  if (settings.sameFormat || settings.format == OutputFormat::Png) {
    //: %1 is a size ("200.0 kB")
    return QCoreApplication::translate("ConversionNote",
                                       "PNG outputs are not made smaller to fit under %1 (their "
                                       "quality only sets the palette): one over it is marked as "
                                       "not fitting")
        .arg(limit);
  }
  return std::nullopt;
}

}  // namespace quorvane::core
