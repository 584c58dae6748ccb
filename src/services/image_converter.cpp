#include "services/image_converter.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <QCoreApplication>
#include <QLocale>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string_view>

#include "codec/indexed_png.h"
#include "codec/perceptual_score.h"
#include "models/conversion_settings.h"
#include "services/carried_metadata.h"
#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/png_quantizer.h"
#include "services/process_runner.h"
#include "services/staged_output.h"
#include "services/temporary_files.h"
#include "services/tool_version.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

// Largest side cwebp reads or writes.
constexpr int kWebPMaxSide = 16383;
// Largest side libjpeg stores.
constexpr int kJpegMaxSide = 65500;
// What libheif with x265 writes so that it reads back (measured on Debian
// 12): a 16384-wide picture decodes only at some heights, wider ones never;
// from 4217 pixels on the long side, a short side under 32 gives a file no
// reader opens.
constexpr FormatLimits kHeicLimits{.maxSide = 16383, .longSideFrom = 4217, .shortSideFrom = 32};
// avifenc writes wider images, but libheif, and with it libvips and most
// image viewers on Linux, does not read them.
constexpr FormatLimits kAvifLimits{.maxSide = 16384};

std::string decimal(int value) {
  return std::to_string(value);
}

QString transparencyFilledNote() {
  //: shown under a converted image that had transparent areas
  return QCoreApplication::translate("ConversionNote", "Transparent areas filled with white");
}

std::string readWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.good() && !in.eof()) throw ConversionError::outputUnreadable();
  return bytes;
}

void writeOutput(const fs::path& path, std::string_view bytes) {
  if (auto written = codec::writeBytes(path, bytes); !written) {
    throwCodecFailure(written.error(), QCoreApplication::translate("ConversionError",
                                                                   "Cannot write the output file"));
  }
}

// The kept metadata blocks as temporary files, for the tools that take them
// so, each with the option that names it.
struct MetadataFiles {
  explicit MetadataFiles(const codec::Metadata& metadata) {
    add("--exif", QStringLiteral("exif"), metadata.exif);
    add("--xmp", QStringLiteral("xmp"), metadata.xmp);
    add("--icc", QStringLiteral("icc"), metadata.icc);
  }
  void add(const char* option, const QString& ext, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return;
    TemporaryFile file(ext);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (auto written = codec::writeBytes(file.path(), text); !written) {
      throwCodecFailure(written.error(), QCoreApplication::translate(
                                             "ConversionError", "Cannot write a temporary file"));
    }
    files.emplace_back(option, std::move(file));
  }
  std::vector<std::pair<std::string, TemporaryFile>> files;
};

// Whether the job gives a maximum width or height.
bool hasBound(const ConversionJob& job) {
  return job.maxWidth.value_or(0) >= 1 || job.maxHeight.value_or(0) >= 1;
}

// Frees libvips' per-thread buffers when a conversion ends on a pool thread.
struct ThreadResourcesGuard {
  ~ThreadResourcesGuard() { codec::releaseThreadResources(); }
};

}  // namespace

ImageConverter::ImageConverter(ToolManager tools) : m_tools(std::move(tools)) {}

// One conversion's fixed facts, shared by the road that encodes it.
struct ImageConverter::Road {
  const ConversionJob& job;
  const codec::ImageHeader& header;
  PixelSize size;                // of the output
  std::filesystem::path output;  // the staged file to write
  const CancellationToken& token;
  const codec::Metadata& carried;  // what the output carries; empty: nothing
  QString* note;                   // what the road has to say beside its output
  // For Auto, which encodes each candidate several times: less effort
  // where it saves much time for a few per cent of size (AVIF, ~5x faster).
  bool quick = false;
  // The input decoded and fitted (upright, converted, at `size`), when the
  // conversion decoded it once for the road and the receipt (or for every
  // Auto trial). Roads that decode read it instead; none changes it.
  const codec::RgbaImage* image = nullptr;
  bool keepProfile() const { return !carried.icc.empty(); }
  // The decoded input: the shared copy, or one decoded into `own`.
  const codec::RgbaImage& decoded(std::optional<codec::RgbaImage>& own) const {
    if (image) return *image;
    return own.emplace(decodeFitted(job.input, size, token, keepProfile()));
  }
};

PixelSize ImageConverter::fitSize(int origWidth, int origHeight, std::optional<int> maxWidth,
                                  std::optional<int> maxHeight) {
  return core::fitSize(origWidth, origHeight, maxWidth, maxHeight);
}

