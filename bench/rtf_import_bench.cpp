// RTF import speed on a document of about 10 MB (the RTF our exporter writes for a generated
// hypertext: styles, bold, italic, coloured and other-font runs, lists, links, accented
// letters as escapes), as one page and split into pages; beside it, pandoc reading the same
// file into HTML in the same run.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <filesystem>
#include <memory>
#include <string>

#include "base/Paths.h"
#include "convert/RtfExport.h"
#include "convert/RtfImport.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"

extern char** environ;

namespace {

using namespace orvo;

struct Document {
    FixedEnvironment environment;
    RecordingMessages messages;
    std::string file;
    std::uintmax_t size = 0;

    Document() {
        const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                             ("orvo-rtf-import-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        file = NameOfPath(folder / "grande.rtf");
        TKYTset set(environment, messages);
        set.NewDocument();
        SampleOptions options;
        options.pages = 200;
        options.textKb = 40;
        MakeSampleHypertext(set, options);
        FixedMetrics metrics;
        TKYTtortf rtf(&set, metrics);
        rtf.LargeBodyLimit = std::int64_t(1) << 40;
        rtf.ExportFileName = file;
        std::vector<std::int32_t> pages;
        for (const auto& page : set.KindList(TOggettiHel::testoHtml))
            if (!page->IsFree()) pages.push_back(page->Identifier());
        if (!rtf.ExportPages(pages)) std::abort();
        size = std::filesystem::file_size(NativePath(file));
    }
};

Document& TheDocument() {
    static Document document;
    return document;
}

double ProcessSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The machines these run on are shared: beside the wall clock, megabytes per second of the
// processor time the work took ("MB/cpu-s"), which other programs do not inflate.
void Import(benchmark::State& state, bool split) {
    Document& document = TheDocument();
    const double cpu = ProcessSeconds();
    for (auto _ : state) {
        TKYTset set(document.environment, document.messages);
        set.NewDocument();
        TRtfImp run(set, {});
        benchmark::DoNotOptimize(run.ImportFiles({document.file}, split));
    }
    state.SetBytesProcessed(std::int64_t(document.size) * state.iterations());
    state.counters["MB"] = double(document.size) / 1e6;
    state.counters["MB/cpu-s"] =
        double(document.size) * double(state.iterations()) / 1e6 / (ProcessSeconds() - cpu);
}

void BM_RtfImportOnePage(benchmark::State& state) {
    Import(state, false);
}
void BM_RtfImportSplit(benchmark::State& state) {
    Import(state, true);
}

// pandoc -f rtf -t html FILE -o /dev/null, the same file.
void BM_PandocRtfToHtml(benchmark::State& state) {
    Document& document = TheDocument();
    const std::string path = NativePath(document.file).string();
    double cpu = 0;
    for (auto _ : state) {
        std::vector<std::string> args{"pandoc", "-f", "rtf", "-t", "html", path, "-o", "/dev/null"};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawnp(&pid, "pandoc", nullptr, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("pandoc cannot be started");
            return;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        cpu += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("pandoc failed");
            return;
        }
    }
    state.SetBytesProcessed(std::int64_t(document.size) * state.iterations());
    state.counters["MB/cpu-s"] = double(document.size) * double(state.iterations()) / 1e6 / cpu;
}

}  // namespace

BENCHMARK(BM_RtfImportOnePage)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_RtfImportSplit)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_PandocRtfToHtml)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
