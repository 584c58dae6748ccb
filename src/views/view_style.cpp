#include "views/view_style.h"

#include <algorithm>
#include <cmath>

namespace quorvane::gui::style {

bool isDark(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() < 128;
}

QColor secondary(const QPalette& palette) {
  QColor color = palette.color(QPalette::WindowText);
  color.setAlphaF(0.6f);
  return color;
}

QColor tertiary(const QPalette& palette) {
  QColor color = palette.color(QPalette::WindowText);
  color.setAlphaF(0.58f);  // still 4.5:1 on the window background
  return color;
}

void setTextColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, color);
  widget->setPalette(palette);
}

QColor accent(const QPalette& palette) {
  return palette.color(QPalette::Highlight);
}

double contrastRatio(const QColor& a, const QColor& b) {
  const auto luminance = [](const QColor& c) {
    const auto channel = [](double v) {
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor fillFor(const QColor& text, QColor fill, double ratio) {
  const bool lightText = text.lightnessF() > 0.5;
  for (int step = 0; step < 40 && contrastRatio(text, fill) < ratio; ++step) {
    fill = lightText ? fill.darker(106) : fill.lighter(106);
  }
  return fill;
}

// Each reaches 4.5:1 on the window and list backgrounds of its appearance.
QColor green(const QPalette& palette) {
  return isDark(palette) ? QColor(0x4c, 0xd9, 0x64) : QColor(0x17, 0x7a, 0x33);
}
QColor orange(const QPalette& palette) {
  return isDark(palette) ? QColor(0xff, 0xa6, 0x3d) : QColor(0xa8, 0x51, 0x00);
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

QColor verdictColor(const QPalette& palette, core::QualityVerdict verdict) {
  switch (verdict) {
    case core::QualityVerdict::Identical:
    case core::QualityVerdict::VeryClose:
      return green(palette);
    case core::QualityVerdict::VisibleOnCloseLook:
      return orange(palette);
    case core::QualityVerdict::VisiblyChanged:
      return red(palette);
  }
  return secondary(palette);
}

QFont captionFont(const QFont& base) {
  QFont font = base;
  if (base.pointSizeF() > 0) font.setPointSizeF(base.pointSizeF() * 0.88);
  return font;
}

}  // namespace quorvane::gui::style
