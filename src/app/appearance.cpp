#include "app/appearance.h"

#include <QPalette>
#include <QProcess>
#include <QStandardPaths>
#include <QStyleFactory>

namespace quorvane::gui {

namespace {

QString gnomeColorScheme() {
  const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
  if (gsettings.isEmpty()) return {};
  QProcess process;
  process.start(gsettings, {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                            QStringLiteral("color-scheme")});
  // A desktop without the schema answers at once; never hold up the start.
  if (!process.waitForFinished(500)) {
    process.kill();
    process.waitForFinished(100);
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QPalette darkPalette() {
  QPalette p;
  const QColor window(0x2b, 0x2b, 0x2e), base(0x1e, 0x1e, 0x20), text(0xe8, 0xe8, 0xea);
  const QColor button(0x3a, 0x3a, 0x3e), highlight(0x35, 0x84, 0xe4);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x37));
  p.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3e));
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, QColor(0x8e, 0x8e, 0x93));
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, button);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, Qt::white);
  p.setColor(QPalette::Highlight, highlight);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Link, QColor(0x78, 0xae, 0xed));
  p.setColor(QPalette::Light, QColor(0x48, 0x48, 0x4c));
  p.setColor(QPalette::Midlight, QColor(0x3e, 0x3e, 0x42));
  p.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x33));
  p.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x1a));
  p.setColor(QPalette::Shadow, Qt::black);
  const QColor disabled(0x80, 0x80, 0x85);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, disabled);
  }
  p.setColor(QPalette::Disabled, QPalette::Button, QColor(0x33, 0x33, 0x37));
  return p;
}

}  // namespace

bool desktopPrefersDark(const QString& gtkTheme, const QString& colorScheme) {
  if (gtkTheme.endsWith(QStringLiteral(":dark"), Qt::CaseInsensitive) ||
      gtkTheme.endsWith(QStringLiteral("-dark"), Qt::CaseInsensitive)) {
    return true;
  }
  return colorScheme.contains(QStringLiteral("prefer-dark"));
}

void followDesktopColorScheme(QApplication& app) {
  if (app.palette().color(QPalette::Window).lightness() < 128) return;  // already dark
  const QString gtkTheme = qEnvironmentVariable("GTK_THEME");
  if (!desktopPrefersDark(gtkTheme, gtkTheme.isEmpty() ? gnomeColorScheme() : QString())) return;
  applyDarkAppearance(app);
}

void applyDarkAppearance(QApplication& app) {
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setPalette(darkPalette());
  // Fusion outlines a radio button in a shade of the window colour, which
  // on a dark window all but disappears: a light ring, a filled dot.
  app.setStyleSheet(QStringLiteral(
      "QRadioButton::indicator { width: 12px; height: 12px; border-radius: 7px;"
      " border: 1px solid #9a9aa0; background: #1e1e20; }"
      "QRadioButton::indicator:checked { background: qradialgradient(cx:0.5, cy:0.5,"
      " radius:0.5, fx:0.5, fy:0.5, stop:0 #5c9ded, stop:0.45 #5c9ded, stop:0.55 #1e1e20); }"
      "QRadioButton::indicator:focus { border-color: #5c9ded; }"));
}

}  // namespace quorvane::gui
