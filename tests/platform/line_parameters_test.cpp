#include "platform/line_parameters.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(LineParametersTest, ReadsWellFormedTextsAndRefusesTheRest) {
    const auto standard = parseLineParameters("4800,N,8,1");
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard->baud, 4800);
    EXPECT_EQ(standard->parity, Parity::None);
    EXPECT_EQ(standard->dataBits, 8);
    EXPECT_EQ(standard->stopBits, StopBits::One);
    const auto other = parseLineParameters("115200,e,5,1.5");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->parity, Parity::Even);
    EXPECT_EQ(other->dataBits, 5);
    EXPECT_EQ(other->stopBits, StopBits::OneAndHalf);
    EXPECT_EQ(parseLineParameters("9600,S,7,2")->stopBits, StopBits::Two);

    for (const char* text : {"", "4800,N,8", "4800,N,8,1,", "4800;N;8;1", " 4800,N,8,1", "0,N,8,1",
                             "-4800,N,8,1", "99999999999,N,8,1", "4800,X,8,1", "4800,NN,8,1",
                             "4800,N,4,1", "4800,N,9,1", "4800,N,8,0", "4800,N,8,1.0"}) {
        EXPECT_FALSE(parseLineParameters(text)) << '"' << text << '"';
    }
}

} // namespace
} // namespace quorel
