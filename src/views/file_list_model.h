// The controller's items as a table: File, Convert, Size, Ratio, Status.
// Follows the controller's signals; appending keeps the view's scroll
// position and selection, any other list change resets the model.
#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <unordered_map>
#include <vector>

#include "models/image_item.h"
#include "models/output_format.h"

namespace quorvane::core {
class ConversionViewModel;
}

namespace quorvane::gui {

class FileListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { FileColumn, ConversionColumn, SizeColumn, SavingColumn, StatusColumn, ColumnCount };
  enum Role {
    StatusKindRole = Qt::UserRole + 1,  // int of ConversionStatus::Kind
    OriginalSizeTextRole,
    CompressedSizeTextRole,  // empty without an output size
    SavingRatioRole,         // double, or invalid without a ratio
  };

  explicit FileListModel(core::ConversionViewModel& controller, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  std::shared_ptr<core::ImageItem> itemAt(int row) const;

  // "HEIC → WebP"
  static QString conversionText(const core::ImageItem& item, core::OutputFormat target);

 private:
  void itemsChanged();
  void settingsChanged();
  void watch(const std::shared_ptr<core::ImageItem>& item);
  void itemChanged(const core::ImageItem* item);

  core::ConversionViewModel& m_controller;
  std::vector<std::shared_ptr<core::ImageItem>> m_rows;
  std::unordered_map<const core::ImageItem*, int> m_rowOf;
  core::OutputFormat m_format;
};

}  // namespace quorvane::gui
