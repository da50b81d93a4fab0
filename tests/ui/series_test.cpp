#include "tests/support/fakes.h"
#include "ui/entry_commands.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

class SeriesTest : public ::testing::Test {
  protected:
    EditorList list;
    EditFields fields{{}, {"1", "2"}, "2", {"", ""}, " 5 "};
    test::FakeDialogs dialogs;
    test::RecordingView view;
    EntryCommands commands{list, fields, dialogs, view};
};

TEST_F(SeriesTest, AppendsOneRowPerHourAndOffsetBehindTheRowsBefore) {
    list.add({"1", "23:00:00", "1"});
    list.add({"2", "00:00:00", "1"});
    list.setSortKey(1);
    list.setSorted(true);
    fields.ChDecoupe = {"  ", " 02:15 "};
    commands.BtnInti_Click();
    ASSERT_EQ(list.count(), 26);
    EXPECT_FALSE(list.Sorted());
    EXPECT_EQ(list.row(2).time, "23:00:00");
    EXPECT_EQ(list.row(3), (ScheduleEntry{"2", "00:02:15", " 5 "}));
    EXPECT_EQ(list.row(13).time, "10:02:15");
    EXPECT_EQ(list.row(26).time, "23:02:15");
    EXPECT_TRUE(view.saw(ViewPart::List));

    fields.ChDecoupe = {"45:00", "2:15"};
    commands.BtnInti_Click();
    commands.BtnInti_Click();
    ASSERT_EQ(list.count(), 26 + 48 * 2);
    const std::vector<std::string> expected = {"00:45:00", "00:2:15", "01:45:00", "01:2:15"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list.row(27 + i).time, expected[i]);
        EXPECT_EQ(list.row(75 + i).time, expected[i]);
    }
    EXPECT_EQ(list.row(74).time, "23:2:15");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SeriesTest, StopsAtTheListLimitWithOneMessage) {
    while (list.count() < EditorList::kMaxRows - 30) {
        list.add({});
    }
    fields.ChDecoupe = {"00:00", "30:00"};
    commands.BtnInti_Click();
    EXPECT_EQ(list.count(), EditorList::kMaxRows);
    EXPECT_EQ(list.row(EditorList::kMaxRows).time, "14:30:00");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
}

} // namespace
} // namespace quorel
