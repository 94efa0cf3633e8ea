// Web-page import speed: a site of 1,000 pages our exporter wrote for a generated hypertext
// (styles, formats, tables, links between the pages, resolved after the import), and one page
// of about 10 MB made of the bodies of those pages. Beside them, pandoc reading the same files
// into plain text in the same run ("pandoc -f html -t plain").
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlImport.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

extern char** environ;

namespace {

using namespace orvo;

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Site {
    FixedEnvironment environment;
    RecordingMessages messages;
    std::filesystem::path folder;
    std::vector<std::string> pages;  // the site's page files
    std::uintmax_t siteBytes = 0;
    std::string bigPage;  // the 10 MB page
    std::uintmax_t bigBytes = 0;

    Site() {
        folder = std::filesystem::temp_directory_path() /
                 ("orvo-html-import-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "sito");
        TKYTset set(environment, messages);
        set.NewDocument();
        SampleOptions options;
        options.pages = 1000;
        options.textKb = 4;
        MakeSampleHypertext(set, options);
        TKYTtoHtml html(&set);
        html.ExportPath = NameOfPath(folder / "sito");
        std::vector<TKYToggetto*> images;
        if (!html.ExportAllPages(images) || !html.WriteObjectFiles(images)) std::abort();
        std::string bodies;
        for (const auto& page : set.KindList(TOggettiHel::testoHtml)) {
            if (!page || page->IsFree()) continue;
            const std::filesystem::path file =
                folder / "sito" / NativePath(html.ObjectFileName(*page, 0));
            if (!std::filesystem::exists(file)) continue;
            pages.push_back(NameOfPath(file));
            siteBytes += std::filesystem::file_size(file);
            const std::string text = ReadAll(file);
            // Our export writes its tags in capitals.
            const std::size_t from = text.find("<BODY"), to = text.rfind("</BODY>");
            if (from == std::string::npos || to == std::string::npos || to < from) continue;
            const std::size_t open = text.find('>', from) + 1;
            if (open < to) bodies += text.substr(open, to - open);
        }
        if (pages.empty() || bodies.empty()) std::abort();
        // One page of about 10 MB: the head of the first page, then every body in turn.
        const std::string first = ReadAll(NativePath(pages.front()));
        std::string big = first.substr(0, first.find("<BODY")) + "<BODY>\n";
        while (big.size() < 10'000'000) big += bodies;
        big += "</BODY></HTML>\n";
        bigPage = NameOfPath(folder / "sito" / "grande.html");
        std::ofstream(NativePath(bigPage), std::ios::binary) << big;
        bigBytes = big.size();
    }
    ~Site() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

Site& TheSite() {
    static Site site;
    return site;
}

double ProcessSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The machines these run on are shared: beside the wall clock, megabytes per second of the
// processor time the work took ("MB/cpu-s").
void Import(benchmark::State& state, const std::vector<std::string>& files, std::uintmax_t bytes) {
    Site& site = TheSite();
    const double cpu = ProcessSeconds();
    for (auto _ : state) {
        TKYTset set(site.environment, site.messages);
        set.NewDocument();
        THt2Imp run(set, {false, 0xFFFFFF, -1, site.folder / "sito"});
        benchmark::DoNotOptimize(run.ImportFiles(files));
        ResolveImportedLinks(set);
        if (run.ImportedPages.size() != files.size()) state.SkipWithError("pages missing");
    }
    state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
    state.counters["MB"] = double(bytes) / 1e6;
    state.counters["MB/cpu-s"] =
        double(bytes) * double(state.iterations()) / 1e6 / (ProcessSeconds() - cpu);
}

void BM_HtmlImportSite(benchmark::State& state) {
    Import(state, TheSite().pages, TheSite().siteBytes);
}
void BM_HtmlImportBigPage(benchmark::State& state) {
    Import(state, {TheSite().bigPage}, TheSite().bigBytes);
}

// pandoc -f html -t plain FILES -o /dev/null.
void Pandoc(benchmark::State& state, const std::vector<std::string>& files, std::uintmax_t bytes) {
    double cpu = 0;
    for (auto _ : state) {
        std::vector<std::string> args{"pandoc", "-f", "html", "-t", "plain", "-o", "/dev/null"};
        for (const std::string& f : files) args.push_back(NativePath(f).string());
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
    state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
    state.counters["MB/cpu-s"] = double(bytes) * double(state.iterations()) / 1e6 / cpu;
}

void BM_PandocSite(benchmark::State& state) {
    Pandoc(state, TheSite().pages, TheSite().siteBytes);
}
void BM_PandocBigPage(benchmark::State& state) {
    Pandoc(state, {TheSite().bigPage}, TheSite().bigBytes);
}

}  // namespace

BENCHMARK(BM_HtmlImportSite)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_HtmlImportBigPage)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_PandocSite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_PandocBigPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
