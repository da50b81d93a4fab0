#pragma once

#include "ui/editor_list.h"

#include <QAbstractTableModel>

namespace quorel {

// Shows the editor's list in the window's list widget: three columns "S", "Heure", "Temps". A row
// whose time can never match the clock is drawn in a warning colour with a tool tip saying so.
class ScheduleTableModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit ScheduleTableModel(const EditorList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list has changed: show it anew.
    void refresh();

  private:
    const EditorList& list_;
};

// The tool tip of a row that will never fire.
QString neverFiresToolTip();

} // namespace quorel
