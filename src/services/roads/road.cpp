#include "services/roads/road.h"

#include <QCoreApplication>
#include <fstream>
#include <iterator>

#include "services/conversion_errors.h"
#include "services/roads/road_support.h"

namespace quorvane::core {

const Road& roadFor(OutputFormat format) {
  static const WebpRoad webp;
  static const JpegRoad jpeg;
  static const PngRoad png;
  static const HeicRoad heic;
  static const AvifRoad avif;
  static const JxlRoad jxl;
  switch (format) {
    case OutputFormat::Webp:
      return webp;
    case OutputFormat::Jpeg:
      return jpeg;
    case OutputFormat::Png:
      return png;
    case OutputFormat::Heic:
      return heic;
    case OutputFormat::Avif:
      return avif;
    case OutputFormat::Jxl:
      return jxl;
  }
  return webp;
}

QString transparencyFilledNote() {
  //: shown under a converted image that had transparent areas
  return QCoreApplication::translate("ConversionNote", "Transparent areas filled with white");
}

std::string readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.good() && !in.eof()) throw ConversionError::outputUnreadable();
  return bytes;
}

void writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  if (auto written = codec::writeBytes(path, bytes); !written) {
    throwCodecFailure(written.error(), QCoreApplication::translate("ConversionError",
                                                                   "Cannot write the output file"));
  }
}

MetadataFiles::MetadataFiles(const codec::Metadata& metadata) {
  add("--exif", QStringLiteral("exif"), metadata.exif);
  add("--xmp", QStringLiteral("xmp"), metadata.xmp);
  add("--icc", QStringLiteral("icc"), metadata.icc);
}

void MetadataFiles::add(const char* option, const QString& ext,
                        const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return;
  TemporaryFile file(ext);
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (auto written = codec::writeBytes(file.path(), text); !written) {
    throwCodecFailure(written.error(), QCoreApplication::translate(
                                           "ConversionError", "Cannot write a temporary file"));
  }
  files.emplace_back(option, std::move(file));
}

}  // namespace quorvane::core