int ImageConverter::avifQuantizer(int quality) {
  const int q =
      static_cast<int>(static_cast<double>(100 - static_cast<long long>(quality)) / 100 * 63);
  return std::clamp(q, 0, 63);
}

FormatLimits ImageConverter::limitsOf(OutputFormat format) {
  switch (format) {
    case OutputFormat::Webp:
      return {.maxSide = kWebPMaxSide};
    case OutputFormat::Jpeg:
      return {.maxSide = kJpegMaxSide};
    case OutputFormat::Png:
      return {};
    case OutputFormat::Heic:
      return kHeicLimits;
    case OutputFormat::Avif:
      return kAvifLimits;
  }
  return {};
}

void ImageConverter::checkFormatHolds(OutputFormat format, PixelSize size) {
  const FormatLimits limits = limitsOf(format);
  const QLocale locale;
  const auto number = [&locale](int n) { return locale.toString(n); };
  const int longSide = std::max(size.width, size.height);
  const int shortSide = std::min(size.width, size.height);
  QString limit;
  if (limits.maxSide > 0 && longSide > limits.maxSide) {
    //: why a format cannot hold an image, e.g. "its sides are at most 16,383 pixels"
    limit = QCoreApplication::translate("ConversionError", "its sides are at most %1 pixels")
                .arg(number(limits.maxSide));
  } else if (limits.longSideFrom > 0 && longSide >= limits.longSideFrom &&
             shortSide < limits.shortSideFrom) {
    //: why a format cannot hold an image
    limit = QCoreApplication::translate(
                "ConversionError",
                "it needs a short side of %1 pixels or more once the long side reaches %2")
                .arg(number(limits.shortSideFrom), number(limits.longSideFrom));
  } else {
    return;
  }
  throw ConversionError::sizeNotSupported(displayName(format), size.width, size.height, limit);
}

const ToolInputRule& ImageConverter::avifencInput() {
  static const ToolInputRule rule{{"png", "jpg", "jpeg"}, {"pngload", "jpegload"}, 0};
  return rule;
}

PreparedInput ImageConverter::prepareInputForTool(
    const fs::path& input, const codec::ImageHeader& h, const ToolInputRule& rule, bool allowDirect,
    PixelSize intermediateSize, const CancellationToken& token, bool keepProfile) {
  if (allowDirect && rule.extensions.count(lowerCaseExtension(input))) {
    // The tools ignore orientation and colour profiles and cannot read every
    // variant of their formats, so only a plain image goes to them as it is.
    const bool plain =
        rule.loaders.count(h.loader) && h.frameCount == 1 && h.orientation == 1 &&
        h.bitsPerSample == 8 &&
        (h.colourModel == codec::ColourModel::Srgb || h.colourModel == codec::ColourModel::Grey) &&
        (!h.hasIccProfile || h.iccProfileIsSrgb) &&
        (rule.maxSide == 0 || (h.width <= rule.maxSide && h.height <= rule.maxSide));
    if (plain && codec::verifyComplete(input)) return PreparedInput{input, std::nullopt};
  }
  return pngIntermediate(decodeFitted(input, intermediateSize, token, keepProfile));
}

PreparedInput ImageConverter::pngIntermediate(const codec::RgbaImage& image) {
  TemporaryFile temp(QStringLiteral("png"));
  if (auto written = codec::writePng(image, temp.path()); !written) {
    throwCodecFailure(written.error(), QCoreApplication::translate(
                                           "ConversionError", "Cannot write a temporary file"));
  }
  fs::path url = temp.path();
  return PreparedInput{std::move(url), std::move(temp)};
}

template <typename RunTool>
void ImageConverter::withToolInput(const Road& road, const ToolInputRule& rule,
                                   PixelSize intermediateSize, RunTool&& runTool) const {
  PreparedInput prepared = prepareInputForTool(road.job.input, road.header, rule, true,
                                               intermediateSize, road.token, road.keepProfile());
  if (prepared.tempFile) {
    runTool(prepared.url);
    return;
  }
  try {
    runTool(prepared.url);
  } catch (const ConversionError& refused) {
    if (refused.kind() != ConversionError::Kind::ProcessExitedWithError) throw;
    // Tools are stricter than our decoder about damage that leaves every
    // pixel readable (a bad checksum, a missing end chunk): what we can
    // decode, we hand over decoded.
    road.token.throwIfCancelled();
    PreparedInput decoded = prepareInputForTool(road.job.input, road.header, rule, false,
                                                intermediateSize, road.token, road.keepProfile());
    runTool(decoded.url);
  }
}

