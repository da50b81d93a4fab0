#include "schedule/number_text.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(FieldNumbers, AcceptWholeNumbersOnlyAndRoundHalvesToEven) {
    EXPECT_EQ(fieldToInt16("3"), 3);
    EXPECT_EQ(fieldToInt16("  -7 "), -7);
    EXPECT_EQ(fieldToInt16("+2"), 2);
    EXPECT_EQ(fieldToInt16("0.5"), 0);
    EXPECT_EQ(fieldToInt16("1.5"), 2);
    EXPECT_EQ(fieldToInt16("2.5"), 2);
    EXPECT_EQ(fieldToInt16("-2.5"), -2);
    EXPECT_EQ(fieldToInt16("2.51"), 3);
    EXPECT_EQ(fieldToInt16(".5e1"), 5);
    EXPECT_EQ(fieldToInt16("32767"), 32767);
    EXPECT_EQ(fieldToInt16("-32768"), -32768);
    EXPECT_EQ(fieldToInt16("32767.5"), std::nullopt); // rounds to 32768
    EXPECT_EQ(fieldToInt16("32768"), std::nullopt);
    EXPECT_EQ(fieldToInt32("2147483647"), 2147483647);
    EXPECT_EQ(fieldToInt32("2147483648"), std::nullopt);
    EXPECT_EQ(fieldToInt32("1e400"), std::nullopt);
    EXPECT_EQ(fieldToInt32("1e-400"), 0);
    for (const char* bad : {"", "  ", "a", "1a", "1 2", "1,5", "-", ".", "e5", "0x10", "inf"}) {
        EXPECT_EQ(fieldToInt16(bad), std::nullopt) << bad;
    }
}

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
    EXPECT_EQ(leadingNumber("1.5"), 1.5);
    EXPECT_EQ(leadingNumber(" 2"), 2);
    EXPECT_EQ(leadingNumber("2a"), 2);
    EXPECT_EQ(leadingNumber("4.5"), 4.5);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber("1 2"), 12); // blanks are skipped wherever they stand
    EXPECT_EQ(leadingNumber("\t-\n3"), -3);
    EXPECT_EQ(leadingNumber("1,5"), 1); // a comma is no decimal point
    EXPECT_EQ(leadingNumber("2e1x"), 20);
    EXPECT_EQ(leadingNumber("3e"), 3);
    EXPECT_EQ(leadingNumber("+.5"), 0.5);
}

} // namespace
} // namespace quorel
