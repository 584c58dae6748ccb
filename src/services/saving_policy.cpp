#include "services/saving_policy.h"

#include <QCoreApplication>

namespace quorvane::core {

std::optional<Shortfall> shortfallOf(qint64 inputSize, qint64 outputSize,
                                     std::optional<int> minSaving) {
  if (inputSize <= 0) return std::nullopt;
  if (outputSize >= inputSize) {
    return Shortfall{true, ((outputSize - inputSize) * 100 + inputSize - 1) / inputSize, 0};
  }
  const int minimum = minSaving.value_or(0);
  if ((inputSize - outputSize) * 100 >= qint64{minimum} * inputSize) return std::nullopt;
  return Shortfall{false, (inputSize - outputSize) * 100 / inputSize, minimum};
}

QString skippedReason(const Shortfall& shortfall) {
  if (shortfall.larger && shortfall.percent == 0) {
    return QCoreApplication::translate("ConversionNote", "Skipped: not smaller than the original");
  }
  if (shortfall.larger) {
    //: %1 is a whole percentage
    return QCoreApplication::translate("ConversionNote", "Skipped: %1% larger than the original")
        .arg(shortfall.percent);
  }
  //: %1 is the saving, %2 the minimum asked for, both whole percentages
  return QCoreApplication::translate("ConversionNote", "Skipped: only %1% smaller, minimum %2%")
      .arg(shortfall.percent)
      .arg(shortfall.minimum);
}

QString keptReason(const Shortfall& shortfall, OutputFormat format) {
  const QString name = displayName(format);
  if (shortfall.larger && shortfall.percent == 0) {
    //: %1 is a format, e.g. "WebP"
    return QCoreApplication::translate("ConversionNote",
                                       "Kept the original: the %1 would not be smaller")
        .arg(name);
  }
  if (shortfall.larger) {
    //: %1 is a format, e.g. "WebP"; %2 a whole percentage
    return QCoreApplication::translate("ConversionNote",
                                       "Kept the original: the %1 would be %2% larger")
        .arg(name)
        .arg(shortfall.percent);
  }
  //: %1 is a format; %2 the saving, %3 the minimum asked for, both whole percentages
  return QCoreApplication::translate(
             "ConversionNote", "Kept the original: the %1 would be only %2% smaller (minimum %3%)")
      .arg(name)
      .arg(shortfall.percent)
      .arg(shortfall.minimum);
}

QString writtenNote(const Shortfall& shortfall) {
  if (shortfall.larger) {
    //: %1 is a whole percentage
    return QCoreApplication::translate("ConversionNote", "%1% larger than the original")
        .arg(shortfall.percent);
  }
  //: %1 is the saving, %2 the minimum asked for, both whole percentages
  return QCoreApplication::translate("ConversionNote", "only %1% smaller (minimum %2%)")
      .arg(shortfall.percent)
      .arg(shortfall.minimum);
}

QString notCopiedReason(const Shortfall& shortfall) {
  //: %1 says why, e.g. "Skipped: 12% larger than the original"
  return QCoreApplication::translate("ConversionNote",
                                     "%1, and a copy of the original would carry its camera data")
      .arg(skippedReason(shortfall));
}

}  // namespace quorvane::core