void ImageConverter::convertToWebP(const Road& road) const {
  const fs::path tool = m_tools.toolPath(QStringLiteral("cwebp"));
  // cwebp reads our decoded pixels from a pipe: upright, in sRGB (or the
  // kept profile), fitted by the same filter as every other road, and
  // exactly what the receipt compares the output with.
  std::optional<codec::RgbaImage> own;
  const codec::RgbaImage& image = road.decoded(own);
  const std::string header = codec::pamHeader(image);
  const std::string_view pixels(reinterpret_cast<const char*>(image.data()), image.byteSize());
  runProcess(tool,
             {"-q", decimal(road.job.quality), "-m", "6", "-o", road.output.native(), "--", "-"},
             road.token, {.input = {header, pixels}});
  if (road.carried.empty()) return;
  // cwebp copies nothing by default; what is kept goes into the container.
  const std::string written = readWholeFile(road.output);
  const std::string carrying = codec::webpWithMetadata(written, road.carried);
  if (carrying.empty()) throw ConversionError::outputUnreadable();
  writeOutput(road.output, carrying);
}

void ImageConverter::convertToJPEG(const Road& road) const {
  const fs::path tool = m_tools.toolPath(QStringLiteral("cjpeg"));
  TemporaryFile tga(QStringLiteral("tga"));
  {
    std::optional<codec::RgbaImage> own;
    const codec::RgbaImage* image = &road.decoded(own);
    // JPEG has no alpha: what lies under transparent pixels would show, so
    // flatten onto white first (a copy, when the decoded image is shared).
    if (codec::hasTransparency(*image)) {
      *road.note = transparencyFilledNote();
      if (!own) own.emplace(image->clone());
      codec::flattenOnto(*own, 255, 255, 255);
      image = &*own;
    }
    if (auto written = codec::writeTga(*image, tga.path()); !written) {
      throwCodecFailure(written.error(), QCoreApplication::translate(
                                             "ConversionError", "Cannot write a temporary file"));
    }
  }
  road.token.throwIfCancelled();
  const std::string jpeg = runProcess(tool,
                                      {"-quality", decimal(road.job.quality), "-optimize",
                                       "-progressive", "-targa", tga.path().native()},
                                      road.token, {.captureStdout = true});
  if (road.carried.empty()) {
    writeOutput(road.output, jpeg);
    return;
  }
  const std::string carrying = codec::jpegWithMetadata(jpeg, road.carried);
  if (carrying.empty()) throw ConversionError::outputUnreadable();
  writeOutput(road.output, carrying);
}

void ImageConverter::convertToPNG(const Road& road) const {
  const bool filled = PNGQuantizer::quantize(
      road.job.input, road.output, road.job.quality, road.size, road.token,
      road.carried.empty() ? nullptr : &road.carried, road.job.options.keepAlpha);
  if (filled) *road.note = transparencyFilledNote();
  if (!m_tools.isToolAvailable(QStringLiteral("oxipng"))) return;
  const fs::path tool = m_tools.toolPath(QStringLiteral("oxipng"));
  // The file holds only what we put in: what is to be kept stays.
  std::vector<std::string> arguments = {"-o", "4"};
  if (road.carried.exif.empty() && road.carried.xmp.empty()) {
    arguments.insert(arguments.end(), {"--strip", "safe"});
  }
  arguments.push_back(road.output.native());
  runProcess(tool, arguments, road.token);
}

void ImageConverter::convertToHEIC(const Road& road) const {
  // The encoder runs in a helper process of ours: a call into the HEVC
  // encoder cannot be interrupted, a process can.
  const fs::path tool = m_tools.toolPath(QStringLiteral("quorvane-heic"));
  TemporaryFile pixels(QStringLiteral("rgba"));
  {
    std::optional<codec::RgbaImage> own;
    const codec::RgbaImage& image = road.decoded(own);
    if (auto written = codec::writeRawRgba(image, pixels.path()); !written) {
      throwCodecFailure(written.error(), QCoreApplication::translate(
                                             "ConversionError", "Cannot write a temporary file"));
    }
  }
  road.token.throwIfCancelled();
  std::vector<std::string> arguments;
  const MetadataFiles blocks(road.carried);
  for (const auto& [option, file] : blocks.files) {
    arguments.insert(arguments.end(), {option, file.path().native()});
  }
  arguments.insert(arguments.end(),
                   {decimal(road.job.quality), pixels.path().native(), road.output.native()});
  runProcess(tool, arguments, road.token);
}

