#include "ui/editor_list.h"

#include <algorithm>
#include <numeric>

namespace quorel {

int EditorList::add(const ScheduleEntry& entry) {
    if (count() >= kMaxRows) {
        return 0;
    }
    auto place = rows_.end();
    if (sorted_) {
        // After the rows of equal key, so that equal rows keep the order they were added in.
        place = std::upper_bound(rows_.begin(), rows_.end(), entry,
                                 [key = sortKey_](const ScheduleEntry& a, const ScheduleEntry& b) {
                                     return a.column(key) < b.column(key);
                                 });
    }
    const int position = static_cast<int>(place - rows_.begin()) + 1;
    rows_.insert(place, entry);
    if (selected_ && *selected_ >= position) {
        ++*selected_;
    }
    return position;
}

void EditorList::replace(int position, const ScheduleEntry& entry) {
    if (position < 1 || position > count()) {
        return;
    }
    rows_[position - 1] = entry;
    if (sorted_) {
        sortRows();
    }
}

void EditorList::remove(int position) {
    if (position < 1 || position > count()) {
        return;
    }
    rows_.erase(rows_.begin() + (position - 1));
    if (selected_ && *selected_ == position) {
        selected_.reset();
    } else if (selected_ && *selected_ > position) {
        --*selected_;
    }
}

void EditorList::clear() {
    rows_.clear();
    selected_.reset();
}

void EditorList::select(std::optional<int> position) {
    if (position && (*position < 1 || *position > count())) {
        position.reset();
    }
    selected_ = position;
}

void EditorList::setSortKey(int column) {
    if (column < 0 || column > 2) {
        return;
    }
    sortKey_ = column;
    if (sorted_) {
        sortRows();
    }
}

void EditorList::setSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) {
        sortRows();
    }
}

void EditorList::sortRows() {
    // Sorts positions rather than rows, so that the selection can follow its row. std::string
    // compares bytes as unsigned values: the byte order of the UTF-8 texts.
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return rows_[a].column(sortKey_) < rows_[b].column(sortKey_);
    });
    std::vector<ScheduleEntry> sorted;
    sorted.reserve(rows_.size());
    std::optional<int> selected;
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(rows_[order[i]]));
        if (selected_ && order[i] == *selected_ - 1) {
            selected = static_cast<int>(i) + 1;
        }
    }
    rows_ = std::move(sorted);
    selected_ = selected;
}

} // namespace quorel
