#include "schedule/record_writer.h"
#include "tests/support/fakes.h"
#include "tests/support/open_files.h"
#include "tests/support/temp_folder.h"
#include "tests/support/unprivileged.h"
#include "ui/day_editor.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quorel {
namespace {

class DayEditorTest : public ::testing::Test {
  protected:
    DayEditorTest() { days.fillDays(); }

    std::string times() const {
        std::string texts;
        for (const ScheduleEntry& row : list.rows()) {
            texts += (texts.empty() ? "" : "|") + row.time;
        }
        return texts;
    }
    // Whether the only message is a stop-icon message that names the file and says text.
    bool reported(const std::string& name, const std::string& text) const {
        return dialogs.messages.size() == 1 && dialogs.messages[0].icon == MessageIcon::Critical &&
               dialogs.messages[0].text.find(folder.file(name)) != std::string::npos &&
               dialogs.messages[0].text.find(text) != std::string::npos;
    }

    test::TempFolder folder;
    ProgramPaths paths = ProgramPaths::inFolder(folder.path());
    EditorList list;
    test::FakeDialogs dialogs;
    test::RecordingView view;
    DayEditor days{list, paths, dialogs, view};
};

TEST_F(DayEditorTest, SaveWritesSortedRecordsThatLoadBackUnchanged) {
    EXPECT_EQ(days.JourSemaine().at(6), "Dimanche");
    const int openBefore = test::openFileCount();
    days.selectDay(1);
    EXPECT_TRUE(view.saw(ViewPart::Days));
    list.add({"1", "12:00:00", "10"});
    list.add({"2", "07:45:00", "5"});
    list.add({"3", "7:45:00", "Durée €"});
    days.BtnSave_Click();

    EXPECT_EQ(times(), "07:45:00|12:00:00|7:45:00");
    const std::string bytes = folder.read("Quorel.1");
    EXPECT_EQ(test::hexBytes(bytes.substr(0, 20)),
              "22 32 22 2C 22 30 37 3A 34 35 3A 30 30 22 2C 22 35 22 0D 0A");
    EXPECT_EQ(bytes.substr(20), "\"1\",\"12:00:00\",\"10\"\r\n\"3\",\"7:45:00\",\"Dur\xE9"
                                "e \x80\"\r\n");
    const std::vector<ScheduleEntry> saved = list.rows();
    list.clear();
    days.DayFile("load", 1);
    EXPECT_EQ(list.rows(), saved);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(test::openFileCount(), openBefore);
}

TEST_F(DayEditorTest, LoadSortsAndKeepsCompleteRecordsOnly) {
    folder.write("Quorel.2", "\"1\",\"12:00:00\",\"10\"\r\n 2 , 07:45:00 ,5\r\n\"1\",\"09:00:00\"");
    days.selectDay(2);
    EXPECT_EQ(times(), "07:45:00|12:00:00");
    EXPECT_EQ(list.row(1), (ScheduleEntry{"2", "07:45:00", "5"}));
    EXPECT_TRUE(view.saw(ViewPart::List));

    days.selectDay(6); // never saved
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.Sorted());
    EXPECT_EQ(list.SortKey(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DayEditorTest, CopyFromAnotherDayThenSaveLeavesTheSourceUnchanged) {
    const std::string lundi = "\"2\",\"18:00:00\",\"3\"\r\n\"1\",\"08:00:00\",\"3\"\r\n";
    folder.write("Quorel.0", lundi);
    days.selectDay(4);
    days.Jour_Click(1);
    EXPECT_EQ(days.selectedDay(), 4);
    EXPECT_EQ(times(), "08:00:00|18:00:00");
    days.BtnSave_Click();
    EXPECT_EQ(folder.read("Quorel.4"), "\"1\",\"08:00:00\",\"3\"\r\n\"2\",\"18:00:00\",\"3\"\r\n");
    EXPECT_EQ(folder.read("Quorel.0"), lundi);
}

TEST_F(DayEditorTest, EmptyListSavesZeroBytesAndUnknownActionsDoNothing) {
    folder.write("Quorel.3", "\"1\",\"08:00:00\",\"3\"\r\n");
    days.selectDay(3);
    list.setSorted(false);
    list.add({"1", "07:00:00", "3"});
    for (const char* action : {"", "Charger", "LOADS", "save "}) {
        days.DayFile(action, 3);
    }
    EXPECT_EQ(times(), "08:00:00|07:00:00");
    EXPECT_FALSE(list.Sorted());
    EXPECT_EQ(folder.read("Quorel.3"), "\"1\",\"08:00:00\",\"3\"\r\n");

    list.clear();
    days.DayFile("SaVe", 3);
    EXPECT_TRUE(folder.exists("Quorel.3"));
    EXPECT_EQ(folder.read("Quorel.3"), "");
}

TEST_F(DayEditorTest, LoadsTheFirst32767RecordsOfALongerFileAndSaysSo) {
    std::string bytes;
    for (int i = 0; i <= EditorList::kMaxRows; ++i) {
        writeRecord(bytes, {std::string("1"), std::to_string(100000 + i), std::string("5")});
    }
    folder.write("Quorel.5", bytes);
    days.DayFile("Load", 5);
    EXPECT_EQ(list.count(), EditorList::kMaxRows);
    EXPECT_EQ(list.row(EditorList::kMaxRows).time, std::to_string(100000 + 32766));
    EXPECT_TRUE(reported("Quorel.5", "32 767"));
}

TEST_F(DayEditorTest, UnreadableFileIsReportedAndLeavesAnEmptySortedList) {
    folder.write("Quorel.0", "\"1\",\"08:00:00\",\"3\"\r\n");
    test::openPathToEveryone(folder.path());
    ASSERT_EQ(::chmod(folder.file("Quorel.0").c_str(), 0), 0);
    EXPECT_TRUE(test::runUnprivileged([&] {
        list.add({"1", "x", "y"});
        const int openBefore = test::openFileCount();
        days.DayFile("Load", 0);
        return list.count() == 0 && list.Sorted() && reported("Quorel.0", "Permission denied") &&
               test::openFileCount() == openBefore;
    }));
}

TEST_F(DayEditorTest, FailedSaveKeepsTheOldFileWholeAndIsReported) {
    const std::string old = "\"1\",\"08:00:00\",\"3\"\r\n";
    folder.write("Quorel.1", old);
    test::openPathToEveryone(folder.path());
    // The file itself is writable: only a save that goes through a new file in the folder fails.
    ASSERT_EQ(::chmod(folder.file("Quorel.1").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    EXPECT_TRUE(test::runUnprivileged([&] {
        list.add({"2", "09:00:00", "4"});
        const int openBefore = test::openFileCount();
        days.DayFile("Save", 1);
        return reported("Quorel.1", "Permission denied") && list.count() == 1 &&
               test::openFileCount() == openBefore;
    }));
    EXPECT_EQ(folder.read("Quorel.1"), old);
    const auto entries = std::filesystem::directory_iterator(folder.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1); // no temporary file left behind
}

} // namespace
} // namespace quorel
