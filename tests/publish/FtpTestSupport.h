// Peers for the FTP tests: a real pyftpdlib server started on 127.0.0.1 for the test, and a
// scripted server of our own for what a real server will not do on request.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "publish/uQzFtp.h"

namespace orvo::test {

inline constexpr const char* kFtpUser = "orvo";
inline constexpr const char* kFtpPassword = "segreto-42";

/// pyftpdlib serving `root` on 127.0.0.1 and a free port, as user kFtpUser with kFtpPassword.
/// The server ends with this object (and by itself if the test process dies).
class PyFtpServer {
public:
    struct Options {
        std::vector<std::string> readonlyFolders;  // below the root
        bool dosListing = false;
        std::string banner;
    };
    explicit PyFtpServer(std::filesystem::path root, Options options)
        : PyFtpServer(std::move(root), std::move(options), {}, 0) {}
    /// A server that appends a line "path below the root<TAB>size" to `receivedLog` for every
    /// file it received whole (see ReadReceivedLog), and reads uploads at `uploadLimit` bytes a
    /// second (0: no limit).
    PyFtpServer(std::filesystem::path root, Options options, std::filesystem::path receivedLog,
                int uploadLimit = 0);
    explicit PyFtpServer(std::filesystem::path root) : PyFtpServer(std::move(root), Options{}) {}
    ~PyFtpServer();
    PyFtpServer(const PyFtpServer&) = delete;
    PyFtpServer& operator=(const PyFtpServer&) = delete;

    bool Started() const { return port_ != 0; }
    std::uint16_t Port() const { return port_; }
    const std::filesystem::path& Root() const { return root_; }

private:
    std::filesystem::path root_;
    pid_t pid_ = -1;
    int stdinFd_ = -1;
    std::uint16_t port_ = 0;
};

/// The control connection of the scripted server as its script sees it. Every wait gives up
/// after a few seconds, so a broken client fails the test instead of hanging it.
class ScriptedPeer {
public:
    explicit ScriptedPeer(int controlFd) : control_(controlFd) {}
    ~ScriptedPeer();

    void Send(std::string_view raw);
    void Reply(std::string_view line) { Send(std::string(line) + "\r\n"); }
    /// The next command line without its CR LF; "" when the client closed the connection.
    std::string Expect();
    /// The greeting, USER (331), PASS (230) and TYPE I (200).
    void Login();
    /// Listens for a passive data connection on 127.0.0.1 and answers PASV with its port,
    /// announcing `announced` ("127,0,0,1" by default) as the address.
    void AnswerPasv(std::string_view announced = "127,0,0,1");
    /// Accepts the client's data connection.
    void AcceptData();
    void SendData(std::string_view bytes);
    std::string ReceiveAllData();
    void CloseData();
    void CloseControl();
    void Pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

    std::vector<std::string> commands;  // every command received, in order

private:
    int control_ = -1;
    int passive_ = -1;
    int data_ = -1;
    std::string pending_;
};

/// A server on 127.0.0.1 that accepts connections one after another and runs the script on
/// each (with its number from 0).
class ScriptedServer {
public:
    using Script = std::function<void(ScriptedPeer& peer, int connection)>;
    explicit ScriptedServer(Script script, int connections = 1);
    ~ScriptedServer();

    std::uint16_t Port() const { return port_; }
    /// Waits for the scripts to end and returns every command they received.
    std::vector<std::string> Commands();

private:
    int listening_ = -1;
    std::uint16_t port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> commands_;
};

/// A runner on a loop scheduler, pointed at 127.0.0.1:`port` with the test user.
struct FtpClient {
    explicit FtpClient(std::uint16_t port, std::string user = kFtpUser,
                       std::string password = kFtpPassword);
    LoopScheduler loop;
    TQzFtpComm comm{loop, loop};
    T_Ftp& ftp() { return comm.Ftp(); }
};

/// Every trace line of a runner, collected from its worker threads.
class TraceLog {
public:
    void Attach(TQzFtpComm& comm);
    std::vector<std::string> Commands() const;   // level 0
    std::vector<std::string> All() const;        // levels 0 and 1
    bool Contains(std::string_view text) const;  // anywhere in any line of any level

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<int, std::string>> lines_;
};

/// A file the server logged as received: its path below the server's root and its size.
struct ReceivedFile {
    std::string name;
    std::int64_t size = 0;
    bool operator==(const ReceivedFile&) const = default;
};
/// The lines of a received-files log, in the order the files came; empty when there is none.
std::vector<ReceivedFile> ReadReceivedLog(const std::filesystem::path& log);

/// Bytes that differ from position to position (not a repeating short pattern).
std::string PatternBytes(std::size_t size, std::uint32_t seed = 1);

}  // namespace orvo::test
