// Private to the roads: the six of them, and what several of them use.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "codec/metadata.h"
#include "models/conversion_settings.h"
#include "services/roads/road.h"
#include "services/temporary_files.h"

namespace quorvane::core {

class WebpRoad final : public Road {
 public:
  QString encode(const RoadInput& in, const EncodeRequest& request) const override;
};
class JpegRoad final : public Road {
 public:
  QString encode(const RoadInput& in, const EncodeRequest& request) const override;
};
class PngRoad final : public Road {
 public:
  QString encode(const RoadInput& in, const EncodeRequest& request) const override;
};
class HeicRoad final : public Road {
 public:
  QString encode(const RoadInput& in, const EncodeRequest& request) const override;
};
class AvifRoad final : public Road {
 public:
  QString encode(const RoadInput& in, const EncodeRequest& request) const override;
};

class JxlRoad final : public Road {
 public:
  QString encode(const RoadInput& in, const EncodeRequest& request) const override;
};

// cjxl's distance for a quality, as cjxl maps its own --quality: from 30 up
// 0.1 + (100 - quality) * 0.09 (90 gives 1.0, "visually lossless"; 80 1.9;
// 100 0.1), below 30 6.4 + 2.5^((30 - quality) / 5) / 6.25, at most 25.
double jxlDistance(int quality);
// Whether the JPEG XL road recompresses the input JPEG reversibly (lossless,
// a complete JPEG at its own size) rather than encoding its pixels; then
// the output is checked by rebuilding the JPEG, not by its pixels.
bool jxlRecompressesJpeg(const RoadInput& in, const OutputOptions& options);

// avifenc's quantiser for a quality: (100 - quality) / 100 * 63, 0..63.
int avifQuantizer(int quality);

// A file's bytes; throws ConversionError::outputUnreadable.
std::string readWholeFile(const std::filesystem::path& path);
// Writes the whole file; throws the failure with "Cannot write the output file".
void writeWholeFile(const std::filesystem::path& path, std::string_view bytes);

// The kept metadata blocks as temporary files, for the tools that take them
// so, each with the option that names it ("--exif", "--xmp", "--icc").
struct MetadataFiles {
  explicit MetadataFiles(const codec::Metadata& metadata);
  std::vector<std::pair<std::string, TemporaryFile>> files;

 private:
  void add(const char* option, const QString& ext, const std::vector<std::uint8_t>& bytes);
};

}  // namespace quorvane::core
