// Republishing one changed page of a 1,000-page site to pyftpdlib on loopback: our publication
// by version against lftp's "mirror -R" and "mirror -R --ignore-time" over the same change, in
// the same run (lftp is installed by hand; without it only our side runs). Each case first
// brings its own remote folder up to date, then, per repetition, one page is changed through
// the editor's commit, the document saved and the site exported again (not timed), and the
// republication is timed. "bytes_sent" and "files_sent" are what the server logged as received
// (file contents only, not the control dialogue). Compare the minimum ("_min") rows.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "WallClockCase.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/TKYTListHtmlToTx.h"
#include "model/ObjectHolders.h"
#include "model/SampleHypertext.h"
#include "model/TextForms.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "platform/LoopScheduler.h"
#include "publish/Publisher.h"
#include "publish/uQzFtp.h"

extern char** environ;

namespace {

using namespace orvo;

constexpr int kPages = 1000;
constexpr const char* kUser = "orvo";
constexpr const char* kPassword = "banco-di-prova";

int Spawn(std::vector<std::string> args, int* input = nullptr, int* output = nullptr,
          pid_t* child = nullptr) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int in[2] = {-1, -1}, out[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input && ::pipe2(in, O_CLOEXEC) == 0) posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    if (output && ::pipe2(out, O_CLOEXEC) == 0)
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const int devnull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (!output) posix_spawn_file_actions_adddup2(&actions, devnull, 1);
    posix_spawn_file_actions_adddup2(&actions, devnull, 2);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(devnull);
    if (input) {
        ::close(in[0]);
        *input = in[1];
    }
    if (output) {
        ::close(out[1]);
        *output = out[0];
    }
    if (spawned != 0) return -1;
    if (child) {
        *child = pid;
        return 0;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The document, its export, the server and its log, made once for the run.
struct Bench {
    std::filesystem::path folder;
    std::filesystem::path log;
    pid_t server = -1;
    int serverInput = -1;
    std::uint16_t port = 0;
    bool haveLftp = false;

    FixedEnvironment environment;
    RecordingMessages messages;
    MemorySettings settings;
    std::unique_ptr<TKYTset> set;
    std::unique_ptr<ObjectHolders> holders;
    std::unique_ptr<TKYTtoHtml> html;
    std::unique_ptr<TKYTListHtmlToTx> list;
    LoopScheduler loop;
    std::unique_ptr<TQzFtpComm> comm;
    std::unique_ptr<Publisher> publisher;
    std::string document;
    int changes = 0;

    Bench() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp && *tmp ? tmp : "/tmp") + "/orvo-publish-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        log = folder / "received.log";
        for (const char* sub : {"server/ours", "server/mirror", "server/size", "doc"})
            std::filesystem::create_directories(folder / sub);
        haveLftp = ::access("/usr/bin/lftp", X_OK) == 0;
        StartServer();

        set = std::make_unique<TKYTset>(environment, messages);
        SampleOptions options;
        options.pages = kPages;
        MakeSampleHypertext(*set, options);
        document = NameOfPath(folder / "doc" / "Guida.kyt");
        if (!set->SaveToFile(document)) std::abort();
        holders = std::make_unique<ObjectHolders>(*set);
        html = std::make_unique<TKYTtoHtml>(set.get());
        list = std::make_unique<TKYTListHtmlToTx>(html.get());
        comm = std::make_unique<TQzFtpComm>(loop, loop);
        publisher =
            std::make_unique<Publisher>(*set, *holders, *html, *list, *comm, settings, messages);
        publisher->SaveDocument = [this] { return set->SaveToFile(document); };
    }

