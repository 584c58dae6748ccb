#include "views/drop_zone_compact.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "views/file_dialogs.h"
#include "views/icons.h"
#include "views/view_style.h"

namespace quorvane::gui {

DropZoneCompact::DropZoneCompact(core::ConversionViewModel& controller, QWidget* parent)
    : DropArea(controller, Look{0, 6, 1, 4, 3, 0.2}, parent) {
  setAccessibleName(tr("Drop image files here"));
  m_symbol = new QLabel(this);
  m_text = new QLabel(tr("Add images (drag & drop)"), this);
  m_text->setFont(style::captionFont(font()));
  // The same without a mouse drag.
  auto* addFiles = new QPushButton(tr("Add F&iles\u2026"), this);
  auto* addFolder = new QPushButton(tr("Add Fol&der\u2026"), this);
  for (QPushButton* button : {addFiles, addFolder}) {
    button->setAutoDefault(false);
    button->setFont(style::captionFont(font()));
  }
  connect(addFiles, &QPushButton::clicked, this,
          [this] { addFilesFromDialog(window(), this->controller()); });
  connect(addFolder, &QPushButton::clicked, this,
          [this] { addFolderFromDialog(window(), this->controller()); });
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->addStretch(1);
  layout->addWidget(m_symbol);
  layout->addWidget(m_text);
  layout->addStretch(1);
  layout->addWidget(addFiles);
  layout->addWidget(addFolder);
  updateColors();
}

void DropZoneCompact::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && m_text) updateColors();
  DropArea::changeEvent(event);
}

void DropZoneCompact::updateColors() {
  const QColor color = style::secondary(palette());
  m_symbol->setPixmap(icons::plusCircle(color).pixmap(14, 14));
  style::setTextColor(m_text, color);
}

}  // namespace quorvane::gui
