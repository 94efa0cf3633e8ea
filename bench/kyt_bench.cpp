// The document file: reading and saving a large hypertext (5,000 pages of about 2 KB, 50 MB in
// 500 pictures and embedded files), against copying the same file with cp and sync.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

extern char** environ;

using namespace orvo;

namespace {

constexpr int kPages = 5000;
constexpr int kBinaries = 500;
constexpr std::size_t kBinarySize = 100 * 1000;  // 500 x 100 KB = 50 MB

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        char pattern[] = "/var/tmp/orvo-bench-kyt-XXXXXX";
        return std::filesystem::path(::mkdtemp(pattern));
    }();
    return folder;
}

// Writes the generated document once and returns its name.
const std::string& Document() {
    static const std::string name = [] {
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        auto add = [&](TOggettiHel kind, const std::string& name) -> TKYToggetto& {
            auto object = NewObjectOfKind(kind, &set);
            object->Clear();
            object->TakeIntoUse();
            object->SetName(name);
            TKYToggetto* raw = object.get();
            set.Register(std::move(object));
            return *raw;
        };
        std::string paragraph = "<Z S0 >";
        while (paragraph.size() < 2000) paragraph += "Una riga di testo della pagina, ";
        for (int i = 0; i < kPages; ++i)
            add(TOggettiHel::testoHtml, "Pagina " + std::to_string(i))
                .SetContent(paragraph + std::to_string(i) + std::string(1, '\0'));
        for (int i = 0; i < kBinaries; ++i) {
            const bool picture = i % 2 == 0;
            TKYToggetto& object = add(picture ? TOggettiHel::immagine : TOggettiHel::genLink,
                                      "file" + std::to_string(i));
            object.SetFileName("file" + std::to_string(i) + (picture ? ".gif" : ".bin"));
            object.SetContent(std::string(kBinarySize, char('a' + i % 26)));
        }
        const std::string file = (Folder() / "grande.kyt").string();
        if (!set.SaveToFile(file)) std::abort();
        return file;
    }();
    return name;
}

void Spawn(const char* program, std::initializer_list<const char*> args) {
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const char* a : args) argv.push_back(const_cast<char*>(a));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, program, nullptr, nullptr, argv.data(), environ) != 0) std::abort();
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// Reading with a warm cache: the read-back after a save is this same read.
void BM_LoadWarm(benchmark::State& state) {
    const std::string& file = Document();
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    if (!set.LoadFromFile(file)) std::abort();  // warms the cache
    for (auto _ : state) {
        if (!set.LoadFromFile(file)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(set.KindCount(TOggettiHel::testoHtml));
    }
}
BENCHMARK(BM_LoadWarm)->Unit(benchmark::kMillisecond);

// Saving with fsync, read-back included (SaveToFile always reads the written file back).
void BM_SaveWithFsync(benchmark::State& state) {
    const std::string& file = Document();
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    set.Backups = false;
    if (!set.LoadFromFile(file)) std::abort();
    const std::string target = (Folder() / "salvato.kyt").string();
    for (auto _ : state)
        if (!set.SaveToFile(target)) state.SkipWithError("save failed");
    state.SetBytesProcessed(std::int64_t(state.iterations()) *
                            std::int64_t(std::filesystem::file_size(target)));
}
BENCHMARK(BM_SaveWithFsync)->Unit(benchmark::kMillisecond)->Iterations(10);

// The same bytes copied by cp, then sync.
void BM_CpAndSync(benchmark::State& state) {
    const std::string& file = Document();
    const std::string target = (Folder() / "copia.kyt").string();
    for (auto _ : state) {
        Spawn("cp", {file.c_str(), target.c_str()});
        Spawn("sync", {});
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) *
                            std::int64_t(std::filesystem::file_size(file)));
}
BENCHMARK(BM_CpAndSync)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
