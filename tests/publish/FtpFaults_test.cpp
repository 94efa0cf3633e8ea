// The session against a scripted server: what real servers do only now and then (split and
// multi-line replies, dropped and stalled connections, odd passive answers).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "publish/FtpTestSupport.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

int ThreadsOfThisProcess() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/task"))
        ++n;
    return n;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(FtpReplies, ReplySplitAcrossPacketsIsReassembled) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Send("22");
        peer.Pause(30ms);
        peer.Send("0 rea");
        peer.Pause(30ms);
        peer.Send("dy\r");
        peer.Pause(30ms);
        peer.Send("\n");
        peer.Expect();
        peer.Send("331 Pass");
        peer.Pause(30ms);
        peer.Send("word please\r\n");
        peer.Expect();
        peer.Reply("230 In.");
        peer.Expect();
        // Two replies in one packet: the second must wait for its own command.
        peer.Send("200 Type I.\r\n257 \"/spl");
        peer.Expect();
        peer.Pause(30ms);
        peer.Send("it\" is current.\r\n");
    });
    {
        FtpClient client(server.Port());
        std::string folder;
        EXPECT_EQ(client.comm.RunCurrentDir(folder), 200) << client.comm.ErrorText();
        EXPECT_EQ(folder, "/split/");
    }
    EXPECT_THAT(server.Commands(), ElementsAre("USER orvo", "PASS segreto-42", "TYPE I", "PWD"));
}

TEST(FtpReplies, MultiLineErrorIsReadWholeAndTheDialogueStaysInStep) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.Expect();  // CWD
        peer.Send("550-No such folder.\r\n550-Second line of the reason\r\n550 End.\r\n");
        peer.Expect();  // PWD
        peer.Reply("257 \"/ok\" is current.");
    });
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunChangeDir("manca"), -6);
    EXPECT_EQ(client.comm.ErrorText(), "No such folder.");
    EXPECT_EQ(client.ftp().ReplyCode(), 550);
    std::string folder;
    EXPECT_EQ(client.comm.RunCurrentDir(folder), 200);
    EXPECT_EQ(folder, "/ok/");
}

TEST(FtpReplies, RefusedPasswordKeepsTheConnectionAndALaterLoginWorks) {
    ScriptedServer server(
        [](ScriptedPeer& peer, int connection) {
            if (connection == 0) {
                peer.Reply("220 ready");
                peer.Expect();
                peer.Reply("331 Password please.");
                peer.Expect();
                peer.Send("530-Login incorrect.\r\n530 Try again.\r\n");
                peer.Expect();  // the client hangs up to log in again
                return;
            }
            peer.Login();
        },
        2);
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunConnect(), -6);
    EXPECT_EQ(client.comm.ErrorText(), "Login incorrect.");
    EXPECT_EQ(client.ftp().ReplyCode(), 530);
    EXPECT_TRUE(client.ftp().Connected());
    EXPECT_FALSE(client.ftp().LoggedIn());
    EXPECT_EQ(client.comm.RunConnect(), 200);
    EXPECT_TRUE(client.ftp().LoggedIn());
}

TEST(FtpReplies, UserAcceptedWithoutPasswordSendsNoPass) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Reply("220 ready");
        peer.Expect();
        peer.Reply("230 No password needed.");
        peer.Expect();
        peer.Reply("200 Type I.");
    });
    {
        FtpClient client(server.Port(), "anonymous");
        EXPECT_EQ(client.comm.RunConnect(), 200) << client.comm.ErrorText();
    }
    EXPECT_THAT(server.Commands(), ElementsAre("USER anonymous", "TYPE I"));
}

TEST(FtpReplies, EndlessLineIsRefused) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Send("220 " + std::string(100000, 'x'));
        peer.Pause(200ms);
    });
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunConnect(), -6);
    EXPECT_EQ(client.comm.ErrorText(), kLineTooLongText);
    EXPECT_FALSE(client.ftp().Connected());
}

