#include "views/drop_zone_view.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/file_dialogs.h"
#include "views/icons.h"
#include "views/settings_button.h"
#include "views/view_style.h"

namespace quorvane::gui {

DropZoneView::DropZoneView(core::ConversionViewModel& controller, QWidget* parent)
    : DropArea(controller, Look{20, 12, 2, 8, 4, 0.3}, parent) {
  setAccessibleName(tr("Drop image files here"));

  m_settings = new SettingsButton(this);
  connect(m_settings, &QToolButton::clicked, this, &DropZoneView::settingsRequested);
  auto* header = new QHBoxLayout;
  header->addStretch(1);
  header->addWidget(m_settings);

  m_symbol = new QLabel(this);
  m_symbol->setAlignment(Qt::AlignCenter);
  m_title = new QLabel(tr("Drag & drop images here"), this);
  QFont titleFont = font();
  titleFont.setPointSizeF(font().pointSizeF() * 1.55);
  m_title->setFont(titleFont);
  m_title->setAlignment(Qt::AlignCenter);
  m_or = new QLabel(tr("or"), this);
  m_or->setAlignment(Qt::AlignCenter);
  m_selectFiles = new QPushButton(tr("Select F&iles"), this);
  m_selectFiles->setAutoDefault(false);
  connect(m_selectFiles, &QPushButton::clicked, this, &DropZoneView::selectFiles);
  m_formats = new QLabel(tr("PNG, JPEG, HEIC, WebP, AVIF, TIFF, GIF, BMP"), this);
  m_formats->setFont(style::captionFont(font()));
  m_formats->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(16);
  layout->setContentsMargins(12, 8, 12, 28);
  layout->addLayout(header);
  layout->addStretch(1);
  layout->addWidget(m_symbol);
  layout->addWidget(m_title);
  layout->addWidget(m_or);
  layout->addWidget(m_selectFiles, 0, Qt::AlignHCenter);
  layout->addWidget(m_formats);
  layout->addStretch(1);
  updateColors();
}

void DropZoneView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && m_formats) updateColors();
  DropArea::changeEvent(event);
}

void DropZoneView::updateColors() {
  const QPalette& pal = palette();
  m_symbol->setPixmap(icons::documents(style::secondary(pal)).pixmap(48, 48));
  style::setTextColor(m_or, style::secondary(pal));
  style::setTextColor(m_formats, style::tertiary(pal));
}

void DropZoneView::selectFiles() {
  addFilesFromDialog(window(), controller());
}

}  // namespace quorvane::gui
