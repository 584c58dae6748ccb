#include "views/output_folder_button.h"

#include <QActionGroup>
#include <QDir>
#include <QMenu>

#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/file_dialogs.h"
#include "views/settings_view.h"

namespace quorvane::gui {

OutputFolderButton::OutputFolderButton(core::ConversionViewModel& controller, QWidget* parent)
    : QToolButton(parent), m_controller(controller) {
  setPopupMode(QToolButton::InstantPopup);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
  //: opens a menu: choose a folder, a recent one, or the default
  setText(tr("Cha&nge Folder"));
  setAccessibleName(tr("Change Output Folder"));
  auto* menu = new QMenu(this);
  connect(menu, &QMenu::aboutToShow, this, &OutputFolderButton::fillMenu);
  setMenu(menu);
  fillMenu();
}

void OutputFolderButton::fillMenu() {
  QMenu* folders = menu();
  folders->clear();
  delete m_choices;
  m_choices = new QActionGroup(this);
  folders->addAction(tr("&Choose Folder\u2026"), this,
                     [this] { chooseOutputFolder(window(), m_controller); });
  const auto& chosen = m_controller.settings().outputDirectory;
  const std::vector<std::filesystem::path> recent = m_controller.recentOutputFolders();
  if (!recent.empty()) folders->addSection(tr("Recent Folders"));
  int number = 0;
  for (const std::filesystem::path& folder : recent) {
    const QString shown =
        abbreviatedHomePath(core::FileService::displayPath(folder), QDir::homePath());
    QString text = shown;
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    // Digits as mnemonics: the third recent folder is 3 away.
    QAction* action = folders->addAction(QStringLiteral("&%1  %2").arg(++number).arg(text));
    action->setCheckable(true);
    action->setChecked(chosen == folder);
    action->setToolTip(shown);
    m_choices->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, folder] { m_controller.setOutputDirectory(folder); });
  }
  folders->addSeparator();
  //: the output folder when none is chosen: a "compressed" folder beside the first listed file
  QAction* byDefault = folders->addAction(tr("&Default: compressed/ Next to the First File"));
  byDefault->setCheckable(true);
  byDefault->setChecked(!chosen);
  m_choices->addAction(byDefault);
  connect(byDefault, &QAction::triggered, &m_controller,
          &core::ConversionViewModel::resetOutputDirectory);
}

}  // namespace quorvane::gui