TEST(FtpReplies, GarbledGreetingIsAFailure) {
    ScriptedServer server([](ScriptedPeer& peer, int) { peer.Reply("hello world"); });
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunConnect(), -6);
    EXPECT_EQ(client.ftp().ReplyCode(), 999);
}

TEST(FtpConnection, ServerClosingAfterTheGreetingIsAFailure) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Reply("220 ready");
        peer.Expect();
        peer.CloseControl();
    });
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunConnect(), -6);
    EXPECT_EQ(client.comm.ErrorText(), kConnectionClosedText);
    EXPECT_FALSE(client.ftp().Connected());
}

TEST(FtpConnection, ClosedInTheMiddleOfADownloadLeavesTheLocalFileAsItWas) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();  // RETR
        peer.Reply("150 Opening BINARY mode data connection for big.bin (100000 bytes).");
        peer.AcceptData();
        peer.SendData(PatternBytes(40000));
        peer.CloseData();
        peer.CloseControl();
    });
    const auto folder = TestDir() / "locale";
    const auto target = folder / "big.bin";
    WriteFile(target, "contenuto di prima");
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunGetFile("big.bin", target), -6);
    EXPECT_EQ(client.comm.ErrorText(), kConnectionClosedText);
    EXPECT_EQ(ReadFile(target), "contenuto di prima");
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++files;
    EXPECT_EQ(files, 1);
}

TEST(FtpConnection, ShortDownloadThatTheServerCallsCompleteIsAFailure) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();
        peer.Reply("150 Opening data connection for big.bin (100000 bytes).");
        peer.AcceptData();
        peer.SendData(PatternBytes(40000));
        peer.CloseData();
        peer.Reply("226 Transfer complete.");
        peer.Expect();  // PWD, on the same connection
        peer.Reply("257 \"/\" is current.");
    });
    FtpClient client(server.Port());
    MemoryStream down;
    EXPECT_EQ(client.comm.RunGetStream("big.bin", down), -6);
    EXPECT_EQ(client.comm.ErrorText(), kIncompleteTransferText);
    EXPECT_EQ(client.comm.TotalBytes(), 100000);
    EXPECT_EQ(client.comm.BytesSoFar(), 40000);
    EXPECT_EQ(client.comm.ProgressPercent(), 40);
    std::string folder;
    EXPECT_EQ(client.comm.RunCurrentDir(folder), 200);
    EXPECT_TRUE(client.ftp().Connected());
}

TEST(FtpConnection, DownloadWithoutAnnouncedSizeHasAnUnknownTotal) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();
        peer.Reply("125 Data connection already open. Transfer starting.");
        peer.AcceptData();
        peer.SendData("12345");
        peer.CloseData();
        peer.Reply("226 Transfer complete.");
    });
    FtpClient client(server.Port());
    MemoryStream down;
    EXPECT_EQ(client.comm.RunGetStream("f.txt", down), 200);
    EXPECT_EQ(down.Bytes(), "12345");
    EXPECT_EQ(client.comm.TotalBytes(), -1);
    EXPECT_EQ(client.comm.ProgressPercent(), -1);  // a bar shows the status text instead
    EXPECT_EQ(client.ftp().ExpectedSize(), -1);
    EXPECT_THAT(client.comm.StatusText(), ::testing::HasSubstr("226"));
}

TEST(FtpConnection, StalledDataConnectionTimesOut) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();
        peer.Reply("150 Opening data connection (5000 bytes).");
        peer.AcceptData();
        peer.SendData(std::string(1000, 'a'));
        peer.Expect();  // nothing more: waits until the client gives up and hangs up
    });
    FtpClient client(server.Port());
    client.ftp().Timeout = 1;
    MemoryStream down;
    const auto start = Clock::now();
    EXPECT_EQ(client.comm.RunGetStream("lento.bin", down), -6);
    EXPECT_EQ(client.comm.ErrorText(), kTimeoutText);
    EXPECT_LT(SecondsSince(start), 4.0);
    EXPECT_FALSE(client.ftp().Connected());
}

