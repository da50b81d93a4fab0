#include "schedule/closed_periods.h"
#include "schedule/dated_timetables.h"
#include "schedule/format_elapsed.h"
#include "schedule/number_text.h"
#include "schedule/record_reader.h"
#include "schedule/record_writer.h"
#include "schedule/today_table.h"
#include "schedule/windows1252.h"
#include "tests/support/open_file_count.h"
#include "tests/support/temp_folder.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(NumberText, FieldsAreWholeNumbersWithHalvesRoundedToEvenAndOtherTextsReadAsNumbers) {
    const std::optional<int16_t> no;
    const std::pair<const char*, std::optional<int16_t>> cases[] = {
        {"3", 3},           {"  -7 ", -7},   {"+2", 2},     {"0.5", 0},  {"1.5", 2},
        {"2.5", 2},         {"-2.5", -2},    {"2.51", 3},   {".5e1", 5}, {"32767", 32767},
        {"-32768", -32768}, {"32767.5", no}, {"32768", no}, {"", no},    {"  ", no},
        {"a", no},          {"1a", no},      {"1 2", no},   {"1,5", no}, {"-", no},
        {".", no},          {"e5", no},      {"0x10", no},  {"inf", no}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(fieldToInt16(text), value) << text;
    }
    EXPECT_EQ(fieldToInt32("2147483647"), 2147483647);
    EXPECT_EQ(fieldToInt32("2147483648"), std::nullopt);
    EXPECT_EQ(fieldToInt32("1e400"), std::nullopt);
    EXPECT_EQ(fieldToInt32("1e-400"), 0);

    // The leading number of a text: blanks are skipped wherever they stand; a comma is no decimal
    // point.
    const std::pair<const char*, double> leading[] = {
        {"1.5", 1.5}, {" 2", 2},      {"2a", 2},  {"4.5", 4.5}, {"", 0},   {"abc", 0},
        {"1 2", 12},  {"\t-\n3", -3}, {"1,5", 1}, {"2e1x", 20}, {"3e", 3}, {"+.5", 0.5}};
    for (const auto& [text, value] : leading) {
        EXPECT_EQ(leadingNumber(text), value) << text;
    }
    // Elapsed time shows minutes and seconds with two digits each.
    const std::pair<double, const char*> elapsed[] = {
        {-3, "--:--"},  {0.7, "--:--"},          {1, "00:01"},        {59.9, "00:59"},
        {61, "01:01"},  {99 * 60 + 59, "99:59"}, {100 * 60, "00:00"}, {102 * 60 + 5, "02:05"},
        {NAN, "--:--"}, {INFINITY, "--:--"}};
    for (const auto& [seconds, text] : elapsed) {
        EXPECT_EQ(FormatElapsed(seconds), text) << seconds;
    }
}

using Fields = std::vector<std::string>;

std::vector<Fields> readAll(std::string_view bytes, int fieldCount) {
    RecordReader reader(bytes);
    std::vector<Fields> records;
    while (auto record = reader.next(fieldCount)) {
        records.push_back(*record);
    }
    return records;
}

TEST(RecordWriter, WritesQuotedWindows1252TextsBareNumbersAndCrLfThatReadBackTheSame) {
    std::string bytes;
    writeRecord(bytes, {std::string("2"), std::string("07:45:00"), std::string("5")});
    writeRecord(bytes, {3LL});
    // A character with no Windows-1252 byte and a broken sequence become "?".
    writeRecord(bytes, {std::string(""), -12LL, std::string(" é€ 日\xff ")});
    EXPECT_EQ(bytes, "\"2\",\"07:45:00\",\"5\"\r\n3\r\n\"\",-12,\" \xE9\x80 ?? \"\r\n");
    // The reader takes back what the writer wrote.
    EXPECT_EQ(readAll(bytes, 3),
              (std::vector<Fields>{{"2", "07:45:00", "5"}, {"", "-12", " é€ ?? "}}));

    // Every byte of Windows-1252 text survives the way to UTF-8 and back.
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(windows1252ToUtf8("\xe9\x80\x9c"), "é€œ");
}

