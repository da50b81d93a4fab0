#include "schedule/record_reader.h"
#include "schedule/record_writer.h"
#include "schedule/windows1252.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

using test::hexBytes;
using Fields = std::vector<std::string>;

TEST(RecordWriter, WritesQuotedTextsBareNumbersAndCrLf) {
    std::string bytes;
    writeRecord(bytes, {std::string("2"), std::string("07:45:00"), std::string("5")});
    EXPECT_EQ(hexBytes(bytes), "22 32 22 2C 22 30 37 3A 34 35 3A 30 30 22 2C 22 35 22 0D 0A");
    EXPECT_EQ(bytes.size(), 20u);

    std::string settings;
    writeRecord(settings, {3LL});
    EXPECT_EQ(hexBytes(settings), "33 0D 0A");

    std::string odd;
    writeRecord(odd, {std::string(""), -12LL, std::string(" a b ")});
    EXPECT_EQ(odd, "\"\",-12,\" a b \"\r\n");
}

TEST(RecordWriter, StoresTextAsWindows1252) {
    std::string bytes;
    writeRecord(bytes, {std::string("é€"), std::string("日"), std::string("\xff")});
    // é is E9, € is 80; a character with no Windows-1252 byte and a broken sequence become "?".
    EXPECT_EQ(hexBytes(bytes), "22 E9 80 22 2C 22 3F 22 2C 22 3F 22 0D 0A");
}

TEST(RecordReader, ReadsWhatTheWriterWrote) {
    std::string bytes;
    const Fields first{"1", "12:00:00", "10"};
    const Fields second{"2", "Durée €", ""};
    writeRecord(bytes, {first[0], first[1], first[2]});
    writeRecord(bytes, {second[0], second[1], second[2]});
    RecordReader reader(bytes);
    EXPECT_EQ(reader.next(3), first);
    EXPECT_EQ(reader.next(3), second);
    EXPECT_EQ(reader.next(3), std::nullopt);
}

TEST(RecordReader, AcceptsHandWrittenVariants) {
    const Fields expected{"2", "07:45:00", "5"};
    const char* variants[] = {
        "\"2\",\"07:45:00\",\"5\"\r\n",
        "   \"2\",  \"07:45:00\",\t\"5\"\r\n",        // blanks before fields
        "2,07:45:00,5\r\n",                           // unquoted
        "2 ,07:45:00  ,5\t\r\n",                      // trailing blanks of unquoted fields dropped
        "\"2\"xyz,\"07:45:00\" junk,\"5\"\r\n",       // anything after a closing quote is skipped
        "\r\n\r\n  \r\n2,07:45:00,5\r\n\r\n",         // blank lines around the record
        "\n\r2,07:45:00,5\n",                         // LF or CR alone ends a line too
        "2,07:45:00,5",                               // no final line end
        "\"2\",\"07:45:00\",\"5\",\"Ouverture\"\r\n", // extra fields ignored, even broken ones
        "2,07:45:00,5,\"Ouvert\r\n",
        "\xEF\xBB\xBF\"2\",\"07:45:00\",\"5\"\r\n", // byte-order mark of a file saved by Notepad
    };
    for (const char* text : variants) {
        RecordReader reader(text);
        EXPECT_EQ(reader.next(3), expected) << text;
        EXPECT_EQ(reader.next(3), std::nullopt) << text;
    }
}

TEST(RecordReader, KeepsEmptyFieldsAndQuotedSeparators) {
    RecordReader reader("1,,\r\n\"a,b\",\" x \",\"\"\r\n1,07:00:00,");
    EXPECT_EQ(reader.next(3), (Fields{"1", "", ""}));
    EXPECT_EQ(reader.next(3), (Fields{"a,b", " x ", ""}));
    EXPECT_EQ(reader.next(3), (Fields{"1", "07:00:00", ""}));
}

TEST(RecordReader, SkipsOnlyTheLinesThatAreNotRecords) {
    const char* badLines[] = {
        "\"2\",\"08:00:00\"\r\n\"5\"\r\n", // a record spread over two lines
        "\"2\",\"08:00:00\",\"5\r\n",      // a quote left open at the line end
        "; sonneries du lundi\r\n",        // a comment written by hand
        "\"2\"\"08:00:00\"\"5\"\r\n",      // commas forgotten
    };
    for (const char* bad : badLines) {
        const std::string bytes = std::string("1,07:00:00,5\r\n") + bad + "2,09:00:00,6\r\n" + bad;
        RecordReader reader(bytes);
        EXPECT_EQ(reader.next(3), (Fields{"1", "07:00:00", "5"})) << bad;
        EXPECT_EQ(reader.next(3), (Fields{"2", "09:00:00", "6"})) << bad;
        EXPECT_EQ(reader.next(3), std::nullopt) << bad;
    }

    // The settings file is read with the same rules, one field per line.
    RecordReader settings("\xEF\xBB\xBF\r\n\"3\r\n 2 \r\n");
    EXPECT_EQ(settings.next(1), Fields{"2"});
    EXPECT_EQ(settings.next(1), std::nullopt);

    // Only a mark at the very start is dropped; elsewhere its bytes are text.
    RecordReader markInside("1\r\n\xEF\xBB\xBF\r\n");
    EXPECT_EQ(markInside.next(1), Fields{"1"});
    EXPECT_EQ(markInside.next(1), Fields{"ï»¿"});

    RecordReader nothing("");
    EXPECT_EQ(nothing.next(1), std::nullopt);
}

TEST(Windows1252, RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string utf8 = windows1252ToUtf8(all);
    EXPECT_EQ(utf8ToWindows1252(utf8), all);
    EXPECT_EQ(windows1252ToUtf8("\xe9\x80\x9c"), "é€œ");
}

} // namespace
} // namespace quorel
