// The status line under the list: how far the batch is ("4 of 34 converted
// · 1 failed"), what the converted files weighed before and after, and while
// a batch runs, a progress bar with the time left.
#pragma once

#include <QWidget>

class QLabel;
class QFrame;
class QProgressBar;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class SummaryView : public QWidget {
  Q_OBJECT

 public:
  explicit SummaryView(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  // "(−63%)" for a saving; "(+12%)" when the outputs grew past the inputs.
  static QString savingText(qint64 original, qint64 compressed);

  // "about 2 min left"; nothing before the first image has ended.
  static QString timeLeftText(qint64 elapsedMs, int done, int total);

  QString countText() const;
  QString sizesText() const;
  bool showsProgress() const;
  QProgressBar* progressBar() const { return m_progress; }

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
  QProgressBar* m_progress = nullptr;
  QLabel* m_timeLeft = nullptr;
};

}  // namespace quorvane::gui