TEST(FtpConnection, StopDuringAStalledTransferIsPromptAndTheNextOperationReconnects) {
    ScriptedServer server(
        [](ScriptedPeer& peer, int connection) {
            peer.Login();
            if (connection == 1) {
                peer.Expect();
                peer.Reply("257 \"/dopo\" is current.");
                return;
            }
            peer.AnswerPasv();
            peer.Expect();
            peer.Reply("150 Opening data connection (5000000 bytes).");
            peer.AcceptData();
            peer.SendData(std::string(3000, 'a'));
            peer.Expect();  // stalls until the client hangs up
        },
        2);
    const int threadsBefore = ThreadsOfThisProcess();
    {
        FtpClient client(server.Port());
        client.ftp().Timeout = 30;
        int stopped = -100;
        client.loop.StartTimer(300ms, false, [&] { stopped = client.comm.StopOperation(); });
        MemoryStream down;
        const auto start = Clock::now();
        EXPECT_EQ(client.comm.RunGetStream("lento.bin", down), 0);
        EXPECT_LT(SecondsSince(start), 3.0);
        EXPECT_EQ(stopped, 0);
        EXPECT_FALSE(client.comm.Busy());
        EXPECT_FALSE(client.comm.Failed());
        EXPECT_EQ(client.comm.ResultCode(), 0);
        EXPECT_FALSE(client.ftp().Connected());
        EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);  // worker and watcher joined
        std::string folder;
        EXPECT_EQ(client.comm.RunCurrentDir(folder), 200) << client.comm.ErrorText();
        EXPECT_EQ(folder, "/dopo/");
    }
    server.Commands();  // the server's own thread ends too
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore - 1);
}

TEST(FtpConnection, StopWhenNothingRunsIsHarmless) {
    LoopScheduler loop;
    TQzFtpComm comm(loop, loop);
    EXPECT_EQ(comm.StopOperation(), 0);
    EXPECT_FALSE(comm.Busy());
}

TEST(FtpPassive, DataConnectionGoesToTheControlPeerWhateverAddressIsAnnounced) {
    // The announced 127.0.0.2 has no listener: only the control peer's address works.
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv("127,0,0,2");
        peer.Expect();  // LIST
        peer.Reply("150 Here it comes.");
        peer.AcceptData();
        peer.SendData("-rw-r--r--   1 u g 3 Jan 10 12:30 a.txt\r\n");
        peer.CloseData();
        peer.Reply("226 Done.");
    });
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunList("."), 200) << client.comm.ErrorText();
    T_Filedata entry;
    ASSERT_TRUE(client.ftp().NextListingEntry(entry));
    EXPECT_EQ(entry.name, "a.txt");
}

TEST(FtpPassive, AnswerOtherThan227IsAFailure) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.Expect();
        peer.Reply("200 Not quite passive.");
    });
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunList("."), -6);
    EXPECT_EQ(client.comm.ErrorText(), "Not quite passive.");
}

TEST(FtpPassive, AnswerWithoutSixNumbersIsAFailure) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.Expect();
        peer.Reply("227 Entering passive mode (127,0,0,1).");
    });
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunList("."), -6);
    EXPECT_EQ(client.comm.ErrorText(), kBadPassiveText);
}

