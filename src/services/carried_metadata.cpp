#include "services/carried_metadata.h"

#include <QCoreApplication>

#include "services/file_service.h"
#include "services/left_out_notes.h"

namespace quorvane::core {

CarriedMetadata carriedMetadata(const ConversionJob& job, const codec::ImageHeader& header,
                                PixelSize size, const CancellationToken& token) {
  CarriedMetadata carried;
  if (header.hasIccProfile && !header.iccProfileFits) {
    //: shown under a converted image whose embedded profile is for another
    //: kind of image (a grey profile on colour pixels)
    carried.notes << QCoreApplication::translate(
        "ConversionNote", "Colour profile ignored: it does not fit the image");
  }
  const OutputOptions& options = job.options;
  if (!options.keepMetadata && !options.keepColorProfile) return carried;
  auto read = codec::readMetadata(job.input);
  if (!read) return carried;
  codec::Metadata& found = read.value();
  if (options.keepMetadata) {
    if (!found.exif.empty()) {
      carried.metadata.exif =
          codec::uprightExif(std::move(found.exif), size.width, size.height, header.orientation);
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
      carried.metadata.icc = std::move(found.icc);
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
  if (!job.autoFormat && job.format == OutputFormat::Jpeg) {
    leaveOutWhatJpegCannotHold(carried.metadata, carried.notes);
  }
  return carried;
}

}  // namespace quorvane::core
