// The panel above the list: more files, format and quality, resizing, naming
// and the output folder. It keeps no copy of the settings: every control shows
// the controller's value and every change goes through an update operation.
#pragma once

#include <QWidget>
#include <optional>

#include "models/output_format.h"

class QCheckBox;
class QComboBox;
class QGraphicsOpacityEffect;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QToolButton;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class DropZoneCompact;
class ElidedLabel;
class FilledButton;
class OptionsButton;
class OutputFolderRow;
class OutputFolderButton;
class PresetsButton;

class SettingsBar : public QWidget {
  Q_OBJECT

 public:
  explicit SettingsBar(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  // The maximum a size field's text stands for: its numeric characters read
  // as a decimal number; nothing (no maximum) when there are none or they do
  // not read as one ("١", "½", beyond range).
  static std::optional<int> parseMaxSide(const QString& text);
  // The largest side a size field takes.
  static constexpr int kMaxSide = 65535;
  // One line on what the quality number means for a format.
  static QString qualityHint(core::OutputFormat format);
  static QString autoQualityHint(int quality);

  struct Presets {
    FilledButton* webOptimal;
    FilledButton* balance;
    FilledButton* highQuality;
  };
  // For tests and accessibility tools.
  QComboBox* formatMenu() const { return m_format; }
  QSlider* qualitySlider() const { return m_quality; }
  QSpinBox* qualityValue() const { return m_qualityValue; }
  QLabel* qualityHintLabel() const { return m_qualityHint; }
  Presets presets() const { return m_presets; }
  // Saved sets of every setting, beside the quality buttons.
  PresetsButton* presetsButton() const { return m_presetsButton; }
  QCheckBox* resizeBox() const { return m_resize; }
  QLineEdit* maxWidthField() const { return m_maxWidth; }
  QLineEdit* maxHeightField() const { return m_maxHeight; }
  QWidget* resizeRow() const { return m_resizeRow; }
  QToolButton* customNaming() const { return m_custom; }
  QToolButton* originalNaming() const { return m_original; }
  QLineEdit* prefixField() const { return m_prefix; }
  QLineEdit* startField() const { return m_start; }
  ElidedLabel* outputPath() const;
  OptionsButton* optionsButton() const;
  OutputFolderButton* outputFolderButton() const;
  bool isPresetHighlighted(QPushButton* preset) const;
  // While a batch runs, the settings (fixed for it) are disabled.
  bool isLockedForBatch() const;

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The digits of `text`, of any script, in order.
  static QString numericCharacters(const QString& text);
  QWidget* makeFormatRow();
  QWidget* makeResizeRow();
  QLineEdit* makeSizeField(QHBoxLayout* row, const QString& label, const QString& accessibleName,
                           bool width);
  QWidget* makeNamingRow();
  QLabel* secondaryLabel(const QString& text);
  FilledButton* presetButton(const QString& title, int quality);
  void refresh();
  void refreshPresets();
  void lockForBatch(bool converting);

  core::ConversionViewModel& m_controller;
  DropZoneCompact* m_dropStrip = nullptr;
  QComboBox* m_format = nullptr;
  QSlider* m_quality = nullptr;
  QSpinBox* m_qualityValue = nullptr;
  QLabel* m_qualityHint = nullptr;
  Presets m_presets{};
  PresetsButton* m_presetsButton = nullptr;
  QWidget* m_resizeRow = nullptr;
  QGraphicsOpacityEffect* m_resizeOpacity = nullptr;
  QCheckBox* m_resize = nullptr;
  QWidget* m_sizeFields = nullptr;
  QLineEdit* m_maxWidth = nullptr;
  QLineEdit* m_maxHeight = nullptr;
  QToolButton* m_original = nullptr;
  QToolButton* m_custom = nullptr;
  QWidget* m_customFields = nullptr;
  QLineEdit* m_prefix = nullptr;
  QLineEdit* m_start = nullptr;
  OutputFolderRow* m_outputRow = nullptr;
  QList<QLabel*> m_secondaryLabels;
  QList<QWidget*> m_lockedDuringBatch;
};

}  // namespace quorvane::gui