TEST(RecordReader, AcceptsHandWrittenVariantsOfARecordAndSkipsOnlyTheLinesThatAreNotRecords) {
    const char* variants[] = {
        "   \"2\",  \"07:45:00\",\t\"5\"\r\n",        // blanks before fields
        "2 ,07:45:00  ,5\t\r\n",                      // unquoted; trailing blanks dropped
        "\"2\"xyz,\"07:45:00\" junk,\"5\"\r\n",       // anything after a closing quote is skipped
        "\r\n\r\n  \r\n2,07:45:00,5\r\n\r\n",         // blank lines around the record
        "\n\r2,07:45:00,5\n",                         // LF or CR alone ends a line too
        "2,07:45:00,5",                               // no final line end
        "\"2\",\"07:45:00\",\"5\",\"Ouverture\"\r\n", // extra fields ignored, even broken ones
        "2,07:45:00,5,\"Ouvert\r\n",
        "\xEF\xBB\xBF\"2\",\"07:45:00\",\"5\"\r\n", // byte-order mark of a file saved by Notepad
    };
    for (const char* text : variants) {
        EXPECT_EQ(readAll(text, 3), (std::vector<Fields>{{"2", "07:45:00", "5"}})) << text;
    }
    EXPECT_EQ(readAll("1,,\r\n\"a,b\",\" x \",\"\"\r\n1,07:00:00,", 3),
              (std::vector<Fields>{{"1", "", ""}, {"a,b", " x ", ""}, {"1", "07:00:00", ""}}));

    const char* badLines[] = {
        "\"2\",\"08:00:00\"\r\n\"5\"\r\n", // a record spread over two lines
        "\"2\",\"08:00:00\",\"5\r\n",      // a quote left open at the line end
        "; sonneries du lundi\r\n",        // a comment written by hand
        "\"2\"\"08:00:00\"\"5\"\r\n",      // commas forgotten
    };
    for (const char* bad : badLines) {
        const std::string bytes = std::string("1,07:00:00,5\r\n") + bad + "2,09:00:00,6\r\n" + bad;
        EXPECT_EQ(readAll(bytes, 3),
                  (std::vector<Fields>{{"1", "07:00:00", "5"}, {"2", "09:00:00", "6"}}))
            << bad;
    }
    // The settings file is read with the same rules, one field per line. Only a mark at the very
    // start is dropped; elsewhere it is text, of UTF-8 or of Windows-1252 as the start says.
    EXPECT_EQ(readAll("\xEF\xBB\xBF\r\n\"3\r\n 2 \r\n\xEF\xBB\xBF\r\n", 1),
              (std::vector<Fields>{{"2"}, {"\xEF\xBB\xBF"}}));
    EXPECT_EQ(readAll("2\r\n\xEF\xBB\xBF\r\n", 1), (std::vector<Fields>{{"2"}, {"ï»¿"}}));
    EXPECT_TRUE(readAll("", 1).empty());
}

// Notepad saves as UTF-8 with a byte-order mark; Quorel writes Windows-1252 without one.
TEST(RecordReader, AFileThatBeginsWithAByteOrderMarkIsReadAsUtf8AndWrittenBackAsWindows1252) {
    const TimetableNames names = {{7, "Demi-journée"}, {8, "Noël €"}};
    EXPECT_EQ(readTimetableNames("\xEF\xBB\xBF\"7\",\"Demi-journ\xC3\xA9"
                                 "e\"\r\n8,No\xC3\xABl \xE2\x82\xAC\r\n"),
              names);
    EXPECT_EQ(timetableNamesBytes(names), "\"7\",\"Demi-journ\xE9"
                                          "e\"\r\n\"8\",\"No\xEBl \x80\"\r\n");
    EXPECT_EQ(readTimetableNames(timetableNamesBytes(names)), names);
    const std::vector<ClosedPeriod> closed =
        readClosedPeriods("\xEF\xBB\xBF\"2020-12-19\",\"2021-01-03\",\"Vacances de No\xC3\xABl\"");
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].label, "Vacances de Noël");
    // A byte that is no part of a UTF-8 character is taken as Windows-1252: the text stays UTF-8.
    EXPECT_EQ(readAll("\xEF\xBB\xBF\xE9t\xC3\xA9,\xC3,\xF0\x9F\x94\x94\r\n", 3),
              (std::vector<Fields>{{"été", "Ã", "🔔"}}));
}

