#include "tests/support/fakes.h"
#include "ui/entry_commands.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(OutputCheckTest, ReadsTheNumberTheFieldBeginsWith) {
    for (const char* text : {"1", "1.5", " 2", "2a", "+2", "2e0", "1 . 5", "2,5"}) {
        EXPECT_TRUE(outputFieldAccepted(text, 2)) << text;
    }
    for (const char* text : {"", "abc", "0", "3", "4", "0.99", "-1", "2.01"}) {
        EXPECT_FALSE(outputFieldAccepted(text, 2)) << text;
    }
    EXPECT_TRUE(outputFieldAccepted("4", 4));
    EXPECT_FALSE(outputFieldAccepted("4.5", 4));
    EXPECT_FALSE(outputFieldAccepted("5", 4));
}

TEST(TimeTextTest, AcceptsOnlyAValid24HourClockText) {
    for (const char* text : {"00:00:00", "23:59:59"}) {
        EXPECT_TRUE(isClockTimeText(text)) << text;
    }
    for (const char* text : {"", "7:45:00", "24:00:00", "12:60:00", "12:00:60", "12-00-00",
                             "12:00:0a", " 12:00:00", "12:00:00 "}) {
        EXPECT_FALSE(isClockTimeText(text)) << text;
    }
}

class EntryCommandsTest : public ::testing::Test {
  protected:
    EntryCommandsTest() {
        for (const char* time : {"12:00:00", "06:00:00", "09:00:00"}) {
            list.add({"1", time, "5"});
        }
    }
    std::string times() const {
        std::string texts;
        for (const ScheduleEntry& row : list.rows()) {
            texts += (texts.empty() ? "" : "|") + row.time;
        }
        return texts;
    }
    void sortByTime() {
        list.setSortKey(1);
        list.setSorted(true);
    }

    EditorList list;
    EditFields fields;
    test::FakeDialogs dialogs;
    test::RecordingView view;
    EntryCommands commands{list, fields, dialogs, view};
};

TEST_F(EntryCommandsTest, AjouterAppendsUnsortedOrRefusesTheOutput) {
    sortByTime();
    list.select(1);
    fields.ChEdit = {" 2", "07:00:00", ""};
    commands.BtnAjouter_Click();
    commands.BtnAjouter_Click();
    EXPECT_FALSE(list.Sorted());
    EXPECT_EQ(times(), "06:00:00|09:00:00|12:00:00|07:00:00|07:00:00");
    EXPECT_EQ(list.row(5), (ScheduleEntry{" 2", "07:00:00", ""}));
    EXPECT_EQ(fields.ChEdit[0], " 2");
    EXPECT_EQ(list.selected(), 1);
    EXPECT_TRUE(view.saw(ViewPart::List));

    view.parts.clear();
    for (const char* bad : {"3", "0", ""}) {
        fields.ChEdit[0] = bad;
        commands.BtnAjouter_Click();
    }
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[2].text, "Saisie invalide Sortie de 1 à 2 seulement");
    EXPECT_EQ(dialogs.messages[2].icon, MessageIcon::Critical);
    EXPECT_EQ(list.count(), 5);
    EXPECT_TRUE(view.parts.empty());

    while (list.count() < EditorList::kMaxRows) {
        list.add({});
    }
    fields.ChEdit[0] = "1";
    commands.BtnAjouter_Click();
    EXPECT_EQ(list.count(), EditorList::kMaxRows);
    ASSERT_EQ(dialogs.messages.size(), 4u);
    EXPECT_NE(dialogs.messages[3].text.find("32 767"), std::string::npos);
    EXPECT_EQ(dialogs.messages[3].icon, MessageIcon::Critical);
}

TEST_F(EntryCommandsTest, SelectionCommandsDoNothingOnEmptyOrUnselectedList) {
    fields.ChEdit = {"3", "08:00:00", "9"};
    for (int round = 0; round < 2; ++round) {
        commands.BtnReplacer_Click();
        commands.BtnSupp_Click();
        commands.Quorel_KeyUp(kDeleteKeyCode, 0);
        commands.Quorel_Click();
        EXPECT_EQ(times(), round == 0 ? "12:00:00|06:00:00|09:00:00" : "");
        EXPECT_EQ(fields.ChEdit[1], "08:00:00");
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_TRUE(view.parts.empty());
        list.clear();
    }
}

TEST_F(EntryCommandsTest, ReplacerOverwritesTheSelectedRowWhichMovesWhileSorted) {
    sortByTime();
    list.select(1);
    fields.ChEdit = {"4", "10:00:00", ""};
    commands.BtnReplacer_Click();
    EXPECT_EQ(times(), "09:00:00|10:00:00|12:00:00");
    EXPECT_EQ(list.row(2), (ScheduleEntry{"4", "10:00:00", ""}));
    EXPECT_EQ(list.selected(), 2);
    EXPECT_TRUE(view.saw(ViewPart::List));

    for (const char* bad : {"5", "4.5"}) {
        fields.ChEdit[0] = bad;
        commands.BtnReplacer_Click();
    }
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "Saisie invalide Sortie de 1 à 4 seulement");
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(list.row(2).output, "4");
}

TEST_F(EntryCommandsTest, DeleteKeySupprimerAndRazRemoveRows) {
    sortByTime();
    list.select(2);
    commands.Quorel_KeyUp(45, 0);
    EXPECT_EQ(list.count(), 3);
    commands.Quorel_KeyUp(kDeleteKeyCode, 1); // shift plays no part
    EXPECT_EQ(times(), "06:00:00|12:00:00");
    EXPECT_EQ(list.selected(), std::nullopt);
    list.select(2);
    commands.BtnSupp_Click();
    EXPECT_EQ(times(), "06:00:00");

    fields.ChEdit = {"1", "x", "y"};
    commands.BtnDelete_Click();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.Sorted());
    EXPECT_EQ(fields.ChEdit[2], "y");
}

TEST_F(EntryCommandsTest, ListClickCopiesTheRowAndColumnClickSorts) {
    list.add({"2", "7:45:00", "10"});
    list.add({"1", "5:00:00", "60"});
    list.select(4);
    commands.Quorel_Click();
    EXPECT_EQ(fields.ChEdit, (std::array<std::string, 3>{"2", "7:45:00", "10"}));
    EXPECT_TRUE(view.saw(ViewPart::EditFields));

    commands.Quorel_ColumnClick(3);
    EXPECT_EQ(list.SortKey(), 2);
    EXPECT_EQ(list.row(1).duration, "10");
    EXPECT_EQ(list.row(5).duration, "60");
    EXPECT_EQ(list.selected(), 1);
    for (int click = 0; click < 2; ++click) {
        commands.Quorel_ColumnClick(2);
        EXPECT_EQ(times(), "06:00:00|09:00:00|12:00:00|5:00:00|7:45:00");
    }
}

} // namespace
} // namespace quorel
