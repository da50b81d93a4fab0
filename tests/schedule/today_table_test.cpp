#include "schedule/record_writer.h"
#include "schedule/today_table.h"
#include "tests/support/open_files.h"
#include "tests/support/temp_folder.h"
#include "tests/support/unprivileged.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorel {
namespace {

std::string timeText(int index) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", index / 3600, index / 60 % 60, index % 60);
    return text;
}

std::string dayFileOf(int records) {
    std::string bytes;
    for (int i = 1; i <= records; ++i) {
        writeRecord(bytes, {std::string(i % 2 ? "1" : "2"), timeText(i), std::to_string(i)});
    }
    return bytes;
}

class TodayTableTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::string prefix = folder.file("Quorel");
    TodayTable table;
};

TEST_F(TodayTableTest, LoadsRecordsIntoSlotsInFileOrder) {
    folder.write("Quorel.1", "\"2\",\"12:00:00\",\"10\"\r\n\"1\",\"07:45:00\",\"5\"\r\n"
                             "\"1\",\"8:00:00\",\"3\"\r\n");
    LoadTodayTable(table, prefix, 1);
    EXPECT_EQ(table.TodayTime[0], "");
    EXPECT_EQ(table.TodayTime[1], "12:00:00");
    EXPECT_EQ(table.TodayOutput[1], 2);
    EXPECT_EQ(table.TodayDuration[1], 10);
    EXPECT_EQ(table.TodayTime[2], "07:45:00");
    EXPECT_EQ(table.TodayTime[3], "8:00:00"); // stored unchanged, though it never matches
    EXPECT_EQ(table.TodayTime[4], "");
    EXPECT_EQ(table.TodayOutput[4], 0);
}

TEST_F(TodayTableTest, MissingOrEmptyFileGivesAnEmptyTable) {
    folder.write("Quorel.3", dayFileOf(5));
    LoadTodayTable(table, prefix, 3);
    ASSERT_EQ(table.TodayTime[5], timeText(5));

    LoadTodayTable(table, prefix, 4); // no file
    EXPECT_EQ(table.TodayTime[1], "");
    EXPECT_EQ(table.TodayDuration[5], 0);

    folder.write("Quorel.4", "");
    LoadTodayTable(table, prefix, 4);
    EXPECT_EQ(table.TodayTime[1], "");
}

TEST_F(TodayTableTest, KeepsTheFirst600RecordsAndClearsLeftovers) {
    folder.write("Quorel.0", dayFileOf(600));
    LoadTodayTable(table, prefix, 0);
    EXPECT_EQ(table.TodayTime[600], timeText(600));
    EXPECT_EQ(table.TodayDuration[600], 600);

    folder.write("Quorel.0", dayFileOf(601));
    LoadTodayTable(table, prefix, 0);
    EXPECT_EQ(table.TodayTime[600], timeText(600));
    EXPECT_EQ(table.TodayTime[1], timeText(1));

    // A shorter file after a longer one leaves no slot of the earlier load behind.
    folder.write("Quorel.0", dayFileOf(3));
    LoadTodayTable(table, prefix, 0);
    EXPECT_EQ(table.TodayTime[3], timeText(3));
    for (int slot = 4; slot <= TodayTable::kSlots; ++slot) {
        ASSERT_EQ(table.TodayTime[slot], "") << slot;
        ASSERT_EQ(table.TodayOutput[slot], 0) << slot;
        ASSERT_EQ(table.TodayDuration[slot], 0) << slot;
    }
}

TEST_F(TodayTableTest, SkipsBadRecordsAndRoundsHalvesToEven) {
    folder.write("Quorel.6", "\"x\",\"00:00:01\",\"5\"\r\n"          // output not a number
                             "\"1\",\"00:00:02\",\"5s\"\r\n"         // duration not a number
                             "\"5\",\"00:00:03\",\"5\"\r\n"          // output out of range
                             "\"0.4\",\"00:00:04\",\"5\"\r\n"        // rounds to 0
                             "\"40000\",\"00:00:05\",\"5\"\r\n"      // too wide for 16 bits
                             "\"1\",\"00:00:06\",\"3000000000\"\r\n" // too wide for 32 bits
                             "\"1\",\"00:00:07\",\"\"\r\n"           // empty duration
                             "\"2.5\",\"00:00:08\",\"2.5\"\r\n"      // halves go to even
                             "\" 3.5 \",\"00:00:09\",\"-0.5\"\r\n"
                             "\"1\",\"00:00:10\",\"1e3\"\r\n"
                             "\"4\",\"00:00:11\""); // cut short
    LoadTodayTable(table, prefix, 6);
    EXPECT_EQ(table.TodayTime[1], "00:00:08");
    EXPECT_EQ(table.TodayOutput[1], 2);
    EXPECT_EQ(table.TodayDuration[1], 2);
    EXPECT_EQ(table.TodayTime[2], "00:00:09");
    EXPECT_EQ(table.TodayOutput[2], 4);
    EXPECT_EQ(table.TodayDuration[2], 0);
    EXPECT_EQ(table.TodayTime[3], "00:00:10");
    EXPECT_EQ(table.TodayDuration[3], 1000);
    EXPECT_EQ(table.TodayTime[4], "");
}

TEST(TodayTable, ALineThatIsNotARecordDropsNoLaterEntry) {
    TodayTable table;
    fillTodayTable(table, "\xEF\xBB\xBF\"1\",\"06:00:00\",\"5\"\r\n" // saved by Notepad
                          "; sonneries du lundi\r\n"
                          "\"2\",\"07:45:00\",\"6\",\"Ouverture\"\r\n"
                          "n'importe quoi, vraiment\r\n"
                          "\"1\",\"08:00:00\",\"3\r\n" // quote left open
                          "\"1\",\"10:00:00\",\"4\"\n");
    const char* times[] = {"", "06:00:00", "07:45:00", "10:00:00", ""};
    const int durations[] = {0, 5, 6, 4, 0};
    for (int slot = 1; slot <= 4; ++slot) {
        EXPECT_EQ(table.TodayTime[slot], times[slot]) << slot;
        EXPECT_EQ(table.TodayDuration[slot], durations[slot]) << slot;
    }
}

TEST_F(TodayTableTest, LeavesNoFileOpenWhateverHappens) {
    folder.write("Quorel.2", dayFileOf(10));
    folder.write("Quorel.3", "\"1\",\"00:00:01\"");
    const int before = test::openFileCount();
    LoadTodayTable(table, prefix, 2);
    LoadTodayTable(table, prefix, 3);
    LoadTodayTable(table, prefix, 5);
    EXPECT_EQ(test::openFileCount(), before);
}

TEST_F(TodayTableTest, AFileThatCannotBeReadGivesAnEmptyTable) {
    folder.write("Quorel.2", dayFileOf(10));
    folder.write("Quorel.4", dayFileOf(10));
    test::openPathToEveryone(folder.path());
    ::chmod(folder.file("Quorel.2").c_str(), 0);
    ::chmod(folder.file("Quorel.4").c_str(), 0644);
    const bool ok = test::runUnprivileged([&] {
        TodayTable own;
        LoadTodayTable(own, prefix, 4); // readable: proves the check can read at all
        const bool readable = own.TodayTime[10] == timeText(10);
        const int before = test::openFileCount();
        LoadTodayTable(own, prefix, 2);
        return readable && own.TodayTime[1].empty() && test::openFileCount() == before;
    });
    EXPECT_TRUE(ok);
}

} // namespace
} // namespace quorel
