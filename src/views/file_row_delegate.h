// Paints the cells of a row that are more than text: the name with what
// became of the file under it, the sizes (the output size coloured by its
// saving) and the state (a word, a spinner or a symbol). Stateless apart from
// the spinner's animation step.
#pragma once

#include <QStyledItemDelegate>

namespace quorvane::gui {

class FileRowDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  void setSpinnerStep(int step) { m_spinnerStep = step; }
  // A row holds two lines: the name and what became of the file.
  static int rowHeight(const QFont& font);

 private:
  void paintName(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const;
  void paintSizes(QPainter* painter, const QStyleOptionViewItem& option,
                  const QModelIndex& index) const;
  void paintStatus(QPainter* painter, const QStyleOptionViewItem& option,
                   const QModelIndex& index) const;

  int m_spinnerStep = 0;
};

}  // namespace quorvane::gui
