// Tells the user the outcome of an update check.
#pragma once

#include <QMessageBox>

#include "app/check_for_updates_view_model.h"

class QWidget;

namespace quorvane::gui {

// Opens a window-modal message box for `result` and returns at once:
// "Quorvane 1.2.0 is available." with the feed's notes and a "Download"
// button that opens the download page in the browser, "You're up to date.",
// or "Could not check for updates: <reason>". The box deletes itself when
// closed; the pointer is for tests.
QMessageBox* showUpdateResult(QWidget* parent, const CheckForUpdatesViewModel::Result& result);

}  // namespace quorvane::gui
