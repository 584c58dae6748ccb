// Light or dark, as the desktop prefers. Qt follows the desktop's palette
// where a platform theme provides one; on a bare session (or a desktop whose
// theme Qt does not read) we ask the desktop's own settings and use a dark
// Fusion palette when it prefers dark.
#pragma once

#include <QApplication>
#include <QString>

namespace quorvane::gui {

// Whether the desktop asks for dark: GTK_THEME naming a dark variant
// ("Adwaita:dark", "Adwaita-dark"), or the GNOME colour-scheme setting
// (passed in, as read from gsettings; empty when unknown).
bool desktopPrefersDark(const QString& gtkTheme, const QString& colorScheme);

// Applies a dark palette when the desktop prefers dark and the current one
// is light. Call after the QApplication exists, before any widget.
void followDesktopColorScheme(QApplication& app);

// The dark appearance itself (Fusion style, dark palette).
void applyDarkAppearance(QApplication& app);

}  // namespace quorvane::gui
