// Colours and text styles of the window, derived from the system palette so
// light and dark appearances both work.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>
#include <optional>

#include "models/quality_verdict.h"

namespace quorvane::gui::style {

// Dimmed label text.
QColor secondary(const QPalette& palette);
// Fainter still: captions under the drop zone.
QColor tertiary(const QPalette& palette);
// The user's accent (selection) colour.
QColor accent(const QPalette& palette);
// Status colours, tuned for contrast on the current background.
QColor green(const QPalette& palette);
QColor orange(const QPalette& palette);
QColor red(const QPalette& palette);
// The colour of a saving: green above 5 %, orange within ±5 %, red for
// growth of 5 % or more, dimmed when there is none.
QColor savingColor(const QPalette& palette, std::optional<double> ratio);
// Green while nobody would see a change, orange on a close look, red beyond.
QColor verdictColor(const QPalette& palette, core::QualityVerdict verdict);
bool isDark(const QPalette& palette);

// The WCAG contrast ratio of two opaque colours (1 to 21).
double contrastRatio(const QColor& a, const QColor& b);
// What a text needs on its background (WCAG AA for body text).
inline constexpr double kTextContrast = 4.5;
// What a fill is chosen for: a little above kTextContrast, as small
// antialiased text never reaches its full colour.
inline constexpr double kFillContrast = 4.8;
// `fill` darkened (for light text) or lightened (for dark text) just enough
// that `text` on it reaches `ratio`; the user's accent stays recognisable.
QColor fillFor(const QColor& text, QColor fill, double ratio = kFillContrast);

// Sets the colour a label (or any widget) draws its text in.
void setTextColor(QWidget* widget, const QColor& color);

// Smaller text for captions. (The fonts we meet draw digits at equal width
// already, so sizes line up in the list.)
QFont captionFont(const QFont& base);

}  // namespace quorvane::gui::style
