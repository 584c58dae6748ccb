// The compare view of one converted image: its original beside (or under)
// its output, the zoom, the difference map, and a quality to try, with the
// sizes, the saving and the receipt of what is shown. A window of its own;
// Escape closes it.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QUuid>

#include "viewmodels/compare_view_model.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class CompareCanvas;

class CompareView : public QDialog {
  Q_OBJECT

 public:
  // Shows the image `id` of `controller`'s list (a converted one).
  CompareView(core::ConversionViewModel& controller, const QUuid& id, QWidget* parent = nullptr);

  // For tests.
  core::CompareViewModel& model() { return m_model; }
  CompareCanvas* canvas() const { return m_canvas; }
  QPushButton* fitButton() const { return m_fit; }
  QPushButton* actualSizeButton() const { return m_actual; }
  QPushButton* doubleSizeButton() const { return m_double; }
  QCheckBox* sideBySideBox() const { return m_sideBySide; }
  QCheckBox* differenceBox() const { return m_difference; }
  QSlider* qualitySlider() const { return m_quality; }
  QPushButton* useQualityButton() const { return m_useQuality; }
  QString outputText() const;
  QString statusText() const;

 private:
  QWidget* makeToolBar();
  QWidget* makeQualityRow();
  void showOriginal();
  void showOutput();
  void showDifference();
  void refreshStatus();
  void refreshZoom();
  void refreshUseQuality();
  void useQuality();
  void qualityChosen();

  core::ConversionViewModel& m_controller;
  QUuid m_id;
  core::CompareViewModel m_model;
  CompareCanvas* m_canvas = nullptr;
  QPushButton* m_fit = nullptr;
  QPushButton* m_actual = nullptr;
  QPushButton* m_double = nullptr;
  QLabel* m_zoomText = nullptr;
  QCheckBox* m_sideBySide = nullptr;
  QCheckBox* m_difference = nullptr;
  QLabel* m_originalText = nullptr;
  QLabel* m_outputText = nullptr;
  QLabel* m_status = nullptr;
  QSlider* m_quality = nullptr;
  QLabel* m_qualityValue = nullptr;
  QPushButton* m_useQuality = nullptr;
  QPushButton* m_close = nullptr;
  // A quality chosen starts its encode at once. Steps that follow within
  // kQualityRest of the last encode asked for (a held key, a turned wheel)
  // wait until they rest, and a dragged slider until it is let go: one
  // encode for them, not one per step.
  static constexpr int kQualityRest = 200;  // ms
  QTimer m_qualityDelay;
  QElapsedTimer m_sinceQualityAsked;
};

}  // namespace quorvane::gui