// A day file of the given number of records; record i is output 1 at time text "i" for i seconds.
std::string dayFileOf(int records) {
    std::string bytes;
    for (int i = 1; i <= records; ++i) {
        bytes += "1," + std::to_string(i) + "," + std::to_string(i) + "\r\n";
    }
    return bytes;
}

// A slot as "time|output|duration".
std::string slot(const TodayTable& table, int index) {
    return table.TodayTime[index] + "|" + std::to_string(table.TodayOutput[index]) + "|" +
           std::to_string(table.TodayDuration[index]);
}

// Each record takes the next slot unless its output or duration is unusable; a line that is not a
// record (a comment, a quote left open, a line cut short) drops no later entry.
TEST(TodayTable, LoadsUsableRecordsIntoSlotsInFileOrderAndKeepsTheFirst600) {
    test::TempFolder folder;
    const std::string prefix = folder.file("Quorel");
    TodayTable table;
    const int openBefore = test::openFileCount();
    folder.write("Quorel.1", "\xEF\xBB\xBF\"2\",\"12:00:00\",\"10\"\r\n" // saved by Notepad
                             "x,00:00:01,5\r\n1,00:00:02,5s\r\n5,00:00:03,5\r\n0.4,00:00:04,5\r\n"
                             "40000,00:00:05,5\r\n1,00:00:06,3000000000\r\n1,00:00:07,\r\n"
                             "; sonneries du lundi\r\n"
                             "1,8:00:00,3\r\n" // stored unchanged, though it never matches
                             "\"2.5\",\"00:00:08\",\"2.5\",\"Ouverture\"\r\n"
                             "n'importe quoi, vraiment\r\n"
                             "\" 3.5 \",\"00:00:09\",\"-0.5\"\r\n"
                             "\"1\",\"08:00:00\",\"3\r\n" // quote left open
                             "1,00:00:10,1e3\n4,00:00:11");
    LoadTodayTable(table, prefix, 1);
    const char* slots[] = {"|0|0",         "12:00:00|2|10",   "8:00:00|1|3", "00:00:08|2|2",
                           "00:00:09|4|0", "00:00:10|1|1000", "|0|0"};
    for (int index = 0; index < 7; ++index) {
        EXPECT_EQ(slot(table, index), slots[index]);
    }
    EXPECT_EQ(test::openFileCount(), openBefore);

    // Nothing of an earlier load is kept.
    folder.write("Quorel.0", dayFileOf(601));
    LoadTodayTable(table, prefix, 0);
    EXPECT_EQ(slot(table, 1), "1|1|1");
    EXPECT_EQ(slot(table, 600), "600|1|600");
    folder.write("Quorel.0", dayFileOf(3));
    LoadTodayTable(table, prefix, 0);
    EXPECT_EQ(slot(table, 3), "3|1|3");
    for (int index = 4; index <= TodayTable::kSlots; ++index) {
        ASSERT_EQ(slot(table, index), "|0|0") << index;
    }
    LoadTodayTable(table, prefix, 4); // no file
    EXPECT_EQ(slot(table, 1), "|0|0");

    // A file at its bound loads; one byte more and it reads as missing.
    const std::string full =
        dayFileOf(1) + std::string(kDayFileMaxBytes - dayFileOf(1).size(), ' ');
    folder.write("Quorel.2", full);
    LoadTodayTable(table, prefix, 2);
    EXPECT_EQ(slot(table, 1), "1|1|1");
    folder.write("Quorel.2", full + " ");
    LoadTodayTable(table, prefix, 2);
    EXPECT_EQ(slot(table, 1), "|0|0");
}

} // namespace
} // namespace quorel
