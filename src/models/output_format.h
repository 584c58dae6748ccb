// The six target formats and their fixed texts.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace quorvane::core {

enum class OutputFormat { Webp, Jpeg, Png, Heic, Avif, Jxl };

// Every format, in menu order.
inline constexpr std::array<OutputFormat, 6> kAllOutputFormats = {
    OutputFormat::Webp, OutputFormat::Jpeg, OutputFormat::Png,
    OutputFormat::Heic, OutputFormat::Avif, OutputFormat::Jxl};

// The stored text ("webp", "jpeg", …), also the format's identity in lists.
QString rawValue(OutputFormat format);
// Exact, case-sensitive match of a raw value; "JPEG" and "jpg" give nothing.
std::optional<OutputFormat> outputFormatFromRawValue(QStringView text);
// The label shown to the user ("WebP", "JPEG", …).
QString displayName(OutputFormat format);
// Extension of written files, without a dot; JPEG files end in "jpg".
QString fileExtension(OutputFormat format);
// "Same as Original": the format an input with this lower-case extension
// (without the dot) is written in; what we do not write (TIFF, BMP, GIF, …)
// becomes PNG.
OutputFormat sameFormatFor(QStringView extension);

}  // namespace quorvane::core
