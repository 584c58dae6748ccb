// Adding files without a drag, and choosing the output folder: file dialogs
// that open where the user last picked from (else their Pictures folder,
// else their home folder), and hand what was chosen to the controller.
#pragma once

#include <QStringList>

class QWidget;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

// "Images (*.png *.PNG …)": every extension the program reads.
QStringList imageFileDialogFilters();

void addFilesFromDialog(QWidget* parent, core::ConversionViewModel& controller);
void addFolderFromDialog(QWidget* parent, core::ConversionViewModel& controller);
// Asks for the output folder, starting in the one chosen now; a folder that
// cannot be written is refused with the system's reason and the question is
// asked again. True when a folder was chosen.
bool chooseOutputFolder(QWidget* parent, core::ConversionViewModel& controller);
// Asks where to save the last batch's report (CSV or JSON) and writes it;
// says so when it cannot.
void exportReportFromDialog(QWidget* parent, const core::ConversionViewModel& controller);

}  // namespace quorvane::gui
