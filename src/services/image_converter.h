// Encodes one image file into one staged output file: opens the input once,
// decodes it once at the output's size, and hands it to the road of the
// format asked for (or to Auto's search), then checks what was written and
// scores it. Stateless apart from where it finds its tools: any number of
// conversions may run through one instance at once, each on a worker thread
// (never the GUI thread: calls block).
#pragma once

#include "services/converter.h"
#include "services/tool_manager.h"

namespace quorvane::core {

class ImageConverter final : public Converter {
 public:
  explicit ImageConverter(ToolManager tools = ToolManager::forApplication());

  // The header is checked before any tool or decoder sees the file, and an
  // output that does not read back as an image of the expected size is a
  // failure. Fails with a ConversionFailure: CancellationError when `token`
  // was cancelled first or during any step; otherwise the cause
  // (ConversionError, ToolError, QuantizeError, FileSystemError). A failure
  // leaves nothing behind and the input is never touched.
  EncodedImage encode(const ConversionJob& job, const CancellationToken& token) const override;
  // JPEG XL, and Auto trying it, need cjxl; lossless JPEG XL also djxl, to
  // check that the original JPEG comes back.
  std::optional<QString> startRefusal(const EncodeSettings& settings) const override;
  // Opens, checks and decodes the input (see encode() for the failures).
  std::shared_ptr<PreparedInput> prepare(const ConversionJob& job,
                                         const CancellationToken& token) const override;

 private:
  // Opens and checks the input; the decode waits for the first to ask.
  std::shared_ptr<PreparedInput> prepareInput(const ConversionJob& job,
                                              const CancellationToken& token) const;
  ToolManager m_tools;
};

}  // namespace quorvane::core
