// The style record against bytes written out by hand.
#include "model/StyleRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "support/TestSupport.h"

namespace orvo {
namespace {

// Style 0 of every new hypertext, byte by byte.
std::string BuiltInStyleZeroBytes() {
    std::string b(103, '\0');
    b[4] = 1;
    const char name[] = "\x0f[nessuno stile]";
    std::memcpy(&b[5], name, 16);
    const char font[] = "\x0fTimes New Roman";
    std::memcpy(&b[39], font, 16);
    b[72] = 12;          // size 12
    b[79] = char(0xFF);  // link size -1
    b[80] = char(0xFF);
    b[83] = char(0xFF);  // link colour 0x00FF0000
    b[85] = 4;           // link style: underline
    b[86] = 10;          // left margin
    b[88] = 10;          // right margin
    b[94] = 0x00;        // line height -32000 = 0x8300
    b[95] = char(0x83);
    b[98] = 1;  // unit mm
    return b;
}

std::string AsString(const std::array<std::uint8_t, 668>& r, std::size_t n) {
    return std::string(reinterpret_cast<const char*>(r.data()), n);
}

TEST(StyleRecordBytes, BuiltInStylesAreExact) {
    std::array<std::uint8_t, 668> record;
    record.fill(0xAB);
    SetBuiltInStyle(record, 0);
    EXPECT_EQ(test::Escaped(AsString(record, 103)), test::Escaped(BuiltInStyleZeroBytes()));
    EXPECT_EQ(record[400], 0) << "the whole record is zero-filled";

    SetBuiltInStyle(record, 1);
    std::string one = BuiltInStyleZeroBytes();
    std::memset(&one[5], 0, 34);
    const char name[] = "\x17[nessuno stile tabella]";
    std::memcpy(&one[5], name, 24);
    one[86] = 0;
    one[88] = 0;
    EXPECT_EQ(test::Escaped(AsString(record, 103)), test::Escaped(one));
}

TEST(StyleRecordBytes, NewStyleHasOriginZeroAndNoName) {
    std::array<std::uint8_t, 668> record;
    record.fill(0xFF);
    StyleRecord style(record);
    style.SetDefaults();
    std::string expected = BuiltInStyleZeroBytes();
    std::memset(&expected[4], 0, 17);
    EXPECT_EQ(test::Escaped(AsString(record, 103)), test::Escaped(expected));
}

TEST(StyleRecordBytes, NamesAreCutTo32AndFormatComparesFontSizeOnward) {
    std::array<std::uint8_t, 668> a{}, b{};
    StyleRecord sa(a), sb(b);
    sa.SetDefaults();
    sb.SetDefaults();
    sa.SetName(std::string(40, 'x'));
    EXPECT_EQ(sa.Name(), std::string(32, 'x'));
    EXPECT_EQ(a[5], 32);
    sb.SetFontName("Arial");  // the font name is not part of the format comparison
    b[200] = 0xFF;            // nor is anything past the stored record
    EXPECT_TRUE(sa.SameFormat(sb));
    sb.SetPosition(2);  // the last stored byte counts
    EXPECT_FALSE(sa.SameFormat(sb));
}

}  // namespace
}  // namespace orvo
