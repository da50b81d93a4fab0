#include "ui/window/schedule_table_model.h"

#include "ui/entry_commands.h"

#include <QBrush>
#include <QColor>

namespace quorel {

namespace {

const char* const kHeaders[] = {"S", "Heure", "Temps"};

} // namespace

QString neverFiresToolTip() {
    return QString::fromUtf8("Cette ligne ne se déclenchera jamais : l'heure doit s'écrire "
                             "exactement hh:mm:ss, de 00:00:00 à 23:59:59.");
}

ScheduleTableModel::ScheduleTableModel(const EditorList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

int ScheduleTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.count();
}

int ScheduleTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant ScheduleTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.count()) {
        return {};
    }
    const ScheduleEntry& entry = list_.row(index.row() + 1);
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(entry.column(index.column()));
    case Qt::ForegroundRole:
        if (!isClockTimeText(entry.time)) {
            return QBrush(QColor(180, 0, 0));
        }
        return {};
    case Qt::BackgroundRole:
        if (!isClockTimeText(entry.time)) {
            return QBrush(QColor(255, 235, 200));
        }
        return {};
    case Qt::ToolTipRole:
        if (!isClockTimeText(entry.time)) {
            return neverFiresToolTip();
        }
        return {};
    default:
        return {};
    }
}

QVariant ScheduleTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 3) {
        return QString::fromUtf8(kHeaders[section]);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ScheduleTableModel::refresh() {
    beginResetModel();
    endResetModel();
}

} // namespace quorel
