// The controller's items as a table: File, Convert, Size, Ratio, Looks,
// Status.
// Follows the controller's row signals: rows are inserted, removed and
// changed one range at a time, never the whole table reset but on Clear.
#pragma once

#include <QAbstractTableModel>

#include "models/image_item.h"
#include "models/output_format.h"

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class FileListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column {
    FileColumn,
    ConversionColumn,
    SizeColumn,
    SavingColumn,
    QualityColumn,
    StatusColumn,
    ColumnCount
  };
  enum Role {
    StatusKindRole = Qt::UserRole + 1,  // int of ConversionStatus::Kind
    OriginalSizeTextRole,
    CompressedSizeTextRole,  // empty without an output size
    SavingRatioRole,         // double, or invalid without a ratio
    // The line under the file name: the output's name, or why there is none.
    DetailTextRole,
    DetailIsErrorRole,  // bool
    SortRole,           // what a column sorts by
  };

  explicit FileListModel(core::ConversionViewModel& controller, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The item shown in `row`, or null.
  const core::ImageItem* itemAt(int row) const;

  // "HEIC → WebP"
  // `target` absent: Auto.
  static QString conversionText(const core::ImageItem& item,
                                std::optional<core::OutputFormat> target);
  // "→ photo-1.webp", the failure's cause, "Converting…", …
  static QString detailText(const core::ImageItem& item);

 private:
  void settingsChanged();
  // The format a row converts to: the batch it is or was in, else the
  // setting.
  std::optional<core::OutputFormat> targetFormat(const core::ImageItem& item) const;

  core::ConversionViewModel& m_controller;
  int m_rowCount = 0;                          // follows the controller's list through the signals
  std::optional<core::OutputFormat> m_format;  // absent: Auto
  bool m_sameFormat = false;                   // each row in its input's format
};

}  // namespace quorvane::gui
