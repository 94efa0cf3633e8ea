// Windows-1252 codec, case folding and the compile-time literal.
#include "base/Cp1252.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::literals;

TEST(Cp1252Codec, EveryByteSurvivesARoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

TEST(Cp1252Codec, HighBytesTakeTheCodePagesCharactersNotLatin1) {
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");                  // euro sign
    EXPECT_EQ(Cp1252ToUtf8("\x93\x94"), "\xE2\x80\x9C\xE2\x80\x9D");  // curly quotes
    EXPECT_EQ(Cp1252ToUtf8("\xE8"), "\xC3\xA8");                      // e grave
    EXPECT_EQ(Cp1252ToUtf8("\xA7"), "\xC2\xA7");                      // section sign
}

TEST(Cp1252Codec, CharactersOutsideTheCodePageBecomeTheReplacement) {
    EXPECT_EQ(Utf8ToCp1252("a\xE4\xB8\xADz"), "a?z");  // a CJK character
    EXPECT_EQ(Utf8ToCp1252("a\xFFz", '_'), "a_z");     // malformed byte
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");              // cut sequence
}

TEST(Cp1252Literal, ConvertsAtCompileTime) {
    constexpr std::string_view text = "Non è così"_cp;
    static_assert(text.size() == 10);
    EXPECT_EQ(text, "Non \xE8 cos\xEC");
    EXPECT_EQ("€ § “x”"_cp, "\x80 \xA7 \x93x\x94");
}

TEST(Cp1252Case, FoldsAccentedLettersAndTheSpecialPairs) {
    EXPECT_EQ(Lower1252("ÀÉÌÒÙ ŠŒŽŸ ×"_cp), "àéìòù šœžÿ ×"_cp);
    EXPECT_EQ(Upper1252("àéìòù šœžÿ ÷"_cp), "ÀÉÌÒÙ ŠŒŽŸ ÷"_cp);
    EXPECT_TRUE(SameText1252("Perché"_cp, "PERCHÉ"_cp));
    EXPECT_FALSE(SameText1252("abc", "abcd"));
    EXPECT_LT(CompareText1252("abc", "ABD"), 0);
    EXPECT_GT(CompareText1252("abcd", "ABC"), 0);
    EXPECT_EQ(LowerCase1252(0xDF), 0xDF);  // sharp s has no upper-case partner
    EXPECT_EQ(UpperCase1252(0xDF), 0xDF);
}
