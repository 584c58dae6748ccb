// How output files are named: after their input, or prefix + running number.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace quorvane::core {

enum class NamingMode { Original, Custom };

inline constexpr std::array<NamingMode, 2> kAllNamingModes = {NamingMode::Original,
                                                              NamingMode::Custom};

// The stored text: "original" or "custom".
QString rawValue(NamingMode mode);
// Exact match of "original" or "custom"; anything else gives nothing.
std::optional<NamingMode> namingModeFromRawValue(QStringView text);

}  // namespace quorvane::core
