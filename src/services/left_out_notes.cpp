#include "services/left_out_notes.h"

#include <QCoreApplication>

#include "services/file_service.h"

namespace quorvane::core {

QStringList leftOutNotes(const std::vector<codec::BlockLeftOut>& left, const QString& format) {
  QStringList notes;
  for (const codec::BlockLeftOut& block : left) {
    const QString size = FileService::formatFileSize(static_cast<qint64>(block.size));
    const QString limit = FileService::formatFileSize(static_cast<qint64>(block.limit));
    switch (block.kind) {
      case codec::BlockLeftOut::Kind::Exif:
        //: shown under a converted image; %1 and %3 are sizes such as "70.0 kB", %2 a
        //: format such as "JPEG"
        notes << QCoreApplication::translate("ConversionNote",
                                             "EXIF not kept: %1 is more than a %2 holds (%3)")
                     .arg(size, format, limit);
        break;
      case codec::BlockLeftOut::Kind::Xmp:
        //: shown under a converted image; %1 and %3 are sizes, %2 a format such as "JPEG"
        notes << QCoreApplication::translate("ConversionNote",
                                             "XMP not kept: %1 is more than a %2 holds (%3) and it "
                                             "holds no XMP element to split off")
                     .arg(size, format, limit);
        break;
      case codec::BlockLeftOut::Kind::Icc:
        //: shown under a converted image; %1 and %3 are sizes, %2 a format such as "JPEG"
        notes << QCoreApplication::translate(
                     "ConversionNote",
                     "Colour profile not kept: %1 is more than a %2 holds (%3); colours "
                     "converted to sRGB")
                     .arg(size, format, limit);
        break;
    }
  }
  return notes;
}

void leaveOutWhatJpegCannotHold(codec::Metadata& metadata, QStringList& notes) {
  const std::vector<codec::BlockLeftOut> left = codec::jpegLeavesOut(metadata);
  for (const codec::BlockLeftOut& block : left) {
    switch (block.kind) {
      case codec::BlockLeftOut::Kind::Exif:
        metadata.exif.clear();
        break;
      case codec::BlockLeftOut::Kind::Xmp:
        metadata.xmp.clear();
        break;
      case codec::BlockLeftOut::Kind::Icc:
        metadata.icc.clear();
        break;
    }
  }
  notes << leftOutNotes(left, QStringLiteral("JPEG"));
}

}  // namespace quorvane::core
