// The status line under the list: converted count, total sizes and saving,
// and a spinner while a batch runs.
#pragma once

#include <QWidget>

class QLabel;
class QFrame;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class Spinner;

class SummaryView : public QWidget {
  Q_OBJECT

 public:
  explicit SummaryView(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  // "(−63%)" for a saving; "(+12%)" when the outputs grew past the inputs.
  static QString savingText(qint64 original, qint64 compressed);

  QString countText() const;
  QString sizesText() const;
  bool showsProgress() const;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void refresh();

  core::ConversionViewModel& m_controller;
  QLabel* m_countIcon = nullptr;
  QLabel* m_count = nullptr;
  QFrame* m_divider = nullptr;
  QLabel* m_sizes = nullptr;
  QLabel* m_saving = nullptr;
  Spinner* m_spinner = nullptr;
  QLabel* m_converting = nullptr;
};

}  // namespace quorvane::gui
