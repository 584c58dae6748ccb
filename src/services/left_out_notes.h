// What an output format could not hold of the metadata kept, as row notes.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "codec/metadata.h"

namespace quorvane::core {

// One translated note per block, naming it, its size and the most `format`
// (a format's display name, e.g. "JPEG") holds, e.g. "EXIF not kept:
// 70.0 kB is more than a JPEG holds (65.5 kB)".
QStringList leftOutNotes(const std::vector<codec::BlockLeftOut>& left, const QString& format);

// Clears from `metadata` the blocks a JPEG cannot hold (codec::jpegLeavesOut),
// with a note for each. A profile left out is then not kept at all, so the
// pixels are converted to sRGB rather than left untagged in its space.
void leaveOutWhatJpegCannotHold(codec::Metadata& metadata, QStringList& notes);

}  // namespace quorvane::core
