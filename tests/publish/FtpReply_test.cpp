// Replies as text: codes, multi-line replies, PASV, RETR sizes, PWD, arguments, line splitting.
#include <gtest/gtest.h>

#include "base/Result.h"
#include "publish/FtpReply.h"
#include "publish/TcpIp.h"

namespace orvo {
namespace {

bool FeedAll(ReplyAssembler& reply, std::initializer_list<const char*> lines) {
    bool complete = false;
    for (const char* line : lines) {
        EXPECT_FALSE(complete) << "a line after the reply ended: " << line;
        complete = reply.Feed(line);
    }
    return complete;
}

TEST(ReplyCode, IsTheFirstThreeDigitsOr999) {
    EXPECT_EQ(ReplyCodeOf("220 ready"), 220);
    EXPECT_EQ(ReplyCodeOf("530-Login incorrect"), 530);
    EXPECT_EQ(ReplyCodeOf("22"), 999);
    EXPECT_EQ(ReplyCodeOf("2x0 garbled"), 999);
    EXPECT_EQ(ReplyCodeOf(""), 999);
    EXPECT_EQ(ReplyCodeOf(" 220"), 999);
}

TEST(ReplyAssembly, SingleLineGivesCodeAndTextFromItsFifthCharacter) {
    ReplyAssembler reply;
    EXPECT_TRUE(reply.Feed("331 Username ok, send password."));
    EXPECT_EQ(reply.Code(), 331);
    EXPECT_EQ(reply.Text(), "Username ok, send password.");
}

TEST(ReplyAssembly, MultiLineReplyRunsToTheLineWithTheSameCodeAndASpace) {
    // RFC 959 allows intermediate lines that start with anything, even another code.
    ReplyAssembler reply;
    EXPECT_TRUE(FeedAll(reply, {"220-Welcome to the server", "this line has no dash",
                                "230 not the end: another code", " indented line",
                                "220-still going", "220 Ready."}));
    EXPECT_EQ(reply.Code(), 220);
    EXPECT_EQ(reply.Text(), "Welcome to the server");
    EXPECT_EQ(reply.Lines().size(), 6u);
}

TEST(ReplyAssembly, MultiLineErrorIsReadToItsEndBeforeItCounts) {
    ReplyAssembler reply;
    EXPECT_FALSE(reply.Feed("530-Login incorrect."));
    EXPECT_FALSE(reply.Feed("530-Second line"));
    EXPECT_TRUE(reply.Feed("530 End"));
    EXPECT_EQ(reply.Code(), 530);
    EXPECT_EQ(reply.Text(), "Login incorrect.");
}

TEST(ReplyAssembly, BareCodeClosesAMultiLineReply) {
    ReplyAssembler reply;
    EXPECT_TRUE(FeedAll(reply, {"211-Features:", " PASV", "211"}));
}

TEST(ReplyAssembly, GarbledFirstLineIsOneLineWithCode999) {
    ReplyAssembler reply;
    EXPECT_TRUE(reply.Feed("xyz-not a reply"));
    EXPECT_EQ(reply.Code(), 999);
}

TEST(ReplyAssembly, EndlessReplyIsRefused) {
    ReplyAssembler reply;
    reply.Feed("220-start");
    bool threw = false;
    try {
        for (int i = 0; i < 5000; ++i) reply.Feed("more");
    } catch (const ParseError& e) {
        threw = true;
        EXPECT_EQ(std::string(e.what()), kLineTooLongText);
    }
    EXPECT_TRUE(threw);
}

TEST(PassiveReply, SixNumbersInParenthesesGiveAddressAndPort) {
    const auto t = ParsePasvReply("Entering Passive Mode (192,168,1,2,19,137).");
    ASSERT_TRUE(t);
    EXPECT_EQ(DottedAddress(t->address), "192.168.1.2");
    EXPECT_EQ(t->port, 19 * 256 + 137);
    EXPECT_EQ(t->port, 5001);
}

TEST(PassiveReply, NumbersWithoutParenthesesAreFound) {
    const auto t = ParsePasvReply("Entering Passive Mode 127,0,0,1,4,1");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->port, 1025);
}

TEST(PassiveReply, MalformedGroupsAreRefused) {
    EXPECT_FALSE(ParsePasvReply("Entering Passive Mode (127,0,0,1,4)"));
    EXPECT_FALSE(ParsePasvReply("Entering Passive Mode (127,0,0,1,256,1)"));
    EXPECT_FALSE(ParsePasvReply("Entering Passive Mode (127,0,0,1,4,99999999999999999)"));
    EXPECT_FALSE(ParsePasvReply("Entering Passive Mode ()"));
    EXPECT_FALSE(ParsePasvReply(""));
}

TEST(RetrieveReply, AnnouncedSizeComesFromTheGroupBeforeBytes) {
    EXPECT_EQ(ExpectedSizeOfReply("Opening BINARY mode data connection for f.txt (12345 bytes)."),
              12345);
    EXPECT_EQ(ExpectedSizeOfReply("Opening data connection (big) for x (5000000000 bytes)"),
              5000000000LL);
    EXPECT_EQ(ExpectedSizeOfReply("Data connection already open. Transfer starting."), -1);
    EXPECT_EQ(ExpectedSizeOfReply("Opening (many bytes)"), 0);
    EXPECT_EQ(ExpectedSizeOfReply("no parenthesis bytes)"), 0);
}

TEST(CurrentDirectoryReply, FolderBetweenQuotesEndsWithSlash) {
    EXPECT_EQ(DirectoryOfPwdReply("\"/pub/site\" is the current directory."), "/pub/site/");
    EXPECT_EQ(DirectoryOfPwdReply("\"/\" is the current directory."), "/");
    EXPECT_EQ(DirectoryOfPwdReply("\"/a/\" ok"), "/a/");
    EXPECT_EQ(DirectoryOfPwdReply("no quotes"), "/");
}

TEST(CommandArgument, CarriageReturnLineFeedAndNulAreRefused) {
    EXPECT_TRUE(IsSafeArgument("file name with spaces.txt"));
    EXPECT_TRUE(IsSafeArgument(""));
    EXPECT_FALSE(IsSafeArgument("a\r\nDELE b"));
    EXPECT_FALSE(IsSafeArgument("a\nb"));
    EXPECT_FALSE(IsSafeArgument("a\rb"));
    EXPECT_FALSE(IsSafeArgument(std::string_view("a\0b", 3)));
}

TEST(ControlLines, LineFeedEndsALineAndCarriageReturnsAreDropped) {
    LineBuffer lines;
    lines.Append("220 he");
    EXPECT_FALSE(lines.TakeLine());
    lines.Append("llo\r\n331 x\r\r\n\n");
    EXPECT_EQ(lines.TakeLine(), "220 hello");
    EXPECT_EQ(lines.TakeLine(), "331 x");
    EXPECT_EQ(lines.TakeLine(), "");
    EXPECT_FALSE(lines.TakeLine());
    EXPECT_TRUE(lines.Empty());
    lines.Append("226 partial\r");
    EXPECT_EQ(lines.TakeRest(), "226 partial");
}

TEST(ControlLines, AnEndlessLineOverflows) {
    LineBuffer lines;
    lines.Append(std::string(LineBuffer::kMaxLine, 'x'));
    EXPECT_FALSE(lines.Overflowed());
    lines.Append("y");
    EXPECT_TRUE(lines.Overflowed());
    EXPECT_FALSE(lines.TakeLine());
}

}  // namespace
}  // namespace orvo
