#include "ui/editor_list.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

// One column of the list, its texts joined by "|".
std::string column(const EditorList& list, int index) {
    std::string texts;
    for (const ScheduleEntry& row : list.rows()) {
        texts += (texts.empty() ? "" : "|") + row.column(index);
    }
    return texts;
}

TEST(EditorListTest, SortsByTextBytesAndKeepsEqualKeysInOrder) {
    EditorList list;
    for (const ScheduleEntry& row : std::initializer_list<ScheduleEntry>{{"1", "12:00:00", "60"},
                                                                         {"2", "7:45:00", "5"},
                                                                         {"3", "07:45:00", "10"},
                                                                         {"4", "été", "5"}}) {
        list.add(row);
    }
    list.setSortKey(2); // no sorting until Sorted is switched on
    EXPECT_EQ(column(list, 0), "1|2|3|4");
    list.setSorted(true);
    EXPECT_EQ(column(list, 2), "10|5|5|60");
    EXPECT_EQ(column(list, 0), "3|2|4|1");
    list.setSortKey(1);
    EXPECT_EQ(column(list, 1), "07:45:00|12:00:00|7:45:00|été");

    EXPECT_EQ(list.add({"5", "12:00:00", ""}), 3); // after its equal key
    list.replace(3, {"6", "00:00:00", ""});
    EXPECT_EQ(column(list, 0), "6|3|1|2|4");
    list.replace(3, {"7", "12:00:00", ""}); // same key: keeps its place
    EXPECT_EQ(column(list, 0), "6|3|7|2|4");
}

TEST(EditorListTest, SelectionFollowsItsRow) {
    EditorList list;
    for (const char* time : {"03", "01", "02", "00"}) {
        list.add({"1", time, ""});
    }
    list.select(2); // "01"
    list.setSortKey(1);
    list.setSorted(true);
    EXPECT_EQ(list.selected(), 2);
    list.add({"1", "005", ""}); // sorted in before it
    EXPECT_EQ(list.selected(), 3);
    list.replace(3, {"1", "99", ""});
    EXPECT_EQ(list.selected(), 5);
    list.remove(2);
    EXPECT_EQ(list.selected(), 4);
    list.remove(4);
    EXPECT_EQ(list.selected(), std::nullopt);
    list.select(1);
    list.remove(3); // behind it
    EXPECT_EQ(list.selected(), 1);
    list.select(9);
    EXPECT_EQ(list.selected(), std::nullopt);
    list.select(1);
    list.clear();
    EXPECT_EQ(list.selected(), std::nullopt);
}

} // namespace
} // namespace quorel
