// "Fit Under" in the Options menu: the largest file an output may be, from
// a few common sizes or typed in a dialog, or no limit. Its title shows the
// limit in force.
#pragma once

#include <QMenu>
#include <cstdint>

class QAction;
class QActionGroup;

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class FitUnderMenu : public QMenu {
  Q_OBJECT

 public:
  explicit FitUnderMenu(core::ConversionViewModel& controller, QWidget* parent = nullptr);

  // The sizes offered in the menu, in bytes.
  static const QList<std::int64_t>& sizeChoices();
  // "Other Size…": the dialog that asks for a size.
  QAction* otherSizeAction() const { return m_otherSize; }

 private:
  void askForSize();
  void setLimit(std::optional<std::int64_t> bytes);
  void refresh();

  core::ConversionViewModel& m_controller;
  QActionGroup* m_sizes = nullptr;
  QAction* m_savedSize = nullptr;  // a limit in force that the menu does not offer
  QAction* m_otherSize = nullptr;
};

}  // namespace quorvane::gui
