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
    // The file name keeps a margin from the window edge, like the header.
    QStyleOptionViewItem padded = option;
    padded.rect.adjust(8, 0, -4, 0);
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &background, painter, background.widget);
    QStyledItemDelegate::paint(painter, padded, index);
  } else {
    QStyledItemDelegate::paint(painter, option, index);
  }
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
  painter->save();
  painter->setFont(font);
  painter->setPen(option.palette.color(QPalette::Text));
  painter->drawText(x, baseline, original);
  if (!compressed.isEmpty()) {
    x += metrics.horizontalAdvance(original) + kGap;
    painter->setPen(style::secondary(option.palette));
    painter->drawText(x, baseline, arrow);
    x += metrics.horizontalAdvance(arrow) + kGap;
    const std::optional<double> r =
        ratio.isValid() ? std::optional<double>(ratio.toDouble()) : std::nullopt;
    painter->setPen(style::savingColor(option.palette, r));
    painter->drawText(x, baseline, compressed);
  }
  painter->restore();
}

void FileRowDelegate::paintStatus(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  const auto kind = static_cast<ConversionStatus::Kind>(index.data(FileListModel::StatusKindRole).toInt());
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
      painter->setPen(style::secondary(palette));
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
    case ConversionStatus::Kind::Cancelled:
      icons::minusCircle(style::secondary(palette)).paint(painter, symbol);
      break;
    case ConversionStatus::Kind::Error:
      icons::warningTriangle(style::red(palette)).paint(painter, symbol);
      break;
  }
}

}  // namespace quorvane::gui
