// Listing lines in the Unix and DOS styles, and lines that must give no entry.
#include <gtest/gtest.h>

#include "publish/FtpListing.h"

namespace orvo {
namespace {

constexpr int kYear = 2024;

T_Filedata Parsed(std::string_view line) {
    const auto entry = ParseListingLine(line, kYear);
    EXPECT_TRUE(entry) << "no entry for: " << line;
    return entry.value_or(T_Filedata{});
}

TFileDate Date(int year, int month, int day, int hour = 0, int minute = 0) {
    return TFileDate{true, year, month, day, hour, minute};
}

TEST(UnixListing, FolderWithASpaceDatedWithATimeIsThisYear) {
    const T_Filedata e = Parsed("drwxr-xr-x   2 user     group        4096 Jan 10 12:30 my dir");
    EXPECT_EQ(e.kind, T_Filedata::kDirectory);
    EXPECT_EQ(e.name, "my dir");
    EXPECT_EQ(e.size, 4096);
    EXPECT_EQ(e.date, Date(kYear, 1, 10, 12, 30));
}

TEST(UnixListing, FileDatedWithAYearIsAtMidnight) {
    const T_Filedata e = Parsed("-rw-r--r--   1 user     group       12345 Mar  3  1999 old.txt");
    EXPECT_EQ(e.kind, T_Filedata::kFile);
    EXPECT_EQ(e.name, "old.txt");
    EXPECT_EQ(e.size, 12345);
    EXPECT_EQ(e.date, Date(1999, 3, 3));
}

TEST(UnixListing, LinesAsTheTestServerWritesThem) {
    const T_Filedata e = Parsed("-rw-r--r--   1 root     root            6 Dec 09 05:22 a.txt");
    EXPECT_EQ(e.name, "a.txt");
    EXPECT_EQ(e.size, 6);
    EXPECT_EQ(e.date, Date(kYear, 12, 9, 5, 22));
    const T_Filedata big =
        Parsed("-rw-r--r--   1 root     root     104857600 Dec 09 05:22 big file.bin");
    EXPECT_EQ(big.size, 104857600);
    EXPECT_EQ(big.name, "big file.bin");
}

TEST(UnixListing, SizesBeyond32BitsAreKept) {
    const T_Filedata e = Parsed("-rw-r--r--   1 u g 6000000000 Feb 29  2024 huge.iso");
    EXPECT_EQ(e.size, 6000000000LL);
    EXPECT_EQ(e.date, Date(2024, 2, 29));
}

TEST(UnixListing, LinkKeepsItsTargetInTheName) {
    const T_Filedata e = Parsed("lrwxrwxrwx   1 u g 7 Jan 01 00:00 link -> target");
    EXPECT_EQ(e.kind, T_Filedata::kLink);
    EXPECT_EQ(e.name, "link -> target");
}

TEST(UnixListing, SocketLineHasNoKind) {
    const T_Filedata e = Parsed("srwxrwxrwx   1 u g 0 Jan 01 00:00 sock");
    EXPECT_EQ(e.kind, T_Filedata::kNone);
    EXPECT_FALSE(IsListedEntry(e));
}

TEST(UnixListing, UnknownMonthKeepsTheEntryWithAnUnknownDate) {
    // Month names are matched in their exact case; the file must not vanish from the list.
    const T_Filedata e = Parsed("-rw-r--r--   1 u g 10 JAN 10 12:30 shouting.txt");
    EXPECT_EQ(e.name, "shouting.txt");
    EXPECT_EQ(e.size, 10);
    EXPECT_FALSE(e.date.known);
}

TEST(UnixListing, ImpossibleTimeLeavesTheDateUnknown) {
    EXPECT_FALSE(Parsed("-rw-r--r--   1 u g 10 Jan 10 25:30 x").date.known);
    EXPECT_FALSE(Parsed("-rw-r--r--   1 u g 10 Jan 32 12:30 x").date.known);
}

TEST(UnixListing, MalformedSizeGivesNoEntry) {
    EXPECT_FALSE(ParseListingLine("-rw-r--r--   1 u g 1x2 Jan 10 12:30 x", kYear));
}

TEST(ListingLines, TotalDotsAndOtherStylesGiveNoEntry) {
    EXPECT_FALSE(ParseListingLine("total 12", kYear));
    EXPECT_FALSE(ParseListingLine("", kYear));
    EXPECT_FALSE(ParseListingLine("+i8388621.29609,m824255902,/,\tdir", kYear));
    const T_Filedata dot = Parsed("drwxr-xr-x   2 u g 4096 Jan 10 12:30 .");
    const T_Filedata dotdot = Parsed("drwxr-xr-x   2 u g 4096 Jan 10 12:30 ..");
    EXPECT_FALSE(IsListedEntry(dot));
    EXPECT_FALSE(IsListedEntry(dotdot));
}

TEST(ListingLines, ShortAndStrangeLinesAreSafe) {
    for (std::string_view line : {"-", "d", "drwx", "-rw-r--r-- x", "-  ", "1", "12-31-99",
                                  "01-15-24  03:45PM", "01-15-24  03:45PM  <DIR>",
                                  "-rw-r--r--   1 u g 10 Jan 10 12:30 ", "l          :  :  x"}) {
        const auto entry = ParseListingLine(line, kYear);
        if (entry) {
            EXPECT_LE(entry->name.size(), line.size());
        }
    }
}

TEST(DosListing, DirectoryHasSizeZero) {
    const T_Filedata e = Parsed("01-15-24  03:45PM       <DIR>          my folder");
    EXPECT_EQ(e.kind, T_Filedata::kDirectory);
    EXPECT_EQ(e.size, 0);
    EXPECT_EQ(e.name, "my folder");
    EXPECT_EQ(e.date, Date(2024, 1, 15, 15, 45));
}

TEST(DosListing, FileHasTheSizeBeforeItsName) {
    const T_Filedata e = Parsed("12-31-99  11:59AM                 2048 report.doc");
    EXPECT_EQ(e.kind, T_Filedata::kFile);
    EXPECT_EQ(e.size, 2048);
    EXPECT_EQ(e.name, "report.doc");
    EXPECT_EQ(e.date, Date(1999, 12, 31, 11, 59));
}

TEST(DosListing, TwelveOClockAndFourDigitYears) {
    EXPECT_EQ(Parsed("06-01-2023  12:05AM  1 a").date, Date(2023, 6, 1, 0, 5));
    EXPECT_EQ(Parsed("06-01-2023  12:05PM  1 a").date, Date(2023, 6, 1, 12, 5));
    EXPECT_EQ(Parsed("06-01-23  17:05  1 a").date, Date(2023, 6, 1, 17, 5));
    EXPECT_FALSE(Parsed("13-01-23  01:05PM  1 a").date.known);
}

TEST(ListingSplit, CrLfAndLfEndLines) {
    const auto lines = SplitListingLines("a\r\nb\nc\r\n\r\nd");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "c");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "d");
}

}  // namespace
}  // namespace orvo
