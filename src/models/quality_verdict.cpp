#include "models/quality_verdict.h"

#include <QCoreApplication>

namespace quorvane::core {

QualityVerdict verdictFor(double score) {
  if (score >= kIdenticalFrom) return QualityVerdict::Identical;
  if (score >= kVeryCloseFrom) return QualityVerdict::VeryClose;
  if (score >= kCloseLookFrom) return QualityVerdict::VisibleOnCloseLook;
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
