#include "views/settings_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

#include "models/quality_verdict.h"
#include "services/auto_format.h"
#include "viewmodels/conversion_view_model.h"
#include "views/drop_zone_compact.h"
#include "views/filled_button.h"
#include "views/output_folder_button.h"
#include "views/output_folder_row.h"
#include "views/presets_button.h"
#include "views/view_style.h"

namespace quorvane::gui {

namespace {

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

QString SettingsBar::qualityHint(core::OutputFormat format) {
  switch (format) {
    case core::OutputFormat::Webp:
      return tr("WebP: 75 to 85 suits photos; 100 keeps the most detail.");
    case core::OutputFormat::Jpeg:
      return tr("JPEG: 75 to 85 suits photos; below 50 blocks begin to show.");
    case core::OutputFormat::Png:
      return tr("PNG: quality sets the colours: 64 up to 50, 128 up to 75, 256 above.");
    case core::OutputFormat::Heic:
      return tr("HEIC: looks like JPEG at the same number, at about half the size.");
    case core::OutputFormat::Avif:
      return tr("AVIF: 60 to 80 suits photos; 100 is nearly lossless.");
    case core::OutputFormat::Jxl:
      return tr("JPEG XL: 75 to 90 suits photos; 90 is what cjxl calls visually lossless.");
  }
  return {};
}

QString SettingsBar::autoQualityHint(int quality) {
  const double target = core::autoTargetScore(quality);
  //: %1: e.g. "very close"; %2: the lowest score allowed (of 100), e.g. 80
  return tr("Auto: each image as small as it can be while it looks %1 (scoring %2 or more).")
      .arg(core::verdictText(core::verdictFor(target)))
      .arg(QLocale().toString(target, 'f', 0));
}

SettingsBar::SettingsBar(core::ConversionViewModel& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller) {
  m_dropStrip = new DropZoneCompact(controller, this);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(12);
  layout->addWidget(m_dropStrip);
  QWidget* formatRow = makeFormatRow();
  layout->addWidget(formatRow);
  m_qualityHint = new QLabel(this);
  m_qualityHint->setFont(style::captionFont(font()));
  style::setTextColor(m_qualityHint, style::secondary(palette()));
  layout->addWidget(m_qualityHint);
  layout->addWidget(makeResizeRow());
  QWidget* namingRow = makeNamingRow();
  layout->addWidget(namingRow);
  m_outputRow = new OutputFolderRow(controller, this);
  layout->addWidget(m_outputRow);
  // Files dropped during a batch join it; everything else is the batch's
  // already.
  m_lockedDuringBatch = {formatRow, m_resizeRow, namingRow, m_outputRow};
  using Controller = core::ConversionViewModel;
  connect(&controller, &Controller::settingsChanged, this, &SettingsBar::refresh);
  connect(&controller, &Controller::isConvertingChanged, this, &SettingsBar::lockForBatch);
  refresh();
  lockForBatch(controller.isConverting());
}

bool SettingsBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_format || event->type() != QEvent::KeyPress) return false;
  // Alt with a letter or digit (a mnemonic that matched nothing); Alt+Down
  // still opens the list.
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool letter = (key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) ||
                      (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9);
  return (key->modifiers() & Qt::AltModifier) && letter;
}

void SettingsBar::lockForBatch(bool converting) {
  //: tooltip of the settings while a batch runs: they are fixed for it
  const QString why = tr("Applies to the next batch");
  for (QWidget* row : m_lockedDuringBatch) {
    row->setEnabled(!converting);
    // Shown over every control of the row that has no tooltip of its own,
    // and told to screen readers by each control that takes the focus.
    row->setToolTip(converting ? why : QString());
    QList<QWidget*> controls = row->findChildren<QWidget*>();
    controls.prepend(row);
    for (QWidget* control : controls) {
      if (control->focusPolicy() == Qt::NoFocus) continue;
      if (converting) {
        control->setProperty("descriptionBeforeBatch", control->accessibleDescription());
        control->setAccessibleDescription(why);
      } else if (control->property("descriptionBeforeBatch").isValid()) {
        control->setAccessibleDescription(control->property("descriptionBeforeBatch").toString());
      }
    }
  }
}

bool SettingsBar::isLockedForBatch() const {
  return !m_lockedDuringBatch.isEmpty() && !m_lockedDuringBatch.front()->isEnabled();
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
    style::setTextColor(m_qualityHint, style::secondary(palette()));
    refreshPresets();
  }
  QWidget::changeEvent(event);
}

FilledButton* SettingsBar::presetButton(const QString& title, int quality) {
  auto* button = new FilledButton(title, this);
  button->setFilled(false);
  button->setFont(style::captionFont(font()));
  // Never narrower than its text: the window grows instead.
  button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  button->setProperty("quality", quality);
  connect(button, &QPushButton::clicked, this,
          [this, quality] { m_controller.updateQuality(quality); });
  return button;
}