TEST(FtpListingNames, NamesThatWouldLeaveTheFolderAreListedButNotFetched) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();
        peer.Reply("150 Listing.");
        peer.AcceptData();
        peer.SendData(
            "-rw-r--r--   1 u g 3 Jan 10 12:30 ../../fuori.txt\r\n"
            "-rw-r--r--   1 u g 3 Jan 10 12:30 /etc/passwd\r\n");
        peer.CloseData();
        peer.Reply("226 Done.");
    });
    const auto folder = TestDir() / "scaricati";
    std::filesystem::create_directories(folder);
    FtpClient client(server.Port());
    EXPECT_EQ(client.comm.RunList("."), 200);
    T_Filedata entry;
    std::vector<std::string> names;
    while (client.ftp().NextListingEntry(entry)) {
        names.push_back(entry.name);
        EXPECT_EQ(client.comm.RunGetIntoFolder(entry.name, folder), -1);
        EXPECT_EQ(client.comm.ErrorText(), kUnsafeNameText);
    }
    EXPECT_THAT(names, ElementsAre("../../fuori.txt", "/etc/passwd"));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST(FtpAbort, AbortInTheMiddleOfATransferReads426And226) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();  // RETR
        peer.Reply("150 Opening data connection (1000000 bytes).");
        peer.AcceptData();
        peer.SendData(std::string(100, 'a'));
        if (peer.Expect() == "ABOR") peer.Send("426 Transfer aborted.\r\n226 ABOR successful.\r\n");
        peer.Expect();  // PWD
        peer.Reply("257 \"/\" is current.");
    });
    T_Ftp ftp;
    ftp.Hostname = "127.0.0.1";
    ftp.Port = server.Port();
    ftp.Username = kFtpUser;
    ftp.Password = kFtpPassword;
    ftp.Timeout = 10;
    ftp.URI = "grande.bin";
    ftp.OnDataTxRx = [&](T_ftp_mode, std::int64_t, std::int64_t) { ftp.AbortTransfer(); };
    MemoryStream down;
    ftp.RetrieveFile(&down);
    EXPECT_FALSE(ftp.Busy());
    EXPECT_FALSE(ftp.TransferCompleted());
    EXPECT_EQ(ftp.ReplyCode(), 226);
    std::string folder;
    ftp.CurrentDirectory(folder);
    EXPECT_EQ(folder, "/");
    ftp.CloseSession();
    EXPECT_THAT(server.Commands(), ElementsAre("USER orvo", "PASS segreto-42", "TYPE I", "PASV",
                                               "RETR grande.bin", "ABOR", "PWD", "QUIT"));
}

TEST(FtpAbort, CommandsDuringATransferRaiseProtocolBusy) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();
        peer.Reply("150 Opening.");
        peer.AcceptData();
        peer.SendData("abc");
        peer.CloseData();
        peer.Reply("226 Done.");
    });
    T_Ftp ftp;
    ftp.Hostname = "127.0.0.1";
    ftp.Port = server.Port();
    ftp.Username = kFtpUser;
    ftp.Password = kFtpPassword;
    ftp.URI = "f";
    std::string busyMessage;
    ftp.OnDataTxRx = [&](T_ftp_mode, std::int64_t, std::int64_t) {
        try {
            ftp.DeleteFile("x");
        } catch (const EProtocolBusy& e) {
            busyMessage = e.what();
        }
    };
    MemoryStream down;
    ftp.RetrieveFile(&down);
    EXPECT_EQ(busyMessage, "Protocollo occupato");
    EXPECT_EQ(down.Bytes(), "abc");
    EXPECT_TRUE(ftp.TransferCompleted());
}

TEST(FtpUpload, ServerDroppingTheDataConnectionIsAFailure) {
    ScriptedServer server([](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();  // STOR
        peer.Reply("150 Ok to send data.");
        peer.AcceptData();
        peer.CloseData();  // takes nothing
        peer.Reply("426 Connection closed; transfer aborted.");
    });
    FtpClient client(server.Port());
    MemoryStream up(PatternBytes(8 << 20));
    EXPECT_EQ(client.comm.RunPutStream(up, "grande.bin"), -6);
    EXPECT_FALSE(client.comm.ErrorText().empty());
}

}  // namespace
}  // namespace orvo::test
