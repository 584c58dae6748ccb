// Names and lines made safe to show: a file name may hold any byte but '/'
// and NUL, and a terminal obeys the control characters among them (colours,
// cursor moves, a cleared screen), while a name that is not UTF-8 would lose
// its bytes to replacement characters, so that two names look the same.
#pragma once

#include <QString>
#include <string_view>

namespace quorvane::core {

// The bytes of a name or path as text that tells every name apart and holds
// no control character: UTF-8 stays as it is; a byte that is not part of
// valid UTF-8 and the controls U+0000–U+001F and U+007F become "\xNN" (two
// lowercase hex digits), the controls U+0080–U+009F and the invisible
// direction and separator marks (U+061C, U+200B–U+200F, U+2028–U+202E,
// U+2060–U+2064, U+2066–U+2069, U+FEFF) "\uNNNN", and a backslash "\\".
QString escapedName(std::string_view bytes);

// A line of text with the same control characters escaped as in escapedName;
// everything else, backslashes too, stays as it is.
QString escapedControls(const QString& line);

}  // namespace quorvane::core
