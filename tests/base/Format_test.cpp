// Number formats of stored files and markup.
#include "base/Format.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST(Formats, ColoursAreRedGreenBlueFromWindowsValues) {
    EXPECT_EQ(HexColour(0x00FF8040), "4080FF");
    EXPECT_EQ(HexColour(0), "000000");
    EXPECT_EQ(HexColour(0x80000005), "050000");  // the top byte is dropped
}

TEST(Formats, CodesAreEightLowerCaseDigits) {
    EXPECT_EQ(Hex8(0x6F00000A), "6f00000a");
    EXPECT_EQ(Hex8(0xFFFFFFFF), "ffffffff");
    EXPECT_EQ(HexUpper(0xAB, 4), "00AB");
}

TEST(Formats, HexParsingStopsAtTheFirstNonDigitAndAtTheLimit) {
    std::uint32_t v = 0;
    EXPECT_EQ(ParseHex("1aG", 8, v), 2);
    EXPECT_EQ(v, 0x1Au);
    EXPECT_EQ(ParseHex("123456789", 8, v), 8);
    EXPECT_EQ(v, 0x12345678u);
    EXPECT_EQ(ParseHex("", 8, v), 0);
}

TEST(Formats, DecimalsTakeASignAndAreClampedWithoutOverflow) {
    long long v = 0;
    EXPECT_EQ(ParseClampedInt("-12x", -100, 100, v), 3);
    EXPECT_EQ(v, -12);
    EXPECT_EQ(ParseClampedInt("+7", -100, 100, v), 2);
    EXPECT_EQ(v, 7);
    EXPECT_EQ(ParseClampedInt("99999999999999999999999", 0, 32767, v), 23);
    EXPECT_EQ(v, 32767);
    EXPECT_EQ(ParseClampedInt("-99999999999999999999999", -32768, 0, v), 24);
    EXPECT_EQ(v, -32768);
    EXPECT_EQ(ParseClampedInt("-", 0, 10, v), 0);
}
