// The character reference decoder: the 104 names, numbers, "&&" and what is not a reference.
#include "model/Entities.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/TestSupport.h"

namespace orvo {
namespace {

struct Decoded {
    unsigned char byte;
    std::size_t consumed;
};

Decoded Decode(std::string_view text) {
    std::size_t pos = 0;
    const unsigned char byte = DecodeEntity(text, pos);
    return {byte, pos};
}

TEST(EntityTable, HoldsTheEscapesThenTheLatinOneNamesInCodeOrder) {
    ASSERT_EQ(kEntityNames.size(), 104u);
    const char* first[] = {"quot", "amp", "lt", "gt", "QUOT", "AMP", "LT", "GT"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(kEntityNames[std::size_t(i)].name, first[i]);
    for (int i = 8; i < 104; ++i) EXPECT_EQ(kEntityNames[std::size_t(i)].byte, 0xA0 + i - 8);
    EXPECT_EQ(kEntityNames[8].name, "nbsp");
    EXPECT_EQ(kEntityNames[8 + 0x0F].name, "hibar");
    EXPECT_EQ(kEntityNames[103].name, "yuml");
    std::set<std::string_view> names;
    for (const EntityName& e : kEntityNames) names.insert(e.name);
    EXPECT_EQ(names.size(), 104u);
}

TEST(EntityDecoding, NamesWithAndWithoutSemicolon) {
    EXPECT_EQ(Decode("&eacute;x").byte, 0xE9);
    EXPECT_EQ(Decode("&eacute;x").consumed, 8u);
    EXPECT_EQ(Decode("&eacutex").consumed, 7u);
    EXPECT_EQ(Decode("&hibar;").byte, 0xAF);
    EXPECT_EQ(Decode("&QUOT;").byte, '"');
    EXPECT_EQ(Decode("&Eacute;").byte, 0xC9) << "compared case-sensitively";
    EXPECT_EQ(Decode("&ltfoo").byte, '<') << "a table name at the start is enough";
    EXPECT_EQ(Decode("&ltfoo").consumed, 3u);
    for (const EntityName& e : kEntityNames)
        EXPECT_EQ(Decode("&" + std::string(e.name) + ";").byte, e.byte) << e.name;
}

TEST(EntityDecoding, NumbersTakeAtMostThreeCharacters) {
    EXPECT_EQ(Decode("&#233;").byte, 0xE9);
    EXPECT_EQ(Decode("&#233;").consumed, 6u);
    EXPECT_EQ(Decode("&#1234;").byte, '{');  // 123; "4;" stays text
    EXPECT_EQ(Decode("&#1234;").consumed, 5u);
    EXPECT_EQ(Decode("&#300;").byte, 300 & 0xFF);
    EXPECT_EQ(Decode("&#x41;").byte, 'A') << "a non-number gives 65";
    EXPECT_EQ(Decode("&#;").byte, 'A');
    EXPECT_EQ(Decode("&#;").consumed, 3u);
}

TEST(EntityDecoding, DoubleAmpersandEatsTheNextByte) {
    EXPECT_EQ(Decode("&&x rest").byte, '&');
    EXPECT_EQ(Decode("&&x rest").consumed, 3u);
    EXPECT_EQ(Decode("&&;;").consumed, 4u) << "\"&&;\" and a \";\" after the three bytes";
}

TEST(EntityDecoding, UnknownNameIsABlankAndOnlyTheAmpersandGoes) {
    EXPECT_EQ(Decode("&xyz;").byte, ' ');
    EXPECT_EQ(Decode("&xyz;").consumed, 1u);
    EXPECT_EQ(Decode("&;xyz").consumed, 2u);
}

TEST(EntityDecoding, NeverReadsPastTheTerminatorOrTheEnd) {
    const std::string cut[] = {"&", "&#", "&#1", "&&", "&eac", "&#12"};
    for (const std::string& text : cut) {
        EXPECT_LE(Decode(text).consumed, text.size()) << text;
        std::string terminated = text + '\0' + ";;;;";
        EXPECT_LE(Decode(terminated).consumed, text.size()) << test::Escaped(terminated);
    }
    EXPECT_EQ(Decode(std::string("&&\0;", 4)).consumed, 2u);
    EXPECT_EQ(Decode(std::string("&#1\0", 4)).byte, 1);
}

}  // namespace
}  // namespace orvo
