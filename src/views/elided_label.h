// A one-line label that shortens its text in the middle when it does not fit,
// so both ends of a path stay readable; the full text is its tooltip.
#pragma once

#include <QLabel>

namespace quorvane::gui {

class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(QWidget* parent = nullptr);
  void setFullText(const QString& text);
  const QString& fullText() const { return m_fullText; }
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void elide();
  QString m_fullText;
};

}  // namespace quorvane::gui
