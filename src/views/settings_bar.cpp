#include "views/settings_bar.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/drop_zone_compact.h"
#include "views/elided_label.h"
#include "views/settings_view.h"
#include "views/view_style.h"

namespace quorvane::gui {

namespace {

QString numericCharacters(const QString& text) {
  QString kept;
  for (char32_t c : text.toUcs4()) {
    if (QChar::isNumber(c)) kept += QString::fromUcs4(&c, 1);
  }
  return kept;
}

// Shows `text` unless the user is editing the field and the stored value did
// not move: then the field keeps what is being typed (an emptied start number
// stays empty until focus leaves).
void showText(QLineEdit* field, const QString& text, bool force) {
  if (field->text() == text) return;
  if (field->hasFocus() && !force) return;
  const QSignalBlocker block(field);
  field->setText(text);
}

QString maxSideText(std::optional<int> value) {
  return value ? QString::number(*value) : QString();
}

}  // namespace

std::optional<int> SettingsBar::parseMaxSide(const QString& text) {
  const QString digits = numericCharacters(text);
  if (digits.isEmpty()) return std::nullopt;
  // Decimal ASCII only: other scripts' digits and fractions read as nothing.
  for (QChar c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
  }
  bool ok = false;
  const qlonglong value = digits.toLongLong(&ok);
  if (!ok || value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

SettingsBar::SettingsBar(core::ConversionViewModel& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller) {
  m_dropStrip = new DropZoneCompact(controller, this);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(12);
  layout->addWidget(m_dropStrip);
  layout->addWidget(makeFormatRow());
  layout->addWidget(makeResizeRow());
  layout->addWidget(makeNamingRow());
  layout->addWidget(makeOutputRow());
  connect(&controller, &core::ConversionViewModel::settingsChanged, this, &SettingsBar::refresh);
  refresh();
}

QLabel* SettingsBar::secondaryLabel(const QString& text) {
  auto* label = new QLabel(text, this);
  style::setTextColor(label, style::secondary(palette()));
  m_secondaryLabels << label;
  return label;
}

void SettingsBar::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && m_presets.highQuality) {
    for (QLabel* label : m_secondaryLabels) style::setTextColor(label, style::secondary(palette()));
    refreshPresets();
  }
  QWidget::changeEvent(event);
}

QPushButton* SettingsBar::presetButton(const QString& title, int quality) {
  auto* button = new QPushButton(title, this);
  button->setAutoDefault(false);
  button->setFont(style::captionFont(font()));
  button->setProperty("quality", quality);
  connect(button, &QPushButton::clicked, this, [this, quality] { m_controller.updateQuality(quality); });
  return button;
}

QWidget* SettingsBar::makeFormatRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(20);

  auto* format = new QHBoxLayout;
  auto* formatLabel = secondaryLabel(tr("Format:"));
  m_format = new QComboBox(row);
  m_format->setFixedWidth(100);
  for (core::OutputFormat f : core::kAllOutputFormats) {
    m_format->addItem(core::displayName(f), QVariant(core::rawValue(f)));
  }
  formatLabel->setBuddy(m_format);
  m_format->setAccessibleName(tr("Format"));
  connect(m_format, &QComboBox::activated, this, [this](int index) {
    m_controller.updateOutputFormat(core::kAllOutputFormats[static_cast<std::size_t>(index)]);
  });
  format->addWidget(formatLabel);
  format->addWidget(m_format);
  layout->addLayout(format);

  auto* divider = new QFrame(row);
  divider->setFrameShape(QFrame::VLine);
  divider->setFrameShadow(QFrame::Sunken);
  divider->setFixedHeight(20);
  layout->addWidget(divider);

  auto* quality = new QHBoxLayout;
  quality->setSpacing(8);
  quality->addWidget(secondaryLabel(tr("Quality:")));
  auto* presets = new QHBoxLayout;
  presets->setSpacing(4);
  m_presets = {presetButton(tr("Web Optimal"), 75), presetButton(tr("Balance"), 80),
               presetButton(tr("High Quality"), 90)};
  for (QPushButton* preset : {m_presets.webOptimal, m_presets.balance, m_presets.highQuality}) {
    presets->addWidget(preset);
  }
  quality->addLayout(presets);
  m_quality = new QSlider(Qt::Horizontal, row);
  m_quality->setRange(0, 100);
  m_quality->setSingleStep(1);
  m_quality->setPageStep(5);
  m_quality->setFixedWidth(120);
  m_quality->setAccessibleName(tr("Quality"));
  connect(m_quality, &QSlider::valueChanged, this, [this](int value) { m_controller.updateQuality(value); });
  quality->addWidget(m_quality);
  m_qualityValue = new QLabel(row);
  m_qualityValue->setFixedWidth(30);
  m_qualityValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  quality->addWidget(m_qualityValue);
  layout->addLayout(quality);
  layout->addStretch(1);
  return row;
}

