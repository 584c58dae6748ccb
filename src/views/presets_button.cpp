#include "views/presets_button.h"

#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "viewmodels/conversion_view_model.h"

namespace quorvane::gui {

namespace {

// A name as menu text: its own "&" is no mnemonic.
QString menuText(const QString& name) {
  QString text = name;
  return text.replace(u'&', QStringLiteral("&&"));
}

}  // namespace

PresetsButton::PresetsButton(core::ConversionViewModel& controller, QWidget* parent)
    : QToolButton(parent), m_controller(controller), m_prompts(dialogPrompts()) {
  setPopupMode(QToolButton::InstantPopup);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
  //: the menu of saved sets of every setting (format, quality, sizes, names, options)
  setText(tr("Pre&sets"));
  setAccessibleName(tr("Presets"));
  setToolTip(tr("Saved sets of every setting but the output folder"));
  auto* menu = new QMenu(this);
  menu->setToolTipsVisible(true);
  connect(menu, &QMenu::aboutToShow, this, &PresetsButton::rebuildMenu);
  setMenu(menu);
  using Controller = core::ConversionViewModel;
  connect(&controller, &Controller::settingsChanged, this, &PresetsButton::refresh);
  connect(&controller, &Controller::presetsChanged, this, &PresetsButton::refresh);
  rebuildMenu();
  refresh();
}

PresetsButton::Prompts PresetsButton::dialogPrompts() {
  Prompts prompts;
  prompts.askName = [this](const QString& title, const QString& label, const QString& text) {
    bool ok = false;
    const QString name =
        QInputDialog::getText(window(), title, label, QLineEdit::Normal, text, &ok);
    return ok ? std::optional<QString>(name) : std::nullopt;
  };
  prompts.confirm = [this](const QString& title, const QString& question, const QString& action) {
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Cancel, window());
    QPushButton* yes = box.addButton(action, QMessageBox::AcceptRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
  };
  prompts.tell = [this](const QString& title, const QString& text) {
    QMessageBox::warning(window(), title, text);
  };
  return prompts;
}

void PresetsButton::refresh() {
  const auto matching = m_controller.matchingPreset();
  setAccessibleDescription(matching ? core::displayName(*matching) : QString());
}

void PresetsButton::rebuildMenu() {
  QMenu* list = menu();
  list->clear();
  const std::vector<core::Preset> presets = m_controller.presets();
  const auto matching = m_controller.matchingPreset();
  QStringList userNames;
  bool builtIns = true;
  for (const core::Preset& preset : presets) {
    if (builtIns && !preset.isBuiltIn()) {
      list->addSeparator();
      builtIns = false;
    }
    if (!preset.isBuiltIn()) userNames << preset.name;
    QAction* action = list->addAction(menuText(core::displayName(preset)));
    action->setCheckable(true);
    action->setChecked(matching && matching->key == preset.key && matching->name == preset.name);
    connect(action, &QAction::triggered, this, [this, preset] {
      m_controller.applyPreset(preset);
      refresh();
    });
  }
  list->addSeparator();
  list->addAction(tr("&Save Current Settings as Preset\u2026"), this,
                  &PresetsButton::saveCurrentSettings);
  QMenu* rename = list->addMenu(tr("&Rename Preset"));
  QMenu* remove = list->addMenu(tr("&Delete Preset"));
  for (const QString& name : userNames) {
    //: an entry of the Rename Preset and Delete Preset menus: %1 is a preset's name
    const QString text = tr("%1\u2026").arg(menuText(name));
    rename->addAction(text, this, [this, name] { renamePreset(name); });
    remove->addAction(text, this, [this, name] { deletePreset(name); });
  }
  //: tooltip of Rename Preset and Delete Preset while there are only the built-in presets
  const QString none = tr("Built-in presets cannot be renamed or deleted");
  for (QMenu* submenu : {rename, remove}) {
    submenu->setEnabled(!userNames.isEmpty());
    submenu->menuAction()->setToolTip(userNames.isEmpty() ? none : QString());
  }
}

std::optional<QString> PresetsButton::askUsableName(const QString& title, const QString& text) {
  QString name = text;
  for (;;) {
    const auto given = m_prompts.askName(title, tr("Name of the preset:"), name);
    if (!given) return std::nullopt;
    name = core::cleanPresetName(*given);
    const auto problem = core::presetNameProblem(name);
    if (!problem) return name;
    switch (*problem) {
      case core::PresetNameProblem::Empty:
        m_prompts.tell(title, tr("A preset needs a name."));
        break;
      case core::PresetNameProblem::TooLong:
        m_prompts.tell(
            title,
            tr("A preset's name can have at most %1 characters.").arg(core::kMaxPresetNameLength));
        break;
      case core::PresetNameProblem::ControlCharacter:
        m_prompts.tell(title, tr("A preset's name cannot hold line breaks or control characters."));
        break;
      case core::PresetNameProblem::BuiltIn:
        m_prompts.tell(title, tr("\u201c%1\u201d is the name of a built-in preset.").arg(name));
        break;
    }
  }
}

void PresetsButton::saveCurrentSettings() {
  const QString title = tr("Save Preset");
  const auto matching = m_controller.matchingPreset();
  const auto name =
      askUsableName(title, matching && !matching->isBuiltIn() ? matching->name : QString());
  if (!name) return;
  for (const core::Preset& preset : m_controller.presets()) {
    if (preset.isBuiltIn() || !core::samePresetName(preset.name, *name)) continue;
    if (!m_prompts.confirm(
            title,
            tr("A preset named \u201c%1\u201d exists already. Replace it with the current "
               "settings?")
                .arg(preset.name),
            tr("&Replace"))) {
      return;
    }
  }
  m_controller.saveCurrentAsPreset(*name);
}

void PresetsButton::renamePreset(const QString& name) {
  const QString title = tr("Rename Preset");
  const auto to = askUsableName(title, name);
  if (!to) return;
  if (m_controller.renamePreset(name, *to) == core::PresetStore::Outcome::NameTaken) {
    m_prompts.tell(title, tr("Another preset is named \u201c%1\u201d already.").arg(*to));
  }
}

void PresetsButton::deletePreset(const QString& name) {
  if (!m_prompts.confirm(tr("Delete Preset"),
                         tr("Delete the preset \u201c%1\u201d? The current settings stay as "
                            "they are.")
                             .arg(name),
                         tr("&Delete"))) {
    return;
  }
  m_controller.deletePreset(name);
}

}  // namespace quorvane::gui
