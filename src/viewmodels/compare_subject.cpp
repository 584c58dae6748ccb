#include "viewmodels/compare_subject.h"

#include <algorithm>

#include "viewmodels/conversion_view_model.h"

namespace quorvane::core {

std::optional<CompareSubject> compareSubjectFor(const ConversionViewModel& controller,
                                                const QUuid& id) {
  const auto& items = controller.items();
  const auto item = std::find_if(items.begin(), items.end(), [&id](const ImageItem& candidate) {
    return candidate.id() == id;
  });
  if (item == items.end() || item->status().kind != ConversionStatus::Kind::Completed ||
      !item->outputURL() || !item->batchFormat()) {
    return std::nullopt;
  }
  CompareSubject subject;
  subject.id = id;
  subject.original = item->url();
  subject.output = *item->outputURL();
  subject.originalSize = item->originalSize();
  subject.outputSize = item->compressedSize().value_or(0);
  subject.score = item->score();
  subject.settings = encodeSettingsOf(controller.settings());
  subject.settings.format = *item->batchFormat();
  subject.settings.autoFormat = false;
  subject.settings.sameFormat = false;
  subject.settings.options.checkQuality = true;
  // The quality it was encoded at is the report's; without a row there (a
  // report of another batch), what its next conversion would use.
  const auto& report = controller.lastReport();
  const auto row = std::find_if(report.rbegin(), report.rend(), [&](const ReportRow& r) {
    return r.output == subject.output && r.status == ReportRow::Status::Converted;
  });
  subject.settings.quality =
      row != report.rend() ? row->quality
                           : std::clamp(item->chosenQuality().value_or(
                                            controller.settings().quality + item->qualityBoost()),
                                        0, 100);
  subject.qualityApplies =
      !subject.settings.options.lossless && (row == report.rend() || !row->lossless);
  subject.qualityCanBeChosen = subject.qualityApplies && !controller.settings().autoFormat;
  return subject;
}

}  // namespace quorvane::core