void ImageConverter::convertToAVIF(const Road& road) const {
  const fs::path tool = m_tools.toolPath(QStringLiteral("avifenc"));
  // avifenc cannot scale: a bounded image is always shrunk on our side.
  const bool bounded = hasBound(road.job);
  // One worker thread, as avifenc 0.11 has by default and 1.x not: each
  // conversion is one of the batch's slots, and the output does not depend
  // on thread timing.
  std::vector<std::string> arguments =
      avifQuantizerArguments(avifQuantizer(road.job.quality), toolVersion(tool, road.token));
  arguments.insert(arguments.end(), {"--speed", road.quick ? "6" : "4", "--jobs", "1"});
  // avifenc copies the metadata of a file it reads: only what is kept may
  // reach the output.
  const MetadataFiles blocks(road.carried);
  for (const char* kind : {"exif", "xmp", "icc"}) {
    const auto given =
        std::find_if(blocks.files.begin(), blocks.files.end(),
                     [&](const auto& file) { return file.first == "--" + std::string(kind); });
    if (given != blocks.files.end()) {
      arguments.insert(arguments.end(), {given->first, given->second.path().native()});
    } else {
      arguments.push_back("--ignore-" + std::string(kind));
    }
  }
  const auto run = [&](const fs::path& input) {
    std::vector<std::string> all = arguments;
    all.insert(all.end(), {input.native(), road.output.native()});
    runProcess(tool, all, road.token);
  };
  if (bounded) {
    std::optional<codec::RgbaImage> own;
    const PreparedInput prepared = pngIntermediate(road.decoded(own));
    run(prepared.url);
  } else {
    withToolInput(road, avifencInput(), road.size, run);
  }
}

void ImageConverter::encode(const Road& road) const {
  switch (road.job.format) {
    case OutputFormat::Webp:
      convertToWebP(road);
      break;
    case OutputFormat::Jpeg:
      convertToJPEG(road);
      break;
    case OutputFormat::Png:
      convertToPNG(road);
      break;
    case OutputFormat::Heic:
      convertToHEIC(road);
      break;
    case OutputFormat::Avif:
      convertToAVIF(road);
      break;
  }
}

namespace {

// "Written" means a file that reads back as an image: a tool that exits 0
// having written nothing, or something no reader opens, has failed. HEIC and
// AVIF are decoded in full: their encoders have been seen to write files
// whose header reads but whose pixels do not.
void verifyOutput(const fs::path& output, OutputFormat format) {
  std::error_code error;
  if (fs::file_size(output, error) == 0 || error) throw ConversionError::outputFileNotCreated();
  const bool readsBack = format == OutputFormat::Heic || format == OutputFormat::Avif
                             ? codec::decodesCompletely(output)
                             : codec::readHeader(output).ok();
  if (!readsBack) throw ConversionError::outputUnreadable();
}

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

}  // namespace

