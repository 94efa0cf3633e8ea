// A 100 MB file sent and fetched on loopback: our session against curl, on the same pyftpdlib
// server in the same run. Each case runs three times; compare the minimum ("_min") rows.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "WallClockCase.h"
#include "base/Files.h"
#include "publish/uQzFtp.h"

extern char** environ;

namespace {

using namespace orvo;

constexpr std::size_t kFileSize = 100u << 20;
constexpr const char* kUser = "orvo";
constexpr const char* kPassword = "banco-di-prova";

// The server and the files, made once for the whole run and removed at exit.
struct Bench {
    std::filesystem::path folder;
    std::filesystem::path local;  // the 100 MB file to send
    pid_t server = -1;
    int serverInput = -1;
    std::uint16_t port = 0;
    bool haveCurl = false;

    Bench() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvo-ftp-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        std::filesystem::create_directories(folder / "server");
        local = folder / "file.bin";
        std::string bytes(kFileSize, '\0');
        std::uint64_t x = 88172645463325252ull;
        for (std::size_t i = 0; i < kFileSize; i += 8) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            std::memcpy(bytes.data() + i, &x, 8);
        }
        if (!WriteFileAtomically(local, bytes)) std::abort();
        if (!WriteFileAtomically(folder / "server" / "source.bin", bytes)) std::abort();
        haveCurl = ::access("/usr/bin/curl", X_OK) == 0;
        StartServer();
    }

    ~Bench() {
        if (server > 0) {
            ::kill(server, SIGTERM);
            ::waitpid(server, nullptr, 0);
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void StartServer() {
        std::vector<std::string> args = {"/usr/bin/python3", ORVO_FTP_SERVER_SCRIPT,
                                         "--root",           (folder / "server").string(),
                                         "--user",           kUser,
                                         "--password",       kPassword};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) std::abort();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        if (posix_spawn(&server, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            std::abort();
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        serverInput = in[1];
        std::string line;
        char c;
        pollfd p{out[0], POLLIN, 0};
        while (::poll(&p, 1, 15000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n')
            line.push_back(c);
        ::close(out[0]);
        port = std::uint16_t(std::atoi(line.c_str()));
        if (port == 0) std::abort();
    }

    std::string Url(std::string_view name) const {
        return "ftp://127.0.0.1:" + std::to_string(port) + "/" + std::string(name);
    }
};

Bench& TheBench() {
    static Bench bench;
    return bench;
}

bool RunCurl(std::vector<std::string> args) {
    args.insert(args.begin(),
                {"/usr/bin/curl", "-s", "-S", "--user", std::string(kUser) + ":" + kPassword});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A fresh session for each transfer, as curl makes one.
struct Session {
    LoopScheduler loop;
    TQzFtpComm comm{loop, loop};
    Session() {
        T_Ftp& f = comm.Ftp();
        f.Hostname = "127.0.0.1";
        f.Port = TheBench().port;
        f.Username = kUser;
        f.Password = kPassword;
        f.Timeout = 60;
    }
    ~Session() { (void)comm.RunCloseSession(); }
};

void OrvoUpload(benchmark::State& state) {
    Bench& b = TheBench();
    for (auto _ : state) {
        Session s;
        if (s.comm.RunPutFile(b.local, "orvo-up.bin") != 200) state.SkipWithError("upload");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * kFileSize));
}

void OrvoDownload(benchmark::State& state) {
    Bench& b = TheBench();
    for (auto _ : state) {
        Session s;
        // Into a temporary file beside the target, flushed and renamed over it.
        if (s.comm.RunGetFile("source.bin", b.folder / "orvo-down.bin") != 200)
            state.SkipWithError("download");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * kFileSize));
}

void OrvoDownloadToStream(benchmark::State& state) {
    Bench& b = TheBench();
    for (auto _ : state) {
        Session s;
        auto file = FileStream::Open(b.folder / "orvo-stream.bin", FileStream::Mode::Create);
        if (!file || s.comm.RunGetStream("source.bin", *file) != 200)
            state.SkipWithError("download");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * kFileSize));
}

void CurlUpload(benchmark::State& state) {
    Bench& b = TheBench();
    if (!b.haveCurl) return state.SkipWithError("curl is not installed");
    for (auto _ : state)
        if (!RunCurl({"-T", b.local.string(), b.Url("curl-up.bin")})) state.SkipWithError("curl");
    state.SetBytesProcessed(std::int64_t(state.iterations() * kFileSize));
}

void CurlDownload(benchmark::State& state) {
    Bench& b = TheBench();
    if (!b.haveCurl) return state.SkipWithError("curl is not installed");
    for (auto _ : state)
        if (!RunCurl({"-o", (b.folder / "curl-down.bin").string(), b.Url("source.bin")}))
            state.SkipWithError("curl");
    state.SetBytesProcessed(std::int64_t(state.iterations() * kFileSize));
}

ORVO_WALL_CLOCK_CASE(CurlUpload);
ORVO_WALL_CLOCK_CASE(OrvoUpload);
ORVO_WALL_CLOCK_CASE(CurlDownload);
ORVO_WALL_CLOCK_CASE(OrvoDownload);
ORVO_WALL_CLOCK_CASE(OrvoDownloadToStream);

}  // namespace
