#include "services/image_converter.h"

#include <QCoreApplication>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>

#include "models/conversion_settings.h"
#include "services/conversion_errors.h"
#include "services/file_service.h"
#include "services/png_quantizer.h"
#include "services/process_runner.h"
#include "services/staged_output.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

// Largest side cwebp reads or writes.
constexpr int kWebPMaxSide = 16383;

std::string decimal(int value) { return std::to_string(value); }

bool bounded(std::optional<int> bound) { return bound && *bound >= 1; }

void writeAll(const fs::path& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  std::error_code error;
  if (fd < 0) {
    error = {errno, std::generic_category()};
  } else {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = {errno ? errno : EIO, std::generic_category()};
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && !error) error = {errno, std::generic_category()};
  }
  if (error) {
    throw FileSystemError(
        QCoreApplication::translate("ConversionError", "Cannot write the output file"), error);
  }
}

// Frees libvips' per-thread buffers when a conversion ends on a pool thread.
struct ThreadResourcesGuard {
  ~ThreadResourcesGuard() { codec::releaseThreadResources(); }
};

}  // namespace

ImageConverter::ImageConverter(ToolManager tools) : m_tools(std::move(tools)) {}

PixelSize ImageConverter::fitSize(int origWidth, int origHeight, std::optional<int> maxWidth,
                                  std::optional<int> maxHeight) {
  double scale = 1.0;
  if (bounded(maxWidth) && origWidth > *maxWidth) {
    scale = static_cast<double>(*maxWidth) / origWidth;
  }
  if (bounded(maxHeight) && origHeight > *maxHeight) {
    scale = std::min(scale, static_cast<double>(*maxHeight) / origHeight);
  }
  // std::round rounds halves away from zero.
  const auto side = [scale](int original) {
    return std::max(1, static_cast<int>(std::round(original * scale)));
  };
  return {side(origWidth), side(origHeight)};
}

std::optional<PixelSize> ImageConverter::computeTargetSize(const fs::path& file,
                                                           std::optional<int> maxWidth,
                                                           std::optional<int> maxHeight) {
  if (!maxWidth && !maxHeight) return std::nullopt;
  const auto header = codec::readHeader(file);
  if (!header) return std::nullopt;
  const PixelSize fitted = fitSize(header.value().width, header.value().height, maxWidth, maxHeight);
  if (fitted.width >= header.value().width && fitted.height >= header.value().height) {
    return std::nullopt;
  }
  return fitted;
}

std::optional<codec::RgbaImage> ImageConverter::resizedImage(const codec::RgbaImage& image,
                                                             std::optional<int> maxWidth,
                                                             std::optional<int> maxHeight) {
  if (!maxWidth && !maxHeight) return std::nullopt;
  const PixelSize fitted = fitSize(image.width(), image.height(), maxWidth, maxHeight);
  if (fitted.width >= image.width() && fitted.height >= image.height()) return std::nullopt;
  auto resized = codec::resize(image, fitted.width, fitted.height);
  if (!resized) throw ConversionError::imageDecodingFailed();
  return std::move(resized).value();
}

