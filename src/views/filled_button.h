// A push button filled with one solid colour (the main action, Cancel, the
// chosen preset), so its text keeps the contrast its colours were picked for:
// the style's own gradient would lighten the fill under the text. Unfilled or
// disabled, it is an ordinary button. Return on it presses it; a held-down
// Return (key repeat, as when a dialog closed on the same key) does not.
#pragma once

#include <QColor>
#include <QPushButton>

namespace quorvane::gui {

class FilledButton : public QPushButton {
  Q_OBJECT

 public:
  explicit FilledButton(const QString& text = {}, QWidget* parent = nullptr);

  // `text` drawn on `fill`; the caller picks them to read well together.
  void setColors(const QColor& fill, const QColor& text);
  void setFilled(bool filled);
  bool isFilled() const { return m_filled; }
  // The colour the button is drawn in now (hover and press change it).
  QColor currentFill() const;
  // Whether Return presses the button (as it does a dialog's default one).
  void setTakesReturn(bool takes) { m_takesReturn = takes; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QColor m_fill;
  QColor m_text;
  bool m_filled = true;
  bool m_takesReturn = false;
};

}  // namespace quorvane::gui
