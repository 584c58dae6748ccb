#include "views/settings_button.h"

#include <QEvent>

#include "views/icons.h"
#include "views/view_style.h"

namespace quorvane::gui {

SettingsButton::SettingsButton(QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setIconSize({18, 18});
  setCursor(Qt::PointingHandCursor);
  setToolTip(tr("Settings"));
  setAccessibleName(tr("Settings"));
  updateIcon();
}

void SettingsButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) updateIcon();
  QToolButton::changeEvent(event);
}

void SettingsButton::updateIcon() { setIcon(icons::gear(style::secondary(palette()))); }

}  // namespace quorvane::gui
