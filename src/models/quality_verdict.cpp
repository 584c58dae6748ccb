#include "models/quality_verdict.h"

#include <QCoreApplication>

namespace quorvane::core {

QualityVerdict verdictFor(double distance) {
  if (distance < kIdenticalBelow) return QualityVerdict::Identical;
  if (distance <= kVeryCloseUpTo) return QualityVerdict::VeryClose;
  if (distance <= kCloseLookUpTo) return QualityVerdict::VisibleOnCloseLook;
  return QualityVerdict::VisiblyChanged;
}

QString verdictText(QualityVerdict verdict) {
  switch (verdict) {
    case QualityVerdict::Identical:
      //: how an output compares with its original, to the eye
      return QCoreApplication::translate("QualityVerdict", "identical to the eye");
    case QualityVerdict::VeryClose:
      return QCoreApplication::translate("QualityVerdict", "very close");
    case QualityVerdict::VisibleOnCloseLook:
      return QCoreApplication::translate("QualityVerdict", "visible on close look");
    case QualityVerdict::VisiblyChanged:
      return QCoreApplication::translate("QualityVerdict", "visibly changed");
  }
  return {};
}

}  // namespace quorvane::core
