// Converts one image file into one output file. Stateless apart from where it
// finds its tools: any number of conversions may run through one instance at
// once, each on a worker thread (never the GUI thread: calls block).
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "codec/image_codec.h"
#include "models/output_format.h"
#include "services/cancellation_token.h"
#include "services/output_name_reservations.h"
#include "services/prepared_input.h"
#include "services/tool_manager.h"

namespace quorvane::core {

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

struct ConversionJob {
  std::filesystem::path input;
  std::filesystem::path outputDirectory;
  OutputFormat format = OutputFormat::Webp;
  int quality = 80;
  std::optional<int> maxWidth;   // absent, 0 or negative: no bound
  std::optional<int> maxHeight;
  // The exact name to write (custom naming); otherwise the input's name with
  // the format's extension, numbered when taken.
  std::optional<std::filesystem::path> customOutputURL;
};

// What a tool reads directly, by extension and by the decoder that
// recognised the content, and how large it may be.
struct ToolInputRule {
  std::set<std::string> extensions;
  std::set<std::string> loaders;
  int maxSide = 0;  // 0: no limit of its own
};

class ImageConverter {
 public:
  explicit ImageConverter(ToolManager tools = ToolManager::forApplication());

  // Writes the converted file and returns where. Fails with a
  // ConversionFailure: CancellationError when `token` was cancelled first or
  // while a tool ran; otherwise the cause (ConversionError, ToolError,
  // QuantizeError, FileSystemError). A failure leaves no output behind, an
  // existing file is never replaced, and the input is never touched.
  // `reservations`, shared by one batch, keeps concurrent conversions from
  // choosing the same name.
  std::filesystem::path convert(const ConversionJob& job, const CancellationToken& token,
                                OutputNameReservations* reservations = nullptr) const;

  // The size that fits inside the bounds with proportions kept; never larger
  // than the original, never below 1 x 1.
  static PixelSize fitSize(int origWidth, int origHeight, std::optional<int> maxWidth,
                           std::optional<int> maxHeight);
  // The size a tool must scale the file to, from its header only; absent
  // when no bound applies, nothing shrinks, or the header cannot be read.
  static std::optional<PixelSize> computeTargetSize(const std::filesystem::path& file,
                                                    std::optional<int> maxWidth,
                                                    std::optional<int> maxHeight);
  // A downscaled copy, or absent when no bound shrinks the image. Throws
  // ConversionError::imageDecodingFailed when the resampler fails.
  static std::optional<codec::RgbaImage> resizedImage(const codec::RgbaImage& image,
                                                      std::optional<int> maxWidth,
                                                      std::optional<int> maxHeight);
  // avifenc's quantiser for a quality: (100 - quality) / 100 * 63, 0..63.
  static int avifQuantizer(int quality);

  // Hands the file itself to the tool when the rule allows it and its header
  // shows a plain upright single-frame 8-bit sRGB or grey image; otherwise,
  // or whenever `preResize` carries a bound, writes an upright sRGB PNG
  // intermediate (downscaled by the bounds).
  struct Bounds {
    std::optional<int> maxWidth;
    std::optional<int> maxHeight;
  };
  static PreparedInput prepareInputForTool(const std::filesystem::path& input,
                                           const ToolInputRule& rule,
                                           std::optional<Bounds> preResize);

  static const ToolInputRule& cwebpInput();
  static const ToolInputRule& avifencInput();

 private:
  void convertToWebP(const ConversionJob& job, const std::filesystem::path& output,
                     const CancellationToken& token) const;
  void convertToJPEG(const ConversionJob& job, const std::filesystem::path& output,
                     const CancellationToken& token) const;
  void convertToPNG(const ConversionJob& job, const std::filesystem::path& output,
                    const CancellationToken& token) const;
  void convertToHEIC(const ConversionJob& job, const std::filesystem::path& output) const;
  void convertToAVIF(const ConversionJob& job, const std::filesystem::path& output,
                     const CancellationToken& token) const;

  // Decodes frame 0 and downscales it by the bounds; throws
  // ConversionError::imageDecodingFailed.
  static codec::RgbaImage decodeFitted(const std::filesystem::path& input,
                                       std::optional<int> maxWidth, std::optional<int> maxHeight);

  ToolManager m_tools;
};

}  // namespace quorvane::core