namespace {

// Why an output is not kept under a minimum saving, or nothing when it is.
std::optional<QString> notKeptReason(qint64 inputSize, qint64 outputSize, int minSaving) {
  if (inputSize <= 0) return std::nullopt;
  if (outputSize >= inputSize) {
    const qint64 larger = ((outputSize - inputSize) * 100 + inputSize - 1) / inputSize;
    if (larger == 0) {
      return QCoreApplication::translate("ConversionNote",
                                         "Skipped: not smaller than the original");
    }
    //: %1 is a whole percentage
    return QCoreApplication::translate("ConversionNote", "Skipped: %1% larger than the original")
        .arg(larger);
  }
  if ((inputSize - outputSize) * 100 >= qint64{minSaving} * inputSize) return std::nullopt;
  const qint64 saved = (inputSize - outputSize) * 100 / inputSize;
  //: %1 is the saving, %2 the minimum asked for, both whole percentages
  return QCoreApplication::translate("ConversionNote", "Skipped: only %1% smaller, minimum %2%")
      .arg(saved)
      .arg(minSaving);
}

// Whether a road puts transparent areas on white: JPEG always, PNG unless
// transparency is kept.
bool flattensAlpha(const ConversionJob& job) {
  return job.format == OutputFormat::Jpeg ||
         (job.format == OutputFormat::Png && !job.options.keepAlpha);
}

// Whether a road encodes from our own decode of the input (the others hand
// the file to a tool as it is, or decode it their own way).
bool roadDecodes(const ConversionJob& job) {
  switch (job.format) {
    case OutputFormat::Webp:
    case OutputFormat::Jpeg:
    case OutputFormat::Heic:
      return true;
    case OutputFormat::Avif:
      return hasBound(job);
    case OutputFormat::Png:
      return false;
  }
  return false;
}

// The perceptual score of a written output against the reference, at full
// size. Absent when it cannot be measured (an image too small to judge, one
// that does not decode): the output stands all the same. Throws
// CancellationError once cancelled.
std::optional<double> measuredScore(const codec::RgbaImage* reference, const fs::path& output,
                                    bool keepProfile, const CancellationToken& token) {
  token.throwIfCancelled();
  if (!reference) return std::nullopt;
  try {
    const codec::RgbaImage candidate =
        decodeFitted(output, {reference->width(), reference->height()}, token, keepProfile);
    const auto score =
        codec::perceptualScore(*reference, candidate, {.stopRequested = stopRequestedBy(token)});
    token.throwIfCancelled();
    if (score) return score.value();
  } catch (const CancellationError&) {
    throw;
  } catch (const ConversionFailure&) {
  } catch (const std::bad_alloc&) {
  }
  return std::nullopt;
}

qint64 sizeOf(const fs::path& file) {
  std::error_code error;
  const auto size = fs::file_size(file, error);
  return error ? 0 : static_cast<qint64>(size);
}

// Whether the image has few enough colours for a palette to hold it
// exactly: counted on the reference when it is full size, else on a full
// decode of lossless inputs (photos are not worth the decode).
bool fitsPalette(const ConversionJob& job, const codec::ImageHeader& header,
                 const codec::RgbaImage& reference, PixelSize size, bool keepProfile,
                 const CancellationToken& token) {
  if (reference.width() == size.width && reference.height() == size.height) {
    return codec::indexedIfFits(reference, 256).has_value();
  }
  if (header.loader != "pngload" && header.loader != "gifload") return false;
  return codec::indexedIfFits(decodeFitted(job.input, size, token, keepProfile), 256).has_value();
}

}  // namespace

struct ImageConverter::AutoChoice {
  OutputFormat format = OutputFormat::Webp;
  int quality = 0;
  std::optional<TemporaryFile> file;
  std::int64_t bytes = 0;
  double score = 0;
};

