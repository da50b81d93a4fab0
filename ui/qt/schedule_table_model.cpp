#include "ui/qt/schedule_table_model.h"

#include "ui/qt/colours.h"

#include <QBrush>

namespace quorel {

ScheduleTableModel::ScheduleTableModel(const EditorList& list,
                                       const std::vector<ListColumn>& columns, QObject* parent)
    : QAbstractTableModel(parent), list_(list), warnings_(rowWarnings(list)) {
    for (const ListColumn& column : columns) {
        headers_ << QString::fromUtf8(column.caption);
    }
}

RowWarning ScheduleTableModel::warningOf(int row) const {
    return static_cast<size_t>(row) < warnings_.size() ? warnings_[row] : RowWarning::None;
}

int ScheduleTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.count();
}

int ScheduleTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ScheduleTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.count()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromStdString(list_.row(index.row() + 1).column(index.column()));
    }
    const RowWarning warning = warningOf(index.row());
    if (warning == RowWarning::None) {
        return {};
    }
    switch (role) {
    case Qt::ForegroundRole:
        return QBrush(warningTextColour());
    case Qt::BackgroundRole:
        return QBrush(warningBackgroundColour());
    case Qt::ToolTipRole:
        return QString::fromUtf8(rowWarningToolTip(warning));
    default:
        return {};
    }
}

QVariant ScheduleTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < headers_.size()) {
        return headers_[section];
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ScheduleTableModel::refresh() {
    beginResetModel();
    warnings_ = rowWarnings(list_);
    endResetModel();
}

} // namespace quorel
