#include "views/file_list_model.h"

#include <QApplication>
#include <QLocale>
#include <QPalette>

#include "models/quality_verdict.h"
#include "services/file_service.h"
#include "viewmodels/conversion_view_model.h"
#include "views/view_style.h"

namespace quorvane::gui {

using core::ConversionStatus;

namespace {

std::optional<core::OutputFormat> formatSetting(const core::ConversionSettings& settings) {
  if (settings.autoFormat) return std::nullopt;
  return settings.outputFormat;
}

}  // namespace

FileListModel::FileListModel(core::ConversionViewModel& controller, QObject* parent)
    : QAbstractTableModel(parent),
      m_controller(controller),
      m_rowCount(static_cast<int>(controller.items().size())),
      m_format(formatSetting(controller.settings())),
      m_sameFormat(controller.settings().sameFormat) {
  using Controller = core::ConversionViewModel;
  // The controller appends before it signals; the rows become visible here.
  connect(&controller, &Controller::itemsInserted, this, [this](int first, int count) {
    beginInsertRows({}, first, first + count - 1);
    m_rowCount += count;
    endInsertRows();
  });
  connect(&controller, &Controller::itemsAboutToBeRemoved, this,
          [this](int first, int count) { beginRemoveRows({}, first, first + count - 1); });
  connect(&controller, &Controller::itemsRemoved, this, [this](int, int count) {
    m_rowCount -= count;
    endRemoveRows();
  });
  connect(&controller, &Controller::itemsAboutToBeCleared, this, [this] { beginResetModel(); });
  connect(&controller, &Controller::itemsCleared, this, [this] {
    m_rowCount = 0;
    endResetModel();
  });
  connect(&controller, &Controller::itemChanged, this, [this](int row) {
    emit dataChanged(
        index(row, 0), index(row, ColumnCount - 1),
        {Qt::DisplayRole, Qt::ToolTipRole, Qt::ForegroundRole, Qt::AccessibleTextRole,
         Qt::AccessibleDescriptionRole, StatusKindRole, CompressedSizeTextRole, SavingRatioRole});
  });
  connect(&controller, &Controller::settingsChanged, this, &FileListModel::settingsChanged);
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_rowCount;
}

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

const core::ImageItem* FileListModel::itemAt(int row) const {
  if (row < 0 || row >= m_rowCount) return nullptr;
  return &m_controller.items()[static_cast<std::size_t>(row)];
}

std::optional<core::OutputFormat> FileListModel::targetFormat(const core::ImageItem& item) const {
  // A row of the running batch, or with a result, shows its batch's format
  // (for Auto, the one chosen, "Auto" until then); a row waiting for the
  // next batch, what the settings will do with it.
  if (item.batchFormat()) return item.batchFormat();
  if (item.batchAuto()) return std::nullopt;
  if (m_sameFormat) return core::sameFormatFor(item.inputFormat());
  return m_format;
}

QString FileListModel::detailText(const core::ImageItem& item) {
  switch (item.status().kind) {
    case ConversionStatus::Kind::Completed: {
      //: under the file name: the name of the file written
      QString text =
          item.outputURL()
              ? tr("\u2192 %1").arg(core::FileService::displayPath(item.outputURL()->filename()))
              : QString();
      if (!item.note().isEmpty()) text += QStringLiteral(" \u00b7 ") + item.note();
      return text;
    }
    case ConversionStatus::Kind::KeptOriginal:
    case ConversionStatus::Kind::Skipped:
      // "Already converted → a.webp"; a skip's reason stands alone.
      if (item.outputURL()) {
        return item.status().message + QStringLiteral(" \u2192 ") +
               core::FileService::displayPath(item.outputURL()->filename());
      }
      return item.status().message;
    case ConversionStatus::Kind::Error:
      return item.status().message;
    case ConversionStatus::Kind::Processing:
      return tr("Converting\u2026");
    case ConversionStatus::Kind::Waiting:
      return {};
  }
  return {};
}

QString FileListModel::conversionText(const core::ImageItem& item,
                                      std::optional<core::OutputFormat> target) {
  const QString input = item.inputFormat().toUpper();
  // The original itself went to the output folder: its own format is the
  // result (the row's detail says why).
  if (item.status().kind == ConversionStatus::Kind::KeptOriginal) {
    return input + QStringLiteral(" \u2192 ") + input;
  }
  //: the format Auto picks per image
  const QString name = target ? core::displayName(*target) : tr("Auto");
  return input + QStringLiteral(" \u2192 ") + name;
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  switch (role) {
    case Qt::DisplayRole:
      switch (section) {
        case FileColumn:
          return tr("File");
        case ConversionColumn:
          return tr("Convert");
        case SizeColumn:
          return tr("Size");
        case SavingColumn:
          return tr("Ratio");
        case QualityColumn:
          //: column header: how the output compares with its original to the eye
          return tr("Looks");
        case StatusColumn:
          return tr("Status");
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
  const core::ImageItem* item = itemAt(index.row());
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
    case DetailTextRole:
      return detailText(*item);
    case DetailIsErrorRole:
      return status.isError();
    case SortRole:
      switch (index.column()) {
        case FileColumn:
          return item->fileName().toLower();
        case ConversionColumn:
          return conversionText(*item, targetFormat(*item));
        case SizeColumn:
          return item->originalSize();
        case SavingColumn:
          return item->compressionRatio() ? *item->compressionRatio() : -1e9;
        case QualityColumn:
          return item->score().value_or(-1e9);
        case StatusColumn:
          return static_cast<int>(status.kind);
      }
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(index.column() == FileColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                              : Qt::AlignCenter);
    default:
      break;
  }
  switch (index.column()) {
    case FileColumn:
      if (role == Qt::DisplayRole) return item->fileName();
      if (role == Qt::AccessibleTextRole) {
        const QString detail = detailText(*item);
        return detail.isEmpty() ? item->fileName()
                                : item->fileName() + QStringLiteral(", ") + detail;
      }
      if (role == Qt::ToolTipRole) {
        QString tip = core::FileService::displayPath(item->url());
        if (item->outputURL()) {
          tip += QStringLiteral("\n\u2192 ") + core::FileService::displayPath(*item->outputURL());
        }
        return tip;
      }
      break;
    case ConversionColumn:
      if (role == Qt::DisplayRole) return conversionText(*item, targetFormat(*item));
      if (role == Qt::ForegroundRole) return style::secondary(palette);
      if (role == Qt::FontRole) return style::captionFont(QApplication::font());
      break;
    case SizeColumn:
      if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        const QString original = core::FileService::formatFileSize(item->originalSize());
        if (!item->compressedSize()) return original;
        //: original size, arrow, size after conversion
        return tr("%1 \u2192 %2")
            .arg(original, core::FileService::formatFileSize(*item->compressedSize()));
      }
      break;
    case SavingColumn:
      if (role == Qt::DisplayRole)
        return item->compressionPercentText().value_or(QStringLiteral("\u2014"));
      if (role == Qt::ForegroundRole) return style::savingColor(palette, item->compressionRatio());
      if (role == Qt::FontRole) return style::captionFont(QApplication::font());
      break;
    case QualityColumn: {
      if (!item->score()) {
        if (role == Qt::DisplayRole) return QStringLiteral("\u2014");
        if (role == Qt::ForegroundRole) return style::secondary(palette);
        break;
      }
      const core::QualityVerdict verdict = core::verdictFor(*item->score());
      if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        return core::verdictText(verdict);
      }
      if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
        //: %1 is the score, such as 81.4; %2 the score from which nobody sees a difference
        return tr("Scores %1 of 100. From %2 up, no difference can be seen.")
            .arg(QLocale().toString(*item->score(), 'f', 1))
            .arg(QLocale().toString(core::kIdenticalFrom, 'f', 0));
      }
      if (role == Qt::ForegroundRole) return style::verdictColor(palette, verdict);
      if (role == Qt::FontRole) {
        QFont font = style::captionFont(QApplication::font());
        // A change a viewer would see stands out.
        font.setBold(core::isVisible(verdict));
        return font;
      }
      break;
    }
    case StatusColumn:
      if (role == Qt::DisplayRole) {
        return status.kind == ConversionStatus::Kind::Waiting ? tr("Waiting") : QString();
      }
      if (role == Qt::ToolTipRole && status.isError()) return status.message;
      if (role == Qt::AccessibleTextRole) {
        switch (status.kind) {
          case ConversionStatus::Kind::Waiting:
            return tr("Waiting");
          case ConversionStatus::Kind::Processing:
            return tr("Converting");
          case ConversionStatus::Kind::Completed:
            return tr("Done");
          case ConversionStatus::Kind::Error:
            return tr("Error");
          case ConversionStatus::Kind::Skipped:
            return tr("Skipped");
          case ConversionStatus::Kind::KeptOriginal:
            return tr("Original kept");
        }
      }
      const bool explained = status.kind == ConversionStatus::Kind::Skipped ||
                             status.kind == ConversionStatus::Kind::KeptOriginal;
      if (role == Qt::ToolTipRole && explained) return status.message;
      if (role == Qt::AccessibleDescriptionRole && (status.isError() || explained)) {
        return status.message;
      }
      break;
  }
  return {};
}

void FileListModel::settingsChanged() {
  const std::optional<core::OutputFormat> format = formatSetting(m_controller.settings());
  const bool same = m_controller.settings().sameFormat;
  if (format == m_format && same == m_sameFormat) return;
  m_format = format;
  m_sameFormat = same;
  if (m_rowCount > 0) {
    emit dataChanged(index(0, ConversionColumn), index(m_rowCount - 1, ConversionColumn),
                     {Qt::DisplayRole});
  }
}

}  // namespace quorvane::gui