ImageConverter::AutoChoice ImageConverter::chooseFormat(
    const ConversionJob& job, const codec::ImageHeader& header, PixelSize size,
    const codec::Metadata& carried, const CancellationToken& token, AutoStartPoints* starts) const {
  const bool keepProfile = !carried.icc.empty();
  const codec::RgbaImage reference = decodeFitted(job.input, size, token, keepProfile);
  const bool transparent = codec::hasTransparency(reference);
  const bool fewColours = fitsPalette(job, header, reference, size, keepProfile, token);
  const double target = autoTargetScore(job.quality);
  // JPEG cannot hold transparency; AVIF, the slowest, comes last so the
  // others' sizes can cut its search short.
  std::vector<OutputFormat> candidates = {OutputFormat::Webp};
  // Nor, in one segment, EXIF over 64 kB (and the rest of what jpegLeavesOut
  // lists), which the other candidates keep.
  if (!transparent && codec::jpegLeavesOut(carried).empty()) {
    candidates.push_back(OutputFormat::Jpeg);
  }
  if (transparent || fewColours) candidates.push_back(OutputFormat::Png);
  candidates.push_back(OutputFormat::Avif);

  // One candidate: encoded into a private temporary file and scored.
  // Throws the format's failure.
  const auto encodeScored = [&](const ConversionJob& trial, bool quick) {
    TemporaryFile file(fileExtension(trial.format));
    QString note;
    Road road{trial, header, size, file.path(), token, carried, &note, quick};
    road.image = &reference;
    encode(road);
    verifyOutput(file.path(), trial.format);
    const auto score = measuredScore(&reference, file.path(), keepProfile, token);
    if (!score) throw ConversionError::outputUnreadable();
    const std::int64_t bytes = sizeOf(file.path());
    return AutoChoice{trial.format, trial.quality, std::move(file), bytes, *score};
  };

  std::optional<AutoChoice> met;      // the smallest that meets the target
  std::optional<AutoChoice> closest;  // while none does
  std::exception_ptr firstFailure;
  for (const OutputFormat format : candidates) {
    std::vector<AutoTrial> trials;
    const int start = starts ? starts->startFor(format) : kAutoStartQuality;
    std::optional<int> lowestMet;
    while (const auto quality = nextAutoQuality(trials, target, start,
                                                met ? std::optional(met->bytes) : std::nullopt)) {
      token.throwIfCancelled();
      ConversionJob trial = job;
      trial.format = format;
      trial.quality = *quality;
      trial.options.keepAlpha = true;
      std::optional<AutoChoice> choice;
      try {
        checkFormatHolds(format, size);
        choice.emplace(encodeScored(trial, format == OutputFormat::Avif));
      } catch (const CancellationError&) {
        throw;
      } catch (const ConversionFailure&) {
        // This format cannot hold the image, or its tool failed: the
        // others may still do.
        if (!firstFailure) firstFailure = std::current_exception();
        break;
      }
      trials.push_back({*quality, choice->bytes, choice->score});
      if (choice->score >= target) {
        lowestMet = std::min(lowestMet.value_or(*quality), *quality);
        if (!met || choice->bytes < met->bytes) met.emplace(std::move(*choice));
      } else if (!met && (!closest || choice->score > closest->score)) {
        closest.emplace(std::move(*choice));
      }
      // A palette that holds every colour is exact at any quality.
      if (format == OutputFormat::Png && fewColours) break;
    }
    if (starts && lowestMet) starts->remember(format, *lowestMet);
  }
  // AVIF was searched with less effort: with full effort it looks the same
  // at a lower quality. Step down from the winner's while that holds (its
  // own quality when the first step already misses).
  if (met && met->format == OutputFormat::Avif) {
    const int searched = met->quality;
    int quality = searched - kAutoFullEffortStep;
    for (int encodes = 0; encodes < kAutoFullEffortEncodes && quality >= kAutoLowestQuality;
         ++encodes) {
      ConversionJob full = job;
      full.format = OutputFormat::Avif;
      full.quality = quality;
      std::optional<AutoChoice> choice;
      try {
        choice.emplace(encodeScored(full, false));
      } catch (const CancellationError&) {
        throw;
      } catch (const ConversionFailure&) {
        break;  // the quick one stands
      }
      if (choice->score >= target && choice->bytes < met->bytes) {
        met.emplace(std::move(*choice));
        if (quality == searched) break;  // the step below it already missed
        quality -= kAutoFullEffortStep;
      } else if (quality < searched && met->quality == searched) {
        quality = searched;  // the step missed: the winner's own quality, once
      } else {
        break;
      }
    }
  }
  if (met) return std::move(*met);
  if (closest) return std::move(*closest);
  if (firstFailure) std::rethrow_exception(firstFailure);
  throw ConversionError::outputFileNotCreated();
}

