#include "schedule/calendar_date.h"
#include "schedule/record_writer.h"
#include "schedule/time_text.h"
#include "schedule/today_table.h"
#include "tests/support/fakes.h"
#include "tests/support/open_file_count.h"
#include "tests/support/temp_folder.h"
#ifndef _WIN32
#include "tests/support/unprivileged.h"
#endif
#include "ui/closed_periods_editor.h"
#include "ui/day_editor.h"
#include "ui/entry_commands.h"
#include "ui/output_check.h"
#include "ui/row_warnings.h"

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quorel {
namespace {

TEST(TypedFields, OutputIsReadFromTheNumberItBeginsWithAndTimeMustBeAClockText) {
    for (const char* text : {"1", "1.5", " 2", "2a", "+2", "2e0", "1 . 5", "2,5"}) {
        EXPECT_TRUE(outputFieldAccepted(text, 2)) << text;
    }
    for (const char* text : {"", "abc", "0", "3", "0.99", "-1", "2.01"}) {
        EXPECT_FALSE(outputFieldAccepted(text, 2)) << text;
    }
    EXPECT_TRUE(outputFieldAccepted("4", 4));
    EXPECT_FALSE(outputFieldAccepted("4.5", 4));
    // A time rings only when written as a valid 24-hour clock text.
    EXPECT_TRUE(isClockTimeText("00:00:00"));
    EXPECT_TRUE(isClockTimeText("23:59:59"));
    for (const char* text : {"", "7:45:00", "24:00:00", "12:60:00", "12:00:60", "12-00-00",
                             "12:00:0a", " 12:00:00", "12:00:00 "}) {
        EXPECT_FALSE(isClockTimeText(text)) << text;
    }
}

struct Editor : ::testing::Test {
    // One column of the list, its texts joined by "|".
    std::string column(int index = 1) const {
        std::string texts;
        for (const ScheduleEntry& row : list.rows()) {
            texts += (texts.empty() ? "" : "|") + row.column(index);
        }
        return texts;
    }
    void addTimes(std::initializer_list<const char*> times, const char* duration = "5") {
        for (const char* time : times) {
            list.add({"1", time, duration});
        }
    }
    void sortBy(int column) {
        list.setSortKey(column);
        list.setSorted(true);
    }
    // Whether `count` messages were shown, the last with the stop icon, saying text and naming
    // the file.
    bool reported(size_t count, const std::string& text, const std::string& file = "") const {
        const std::vector<test::ShownMessage>& shown = dialogs.messages;
        return shown.size() == count && shown.back().icon == MessageIcon::Critical &&
               shown.back().text.find(text) != std::string::npos &&
               (file.empty() || shown.back().text.find(folder.file(file)) != std::string::npos);
    }

    test::TempFolder folder;
    ProgramPaths paths = ProgramPaths::inFolder(folder.path());
    EditorList list;
    EditFields fields{{}, {"1", "2"}, "2", {"", ""}, " 5 "};
    test::FakeDialogs dialogs;
    test::RecordingView view;
    EntryCommands commands{list, fields, dialogs, view};
    DayEditor days{list, paths, dialogs, view};
};

TEST_F(Editor, ListSortsByTextBytesAndKeepsEqualKeysInOrder) {
    list.add({"1", "12:00:00", "60"});
    list.add({"2", "7:45:00", "5"});
    list.add({"3", "07:45:00", "10"});
    list.add({"4", "été", "5"});
    list.setSortKey(2); // no sorting until Sorted is switched on
    EXPECT_EQ(column(0), "1|2|3|4");
    list.setSorted(true);
    EXPECT_EQ(column(2), "10|5|5|60");
    EXPECT_EQ(column(0), "3|2|4|1");
    list.setSortKey(1);
    EXPECT_EQ(column(), "07:45:00|12:00:00|7:45:00|été");

    EXPECT_EQ(list.add({"5", "12:00:00", ""}), 3); // after its equal key
    list.replace(3, {"6", "00:00:00", ""});
    EXPECT_EQ(column(0), "6|3|1|2|4");
    list.replace(3, {"7", "12:00:00", ""}); // same key: keeps its place
    EXPECT_EQ(column(0), "6|3|7|2|4");
}

TEST_F(Editor, ListSelectionFollowsItsRow) {
    addTimes({"03", "01", "02", "00"});
    list.select(2); // "01"
    sortBy(1);
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

TEST_F(Editor, AjouterAppendsUnsortedOrRefusesTheOutput) {
    addTimes({"12:00:00", "06:00:00", "09:00:00"});
    sortBy(1);
    list.select(1);
    fields.ChEdit = {" 2", "07:00:00", "9"};
    commands.BtnAjouter_Click();
    commands.BtnAjouter_Click();
    EXPECT_EQ(column(), "06:00:00|09:00:00|12:00:00|07:00:00|07:00:00");
    EXPECT_EQ(list.row(5), (ScheduleEntry{" 2", "07:00:00", "9"}));
    EXPECT_EQ(list.selected(), 1);
    EXPECT_TRUE(view.saw(ViewPart::List));

    view.parts.clear();
    fields.ChEdit[0] = "3";
    commands.BtnAjouter_Click();
    EXPECT_TRUE(reported(1, "Saisie invalide Sortie de 1 à 2 seulement"));
    EXPECT_EQ(list.count(), 5);
    EXPECT_TRUE(view.parts.empty());

    while (list.count() < EditorList::kMaxRows) {
        list.add({});
    }
    fields.ChEdit[0] = "1";
    commands.BtnAjouter_Click();
    EXPECT_EQ(list.count(), EditorList::kMaxRows);
    EXPECT_TRUE(reported(2, "32 767"));
}

TEST_F(Editor, RowCommandsChangeTheSelectedRowWhichMovesWhileSortedOrNothingWithoutOne) {
    addTimes({"12:00:00", "06:00:00", "09:00:00"});
    fields.ChEdit = {"3", "08:00:00", "9"};
    for (const char* expected : {"12:00:00|06:00:00|09:00:00", ""}) {
        commands.BtnReplacer_Click();
        commands.BtnSupp_Click();
        commands.Quorel_KeyUp({ListKey::Delete});
        commands.Quorel_Click();
        EXPECT_EQ(column(), expected);
        EXPECT_EQ(fields.ChEdit[1], "08:00:00");
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_TRUE(view.parts.empty());
        list.clear();
        commands.BtnDelete_Click();
    }

    addTimes({"12:00:00", "06:00:00", "09:00:00"});
    sortBy(1);
    list.select(1);
    fields.ChEdit = {"4", "10:00:00", ""};
    commands.BtnReplacer_Click();
    EXPECT_EQ(column(), "09:00:00|10:00:00|12:00:00");
    EXPECT_EQ(list.row(2), (ScheduleEntry{"4", "10:00:00", ""}));
    EXPECT_EQ(list.selected(), 2);
    EXPECT_TRUE(view.saw(ViewPart::List));

    fields.ChEdit[0] = "4.5";
    commands.BtnReplacer_Click();
    EXPECT_TRUE(reported(1, "Saisie invalide Sortie de 1 à 4 seulement"));
    EXPECT_EQ(list.row(2).output, "4");

    commands.Quorel_KeyUp({ListKey::Other, {.shift = true, .control = true}});
    EXPECT_EQ(list.count(), 3);
    commands.Quorel_KeyUp({ListKey::Delete, {.shift = true}}); // modifiers play no part
    EXPECT_EQ(column(), "09:00:00|12:00:00");
    EXPECT_EQ(list.selected(), std::nullopt);
    list.select(1);
    view.parts.clear();
    commands.BtnSupp_Click();
    EXPECT_EQ(column(), "12:00:00");
    EXPECT_TRUE(view.saw(ViewPart::List));

    view.parts.clear();
    commands.BtnDelete_Click();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(view.saw(ViewPart::List));
}

TEST_F(Editor, ListClickCopiesTheRowAndColumnClickSorts) {
    addTimes({"12:00:00", "06:00:00", "09:00:00"});
    list.add({"2", "7:45:00", "10"});
    list.add({"1", "5:00:00", "60"});
    list.select(4);
    commands.Quorel_Click();
    EXPECT_EQ(fields.ChEdit, (std::array<std::string, 3>{"2", "7:45:00", "10"}));
    EXPECT_TRUE(view.saw(ViewPart::EditFields));

    commands.Quorel_ColumnClick(3);
    EXPECT_EQ(list.SortKey(), 2);
    EXPECT_EQ(column(2), "10|5|5|5|60");
    EXPECT_EQ(list.selected(), 1);
    for (int click = 0; click < 2; ++click) {
        commands.Quorel_ColumnClick(2);
        EXPECT_EQ(column(), "06:00:00|09:00:00|12:00:00|5:00:00|7:45:00");
    }
}

TEST_F(Editor, SeriesAppendsOneRowPerHourAndOffsetBehindTheRowsBeforeUpToTheLimit) {
    list.add({"1", "23:00:00", "1"});
    list.add({"2", "00:00:00", "1"});
    sortBy(1);
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

    while (list.count() < EditorList::kMaxRows - 30) {
        list.add({});
    }
    fields.ChDecoupe = {"00:00", "30:00"};
    commands.BtnInti_Click();
    EXPECT_EQ(list.count(), EditorList::kMaxRows);
    EXPECT_EQ(list.row(EditorList::kMaxRows).time, "14:30:00");
    EXPECT_TRUE(reported(1, "32 767"));
}

TEST_F(Editor, SaveWritesTheRowsInTimeOrderAndLoadSortsThemAndKeepsCompleteRecordsOnly) {
    days.fillDays();
    EXPECT_EQ(days.JourSemaine().at(6), "Dimanche");
    const int openBefore = test::openFileCount();
    view.parts.clear();
    days.selectDay(1);
    EXPECT_TRUE(view.saw(ViewPart::Days));
    list.setSortKey(2); // sorted on the duration, which is not the time order
    list.add({"1", "12:00:00", "10"});
    list.add({"3", "7:45:00", "Été €"});
    list.add({"2", "07:45:00", "5"});
    days.BtnSave_Click();

    EXPECT_EQ(column(), "07:45:00|12:00:00|7:45:00");
    EXPECT_EQ(folder.read("Quorel.1"), "\"2\",\"07:45:00\",\"5\"\r\n\"1\",\"12:00:00\",\"10\"\r\n"
                                       "\"3\",\"7:45:00\",\"\xC9t\xE9 \x80\"\r\n");
    const std::vector<ScheduleEntry> saved = list.rows();
    list.clear();
    days.DayFile(FileAction::Load, 1);
    EXPECT_EQ(list.rows(), saved);

    view.parts.clear();
    folder.write("Quorel.2", "\"1\",\"12:00:00\",\"10\"\r\n 2 , 07:45:00 ,5\r\n\"1\",\"09:00:00\"");
    days.selectDay(2);
    EXPECT_EQ(column(), "07:45:00|12:00:00");
    EXPECT_EQ(list.row(1), (ScheduleEntry{"2", "07:45:00", "5"}));
    EXPECT_TRUE(view.saw(ViewPart::List));

    days.selectDay(6); // never saved
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.Sorted());
    EXPECT_EQ(list.SortKey(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(test::openFileCount(), openBefore);
}

TEST_F(Editor, UnsortedListSavesSorted) {
    folder.write("Quorel.3", "\"1\",\"08:00:00\",\"3\"\r\n");
    days.DayFile(FileAction::Load, 3);
    list.setSorted(false);
    addTimes({"07:00:00"}, "3");
    EXPECT_EQ(column(), "08:00:00|07:00:00");
    days.DayFile(FileAction::Save, 3);
    EXPECT_EQ(folder.read("Quorel.3"), "\"1\",\"07:00:00\",\"3\"\r\n\"1\",\"08:00:00\",\"3\"\r\n");

    list.clear();
    days.DayFile(FileAction::Save, 3);
    EXPECT_TRUE(folder.exists("Quorel.3"));
    EXPECT_EQ(folder.read("Quorel.3"), "");
}

// The scheduler would read such a file as missing: it is neither loaded nor written.
TEST_F(Editor, ADayFileOverItsBoundIsNotLoadedAndRowsThatWouldMakeOneAreNotSaved) {
    std::string bytes;
    while (static_cast<int64_t>(bytes.size()) <= kDayFileMaxBytes) {
        writeRecord(bytes, {std::string("1"), std::string("08:00:00"), std::string("5")});
    }
    folder.write("Quorel.5", bytes);
    days.DayFile(FileAction::Load, 5);
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(reported(1, "Impossible de lire le fichier", "Quorel.5"));
    EXPECT_TRUE(reported(1, " : fichier trop volumineux (plus de 64 Kio)."));

    folder.write("Quorel.5", "\"1\",\"08:00:00\",\"5\"\r\n");
    days.DayFile(FileAction::Load, 5);
    while (list.count() < 3277) { // 20 bytes a row: 65 540 bytes
        addTimes({"09:00:00"});
    }
    days.DayFile(FileAction::Save, 5);
    EXPECT_TRUE(reported(2, "Impossible d'enregistrer le fichier", "Quorel.5"));
    EXPECT_TRUE(reported(2, " : fichier trop volumineux (plus de 64 Kio)."));
    EXPECT_TRUE(folder.read("Quorel.5") == "\"1\",\"08:00:00\",\"5\"\r\n");
    list.remove(1);
    days.DayFile(FileAction::Save, 5);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(folder.read("Quorel.5").size(), 3276u * 20);
}

// File permissions of this kind exist on POSIX systems only.
#ifndef _WIN32
TEST_F(Editor, FailedLoadOrSaveIsReportedAndLeavesTheFileWhole) {
    const std::string old = "\"1\",\"08:00:00\",\"3\"\r\n";
    folder.write("Quorel.0", old);
    folder.write("Quorel.1", old);
    test::openPathToEveryone(folder.path());
    ASSERT_EQ(::chmod(folder.file("Quorel.0").c_str(), 0), 0);
    // Quorel.1 itself is writable: only a save that goes through a new file in the folder fails.
    ASSERT_EQ(::chmod(folder.file("Quorel.1").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    EXPECT_TRUE(test::runUnprivileged([&] {
        const int openBefore = test::openFileCount();
        list.add({"1", "x", "y"});
        days.DayFile(FileAction::Load, 0);
        const bool loadReported =
            list.count() == 0 && list.Sorted() && reported(1, "Permission denied", "Quorel.0");
        list.add({"2", "09:00:00", "4"});
        days.DayFile(FileAction::Save, 1);
        return loadReported && reported(2, "Permission denied", "Quorel.1") && list.count() == 1 &&
               test::openFileCount() == openBefore;
    }));
    EXPECT_EQ(folder.read("Quorel.1"), old);
    // No temporary file left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}
#endif

TEST_F(Editor, EditsThatChangeTheRowsCountUntilTheDayIsSavedOrLoadedAgain) {
    folder.write("Quorel.0", "\"2\",\"08:00:00\",\"5\"\r\n\"1\",\"09:00:00\",\"3\"\r\n");
    days.fillDays();
    days.selectDay(0);
    fields.ChEdit = {"1", "10:00:00", "5"};
    fields.ChDecoupe = {"30:00", ""};
    commands.Quorel_ColumnClick(2); // already in time order
    EXPECT_FALSE(days.modified());
    const std::vector<std::function<void()>> edits{
        [&] { commands.BtnAjouter_Click(); },
        [&] { list.select(1), commands.BtnReplacer_Click(); },
        [&] { list.select(2), commands.BtnSupp_Click(); },
        [&] { commands.BtnDelete_Click(); },
        [&] { commands.BtnInti_Click(); },
        [&] { commands.Quorel_ColumnClick(1); },
        [&] { days.Jour_Click(4); }, // Jeudi's rows (none) copied in
    };
    for (size_t i = 0; i < edits.size(); ++i) {
        days.DayFile(FileAction::Load, 0);
        EXPECT_FALSE(days.modified()) << i;
        edits[i]();
        EXPECT_TRUE(days.modified()) << i;
    }
    days.BtnSave_Click();
    EXPECT_FALSE(days.modified());
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(Editor, BeforeOtherRowsLoadTheOperatorSavesDropsOrKeepsTheEditsOfTheDayBeingEdited) {
    folder.write("Quorel.0", "\"1\",\"08:00:00\",\"3\"\r\n");
    folder.write("Quorel.2", "\"2\",\"09:00:00\",\"5\"\r\n");
    days.fillDays();
    days.selectDay(0);
    days.Jour_Click(3); // Mercredi's rows copied into Lundi's list
    dialogs.answer = [](const std::string&) { return Answer::Cancel; };
    view.parts.clear();
    days.selectDay(1);
    days.Jour_Click(6);
    EXPECT_EQ(days.selectedDay(), 0);
    EXPECT_TRUE(view.saw(ViewPart::Days)); // the day list shows Lundi again
    EXPECT_EQ(column(), "09:00:00");

    dialogs.answer = [](const std::string&) { return Answer::Yes; };
    paths.DayFilePrefix = folder.file("missing/Quorel");
    days.selectDay(1);
    EXPECT_TRUE(reported(1, "Impossible d'enregistrer"));
    EXPECT_EQ(days.selectedDay(), 0);
    paths = ProgramPaths::inFolder(folder.path());
    days.selectDay(1);
    EXPECT_EQ(folder.read("Quorel.0"), "\"2\",\"09:00:00\",\"5\"\r\n");
    EXPECT_EQ(days.selectedDay(), 1);
    EXPECT_EQ(list.count(), 0);

    list.add({"1", "10:00:00", "5"});
    dialogs.answer = [](const std::string&) { return Answer::No; };
    days.Jour_Click(1); // Mardi's edit dropped for Lundi's rows
    EXPECT_EQ(column(), "09:00:00");
    EXPECT_FALSE(folder.exists("Quorel.1"));
    std::vector<std::string> asked(4, "Enregistrer les modifications de Lundi ?");
    asked.push_back("Enregistrer les modifications de Mardi ?");
    EXPECT_EQ(dialogs.questions, asked);
}

std::string timeText(int index) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", index / 3600, index / 60 % 60, index % 60);
    return text;
}

TEST(RowWarnings, FlagsRowsThatWillNeverRing) {
    // Rows that take no slot and rows that take one without ever matching, mixed among 602 valid
    // rows listed in reverse time order: list positions differ from the saved order.
    const std::vector<ScheduleEntry> extras{
        {"5", "00:00:01", "5"},          // output out of range: no slot
        {"x", "00:00:02", "5"},          // output not a number: no slot
        {"1", "00:00:02", ""},           // duration not a number: no slot
        {"1", "00:00:03", "3000000000"}, // duration too wide: no slot
        {"1", "00:00:0", "5"},           // never matches, yet takes the first slot
        {"2\"", "00:00:04", "5"},        // a typed quote: saved, it reads as output 2
        {"1", "99:00:00", "5"},          // never matches, and beyond capacity as well
    };
    EditorList list;
    for (int i = 602; i >= 1; --i) {
        if (i % 100 == 0) {
            list.add(extras[i / 100]);
        }
        list.add({i % 2 ? "1" : "2", timeText(i), "5"});
    }
    list.add(extras[0]);

    const std::vector<RowWarning> warnings = rowWarnings(list);
    ASSERT_EQ(warnings.size(), 609u);
    std::map<std::string, RowWarning> flagged;
    for (int position = 1; position <= list.count(); ++position) {
        if (warnings[position - 1] != RowWarning::None) {
            flagged[list.row(position).time] = warnings[position - 1];
        }
    }
    // Two rows take a slot before the valid ones: the valid rows 599 to 602 come after the 600th.
    const std::map<std::string, RowWarning> expected{
        {"00:00:0", RowWarning::TimeNeverMatches},   {"99:00:00", RowWarning::TimeNeverMatches},
        {timeText(599), RowWarning::BeyondCapacity}, {timeText(600), RowWarning::BeyondCapacity},
        {timeText(601), RowWarning::BeyondCapacity}, {timeText(602), RowWarning::BeyondCapacity},
    };
    EXPECT_EQ(flagged, expected);
}

TEST(ClosedPeriodsEditor, AddsInStartOrderRefusesWhatTheFileCannotHoldAndAddsHolidaysOnce) {
    ClosedPeriodsEditor editor({{{2027, 2, 20}, {2027, 3, 7}, "Hiver"}});
    EXPECT_EQ(editor.add({2026, 12, 19}, {2027, 1, 3}, "Noël"), "");
    EXPECT_EQ(editor.add({2027, 2, 20}, {2027, 2, 20}, "Travaux"), "");
    EXPECT_EQ(editor.add({2027, 1, 4}, {2027, 1, 3}, "x"),
              "La date « Au » (03/01/2027) précède la date « Du » (04/01/2027).");
    EXPECT_NE(editor.add({2027, 1, 4}, {2027, 1, 4}, "le \"pont\""), "");
    EXPECT_NE(editor.add({2027, 2, 29}, {2027, 3, 1}, "x"), "");
    const ClosedPeriod noel{{2026, 12, 19}, {2027, 1, 3}, "Noël"};
    const ClosedPeriod works{{2027, 2, 20}, {2027, 2, 20}, "Travaux"};
    EXPECT_EQ(editor.periods(),
              (std::vector<ClosedPeriod>{noel, {{2027, 2, 20}, {2027, 3, 7}, "Hiver"}, works}));
    editor.remove(1);
    editor.remove(7);
    EXPECT_EQ(editor.periods(), (std::vector<ClosedPeriod>{noel, works}));
    EXPECT_TRUE(isOver(editor.periods()[0], {2027, 1, 4}));
    EXPECT_FALSE(isOver(editor.periods()[0], {2027, 1, 3}));

    EXPECT_EQ(editor.add({2026, 12, 25}, {2026, 12, 25}, "Noël chez nous"), "");
    EXPECT_EQ(editor.addPublicHolidays(2026), 21); // 2 × 11, Noël 2026 already listed
    EXPECT_EQ(editor.addPublicHolidays(2026), 0);
    EXPECT_EQ(editor.periods().front().label, "Jour de l'an");
    EXPECT_EQ(isoDateText(editor.periods().back().from), "2027-12-25");

    test::TempFolder folder;
    const std::string path = folder.file("Quorel.conges");
    EXPECT_EQ(editor.save(path), "");
    std::vector<ClosedPeriod> read;
    EXPECT_EQ(readForEditing(path, read), "");
    EXPECT_EQ(read, editor.periods());
    EXPECT_EQ(readForEditing(folder.file("missing"), read), "");
    EXPECT_TRUE(read.empty());
    EXPECT_TRUE(readForEditing(folder.path(), read).starts_with("Impossible de lire le fichier"));
    const std::string failure = editor.save(folder.file("missing/Quorel.conges"));
    EXPECT_TRUE(failure.starts_with("Impossible d'enregistrer le fichier « " +
                                    folder.file("missing/Quorel.conges") + " » : "))
        << failure;
}

} // namespace
} // namespace quorel
