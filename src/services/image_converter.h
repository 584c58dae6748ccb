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
#include "services/conversion_job.h"
#include "services/converter.h"
#include "services/image_fitting.h"
#include "services/output_name_reservations.h"
#include "services/prepared_input.h"
#include "services/tool_manager.h"

namespace quorvane::core {

// The sizes an output format holds, beyond the pixel limit of every road.
struct FormatLimits {
  int maxSide = 0;  // 0: no limit of its own
  // A long side of at least `longSideFrom` needs a short side of at least
  // `shortSideFrom` (0: no such rule).
  int longSideFrom = 0;
  int shortSideFrom = 0;
};

// What a tool reads directly, by extension and by the decoder that
// recognised the content, and how large it may be.
struct ToolInputRule {
  std::set<std::string> extensions;
  std::set<std::string> loaders;
  int maxSide = 0;  // 0: no limit of its own
};

class ImageConverter final : public Converter {
 public:
  explicit ImageConverter(ToolManager tools = ToolManager::forApplication());

  // Writes the converted file and says where, or why nothing was written
  // (too little saving, converted before). Fails with a ConversionFailure:
  // CancellationError when `token` was cancelled first or during any step;
  // otherwise the cause (ConversionError, ToolError, QuantizeError,
  // FileSystemError). The header is checked before any tool or decoder sees
  // the file, and an output that does not read back as an image of the
  // expected size is a failure. A failure leaves no output behind, an
  // existing file is never replaced, the input is never touched, and nothing
  // is published once the token is cancelled. The batch's reservations keep
  // concurrent conversions from choosing the same name.
  ConversionResult convert(const ConversionJob& job, const CancellationToken& token,
                           const BatchContext& batch) const override;

  // The size that fits inside the bounds with proportions kept; never larger
  // than the original, never below 1 x 1.
  static PixelSize fitSize(int origWidth, int origHeight, std::optional<int> maxWidth,
                           std::optional<int> maxHeight);
  // avifenc's quantiser for a quality: (100 - quality) / 100 * 63, 0..63.
  static int avifQuantizer(int quality);
  // What each output format can hold, and the check against it (throws
  // ConversionError::sizeNotSupported naming the limit).
  static FormatLimits limitsOf(OutputFormat format);
  static void checkFormatHolds(OutputFormat format, PixelSize size);

  // Hands the file itself to the tool when the rule allows it and its header
  // shows a plain upright single-frame 8-bit sRGB or grey image; otherwise
  // writes an upright sRGB PNG intermediate, at `intermediateSize` (with
  // `keepProfile`, in the space of the input's RGB profile, which it omits).
  static PreparedInput prepareInputForTool(const std::filesystem::path& input,
                                           const codec::ImageHeader& header,
                                           const ToolInputRule& rule, bool allowDirect,
                                           PixelSize intermediateSize,
                                           const CancellationToken& token,
                                           bool keepProfile = false);
  // `image` as a PNG in the private temporary folder.
  static PreparedInput pngIntermediate(const codec::RgbaImage& image);

  static const ToolInputRule& avifencInput();

 private:
  struct Road;
  struct AutoChoice;
  void encode(const Road& road) const;
  // Auto: encodes the candidate formats into private temporary files,
  // searching each one's quality for the target score, and keeps the
  // smallest that meets it (else the closest).
  AutoChoice chooseFormat(const ConversionJob& job, const codec::ImageHeader& header,
                          PixelSize size, const codec::Metadata& carried,
                          const CancellationToken& token, AutoStartPoints* starts) const;
  void convertToWebP(const Road& road) const;
  void convertToJPEG(const Road& road) const;
  void convertToPNG(const Road& road) const;
  void convertToHEIC(const Road& road) const;
  void convertToAVIF(const Road& road) const;
  // Runs a tool road on the file itself when allowed, and once more on an
  // intermediate when the tool refuses the file our decoder reads: the same
  // file gives the same result whatever the format.
  template <typename RunTool>
  void withToolInput(const Road& road, const ToolInputRule& rule, PixelSize intermediateSize,
                     RunTool&& runTool) const;

  ToolManager m_tools;
};

}  // namespace quorvane::core
