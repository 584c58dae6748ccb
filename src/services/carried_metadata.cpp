#include "services/carried_metadata.h"

#include <QCoreApplication>

namespace quorvane::core {

CarriedMetadata carriedMetadata(const codec::OpenedImage& input, const OutputOptions& options,
                                PixelSize size, const CancellationToken& token) {
  CarriedMetadata carried;
  if (!options.keepMetadata && !options.keepColorProfile) return carried;
  token.throwIfCancelled();
  const codec::Metadata& found = input.metadata();
  const codec::ImageHeader& header = input.header();
  if (options.keepMetadata) {
    if (!found.exif.empty()) {
      carried.metadata.exif = codec::uprightExif(found.exif, size.width, size.height);
    }
    if (!found.xmp.empty()) {
      carried.metadata.xmp = codec::uprightXmp(found.xmp, size.width, size.height);
    }
  }
  if (options.keepColorProfile && !found.icc.empty()) {
    if (codec::iccIsRgb(found.icc) && header.colourModel == codec::ColourModel::Srgb) {
      carried.metadata.icc = found.icc;
    } else {
      //: shown under a converted image when its colour profile could not be kept
      carried.notes << QCoreApplication::translate(
          "ConversionNote", "Colour profile converted to sRGB (only RGB profiles can be kept)");
    }
  }
  return carried;
}

}  // namespace quorvane::core