ConversionResult ImageConverter::convert(const ConversionJob& request,
                                         const CancellationToken& token,
                                         const BatchContext& batch) const {
  token.throwIfCancelled();
  const ThreadResourcesGuard threadResources;
  OutputNameReservations* const reservations = batch.reservations;
  // Tools get absolute paths only, so no file name can read as an option.
  ConversionJob job = request;
  job.input = fs::absolute(job.input);
  job.outputDirectory = fs::absolute(job.outputDirectory);
  const fs::path outputFolder =
      job.customOutputURL ? fs::absolute(*job.customOutputURL).parent_path() : job.outputDirectory;

  // An input converted before with the same settings, whose output is still
  // there, is left alone.
  ConversionLedger* const ledger = job.options.skipConverted ? batch.ledger : nullptr;
  QByteArray contentHash;
  const QByteArray settings = ConversionLedger::settingsFingerprint(
      job.format, job.quality, job.maxWidth, job.maxHeight, job.options, job.autoFormat);
  if (ledger) {
    contentHash = ConversionLedger::contentHash(job.input);
    if (!contentHash.isEmpty()) {
      if (const auto earlier = ledger->find(outputFolder, contentHash, settings)) {
        return {ConversionResult::Kind::AlreadyConverted,
                outputFolder / earlier->output,
                earlier->outputSize,
                {}};
      }
    }
  }

  // Before any decoder or tool sees the file: a header claiming too many
  // pixels, or an output the format cannot hold, fails here.
  const codec::ImageHeader header = readCheckedHeader(job.input);
  const PixelSize size = fitSize(header.width, header.height, job.maxWidth, job.maxHeight);
  if (!job.autoFormat) checkFormatHolds(job.format, size);
  const CarriedMetadata carried = carriedMetadata(job, header, size, token);
  std::optional<AutoChoice> chosen;
  if (job.autoFormat) {
    chosen.emplace(chooseFormat(job, header, size, carried.metadata, token, batch.autoStarts));
    job.format = chosen->format;
    job.quality = chosen->quality;
    job.options.keepAlpha = true;
    // A custom name was numbered before the format was known.
    if (job.customOutputURL)
      job.customOutputURL->replace_extension(fileExtension(job.format).toStdString());
  }
  const QString ext = fileExtension(job.format);

  fs::path desired;
  if (job.customOutputURL) {
    desired = fs::absolute(*job.customOutputURL);
    if (reservations) reservations->reserve(desired);
  } else if (reservations) {
    desired = reservations->reserveUnique(job.outputDirectory, job.input.stem(), ext);
  } else {
    desired = FileService::uniqueOutputURL(job.outputDirectory, job.input.stem(), ext);
  }

  if (const auto error = FileService::ensureDirectory(job.outputDirectory)) {
    throw FileSystemError(
        QCoreApplication::translate("ConversionError", "Cannot create the output folder"), error);
  }
  const fs::path folder = desired.parent_path();
  if (!reservations || reservations->isFirstUseOf(folder)) removeAbandonedStagingFiles(folder);
  StagedOutput staged(folder, ext);
  QString roadNote;
  Road road{job, header, size, staged.path(), token, carried.metadata, &roadNote};
  // Decoded once: the roads that decode encode it, and the receipt compares
  // the output with it.
  std::optional<codec::RgbaImage> decoded;
  if (!chosen && (roadDecodes(job) || job.options.checkQuality)) {
    decoded.emplace(decodeFitted(job.input, size, token, road.keepProfile()));
    road.image = &*decoded;
  }
  try {
    if (chosen) {
      writeOutput(staged.path(), readWholeFile(chosen->file->path()));
    } else {
      encode(road);
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
  verifyOutput(staged.path(), job.format);
  const qint64 inputSize = sizeOf(job.input);
  const qint64 outputSize = sizeOf(staged.path());
  if (job.options.minSaving) {
    if (auto reason = notKeptReason(inputSize, outputSize, *job.options.minSaving)) {
      token.throwIfCancelled();
      return {ConversionResult::Kind::NotKept, {}, outputSize, std::move(*reason)};
    }
  }
  std::optional<double> score;
  if (chosen) score = chosen->score;
  if (decoded && job.options.checkQuality) {
    // Compared as encoded: on white where the road flattens.
    if (flattensAlpha(job)) codec::flattenOnto(*decoded, 255, 255, 255);
    score = measuredScore(&*decoded, staged.path(), road.keepProfile(), token);
  }
  fs::path published;
  token.runUnlessCancelled([&] { published = staged.publish(desired, reservations); });
  QStringList notes = carried.notes;
  if (!roadNote.isEmpty()) notes << roadNote;
  ConversionResult result{ConversionResult::Kind::Written, published, outputSize,
                          notes.join(QStringLiteral("; ")), score};
  if (chosen) {
    result.chosenFormat = chosen->format;
    result.chosenQuality = chosen->quality;
  }
  std::error_code error;
  if (job.options.keepFileDates) {
    const auto modified = fs::last_write_time(job.input, error);
    if (!error) fs::last_write_time(published, modified, error);
    if (error) {
      //: shown under a converted image
      result.reason =
          QCoreApplication::translate("ConversionNote", "The file date could not be kept: %1")
              .arg(QString::fromLocal8Bit(error.message()));
    }
  }
  if (ledger && !contentHash.isEmpty()) {
    struct stat info {};
    const bool known = ::stat(job.input.c_str(), &info) == 0;
    ledger->record(
        outputFolder,
        {job.input.native(), inputSize,
         known ? qint64{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec : 0,
         contentHash, settings, fs::relative(published, outputFolder).native(), outputSize});
  }
  return result;
}

}  // namespace quorvane::core
