// Checked reading, little-endian writing, record views and streams.
#include <gtest/gtest.h>

#include <array>

#include "base/ByteReader.h"
#include "base/ByteStream.h"
#include "base/RecordView.h"
#include "support/TestSupport.h"

using namespace orvo;
using orvo::test::Bytes;

TEST(ByteReading, ReadsLittleEndianAndRefusesToPassTheEnd) {
    const std::string data = Bytes({0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 'a', 'b'});
    ByteReader r(data);
    EXPECT_EQ(r.U16(), 0x1234);
    EXPECT_EQ(r.I32(), -1);
    EXPECT_THROW(r.PStr(), ParseError);  // length 3 but only 2 bytes remain
    ByteReader again(data);
    again.Seek(6);
    EXPECT_EQ(again.PStr(2), "ab");  // clamped to the field's maximum
    EXPECT_TRUE(again.AtEnd());
    EXPECT_THROW(again.U8(), ParseError);
    EXPECT_THROW(again.Seek(10), ParseError);
}

TEST(ByteWriting, WritesLittleEndianAndCutsStrings) {
    std::string out;
    ByteWriter w(out);
    w.I16(-2);
    w.U32(0x01020304);
    w.PStr("abcdef", 3);
    EXPECT_EQ(out, Bytes({0xFE, 0xFF, 0x04, 0x03, 0x02, 0x01, 0x03, 'a', 'b', 'c'}));
}

namespace {
constexpr FieldSpec kSmallNumber{"n", 0, 2, Cell::I16};
constexpr FieldSpec kSmallName{"name", 2, 5, Cell::PStr};
constexpr FieldSpec kSmallCode{"code", 7, 4, Cell::I32};
constexpr std::array kSmallFields{kSmallNumber, kSmallName, kSmallCode};
static_assert(FieldsAscendAndFit(kSmallFields, 11));
static_assert(!FieldsAscendAndFit(kSmallFields, 10));
constexpr std::array kOverlapping{kSmallName, FieldSpec{"x", 3, 2, Cell::I16}};
static_assert(!FieldsAscendAndFit(kOverlapping, 20));
}  // namespace

TEST(RecordViews, FieldsAreReadAndWrittenInPlace) {
    std::array<std::uint8_t, 11> bytes{};
    RecordView view(bytes);
    view.Fill(0xFF);
    EXPECT_EQ(view.I32(kSmallCode), -1);
    view.SetI16(kSmallNumber, 300);
    view.SetPStr(kSmallName, "abcdefgh");  // cut to width - 1 = 4
    view.SetI32(kSmallCode, 0x11223344);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              Bytes({0x2C, 0x01, 4, 'a', 'b', 'c', 'd', 0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(view.PStr(kSmallName), "abcd");
    bytes[2] = 200;  // a hostile length byte is clamped to the field
    EXPECT_EQ(view.PStr(kSmallName), "abcd");
}

TEST(MemoryStreams, WriteOverwritesThenAppendsAndReadStopsAtTheEnd) {
    MemoryStream s;
    ASSERT_TRUE(s.Write("hello"));
    ASSERT_TRUE(s.Seek(3));
    ASSERT_TRUE(s.Write("LOWORLD"));
    EXPECT_EQ(s.Bytes(), "helLOWORLD");
    ASSERT_TRUE(s.Seek(8));
    char buf[8];
    EXPECT_EQ(s.Read(buf, sizeof buf), 2u);
    EXPECT_FALSE(s.ReadExact(buf, 1));
}

TEST(FileStreams, ExclusiveCreationRefusesAnExistingFile) {
    const auto path = orvo::test::TestDir() / "x.bin";
    auto created = FileStream::Open(path, FileStream::Mode::CreateExclusive);
    ASSERT_TRUE(created.ok());
    ASSERT_TRUE(created->Write("abc"));
    EXPECT_EQ(created->Size(), 3);
    EXPECT_FALSE(FileStream::Open(path, FileStream::Mode::CreateExclusive).ok());
    EXPECT_FALSE(FileStream::Open(orvo::test::TestDir() / "missing", FileStream::Mode::Read).ok());
}
