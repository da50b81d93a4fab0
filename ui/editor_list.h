#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "schedule/schedule_entry.h"

namespace quorel {

// The editor's list Quorel: rows of three texts, addressed by position from 1, with at most one
// selected row and a sort state. While Sorted is on, the rows are in ascending text order of
// the SortKey column (0 "S", 1 "Heure", 2 "Temps"); texts compare as texts, so "10" sorts before
// "5". Rows of equal key keep their order.
class EditorList {
  public:
    static constexpr int kMaxRows = 32767;

    int count() const { return static_cast<int>(rows_.size()); }
    const ScheduleEntry& row(int position) const { return rows_.at(position - 1); }
    const std::vector<ScheduleEntry>& rows() const { return rows_; }

    // Adds a row at the end, or at its sorted place while Sorted is on. Returns its position;
    // nothing is added (and 0 returned) when the list already holds kMaxRows rows.
    int add(const ScheduleEntry& entry);
    // Overwrites a row; while Sorted is on, the row moves to its sorted place at once.
    void replace(int position, const ScheduleEntry& entry);
    void remove(int position);
    void clear();

    std::optional<int> selected() const { return selected_; }
    void select(std::optional<int> position);

    int SortKey() const { return sortKey_; }
    bool Sorted() const { return sorted_; }
    void setSortKey(int column);
    // Switching sorting on puts the rows in order at once.
    void setSorted(bool sorted);

  private:
    void sortRows();

    std::vector<ScheduleEntry> rows_;
    std::optional<int> selected_;
    int sortKey_ = 0;
    bool sorted_ = false;
};

} // namespace quorel
