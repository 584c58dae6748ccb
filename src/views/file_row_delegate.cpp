#include "views/file_row_delegate.h"

#include <QApplication>
#include <QPainter>

#include "models/conversion_status.h"
#include "views/file_list_model.h"
#include "views/icons.h"
#include "views/spinner.h"
#include "views/view_style.h"

namespace quorvane::gui {

using core::ConversionStatus;

void FileRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
  if (index.column() == FileListModel::SizeColumn) {
    paintSizes(painter, option, index);
  } else if (index.column() == FileListModel::StatusColumn) {
    paintStatus(painter, option, index);
  } else if (index.column() == FileListModel::FileColumn) {
    paintName(painter, option, index);
  } else {
    QStyledItemDelegate::paint(painter, option, index);
  }
}

int FileRowDelegate::rowHeight(const QFont& font) {
  return QFontMetrics(font).height() + QFontMetrics(style::captionFont(font)).height() + 12;
}

void FileRowDelegate::paintName(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  QStyleOptionViewItem base = option;
  initStyleOption(&base, index);
  const QString name = base.text;
  base.text.clear();
  QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &base, painter, base.widget);

  // The name, and under it what became of the file: where it went, or why
  // nothing did. Both keep a margin from the window edge, like the header.
  const QRect area = option.rect.adjusted(8, 6, -4, -6);
  const QString detail = index.data(FileListModel::DetailTextRole).toString();
  const QFont caption = style::captionFont(option.font);
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette& palette = option.palette;
  painter->save();
  painter->setFont(option.font);
  painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  const QFontMetrics nameMetrics(option.font);
  const QRect nameRect(area.left(), area.top(), area.width(), nameMetrics.height());
  painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                    nameMetrics.elidedText(name, Qt::ElideMiddle, nameRect.width()));
  if (!detail.isEmpty()) {
    const QFontMetrics detailMetrics(caption);
    const QRect detailRect(area.left(), nameRect.bottom() + 1, area.width(),
                           detailMetrics.height());
    painter->setFont(caption);
    const bool error = index.data(FileListModel::DetailIsErrorRole).toBool();
    painter->setPen(selected ? palette.color(QPalette::HighlightedText)
                    : error  ? style::red(palette)
                             : style::secondary(palette));
    // A file name loses its middle; a reason or an error, which leads with
    // what happened, its end.
    const bool written = index.data(FileListModel::StatusKindRole).toInt() ==
                         static_cast<int>(core::ConversionStatus::Kind::Completed);
    painter->drawText(detailRect, Qt::AlignLeft | Qt::AlignVCenter,
                      detailMetrics.elidedText(detail, written ? Qt::ElideMiddle : Qt::ElideRight,
                                               detailRect.width()));
  }
  painter->restore();
}

void FileRowDelegate::paintSizes(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QStyleOptionViewItem base = option;
  initStyleOption(&base, index);
  base.text.clear();
  QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &base, painter, base.widget);

  const QString original = index.data(FileListModel::OriginalSizeTextRole).toString();
  const QString compressed = index.data(FileListModel::CompressedSizeTextRole).toString();
  const QVariant ratio = index.data(FileListModel::SavingRatioRole);
  const QFont font = style::captionFont(option.font);
  const QFontMetrics metrics(font);
  const QString arrow = QStringLiteral("\u2192");
  constexpr int kGap = 4;
  int width = metrics.horizontalAdvance(original);
  if (!compressed.isEmpty()) {
    width += 2 * kGap + metrics.horizontalAdvance(arrow) + metrics.horizontalAdvance(compressed);
  }
  int x = option.rect.center().x() - width / 2;
  const int baseline = option.rect.center().y() + (metrics.ascent() - metrics.descent()) / 2;
  // On a selected row every text is in the selection's text colour: the
  // saving colours are tuned for the list's background only.
  const bool selected = option.state & QStyle::State_Selected;
  const QColor onSelection = option.palette.color(QPalette::HighlightedText);
  painter->save();
  painter->setFont(font);
  painter->setPen(selected ? onSelection : option.palette.color(QPalette::Text));
  painter->drawText(x, baseline, original);
  if (!compressed.isEmpty()) {
    x += metrics.horizontalAdvance(original) + kGap;
    painter->setPen(selected ? onSelection : style::secondary(option.palette));
    painter->drawText(x, baseline, arrow);
    x += metrics.horizontalAdvance(arrow) + kGap;
    const std::optional<double> r =
        ratio.isValid() ? std::optional<double>(ratio.toDouble()) : std::nullopt;
    painter->setPen(selected ? onSelection : style::savingColor(option.palette, r));
    painter->drawText(x, baseline, compressed);
  }
  painter->restore();
}

void FileRowDelegate::paintStatus(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  const auto kind =
      static_cast<ConversionStatus::Kind>(index.data(FileListModel::StatusKindRole).toInt());
  QStyleOptionViewItem base = option;
  initStyleOption(&base, index);
  base.text.clear();
  QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &base, painter, base.widget);

  const QPalette& palette = option.palette;
  constexpr int kSymbol = 16;
  const QRect symbol(option.rect.center().x() - kSymbol / 2, option.rect.center().y() - kSymbol / 2,
                     kSymbol, kSymbol);
  switch (kind) {
    case ConversionStatus::Kind::Waiting:
      painter->save();
      painter->setFont(style::captionFont(option.font));
      painter->setPen((option.state & QStyle::State_Selected)
                          ? palette.color(QPalette::HighlightedText)
                          : style::secondary(palette));
      painter->drawText(option.rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
      painter->restore();
      break;
    case ConversionStatus::Kind::Processing:
      Spinner::paintFrame(*painter, QRectF(symbol).adjusted(1, 1, -1, -1),
                          palette.color(QPalette::Text), m_spinnerStep);
      break;
    case ConversionStatus::Kind::Completed:
      icons::checkmarkCircle(style::green(palette)).paint(painter, symbol);
      break;
    case ConversionStatus::Kind::Error:
      icons::warningTriangle(style::red(palette)).paint(painter, symbol);
      break;
    case ConversionStatus::Kind::KeptOriginal:
    case ConversionStatus::Kind::Skipped:
      // Nothing wrong, nothing new: a check in the quiet colour.
      icons::checkmarkCircle(style::secondary(palette)).paint(painter, symbol);
      break;
  }
}

}  // namespace quorvane::gui