QWidget* SettingsBar::makeResizeRow() {
  m_resizeRow = new QWidget(this);
  auto* layout = new QHBoxLayout(m_resizeRow);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(12);
  m_resize = new QCheckBox(tr("Resize"), m_resizeRow);
  connect(m_resize, &QCheckBox::toggled, this, [this](bool on) { m_controller.updateResizeEnabled(on); });
  layout->addWidget(m_resize);

  m_sizeFields = new QWidget(m_resizeRow);
  auto* fields = new QHBoxLayout(m_sizeFields);
  fields->setContentsMargins(0, 0, 0, 0);
  fields->setSpacing(12);
  m_maxWidth = makeSizeField(fields, tr("Max width:"), tr("Maximum width"), true);
  m_maxHeight = makeSizeField(fields, tr("Max height:"), tr("Maximum height"), false);
  layout->addWidget(m_sizeFields);
  layout->addStretch(1);

  m_resizeOpacity = new QGraphicsOpacityEffect(m_resizeRow);
  m_resizeRow->setGraphicsEffect(m_resizeOpacity);
  return m_resizeRow;
}

QLineEdit* SettingsBar::makeSizeField(QHBoxLayout* row, const QString& label,
                                      const QString& accessibleName, bool width) {
  auto* group = new QHBoxLayout;
  group->setSpacing(4);
  auto* title = secondaryLabel(label);
  auto* field = new QLineEdit(m_sizeFields);
  field->setFixedWidth(60);
  field->setAlignment(Qt::AlignRight);
  field->setAccessibleName(accessibleName);
  title->setBuddy(field);
  connect(field, &QLineEdit::textEdited, this, [this, width](const QString& text) {
    const std::optional<int> value = parseMaxSide(text);
    if (width) {
      m_controller.updateMaxWidth(value);
    } else {
      m_controller.updateMaxHeight(value);
    }
  });
  connect(field, &QLineEdit::editingFinished, this, &SettingsBar::refresh);
  group->addWidget(title);
  group->addWidget(field);
  group->addWidget(secondaryLabel(tr("px")));
  row->addLayout(group);
  return field;
}

QWidget* SettingsBar::makeNamingRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(12);
  layout->addWidget(secondaryLabel(tr("Filename:")));

  // Two joined toggle buttons stand in for a segmented control.
  auto* segments = new QWidget(row);
  segments->setFixedWidth(160);
  auto* segmentLayout = new QHBoxLayout(segments);
  segmentLayout->setContentsMargins(0, 0, 0, 0);
  segmentLayout->setSpacing(0);
  m_naming = new QButtonGroup(this);
  m_original = new QToolButton(segments);
  m_original->setText(tr("Original"));
  m_custom = new QToolButton(segments);
  m_custom->setText(tr("Custom"));
  for (QToolButton* button : {m_original, m_custom}) {
    button->setCheckable(true);
    // The chosen segment in the accent colour, in light and dark alike.
    button->setStyleSheet(QStringLiteral(
        "QToolButton { padding: 3px 8px; border: 1px solid palette(mid); background: palette(button); }"
        "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text); }"));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    segmentLayout->addWidget(button);
  }
  m_naming->addButton(m_original, 0);
  m_naming->addButton(m_custom, 1);
  connect(m_naming, &QButtonGroup::idClicked, this, [this](int id) {
    m_controller.updateNamingMode(id == 1 ? core::NamingMode::Custom : core::NamingMode::Original);
  });
  layout->addWidget(segments);

  m_customFields = new QWidget(row);
  auto* custom = new QHBoxLayout(m_customFields);
  custom->setContentsMargins(0, 0, 0, 0);
  custom->setSpacing(12);
  auto* prefixGroup = new QHBoxLayout;
  prefixGroup->setSpacing(4);
  prefixGroup->addWidget(secondaryLabel(tr("Prefix:")));
  m_prefix = new QLineEdit(m_customFields);
  m_prefix->setPlaceholderText(QStringLiteral("image"));
  m_prefix->setFixedWidth(100);
  m_prefix->setAccessibleName(tr("Prefix"));
  connect(m_prefix, &QLineEdit::textEdited, this,
          [this](const QString& text) { m_controller.updateNamePrefix(text); });
  connect(m_prefix, &QLineEdit::editingFinished, this, &SettingsBar::refresh);
  prefixGroup->addWidget(m_prefix);
  custom->addLayout(prefixGroup);
  auto* startGroup = new QHBoxLayout;
  startGroup->setSpacing(4);
  startGroup->addWidget(secondaryLabel(tr("Start:")));
  m_start = new QLineEdit(m_customFields);
  m_start->setPlaceholderText(QStringLiteral("01"));
  m_start->setFixedWidth(50);
  m_start->setAlignment(Qt::AlignRight);
  m_start->setAccessibleName(tr("Start number"));
  connect(m_start, &QLineEdit::textEdited, this, [this](const QString& text) {
    const QString digits = numericCharacters(text);
    if (!digits.isEmpty()) m_controller.updateNameStartNumber(digits);
  });
  connect(m_start, &QLineEdit::editingFinished, this, &SettingsBar::refresh);
  startGroup->addWidget(m_start);
  custom->addLayout(startGroup);
  layout->addWidget(m_customFields);
  layout->addStretch(1);
  return row;
}

