// Peers for the FTP tests.
#include "publish/FtpTestSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

extern char** environ;

namespace orvo::test {

namespace {

constexpr int kWaitMs = 8000;

bool WaitReadable(int fd, int ms = kWaitMs) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
}

int ListenLoopback(std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    socklen_t len = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    port = ntohs(sa.sin_port);
    return fd;
}

int AcceptOne(int listening) {
    if (!WaitReadable(listening)) return -1;
    return ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
}

void SendAll(int fd, std::string_view bytes) {
    std::size_t sent = 0;
    while (fd >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += std::size_t(n);
    }
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

PyFtpServer::PyFtpServer(std::filesystem::path root, Options options,
                         std::filesystem::path receivedLog, int uploadLimit)
    : root_(std::move(root)) {
    std::filesystem::create_directories(root_);
    for (const std::string& folder : options.readonlyFolders)
        std::filesystem::create_directories(root_ / folder);
    std::vector<std::string> args = {
        "/usr/bin/python3", ORVO_SOURCE_DIR "/tests/publish/ftp_server.py",
        "--root",           root_.string(),
        "--user",           kFtpUser,
        "--password",       kFtpPassword};
    for (const std::string& folder : options.readonlyFolders) {
        args.push_back("--readonly");
        args.push_back(folder);
    }
    if (options.dosListing) args.push_back("--dos-listing");
    if (!receivedLog.empty()) {
        args.push_back("--received-log");
        args.push_back(receivedLog.string());
    }
    if (uploadLimit > 0) {
        args.push_back("--upload-limit");
        args.push_back(std::to_string(uploadLimit));
    }
    if (!options.banner.empty()) {
        args.push_back("--banner");
        args.push_back(options.banner);
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    stdinFd_ = in[1];
    if (spawned != 0) {
        pid_ = -1;
        ::close(out[0]);
        return;
    }
    std::string line;
    char c;
    while (line.size() < 16 && WaitReadable(out[0], 15000) && ::read(out[0], &c, 1) == 1 &&
           c != '\n')
        line.push_back(c);
    ::close(out[0]);
    port_ = std::uint16_t(std::atoi(line.c_str()));
}

PyFtpServer::~PyFtpServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    if (stdinFd_ >= 0) ::close(stdinFd_);
}

// ---------------------------------------------------------------------------------------------

ScriptedPeer::~ScriptedPeer() {
    CloseFd(data_);
    CloseFd(passive_);
    CloseFd(control_);
}

void ScriptedPeer::Send(std::string_view raw) {
    SendAll(control_, raw);
}

std::string ScriptedPeer::Expect() {
    while (true) {
        const std::size_t end = pending_.find("\r\n");
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 2);
            commands.push_back(line);
            return line;
        }
        if (control_ < 0 || !WaitReadable(control_)) return "";
        char buffer[512];
        const ssize_t n = ::recv(control_, buffer, sizeof buffer, 0);
        if (n <= 0) return "";
        pending_.append(buffer, std::size_t(n));
    }
}

void ScriptedPeer::Login() {
    Reply("220 scripted server ready");
    if (Expect().rfind("USER ", 0) == 0) Reply("331 Password please.");
    if (Expect().rfind("PASS ", 0) == 0) Reply("230 Welcome.");
    if (Expect() == "TYPE I") Reply("200 Type set to I.");
}

void ScriptedPeer::AnswerPasv(std::string_view announced) {
    if (Expect() != "PASV") return;
    std::uint16_t port = 0;
    passive_ = ListenLoopback(port);
    Reply("227 Entering passive mode (" + std::string(announced) + "," + std::to_string(port >> 8) +
          "," + std::to_string(port & 0xFF) + ").");
}

void ScriptedPeer::AcceptData() {
    data_ = AcceptOne(passive_);
    CloseFd(passive_);
}

void ScriptedPeer::SendData(std::string_view bytes) {
    SendAll(data_, bytes);
}

std::string ScriptedPeer::ReceiveAllData() {
    std::string all;
    char buffer[4096];
    while (data_ >= 0 && WaitReadable(data_)) {
        const ssize_t n = ::recv(data_, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        all.append(buffer, std::size_t(n));
    }
    return all;
}

void ScriptedPeer::CloseData() {
    CloseFd(data_);
}

void ScriptedPeer::CloseControl() {
    CloseFd(control_);
}

// ---------------------------------------------------------------------------------------------

ScriptedServer::ScriptedServer(Script script, int connections) {
    listening_ = ListenLoopback(port_);
    thread_ = std::thread([this, script = std::move(script), connections] {
        for (int i = 0; i < connections; ++i) {
            const int fd = AcceptOne(listening_);
            if (fd < 0) break;
            ScriptedPeer peer(fd);
            script(peer, i);
            // Wait (briefly) for the client to hang up, so nothing it sends is lost.
            for (std::string command = peer.Expect(); !command.empty(); command = peer.Expect())
                if (command == "QUIT") peer.Reply("221 Goodbye.");
            std::lock_guard lock(mutex_);
            commands_.insert(commands_.end(), peer.commands.begin(), peer.commands.end());
        }
    });
}

ScriptedServer::~ScriptedServer() {
    if (thread_.joinable()) thread_.join();
    CloseFd(listening_);
}

std::vector<std::string> ScriptedServer::Commands() {
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    return commands_;
}

// ---------------------------------------------------------------------------------------------

FtpClient::FtpClient(std::uint16_t port, std::string user, std::string password) {
    T_Ftp& f = comm.Ftp();
    f.Hostname = "127.0.0.1";
    f.Port = port;
    f.Username = std::move(user);
    f.Password = std::move(password);
    f.Timeout = 10;
}

void TraceLog::Attach(TQzFtpComm& comm) {
    comm.OnTrace = [this](std::string_view text, int level, std::int64_t) {
        std::lock_guard lock(mutex_);
        lines_.emplace_back(level, std::string(text));
    };
}

std::vector<std::string> TraceLog::Commands() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& [level, text] : lines_)
        if (level == 0) out.push_back(text);
    return out;
}

std::vector<std::string> TraceLog::All() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& [level, text] : lines_)
        if (level <= 1) out.push_back(text);
    return out;
}

bool TraceLog::Contains(std::string_view text) const {
    std::lock_guard lock(mutex_);
    for (const auto& line : lines_)
        if (line.second.find(text) != std::string::npos) return true;
    return false;
}

std::vector<ReceivedFile> ReadReceivedLog(const std::filesystem::path& log) {
    std::vector<ReceivedFile> files;
    std::ifstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.rfind('\t');
        if (tab == std::string::npos) continue;
        files.push_back({line.substr(0, tab), std::atoll(line.c_str() + tab + 1)});
    }
    return files;
}

std::string PatternBytes(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    std::uint64_t x = std::uint64_t(seed) * 0x9E3779B97F4A7C15ull + 1;
    for (std::size_t i = 0; i < size; i += 8) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        const std::size_t n = std::min<std::size_t>(8, size - i);
        std::memcpy(bytes.data() + i, &x, n);
    }
    return bytes;
}

}  // namespace orvo::test
