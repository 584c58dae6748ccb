// The status line under the list: how far the batch is ("4 of 34 converted
// · 1 failed"), what the converted files weighed before and after, and while
// a batch runs, a progress bar with the time left.
#pragma once

#include <QTimer>
#include <QWidget>
#include <optional>

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

  // "about 2 min left"; nothing while no pace is known.
  static QString timeLeftText(std::optional<qint64> msLeft);

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
  QTimer m_tick;  // moves the time left on while a batch runs
};

}  // namespace quorvane::gui
