// The slim dashed strip at the top of the settings bar that takes more files
// while the list is shown.
#pragma once

#include "views/drop_area.h"

class QLabel;

namespace quorvane::gui {

class DropZoneCompact : public DropArea {
  Q_OBJECT

 public:
  explicit DropZoneCompact(core::ConversionViewModel& controller, QWidget* parent = nullptr);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void updateColors();

  QLabel* m_symbol = nullptr;
  QLabel* m_text = nullptr;
};

}  // namespace quorvane::gui
