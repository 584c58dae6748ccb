// The settings bar's resize and naming rows, and reading a maximum side.
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
#include "views/settings_bar.h"
#include "views/view_style.h"

namespace quorvane::gui {

QString SettingsBar::numericCharacters(const QString& text) {
  QString kept;
  for (char32_t c : text.toUcs4()) {
    if (QChar::isNumber(c)) kept += QString::fromUcs4(&c, 1);
  }
  return kept;
}

std::optional<int> SettingsBar::parseMaxSide(const QString& text) {
  const QString digits = numericCharacters(text);
  if (digits.isEmpty()) return std::nullopt;
  // Decimal ASCII only: other scripts' digits and fractions read as nothing.
  for (QChar c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
  }
  // 0 is no side at all: no limit. Past the largest side any format can
  // have, the largest.
  bool ok = false;
  const qlonglong value = digits.left(12).toLongLong(&ok);
  if (!ok || value == 0) return std::nullopt;
  return static_cast<int>(std::min<qlonglong>(value, kMaxSide));
}

QWidget* SettingsBar::makeResizeRow() {
  m_resizeRow = new QWidget(this);
  auto* layout = new QHBoxLayout(m_resizeRow);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(12);
  m_resize = new QCheckBox(tr("Resi&ze"), m_resizeRow);
  connect(m_resize, &QCheckBox::toggled, this,
          [this](bool on) { m_controller.updateResizeEnabled(on); });
  layout->addWidget(m_resize);

  m_sizeFields = new QWidget(m_resizeRow);
  auto* fields = new QHBoxLayout(m_sizeFields);
  fields->setContentsMargins(0, 0, 0, 0);
  fields->setSpacing(12);
  m_maxWidth = makeSizeField(fields, tr("Max &width:"), tr("Maximum width"), true);
  m_maxHeight = makeSizeField(fields, tr("Max hei&ght:"), tr("Maximum height"), false);
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
  field->setFixedWidth(64);
  field->setAlignment(Qt::AlignRight);
  field->setAccessibleName(accessibleName);
  //: shown in an empty size field
  field->setPlaceholderText(tr("any"));
  // Digits only, at most the largest side any format holds.
  field->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), field));
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
  // Not a button group: a group makes the pair one Tab stop. Each is a
  // stop of its own, as linked toggle buttons are on this desktop.
  m_original = new QToolButton(segments);
  m_original->setText(tr("&Original"));
  m_custom = new QToolButton(segments);
  m_custom->setText(tr("C&ustom"));
  for (QToolButton* button : {m_original, m_custom}) {
    button->setCheckable(true);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    segmentLayout->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, button] {
      m_controller.updateNamingMode(button == m_custom ? core::NamingMode::Custom
                                                       : core::NamingMode::Original);
      refresh();  // a click on the chosen one must not unmark it
    });
  }
  layout->addWidget(segments);

  m_customFields = new QWidget(row);
  auto* custom = new QHBoxLayout(m_customFields);
  custom->setContentsMargins(0, 0, 0, 0);
  custom->setSpacing(12);
  auto* prefixGroup = new QHBoxLayout;
  prefixGroup->setSpacing(4);
  auto* prefixLabel = secondaryLabel(tr("Prefi&x:"));
  prefixGroup->addWidget(prefixLabel);
  m_prefix = new QLineEdit(m_customFields);
  prefixLabel->setBuddy(m_prefix);
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
  auto* startLabel = secondaryLabel(tr("Star&t:"));
  startGroup->addWidget(startLabel);
  m_start = new QLineEdit(m_customFields);
  startLabel->setBuddy(m_start);
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

}  // namespace quorvane::gui
