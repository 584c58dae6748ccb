#include "services/hdr_output.h"

#include <QCoreApplication>

namespace quorvane::core {

bool keepsHdr(const codec::ImageHeader& header, OutputFormat format,
              const EncodeSettings& settings) {
  return header.hdr.isHdr() && settings.options.keepColorProfile && !settings.options.lossless &&
         !settings.autoFormat && (format == OutputFormat::Avif || format == OutputFormat::Heic);
}

QString hdrNote(const codec::ImageHeader& header) {
  switch (header.hdr.kind()) {
    case codec::HdrTransfer::None:
      return {};
    case codec::HdrTransfer::Pq:
      //: shown under a converted image: a high dynamic range (HDR) photo made
      //: fit for ordinary screens
      return QCoreApplication::translate("ConversionNote",
                                         "HDR (PQ) image tone-mapped to SDR (sRGB)");
    case codec::HdrTransfer::Hlg:
      //: shown under a converted image: a high dynamic range (HDR) photo made
      //: fit for ordinary screens
      return QCoreApplication::translate("ConversionNote",
                                         "HDR (HLG) image tone-mapped to SDR (sRGB)");
  }
  return {};
}

}  // namespace quorvane::core
