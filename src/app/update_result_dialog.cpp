#include "app/update_result_dialog.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QPushButton>

namespace quorvane::gui {

QMessageBox* showUpdateResult(QWidget* parent, const CheckForUpdatesViewModel::Result& result) {
  using Kind = CheckForUpdatesViewModel::Result::Kind;
  auto* box = new QMessageBox(parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowTitle(
      QCoreApplication::translate("quorvane::gui::UpdateResultDialog", "Check for Updates"));
  box->setTextFormat(Qt::PlainText);
  switch (result.kind) {
    case Kind::UpdateAvailable: {
      box->setIcon(QMessageBox::Information);
      box->setText(
          //: %1 is a version number such as 1.2.0.
          QCoreApplication::translate("quorvane::gui::UpdateResultDialog",
                                      "Quorvane %1 is available.")
              .arg(result.version));
      const QString running =
          //: %1 is the version number of the running copy.
          QCoreApplication::translate("quorvane::gui::UpdateResultDialog", "You have version %1.")
              .arg(QCoreApplication::applicationVersion());
      // The feed's notes are shown as the feed wrote them, in one language.
      box->setInformativeText(result.message.isEmpty()
                                  ? running
                                  : QStringLiteral("%1\n\n%2").arg(result.message, running));
      auto* download = box->addButton(
          QCoreApplication::translate("quorvane::gui::UpdateResultDialog", "Download"),
          QMessageBox::AcceptRole);
      download->setObjectName(QStringLiteral("downloadButton"));
      box->addButton(QMessageBox::Close);
      box->setDefaultButton(download);
      const QUrl url = result.url;
      QObject::connect(box, &QMessageBox::buttonClicked, box,
                       [download, url](QAbstractButton* clicked) {
                         if (clicked == download) QDesktopServices::openUrl(url);
                       });
      break;
    }
    case Kind::UpToDate:
      box->setIcon(QMessageBox::Information);
      box->setText(
          QCoreApplication::translate("quorvane::gui::UpdateResultDialog", "You're up to date."));
      box->setInformativeText(
          //: %1 is a version number such as 1.2.0.
          QCoreApplication::translate("quorvane::gui::UpdateResultDialog",
                                      "Quorvane %1 is the newest version.")
              .arg(QCoreApplication::applicationVersion()));
      box->setStandardButtons(QMessageBox::Ok);
      break;
    case Kind::Failed:
      box->setIcon(QMessageBox::Warning);
      box->setText(
          //: %1 says what went wrong, e.g. "Connection refused".
          QCoreApplication::translate("quorvane::gui::UpdateResultDialog",
                                      "Could not check for updates: %1")
              .arg(result.message));
      box->setStandardButtons(QMessageBox::Ok);
      break;
  }
  box->open();
  return box;
}

}  // namespace quorvane::gui