int ImageConverter::avifQuantizer(int quality) {
  const int q = static_cast<int>(static_cast<double>(100 - static_cast<long long>(quality)) / 100 * 63);
  return std::clamp(q, 0, 63);
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

codec::RgbaImage ImageConverter::decodeFitted(const fs::path& input, std::optional<int> maxWidth,
                                              std::optional<int> maxHeight) {
  auto decoded = codec::decode(input);
  if (!decoded) throw ConversionError::imageDecodingFailed();
  codec::RgbaImage image = std::move(decoded).value();
  if (auto smaller = resizedImage(image, maxWidth, maxHeight)) return std::move(*smaller);
  return image;
}

PreparedInput ImageConverter::prepareInputForTool(const fs::path& input, const ToolInputRule& rule,
                                                  std::optional<Bounds> preResize) {
  const bool wantsBounds = preResize && (preResize->maxWidth || preResize->maxHeight);
  if (!wantsBounds && rule.extensions.count(lowerCaseExtension(input))) {
    // The tools ignore orientation and colour profiles and cannot read every
    // variant of their formats, so only a plain image goes to them as it is.
    const auto header = codec::readHeader(input);
    if (header) {
      const codec::ImageHeader& h = header.value();
      const bool plain =
          rule.loaders.count(h.loader) && h.frameCount == 1 && h.orientation == 1 &&
          h.bitsPerSample == 8 &&
          (h.colourModel == codec::ColourModel::Srgb || h.colourModel == codec::ColourModel::Grey) &&
          (!h.hasIccProfile || h.iccProfileIsSrgb) &&
          (rule.maxSide == 0 || (h.width <= rule.maxSide && h.height <= rule.maxSide));
      if (plain && codec::verifyComplete(input)) return PreparedInput{input, std::nullopt};
    }
  }
  const Bounds bounds = preResize.value_or(Bounds{});
  codec::RgbaImage image = decodeFitted(input, bounds.maxWidth, bounds.maxHeight);
  TemporaryFile temp(QStringLiteral("png"));
  if (!codec::writePng(image, temp.path())) throw ConversionError::outputFileNotCreated();
  fs::path url = temp.path();
  return PreparedInput{std::move(url), std::move(temp)};
}

void ImageConverter::convertToWebP(const ConversionJob& job, const fs::path& output,
                                   const CancellationToken& token) const {
  const fs::path tool = m_tools.toolPath(QStringLiteral("cwebp"));
  PreparedInput prepared = prepareInputForTool(job.input, cwebpInput(), std::nullopt);
  std::vector<std::string> arguments = {"-q", decimal(job.quality), "-m", "6"};
  if (auto target = computeTargetSize(prepared.url, job.maxWidth, job.maxHeight)) {
    arguments.insert(arguments.end(),
                     {"-resize", decimal(target->width), decimal(target->height)});
  }
  arguments.insert(arguments.end(), {prepared.url.native(), "-o", output.native()});
  runProcess(tool, arguments, token);
}

void ImageConverter::convertToJPEG(const ConversionJob& job, const fs::path& output,
                                   const CancellationToken& token) const {
  const fs::path tool = m_tools.toolPath(QStringLiteral("cjpeg"));
  TemporaryFile tga(QStringLiteral("tga"));
  codec::RgbaImage image = decodeFitted(job.input, job.maxWidth, job.maxHeight);
  // JPEG has no alpha: what lies under transparent pixels would show, so
  // flatten onto white first.
  codec::flattenOnto(image, 255, 255, 255);
  if (!codec::writeTga(image, tga.path())) throw ConversionError::bmpExportFailed();
  const std::string jpeg = runProcess(
      tool,
      {"-quality", decimal(job.quality), "-optimize", "-progressive", "-targa", tga.path().native()},
      token, {.captureStdout = true});
  writeAll(output, jpeg);
}

void ImageConverter::convertToPNG(const ConversionJob& job, const fs::path& output,
                                  const CancellationToken& token) const {
  PNGQuantizer::quantize(job.input, output, job.quality, job.maxWidth, job.maxHeight);
  if (!m_tools.isToolAvailable(QStringLiteral("oxipng"))) return;
  const fs::path tool = m_tools.toolPath(QStringLiteral("oxipng"));
  runProcess(tool, {"-o", "4", "--strip", "safe", output.native()}, token);
}

void ImageConverter::convertToHEIC(const ConversionJob& job, const fs::path& output) const {
  const codec::RgbaImage image = decodeFitted(job.input, job.maxWidth, job.maxHeight);
  if (!codec::writeHeic(image, output, job.quality / 100.0)) {
    throw ConversionError::outputFileNotCreated();
  }
}

void ImageConverter::convertToAVIF(const ConversionJob& job, const fs::path& output,
                                   const CancellationToken& token) const {
  const fs::path tool = m_tools.toolPath(QStringLiteral("avifenc"));
  PreparedInput prepared =
      prepareInputForTool(job.input, avifencInput(), Bounds{job.maxWidth, job.maxHeight});
  const std::string q = decimal(avifQuantizer(job.quality));
  runProcess(tool, {"--min", q, "--max", q, "--speed", "4", prepared.url.native(), output.native()},
             token);
}

fs::path ImageConverter::convert(const ConversionJob& request, const CancellationToken& token,
                                 OutputNameReservations* reservations) const {
  token.throwIfCancelled();
  const ThreadResourcesGuard threadResources;
  // Tools get absolute paths only, so no file name can read as an option.
  ConversionJob job = request;
  job.input = fs::absolute(job.input);
  job.outputDirectory = fs::absolute(job.outputDirectory);
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
  StagedOutput staged(desired.parent_path(), ext);
  switch (job.format) {
    case OutputFormat::Webp: convertToWebP(job, staged.path(), token); break;
    case OutputFormat::Jpeg: convertToJPEG(job, staged.path(), token); break;
    case OutputFormat::Png: convertToPNG(job, staged.path(), token); break;
    case OutputFormat::Heic: convertToHEIC(job, staged.path()); break;
    case OutputFormat::Avif: convertToAVIF(job, staged.path(), token); break;
  }
  // The staged file exists from the start, so "written" means "not empty":
  // a tool that exits 0 without writing leaves it at 0 bytes.
  std::error_code error;
  if (fs::file_size(staged.path(), error) == 0 || error) {
    throw ConversionError::outputFileNotCreated();
  }
  return staged.publish(desired, reservations);
}

}  // namespace quorvane::core
