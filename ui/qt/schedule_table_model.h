#pragma once

#include "core/control_description.h"
#include "ui/editor_list.h"
#include "ui/row_warnings.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace quorel {

// Shows the editor's list in the window's list widget, under the captions of its columns. A row
// that will never ring (see rowWarnings) is drawn in a warning colour with a tool tip saying why.
class ScheduleTableModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    ScheduleTableModel(const EditorList& list, const std::vector<ListColumn>& columns,
                       QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list has changed: show it anew.
    void refresh();

  private:
    RowWarning warningOf(int row) const;

    const EditorList& list_;
    QStringList headers_;
    // Computed once per change of the list, since data() is asked for every cell.
    std::vector<RowWarning> warnings_;
};

} // namespace quorel
