#include "views/options_button.h"

#include <QActionGroup>
#include <QMenu>
#include <tuple>

#include "viewmodels/conversion_view_model.h"
#include "views/fit_under_menu.h"

namespace quorvane::gui {

using core::OutputOptions;

const QList<int>& OptionsButton::minimumSavingChoices() {
  static const QList<int> choices = {0, 5, 10, 20, 30, 50};
  return choices;
}

OptionsButton::OptionsButton(core::ConversionViewModel& controller, QWidget* parent)
    : QToolButton(parent), m_controller(controller) {
  setPopupMode(QToolButton::InstantPopup);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto* menu = new QMenu(this);
  addSwitch(menu, tr("Keep Camera &Data"),
            tr("Camera, lens, date, GPS position and copyright (EXIF and XMP) stay in the output"),
            &OutputOptions::keepMetadata);
  addSwitch(menu, tr("Keep Colour &Profile"),
            tr("Wide-gamut photos (Display P3, Adobe RGB) keep their profile and colours"),
            &OutputOptions::keepColorProfile);
  addSwitch(menu, tr("Keep &Transparency in PNG"),
            tr("PNG outputs keep transparent areas; otherwise they are filled with white"),
            &OutputOptions::keepAlpha);
  addSwitch(menu, tr("Keep File Dat&es"), tr("Each output gets its original's modification time"),
            &OutputOptions::keepFileDates);
  addSwitch(menu, tr("Keep Folder &Structure"),
            tr("Images found in a folder go to the same subfolder of the output folder"),
            &OutputOptions::keepFolderStructure);
  addSwitch(menu, tr("S&kip Files Already Converted"),
            tr("Images converted before into the output folder with the same settings are left "
               "alone"),
            &OutputOptions::skipConverted);
  addSwitch(menu, tr("&Lossless"),
            tr("No pixel changes: JPEG stays JPEG without re-encoding, or becomes JPEG XL that "
               "gives it back byte for byte; PNG, WebP, AVIF and JPEG XL are written "
               "losslessly, with colour profile and transparency. Not for HEIC or Auto"),
            &OutputOptions::lossless);
  addSwitch(menu, tr("Auto Tries JPEG &XL"),
            tr("Auto also tries JPEG XL for each image. Not every image viewer opens JPEG XL "
               "files yet"),
            &OutputOptions::autoJpegXl);
  addSwitch(menu, tr("Auto at &Best Effort"),
            tr("When Auto picks AVIF or JPEG XL, the chosen quality is encoded once more with "
               "the encoder's slower setting, and the smaller file that still looks the same "
               "is kept. Auto then takes more than twice as long"),
            &OutputOptions::autoBestEffort);
  addSwitch(menu, tr("Check &Quality"),
            tr("Each output is compared with its original and marked by how different it "
               "looks"),
            &OutputOptions::checkQuality);
  menu->addSeparator();

  QMenu* saving = menu->addMenu(tr("&Minimum Saving"));
  m_minSaving = new QActionGroup(this);
  const auto addChoice = [&](const QString& text, int percent) {
    QAction* action = saving->addAction(text);
    action->setCheckable(true);
    action->setData(percent);
    m_minSaving->addAction(action);
    return action;
  };
  //: an output counts as smaller when it is smaller at all
  addChoice(tr("Any Saving"), -1);
  for (int percent : minimumSavingChoices()) {
    //: keep an output only when it is at least this much smaller
    if (percent > 0) addChoice(tr("At Least %1% Smaller").arg(percent), percent);
  }
  m_minSavingOther = addChoice(QString(), -2);
  connect(m_minSaving, &QActionGroup::triggered, this, [this](QAction* action) {
    const int percent = action->data().toInt();
    if (percent == -2) return;  // the saved value, already in force
    OutputOptions options = m_controller.settings().options;
    options.minSaving = percent < 0 ? std::nullopt : std::optional<int>(percent);
    m_controller.updateOptions(options);
  });

  //: what happens to an output that is not smaller than its original
  QMenu* larger = menu->addMenu(tr("If an Output Is &Not Smaller"));
  m_ifLarger = new QActionGroup(this);
  for (const auto& [choice, text, tip] :
       {std::tuple{core::IfLarger::KeepOriginal, tr("Keep the &Original"),
                   tr("The original goes to the output folder instead, without camera data "
                      "unless that is kept")},
        std::tuple{core::IfLarger::Skip, tr("&Skip the Image"), tr("Nothing is written for it")},
        std::tuple{core::IfLarger::Write, tr("&Write the Output Anyway"),
                   tr("The larger output is written all the same")}}) {
    QAction* action = larger->addAction(text);
    action->setCheckable(true);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    action->setData(static_cast<int>(choice));
    m_ifLarger->addAction(action);
  }
  larger->setToolTipsVisible(true);
  menu->addMenu(new FitUnderMenu(m_controller, menu));
  connect(m_ifLarger, &QActionGroup::triggered, this, [this](QAction* action) {
    OutputOptions options = m_controller.settings().options;
    options.ifLarger = static_cast<core::IfLarger>(action->data().toInt());
    m_controller.updateOptions(options);
  });
  setMenu(menu);
  setAccessibleName(tr("Options"));
  connect(&controller, &core::ConversionViewModel::settingsChanged, this, &OptionsButton::refresh);
  refresh();
}

QAction* OptionsButton::addSwitch(QMenu* menu, const QString& text, const QString& tip,
                                  bool OutputOptions::*field) {
  QAction* action = menu->addAction(text);
  action->setCheckable(true);
  action->setToolTip(tip);
  action->setStatusTip(tip);
  connect(action, &QAction::toggled, this, [this, field](bool on) {
    OutputOptions options = m_controller.settings().options;
    if (options.*field == on) return;
    options.*field = on;
    m_controller.updateOptions(options);
  });
  m_switches.append({action, field});
  return action;
}

void OptionsButton::refresh() {
  const OutputOptions& options = m_controller.settings().options;
  // How many differ from the defaults.
  const OutputOptions defaults;
  int on = options.minSaving.value_or(0) > 0 ? 1 : 0;
  on += options.ifLarger != defaults.ifLarger ? 1 : 0;
  on += options.maxFileSize ? 1 : 0;
  for (QAction* action : m_ifLarger->actions()) {
    const QSignalBlocker block(action);
    action->setChecked(action->data().toInt() == static_cast<int>(options.ifLarger));
  }
  for (const auto& [action, field] : m_switches) {
    const QSignalBlocker block(action);
    action->setChecked(options.*field);
    on += options.*field != defaults.*field ? 1 : 0;
  }
  const int saving = options.minSaving.value_or(0) > 0 ? *options.minSaving : -1;
  const bool offered = saving < 0 || minimumSavingChoices().contains(saving);
  m_minSavingOther->setVisible(!offered);
  if (!offered) m_minSavingOther->setText(tr("At Least %1% Smaller").arg(saving));
  for (QAction* action : m_minSaving->actions()) {
    const QSignalBlocker block(action);
    const int value = action->data().toInt();
    action->setChecked(offered ? value == saving : value == -2);
  }
  //: the options button; %1 is how many options differ from their defaults
  setText(on > 0 ? tr("O&ptions (%1)").arg(on) : tr("O&ptions"));
  setAccessibleDescription(on > 0 ? tr("%1 on").arg(on) : QString());
}

}  // namespace quorvane::gui
