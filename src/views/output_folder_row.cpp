#include "views/output_folder_row.h"

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/elided_label.h"
#include "views/file_dialogs.h"
#include "views/options_button.h"
#include "views/output_folder_button.h"
#include "views/settings_view.h"
#include "views/view_style.h"

namespace quorvane::gui {

OutputFolderRow::OutputFolderRow(core::ConversionViewModel& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_title = new QLabel(tr("Output:"), this);
  style::setTextColor(m_title, style::secondary(palette()));
  layout->addWidget(m_title);
  m_outputPath = new ElidedLabel(this);
  layout->addWidget(m_outputPath, 1);
  m_change = new OutputFolderButton(m_controller, this);
  m_change->setObjectName(QStringLiteral("changeFolder"));
  m_change->setFont(style::captionFont(font()));
  layout->addWidget(m_change);
  m_options = new OptionsButton(m_controller, this);
  m_options->setFont(style::captionFont(font()));
  layout->addWidget(m_options);

  using Controller = core::ConversionViewModel;
  connect(&controller, &Controller::settingsChanged, this, &OutputFolderRow::refresh);
  // The default folder follows the first listed file.
  connect(&controller, &Controller::itemsInserted, this, &OutputFolderRow::refresh);
  connect(&controller, &Controller::itemsRemoved, this, &OutputFolderRow::refresh);
  connect(&controller, &Controller::itemsCleared, this, &OutputFolderRow::refresh);
  refresh();
}

void OutputFolderRow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && m_title) {
    style::setTextColor(m_title, style::secondary(palette()));
  }
  QWidget::changeEvent(event);
}

void OutputFolderRow::refresh() {
  // Where the next batch writes, as it will be.
  const core::ConversionSettings& settings = m_controller.settings();
  const auto shown = [](const std::filesystem::path& folder) {
    return abbreviatedHomePath(core::FileService::displayPath(folder), QDir::homePath());
  };
  const std::filesystem::path folder = m_controller.outputFolder();
  if (settings.outputDirectory) {
    m_outputPath->setFullText(shown(folder));
  } else if (!folder.empty()) {
    //: %1 is the folder the "compressed" folder is made in, e.g. ~/Pictures/2023
    m_outputPath->setFullText(tr("compressed/ in %1").arg(shown(folder.parent_path())));
  } else {
    m_outputPath->setFullText(tr("(compressed/ folder next to the first file)"));
  }
  m_outputPath->setAccessibleName(tr("Output folder: %1").arg(m_outputPath->fullText()));
}

}  // namespace quorvane::gui
