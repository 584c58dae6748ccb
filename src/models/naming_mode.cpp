#include "models/naming_mode.h"

namespace quorvane::core {

QString rawValue(NamingMode mode) {
  return mode == NamingMode::Custom ? QStringLiteral("custom") : QStringLiteral("original");
}

std::optional<NamingMode> namingModeFromRawValue(QStringView text) {
  for (NamingMode mode : kAllNamingModes) {
    if (text == rawValue(mode)) return mode;
  }
  return std::nullopt;
}

}  // namespace quorvane::core