QWidget* SettingsBar::makeFormatRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(12);

  auto* format = new QHBoxLayout;
  auto* formatLabel = secondaryLabel(tr("For&mat:"));
  m_format = new QComboBox(row);
  m_format->setFixedWidth(100);
  for (core::OutputFormat f : core::kAllOutputFormats) {
    m_format->addItem(core::displayName(f), QVariant(core::rawValue(f)));
  }
  m_format->setItemData(m_format->findData(core::rawValue(core::OutputFormat::Jxl)),
                        tr("Smaller than JPEG at the same look, and holds a JPEG without any "
                           "loss; not every image viewer opens it yet"),
                        Qt::ToolTipRole);
  //: format menu: per image, the smallest format that looks the same
  m_format->addItem(tr("Auto"), QVariant(QStringLiteral("auto")));
  m_format->setItemData(m_format->count() - 1,
                        tr("Per image, the smallest of WebP, JPEG, AVIF and PNG that looks the "
                           "same; quality sets how close"),
                        Qt::ToolTipRole);
  //: format menu: each image stays in its own format
  m_format->addItem(tr("Same as Original"), QVariant(QStringLiteral("same")));
  m_format->setItemData(m_format->count() - 1,
                        tr("JPEG stays JPEG, PNG stays PNG, and so on; TIFF, BMP and GIF "
                           "become PNG"),
                        Qt::ToolTipRole);
  formatLabel->setBuddy(m_format);
  m_format->setAccessibleName(tr("Format"));
  // Alt with a letter is a mnemonic of another control, never a search in
  // the list (Alt+A would pick AVIF).
  m_format->installEventFilter(this);
  connect(m_format, &QComboBox::activated, this, [this](int index) {
    const QString value = m_format->itemData(index).toString();
    if (value == u"auto") {
      m_controller.updateAutoFormat();
    } else if (value == u"same") {
      m_controller.updateSameFormat();
    } else if (const auto format = core::outputFormatFromRawValue(value)) {
      m_controller.updateOutputFormat(*format);
    }
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
  auto* qualityLabel = secondaryLabel(tr("&Quality:"));
  quality->addWidget(qualityLabel);
  auto* presets = new QHBoxLayout;
  presets->setSpacing(4);
  m_presets = {presetButton(tr("Web Optimal"), 75), presetButton(tr("Balance"), 80),
               presetButton(tr("High Quality"), 90)};
  for (FilledButton* preset : {m_presets.webOptimal, m_presets.balance, m_presets.highQuality}) {
    presets->addWidget(preset);
  }
  m_presetsButton = new PresetsButton(m_controller, row);
  m_presetsButton->setFont(style::captionFont(font()));
  presets->addWidget(m_presetsButton);
  quality->addLayout(presets);
  m_quality = new QSlider(Qt::Horizontal, row);
  m_quality->setRange(0, 100);
  m_quality->setSingleStep(1);
  m_quality->setPageStep(5);
  m_quality->setMinimumWidth(60);
  m_quality->setMaximumWidth(160);
  m_quality->setAccessibleName(tr("Quality"));
  connect(m_quality, &QSlider::valueChanged, this,
          [this](int value) { m_controller.updateQuality(value); });
  quality->addWidget(m_quality);
  // The number can also be typed.
  m_qualityValue = new QSpinBox(row);
  m_qualityValue->setRange(0, 100);
  m_qualityValue->setAccessibleName(tr("Quality"));
  qualityLabel->setBuddy(m_qualityValue);
  connect(m_qualityValue, &QSpinBox::valueChanged, this,
          [this](int value) { m_controller.updateQuality(value); });
  quality->addWidget(m_qualityValue);
  layout->addLayout(quality, 1);
  return row;
}

ElidedLabel* SettingsBar::outputPath() const {
  return m_outputRow->outputPath();
}
OptionsButton* SettingsBar::optionsButton() const {
  return m_outputRow->optionsButton();
}
OutputFolderButton* SettingsBar::outputFolderButton() const {
  return m_outputRow->outputFolderButton();
}

bool SettingsBar::isPresetHighlighted(QPushButton* preset) const {
  return preset->property("highlighted").toBool();
}

void SettingsBar::refreshPresets() {
  // The chosen naming segment in the accent colour, dark enough for its text.
  const QColor text = palette().color(QPalette::HighlightedText);
  const QString segmentStyle =
      QStringLiteral(
          "QToolButton { padding: 3px 8px; border: 1px solid palette(mid); background: "
          "palette(button); }"
          "QToolButton:checked { background: %1; color: %2; }"
          "QToolButton:focus { border: 2px solid %1; }"
          // On the accent fill an accent ring would not show: the text colour does.
          "QToolButton:checked:focus { border: 2px solid palette(text); }")
          .arg(style::fillFor(text, style::accent(palette())).name(), text.name());
  for (QToolButton* button : {m_original, m_custom}) button->setStyleSheet(segmentStyle);
  const int quality = m_controller.settings().quality;
  for (FilledButton* preset : {m_presets.webOptimal, m_presets.balance, m_presets.highQuality}) {
    const bool on = preset->property("quality").toInt() == quality;
    preset->setProperty("highlighted", on);
    preset->setColors(style::fillFor(text, style::accent(palette())), text);
    preset->setFilled(on);
  }
}

void SettingsBar::refresh() {
  const core::ConversionSettings& settings = m_controller.settings();
  {
    const QSignalBlocker block(m_format);
    m_format->setCurrentIndex(m_format->findData(settings.autoFormat ? QStringLiteral("auto")
                                                 : settings.sameFormat
                                                     ? QStringLiteral("same")
                                                     : core::rawValue(settings.outputFormat)));
  }
  {
    const QSignalBlocker block(m_quality);
    m_quality->setValue(std::clamp(settings.quality, 0, 100));
  }
  {
    const QSignalBlocker block(m_qualityValue);
    m_qualityValue->setValue(std::clamp(settings.quality, 0, 100));
  }
  m_quality->setAccessibleDescription(QString::number(settings.quality));
  m_qualityHint->setText(settings.autoFormat ? autoQualityHint(settings.quality)
                                             : qualityHint(settings.outputFormat));
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
  m_custom->setChecked(custom);
  m_original->setChecked(!custom);
  m_customFields->setVisible(custom);
  showText(m_prefix, settings.namePrefix, false);
  showText(
      m_start, settings.nameStartNumber,
      !numericCharacters(m_start->text()).isEmpty() &&
          core::ConversionViewModel::numericPrefix(m_start->text(), 6) != settings.nameStartNumber);
}

}  // namespace quorvane::gui