QWidget* SettingsBar::makeOutputRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(secondaryLabel(tr("Output:")));
  m_outputPath = new ElidedLabel(row);
  layout->addWidget(m_outputPath, 1);
  auto* change = new QPushButton(tr("Change Folder"), row);
  change->setAutoDefault(false);
  change->setFont(style::captionFont(font()));
  connect(change, &QPushButton::clicked, this, &SettingsBar::chooseFolder);
  layout->addWidget(change);
  return row;
}

void SettingsBar::chooseFolder() {
  QFileDialog dialog(window(), tr("Choose Output Folder"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty()) return;
  if (auto folder = core::FileService::localPathFromUrl(dialog.selectedUrls().front())) {
    m_controller.setOutputDirectory(*folder);
  }
}

bool SettingsBar::isPresetHighlighted(QPushButton* preset) const {
  return preset->property("highlighted").toBool();
}

void SettingsBar::refreshPresets() {
  const int quality = m_controller.settings().quality;
  for (QPushButton* preset : {m_presets.webOptimal, m_presets.balance, m_presets.highQuality}) {
    const bool on = preset->property("quality").toInt() == quality;
    preset->setProperty("highlighted", on);
    QPalette pal = palette();
    if (on) {
      pal.setColor(QPalette::Button, style::accent(palette()));
      pal.setColor(QPalette::ButtonText, palette().color(QPalette::HighlightedText));
    }
    preset->setPalette(pal);
  }
}

void SettingsBar::refresh() {
  const core::ConversionSettings& settings = m_controller.settings();
  {
    const QSignalBlocker block(m_format);
    m_format->setCurrentIndex(m_format->findData(core::rawValue(settings.outputFormat)));
  }
  {
    const QSignalBlocker block(m_quality);
    m_quality->setValue(std::clamp(settings.quality, 0, 100));
  }
  m_qualityValue->setText(QString::number(settings.quality));
  m_quality->setAccessibleDescription(QString::number(settings.quality));
  refreshPresets();

  {
    const QSignalBlocker block(m_resize);
    m_resize->setChecked(settings.resizeEnabled);
  }
  m_sizeFields->setEnabled(settings.resizeEnabled);
  m_resizeOpacity->setOpacity(settings.resizeEnabled ? 1.0 : 0.6);
  const QString widthText = maxSideText(settings.maxWidth);
  const QString heightText = maxSideText(settings.maxHeight);
  showText(m_maxWidth, widthText, parseMaxSide(m_maxWidth->text()) != settings.maxWidth);
  showText(m_maxHeight, heightText, parseMaxSide(m_maxHeight->text()) != settings.maxHeight);

  const bool custom = settings.namingMode == core::NamingMode::Custom;
  (custom ? m_custom : m_original)->setChecked(true);
  m_customFields->setVisible(custom);
  showText(m_prefix, settings.namePrefix, false);
  showText(m_start, settings.nameStartNumber,
           !numericCharacters(m_start->text()).isEmpty() &&
               core::ConversionViewModel::numericPrefix(m_start->text(), 6) != settings.nameStartNumber);

  m_outputPath->setFullText(
      settings.outputDirectory
          ? abbreviatedHomePath(core::FileService::displayPath(*settings.outputDirectory),
                                QDir::homePath())
          : tr("(compressed/ folder next to input files)"));
}

}  // namespace quorvane::gui
