#include "views/file_list_model.h"

#include <QApplication>
#include <QPalette>

#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/view_style.h"

namespace quorvane::gui {

using core::ConversionStatus;

FileListModel::FileListModel(core::ConversionViewModel& controller, QObject* parent)
    : QAbstractTableModel(parent),
      m_controller(controller),
      m_format(controller.settings().outputFormat) {
  m_rows = controller.items();
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    m_rowOf[m_rows[i].get()] = static_cast<int>(i);
    watch(m_rows[i]);
  }
  connect(&controller, &core::ConversionViewModel::itemsChanged, this, &FileListModel::itemsChanged);
  connect(&controller, &core::ConversionViewModel::settingsChanged, this,
          &FileListModel::settingsChanged);
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

std::shared_ptr<core::ImageItem> FileListModel::itemAt(int row) const {
  if (row < 0 || row >= static_cast<int>(m_rows.size())) return nullptr;
  return m_rows[static_cast<std::size_t>(row)];
}

QString FileListModel::conversionText(const core::ImageItem& item, core::OutputFormat target) {
  return item.inputFormat().toUpper() + QStringLiteral(" \u2192 ") + core::displayName(target);
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  switch (role) {
    case Qt::DisplayRole:
      switch (section) {
        case FileColumn: return tr("File");
        case ConversionColumn: return tr("Convert");
        case SizeColumn: return tr("Size");
        case SavingColumn: return tr("Ratio");
        case StatusColumn: return tr("Status");
      }
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(section == FileColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                       : Qt::AlignCenter);
    case Qt::FontRole:
      return style::captionFont(QApplication::font());
    case Qt::ForegroundRole:
      return style::secondary(QApplication::palette());
  }
  return {};
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  const auto item = itemAt(index.row());
  if (!item || !index.isValid()) return {};
  const QPalette palette = QApplication::palette();
  const ConversionStatus& status = item->status();
  switch (role) {
    case StatusKindRole:
      return static_cast<int>(status.kind);
    case OriginalSizeTextRole:
      return core::FileService::formatFileSize(item->originalSize());
    case CompressedSizeTextRole:
      return item->compressedSize() ? core::FileService::formatFileSize(*item->compressedSize())
                                    : QString();
    case SavingRatioRole:
      return item->compressionRatio() ? QVariant(*item->compressionRatio()) : QVariant();
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(index.column() == FileColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                              : Qt::AlignCenter);
    default:
      break;
  }
  switch (index.column()) {
    case FileColumn:
      if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return item->fileName();
      if (role == Qt::ToolTipRole) return core::FileService::displayPath(item->url());
      break;
    case ConversionColumn:
      if (role == Qt::DisplayRole) return conversionText(*item, m_format);
      if (role == Qt::ForegroundRole) return style::secondary(palette);
      if (role == Qt::FontRole) return style::captionFont(QApplication::font());
      break;
    case SizeColumn:
      if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        const QString original = core::FileService::formatFileSize(item->originalSize());
        if (!item->compressedSize()) return original;
        //: original size, arrow, size after conversion
        return tr("%1 \u2192 %2").arg(original, core::FileService::formatFileSize(*item->compressedSize()));
      }
      break;
    case SavingColumn:
      if (role == Qt::DisplayRole) return item->compressionPercentText().value_or(QStringLiteral("\u2014"));
      if (role == Qt::ForegroundRole) return style::savingColor(palette, item->compressionRatio());
      if (role == Qt::FontRole) return style::captionFont(QApplication::font());
      break;
    case StatusColumn:
      if (role == Qt::DisplayRole) {
        return status.kind == ConversionStatus::Kind::Waiting ? tr("Waiting") : QString();
      }
      if (role == Qt::ToolTipRole && status.isError()) return status.message;
      if (role == Qt::AccessibleTextRole) {
        switch (status.kind) {
          case ConversionStatus::Kind::Waiting: return tr("Waiting");
          case ConversionStatus::Kind::Processing: return tr("Converting");
          case ConversionStatus::Kind::Completed: return tr("Done");
          case ConversionStatus::Kind::Cancelled: return tr("Cancelled");
          case ConversionStatus::Kind::Error: return tr("Error");
        }
      }
      if (role == Qt::AccessibleDescriptionRole && status.isError()) return status.message;
      break;
  }
  return {};
}

void FileListModel::watch(const std::shared_ptr<core::ImageItem>& item) {
  const core::ImageItem* raw = item.get();
  const auto changed = [this, raw] { itemChanged(raw); };
  connect(raw, &core::ImageItem::statusChanged, this, changed);
  connect(raw, &core::ImageItem::compressedSizeChanged, this, changed);
  connect(raw, &core::ImageItem::errorMessageChanged, this, changed);
}

void FileListModel::itemChanged(const core::ImageItem* item) {
  const auto found = m_rowOf.find(item);
  if (found == m_rowOf.end()) return;
  emit dataChanged(index(found->second, 0), index(found->second, ColumnCount - 1));
}

void FileListModel::itemsChanged() {
  const auto& items = m_controller.items();
  const bool appended =
      items.size() > m_rows.size() && std::equal(m_rows.begin(), m_rows.end(), items.begin());
  if (appended) {
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, static_cast<int>(items.size()) - 1);
    for (std::size_t i = m_rows.size(); i < items.size(); ++i) {
      m_rows.push_back(items[i]);
      m_rowOf[items[i].get()] = static_cast<int>(i);
      watch(items[i]);
    }
    endInsertRows();
    return;
  }
  beginResetModel();
  for (const auto& item : m_rows) item->disconnect(this);
  m_rows = items;
  m_rowOf.clear();
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    m_rowOf[m_rows[i].get()] = static_cast<int>(i);
    watch(m_rows[i]);
  }
  endResetModel();
}

void FileListModel::settingsChanged() {
  const core::OutputFormat format = m_controller.settings().outputFormat;
  if (format == m_format) return;
  m_format = format;
  if (!m_rows.empty()) {
    emit dataChanged(index(0, ConversionColumn), index(rowCount() - 1, ConversionColumn),
                     {Qt::DisplayRole});
  }
}

}  // namespace quorvane::gui
