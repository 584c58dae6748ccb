#include "views/view_style.h"

namespace quorvane::gui::style {

bool isDark(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

QColor secondary(const QPalette& palette) {
  QColor color = palette.color(QPalette::WindowText);
  color.setAlphaF(0.6f);
  return color;
}

QColor tertiary(const QPalette& palette) {
  QColor color = palette.color(QPalette::WindowText);
  color.setAlphaF(0.4f);
  return color;
}

void setTextColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, color);
  widget->setPalette(palette);
}

QColor accent(const QPalette& palette) { return palette.color(QPalette::Highlight); }

QColor green(const QPalette& palette) {
  return isDark(palette) ? QColor(0x4c, 0xd9, 0x64) : QColor(0x1e, 0x8e, 0x3e);
}
QColor orange(const QPalette& palette) {
  return isDark(palette) ? QColor(0xff, 0xa6, 0x3d) : QColor(0xc2, 0x5e, 0x00);
}
QColor red(const QPalette& palette) {
  return isDark(palette) ? QColor(0xff, 0x6b, 0x60) : QColor(0xc6, 0x28, 0x28);
}

QColor savingColor(const QPalette& palette, std::optional<double> ratio) {
  if (!ratio) return secondary(palette);
  if (*ratio > 0.05) return green(palette);
  if (*ratio > -0.05) return orange(palette);
  return red(palette);
}

QFont captionFont(const QFont& base) {
  QFont font = base;
  if (base.pointSizeF() > 0) font.setPointSizeF(base.pointSizeF() * 0.88);
  return font;
}

}  // namespace quorvane::gui::style
