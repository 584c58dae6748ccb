#include "views/file_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include "models/conversion_settings.h"
#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"

namespace quorvane::gui {

namespace {

const QString kLastFolderKey = QStringLiteral("lastAddedFolder");

QString startFolder() {
  const QString last = QSettings().value(kLastFolderKey).toString();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (!pictures.isEmpty() && QFileInfo(pictures).isDir()) return pictures;
  return QDir::homePath();
}

void rememberFolder(const QString& folder) {
  QSettings().setValue(kLastFolderKey, folder);
}

// Runs the dialog and lists what it returns; remembers where that was.
void addChosen(QFileDialog& dialog, core::ConversionViewModel& controller) {
  dialog.setDirectory(startFolder());
  if (dialog.exec() != QDialog::Accepted) return;
  std::vector<std::filesystem::path> chosen;
  for (const QUrl& url : dialog.selectedUrls()) {
    if (auto path = core::FileService::localPathFromUrl(url)) chosen.push_back(*path);
  }
  rememberFolder(dialog.directory().absolutePath());
  controller.addFiles(chosen);
}

}  // namespace

QStringList imageFileDialogFilters() {
  QStringList patterns;
  for (const std::string& ext : core::ConversionSettings::supportedExtensions()) {
    const QString text = QString::fromStdString(ext);
    patterns << QStringLiteral("*.") + text << QStringLiteral("*.") + text.toUpper();
  }
  return {QCoreApplication::translate("FileDialogs", "Images (%1)").arg(patterns.join(u' '))};
}

void addFilesFromDialog(QWidget* parent, core::ConversionViewModel& controller) {
  QFileDialog dialog(parent, QCoreApplication::translate("FileDialogs", "Add Files"));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters(imageFileDialogFilters());
  addChosen(dialog, controller);
}

void exportReportFromDialog(QWidget* parent, const core::ConversionViewModel& controller) {
  const QString csv = QCoreApplication::translate("FileDialogs", "CSV spreadsheet (*.csv)");
  const QString json = QCoreApplication::translate("FileDialogs", "JSON (*.json)");
  QFileDialog dialog(parent, QCoreApplication::translate("FileDialogs", "Export Report"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({csv, json});
  dialog.setDirectory(startFolder());
  dialog.selectFile(QStringLiteral("quorvane-report.csv"));
  QObject::connect(
      &dialog, &QFileDialog::filterSelected, &dialog, [&dialog, json](const QString& filter) {
        dialog.setDefaultSuffix(filter == json ? QStringLiteral("json") : QStringLiteral("csv"));
      });
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty()) return;
  const auto file = core::FileService::localPathFromUrl(dialog.selectedUrls().front());
  if (!file) return;
  if (const auto error = controller.exportReport(*file)) {
    QMessageBox::warning(
        parent, QCoreApplication::translate("FileDialogs", "Export Report"),
        QCoreApplication::translate("FileDialogs", "The report could not be saved: %1")
            .arg(*error));
  }
}

void addFolderFromDialog(QWidget* parent, core::ConversionViewModel& controller) {
  QFileDialog dialog(parent, QCoreApplication::translate("FileDialogs", "Add Folder"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  addChosen(dialog, controller);
}

bool chooseOutputFolder(QWidget* parent, core::ConversionViewModel& controller) {
  const QString title = QCoreApplication::translate("FileDialogs", "Choose Output Folder");
  QString start = startFolder();
  if (const auto& chosen = controller.settings().outputDirectory) {
    const QString current = core::FileService::displayPath(*chosen);
    if (QFileInfo(current).isDir()) start = current;
  }
  for (;;) {
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty()) return false;
    const auto folder = core::FileService::localPathFromUrl(dialog.selectedUrls().front());
    if (!folder) return false;
    const auto reason = core::ConversionViewModel::unwritableReason(*folder);
    if (!reason) {
      controller.setOutputDirectory(*folder);
      rememberFolder(core::FileService::displayPath(folder->parent_path()));
      return true;
    }
    QMessageBox::warning(parent, title,
                         //: %1 the folder, %2 the system's reason, such as "Permission denied"
                         QCoreApplication::translate(
                             "FileDialogs", "%1 cannot be written to (%2). Choose another folder.")
                             .arg(core::FileService::displayPath(*folder), *reason));
    start = core::FileService::displayPath(folder->parent_path());
  }
}

}  // namespace quorvane::gui
