#include "models/output_options.h"

namespace quorvane::core {

QString rawValue(IfLarger choice) {
  switch (choice) {
    case IfLarger::KeepOriginal:
      return QStringLiteral("keep-original");
    case IfLarger::Skip:
      return QStringLiteral("skip");
    case IfLarger::Write:
      return QStringLiteral("write");
  }
  return {};
}

std::optional<IfLarger> ifLargerFromRawValue(const QString& text) {
  for (IfLarger choice : {IfLarger::KeepOriginal, IfLarger::Skip, IfLarger::Write}) {
    if (text == rawValue(choice)) return choice;
  }
  return std::nullopt;
}

}  // namespace quorvane::core
