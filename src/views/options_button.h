// The "Options" button of the settings bar: a menu of what a batch keeps
// besides the pixels (camera data, colour profile, file dates, folders),
// which outputs it keeps (a minimum saving) and whether it leaves alone what
// it converted before. Shows how many are on without being opened.
#pragma once

#include <QToolButton>

#include "models/output_options.h"

class QAction;
class QActionGroup;
class QMenu;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class OptionsButton : public QToolButton {
  Q_OBJECT

 public:
  explicit OptionsButton(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  // The minimum savings offered in the menu, in percent.
  static const QList<int>& minimumSavingChoices();

 private:
  QAction* addSwitch(QMenu* menu, const QString& text, const QString& tip,
                     bool core::OutputOptions::*);
  void refresh();

  core::ConversionViewModel& m_controller;
  QList<QPair<QAction*, bool core::OutputOptions::*>> m_switches;
  QActionGroup* m_minSaving = nullptr;
  QActionGroup* m_ifLarger = nullptr;
  QAction* m_minSavingOther = nullptr;  // a saved value the menu does not offer
};

}  // namespace quorvane::gui