    ~Bench() {
        publisher.reset();
        comm.reset();
        if (server > 0) {
            ::kill(server, SIGTERM);
            ::waitpid(server, nullptr, 0);
        }
        if (serverInput >= 0) ::close(serverInput);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void StartServer() {
        int output = -1;
        if (Spawn(
                {"/usr/bin/python3", ORVO_FTP_SERVER_SCRIPT, "--root", (folder / "server").string(),
                 "--user", kUser, "--password", kPassword, "--received-log", log.string()},
                &serverInput, &output, &server) != 0)
            std::abort();
        std::string line;
        char c;
        pollfd p{output, POLLIN, 0};
        while (::poll(&p, 1, 15000) > 0 && ::read(output, &c, 1) == 1 && c != '\n')
            line.push_back(c);
        ::close(output);
        port = std::uint16_t(std::atoi(line.c_str()));
        if (port == 0) std::abort();
    }

    void Configure(const std::string& remote) {
        FtpServerConfig config;
        config.nomeConf = "Banco";
        config.server = "127.0.0.1";
        config.port = port;
        config.timeout = 60;
        config.user = kUser;
        config.savePass = true;
        config.pass = kPassword;
        config.BaseDir = remote;
        PublishConfigurations(settings).Save(0, config);
    }

    // One page changed through the commit (a text of a new length each time), the document
    // saved and the site exported again, pictures included, as a mirror tool needs them.
    void ChangeOnePage() {
        ++changes;
        TKYToggetto* page = set->ObjectByKind(TOggettiHel::testoHtml, 3 + changes % 500);
        if (!page || page->IsFree()) std::abort();
        auto text = OpenText(*set, *page, false);
        StoreText(*set, *text, "<Z S0 >Pagina cambiata " + std::string(std::size_t(changes), '+'),
                  *page, true);
        if (!set->SaveToFile(document)) std::abort();
        Export();
    }

    void Export() {
        if (!publisher->ExportSite().ok()) std::abort();
        if (!html->WriteObjectFiles(list->ExportedImages).ok()) std::abort();
    }

    // Our publication into `remote`: the window's start, its connection, "Pubblica".
    bool Publish(const std::string& remote) {
        Configure(remote);
        publisher->Start(PublishMode::Publish);
        if (publisher->Connect() != 200) return false;
        const bool ok = publisher->Publish() == 200;
        (void)comm->RunCloseSession();
        return ok;
    }

    bool Mirror(const std::string& remote, bool ignoreTime) {
        const std::string commands = "set net:max-retries 1; set ftp:passive-mode on; mirror -R " +
                                     std::string(ignoreTime ? "--ignore-time " : "") +
                                     NativePath(html->ExportPath).string() + " " + remote +
                                     "; quit";
        return Spawn({"/usr/bin/lftp", "-u", std::string(kUser) + "," + kPassword, "-p",
                      std::to_string(port), "-e", commands, "127.0.0.1"}) == 0;
    }

    // What the server logged since `from` lines: files and bytes.
    std::pair<std::int64_t, std::int64_t> ReceivedSince(std::size_t from) const {
        std::ifstream in(log);
        std::string line;
        std::size_t n = 0;
        std::int64_t files = 0, bytes = 0;
        while (std::getline(in, line))
            if (n++ >= from) {
                ++files;
                bytes += std::atoll(line.c_str() + line.rfind('\t') + 1);
            }
        return {files, bytes};
    }
    std::size_t LogLines() const {
        std::ifstream in(log);
        std::size_t n = 0;
        for (std::string line; std::getline(in, line);) ++n;
        return n;
    }
};

Bench& TheBench() {
    static Bench bench;
    return bench;
}

template <class Republish>
void RunCase(benchmark::State& state, Republish&& republish, bool exportTimed) {
    Bench& b = TheBench();
    std::int64_t files = 0, bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (exportTimed) {
            ++b.changes;
            TKYToggetto* page = b.set->ObjectByKind(TOggettiHel::testoHtml, 3 + b.changes % 500);
            if (!page || page->IsFree()) std::abort();
            auto text = OpenText(*b.set, *page, false);
            StoreText(*b.set, *text, "<Z S0 >Cambiata " + std::string(std::size_t(b.changes), '*'),
                      *page, true);
            if (!b.set->SaveToFile(b.document)) std::abort();
        } else {
            b.ChangeOnePage();
        }
        const std::size_t before = b.LogLines();
        state.ResumeTiming();
        if (!republish()) state.SkipWithError("the republication failed");
        state.PauseTiming();
        const auto [f, n] = b.ReceivedSince(before);
        files += f;
        bytes += n;
        state.ResumeTiming();
    }
    state.counters["files_sent"] = double(files) / double(state.iterations());
    state.counters["bytes_sent"] = double(bytes) / double(state.iterations());
}

void OursRepublish(benchmark::State& state) {
    Bench& b = TheBench();
    static bool synced = false;
    if (!synced) {
        b.Export();
        if (!b.Publish("/ours")) return state.SkipWithError("first publication failed");
        synced = true;
    }
    RunCase(
        state, [&] { return b.Publish("/ours"); }, false);
}

void OursExportAndRepublish(benchmark::State& state) {
    Bench& b = TheBench();
    static bool synced = false;
    if (!synced) {
        b.Export();
        if (!b.Publish("/ours")) return state.SkipWithError("first publication failed");
        synced = true;
    }
    RunCase(
        state,
        [&] {
            if (!b.publisher->ExportSite().ok()) return false;
            return b.Publish("/ours");
        },
        true);
}

void LftpMirror(benchmark::State& state, bool ignoreTime) {
    Bench& b = TheBench();
    if (!b.haveLftp) return state.SkipWithError("lftp is not installed");
    const std::string remote = ignoreTime ? "/size" : "/mirror";
    static bool synced[2] = {false, false};
    if (!synced[ignoreTime]) {
        b.Export();
        if (!b.Mirror(remote, ignoreTime)) return state.SkipWithError("first mirror failed");
        synced[ignoreTime] = true;
    }
    RunCase(
        state, [&] { return b.Mirror(remote, ignoreTime); }, false);
}

void LftpMirrorR(benchmark::State& state) {
    LftpMirror(state, false);
}
void LftpMirrorRIgnoreTime(benchmark::State& state) {
    LftpMirror(state, true);
}

ORVO_WALL_CLOCK_CASE(OursRepublish);
ORVO_WALL_CLOCK_CASE(OursExportAndRepublish);
ORVO_WALL_CLOCK_CASE(LftpMirrorR);
ORVO_WALL_CLOCK_CASE(LftpMirrorRIgnoreTime);

}  // namespace

BENCHMARK_MAIN();
