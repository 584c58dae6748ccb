// Private to the roads: the five of them, and what several of them use.
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
