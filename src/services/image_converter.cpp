#include "services/image_converter.h"

#include <sys/statvfs.h>

#include <QCoreApplication>
#include <QLocale>
#include <cerrno>
#include <cmath>

#include "models/conversion_settings.h"
#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/png_quantizer.h"
#include "services/process_runner.h"
#include "services/staged_output.h"
#include "services/temporary_files.h"

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

const ToolInputRule& ImageConverter::cwebpInput() {
  static const ToolInputRule rule{{"png", "jpg", "jpeg", "tiff", "tif", "webp"},
                                  // TIFF has too many variants to trust a
                                  // tool with: it always goes through a PNG.
                                  {"pngload", "jpegload", "webpload"},
                                  kWebPMaxSide};
  return rule;
}

const ToolInputRule& ImageConverter::avifencInput() {
  static const ToolInputRule rule{{"png", "jpg", "jpeg"}, {"pngload", "jpegload"}, 0};
  return rule;
}

PreparedInput ImageConverter::prepareInputForTool(const fs::path& input,
                                                  const codec::ImageHeader& h,
                                                  const ToolInputRule& rule, bool allowDirect,
                                                  PixelSize intermediateSize,
                                                  const CancellationToken& token) {
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
  codec::RgbaImage image = decodeFitted(input, intermediateSize, token);
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
  PreparedInput prepared =
      prepareInputForTool(road.job.input, road.header, rule, true, intermediateSize, road.token);
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
    PreparedInput decoded =
        prepareInputForTool(road.job.input, road.header, rule, false, intermediateSize, road.token);
    runTool(decoded.url);
  }
}

void ImageConverter::convertToWebP(const Road& road) const {
  const fs::path tool = m_tools.toolPath(QStringLiteral("cwebp"));
  const PixelSize original{road.header.width, road.header.height};
  // cwebp reads at most 16383 pixels a side: larger inputs are shrunk on
  // our side; everything else reaches the tool at full size and the tool
  // scales it.
  const bool toolReadsIt = original.width <= kWebPMaxSide && original.height <= kWebPMaxSide;
  const PixelSize intermediate = toolReadsIt ? original : road.size;
  withToolInput(road, cwebpInput(), intermediate, [&](const fs::path& input) {
    std::vector<std::string> arguments = {"-q", decimal(road.job.quality), "-m", "6"};
    const auto fed = input == road.job.input ? original : intermediate;
    if (fed != road.size) {
      arguments.insert(arguments.end(),
                       {"-resize", decimal(road.size.width), decimal(road.size.height)});
    }
    arguments.insert(arguments.end(), {input.native(), "-o", road.output.native()});
    runProcess(tool, arguments, road.token);
  });
}

void ImageConverter::convertToJPEG(const Road& road) const {
  const fs::path tool = m_tools.toolPath(QStringLiteral("cjpeg"));
  TemporaryFile tga(QStringLiteral("tga"));
  {
    codec::RgbaImage image = decodeFitted(road.job.input, road.size, road.token);
    // JPEG has no alpha: what lies under transparent pixels would show, so
    // flatten onto white first.
    codec::flattenOnto(image, 255, 255, 255);
    if (auto written = codec::writeTga(image, tga.path()); !written) {
      throwCodecFailure(written.error(), QCoreApplication::translate(
                                             "ConversionError", "Cannot write a temporary file"));
    }
  }
  road.token.throwIfCancelled();
  const std::string jpeg = runProcess(tool,
                                      {"-quality", decimal(road.job.quality), "-optimize",
                                       "-progressive", "-targa", tga.path().native()},
                                      road.token, {.captureStdout = true});
  if (auto written = codec::writeBytes(road.output, jpeg); !written) {
    throwCodecFailure(written.error(), QCoreApplication::translate("ConversionError",
                                                                   "Cannot write the output file"));
  }
}

void ImageConverter::convertToPNG(const Road& road) const {
  PNGQuantizer::quantize(road.job.input, road.output, road.job.quality, road.size, road.token);
  if (!m_tools.isToolAvailable(QStringLiteral("oxipng"))) return;
  const fs::path tool = m_tools.toolPath(QStringLiteral("oxipng"));
  runProcess(tool, {"-o", "4", "--strip", "safe", road.output.native()}, road.token);
}

void ImageConverter::convertToHEIC(const Road& road) const {
  // The encoder runs in a helper process of ours: a call into the HEVC
  // encoder cannot be interrupted, a process can.
  const fs::path tool = m_tools.toolPath(QStringLiteral("quorvane-heic"));
  TemporaryFile pixels(QStringLiteral("rgba"));
  {
    const codec::RgbaImage image = decodeFitted(road.job.input, road.size, road.token);
    if (auto written = codec::writeRawRgba(image, pixels.path()); !written) {
      throwCodecFailure(written.error(), QCoreApplication::translate(
                                             "ConversionError", "Cannot write a temporary file"));
    }
  }
  road.token.throwIfCancelled();
  runProcess(tool, {decimal(road.job.quality), pixels.path().native(), road.output.native()},
             road.token);
}

void ImageConverter::convertToAVIF(const Road& road) const {
  const fs::path tool = m_tools.toolPath(QStringLiteral("avifenc"));
  // avifenc cannot scale: a bounded image is always shrunk on our side.
  const bool bounded = road.job.maxWidth.value_or(0) >= 1 || road.job.maxHeight.value_or(0) >= 1;
  const std::string q = decimal(avifQuantizer(road.job.quality));
  const auto run = [&](const fs::path& input) {
    runProcess(tool, {"--min", q, "--max", q, "--speed", "4", input.native(), road.output.native()},
               road.token);
  };
  if (bounded) {
    PreparedInput prepared = prepareInputForTool(road.job.input, road.header, avifencInput(), false,
                                                 road.size, road.token);
    run(prepared.url);
  } else {
    withToolInput(road, avifencInput(), road.size, run);
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

fs::path ImageConverter::convert(const ConversionJob& request, const CancellationToken& token,
                                 OutputNameReservations* reservations) const {
  token.throwIfCancelled();
  const ThreadResourcesGuard threadResources;
  // Tools get absolute paths only, so no file name can read as an option.
  ConversionJob job = request;
  job.input = fs::absolute(job.input);
  job.outputDirectory = fs::absolute(job.outputDirectory);
  const QString ext = fileExtension(job.format);

  // Before any decoder or tool sees the file: a header claiming too many
  // pixels, or an output the format cannot hold, fails here.
  const codec::ImageHeader header = readCheckedHeader(job.input);
  const PixelSize size = fitSize(header.width, header.height, job.maxWidth, job.maxHeight);
  checkFormatHolds(job.format, size);

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
  const Road road{job, header, size, staged.path(), token};
  try {
    switch (job.format) {
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
  fs::path published;
  token.runUnlessCancelled([&] { published = staged.publish(desired, reservations); });
  return published;
}

}  // namespace quorvane::core
