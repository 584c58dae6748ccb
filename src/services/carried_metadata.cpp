#include "services/carried_metadata.h"

#include <QCoreApplication>

#include "services/file_service.h"

namespace quorvane::core {

CarriedMetadata carriedMetadata(const codec::OpenedImage& input, const OutputOptions& options,
                                PixelSize size, const CancellationToken& token) {
  CarriedMetadata carried;
  const codec::ImageHeader& header = input.header();
  if (header.hasIccProfile && !header.iccProfileFits) {
    //: shown under a converted image whose embedded profile is for another
    //: kind of image (a grey profile on colour pixels)
    carried.notes << QCoreApplication::translate(
        "ConversionNote", "Colour profile ignored: it does not fit the image");
  }
  if (!options.keepMetadata && !options.keepColorProfile) return carried;
  token.throwIfCancelled();
  const codec::Metadata& found = input.metadata();
  if (options.keepMetadata) {
    if (!found.exif.empty()) {
      carried.metadata.exif =
          codec::uprightExif(found.exif, size.width, size.height, header.orientation);
    }
    if (found.xmp.size() > codec::kMaxCarriedXmp) {
      //: shown under a converted image; %1 and %2 are sizes such as "16.8 MB"
      carried.notes << QCoreApplication::translate("ConversionNote",
                                                   "XMP not kept: %1 is more than the %2 carried")
                           .arg(FileService::formatFileSize(static_cast<qint64>(found.xmp.size())),
                                FileService::formatFileSize(codec::kMaxCarriedXmp));
    } else if (!found.xmp.empty()) {
      auto xmp = codec::uprightXmp(found.xmp, size.width, size.height, header.orientation,
                                   stopRequestedBy(token));
      token.throwIfCancelled();
      if (xmp) carried.metadata.xmp = std::move(*xmp);
    }
  }
  if (options.keepColorProfile && !found.icc.empty() && header.iccProfileFits) {
    const bool rgb = codec::iccIsRgb(found.icc) && header.colourModel == codec::ColourModel::Srgb;
    if (rgb && codec::iccCanBeKept(found.icc)) {
      carried.metadata.icc = found.icc;
    } else if (rgb) {
      //: shown under a converted image whose RGB profile is damaged
      carried.notes << QCoreApplication::translate(
          "ConversionNote", "Colour profile converted to sRGB (the embedded one is malformed)");
    } else {
      //: shown under a converted image when its colour profile could not be kept
      carried.notes << QCoreApplication::translate(
          "ConversionNote", "Colour profile converted to sRGB (only RGB profiles can be kept)");
    }
  }
  return carried;
}

}  // namespace quorvane::core
