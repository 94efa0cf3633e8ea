// A word searched across the pages of a 5,000-page hypertext (the sample filled to 2 KB of
// text a page), warm: the pages' texts were read once before; beside it "grep -c" on the same
// pages' text export, timed by the wall clock in the same run. Then replacing a word that
// stands on every page, through the editing operations of each page's box.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "WallClockCase.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/TextExport.h"
#include "model/SampleHypertext.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "search/SearchPages.h"

namespace {

using namespace orvo;

struct Fixture {
    std::filesystem::path folder;
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set{environment, messages};
    std::string document;
    std::filesystem::path exportFile;

    Fixture() {
        folder = std::filesystem::temp_directory_path() /
                 ("orvo-search-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        SampleOptions options;
        options.pages = 5000;
        options.textKb = 2;
        MakeSampleHypertext(set, options);
        document = NameOfPath(folder / "Grande.kyt");
        if (!set.SaveToFile(document) || !set.LoadFromFile(document)) std::abort();
        std::string text;
        for (int page = 0; page < set.KindCount(TOggettiHel::testoHtml); ++page)
            if (LivePage(set, page)) text += Cp1252ToUtf8(PageText(set, page)) + "\n";
        exportFile = folder / "Grande.txt";
        std::ofstream(exportFile, std::ios::binary) << text;
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

// A word of the filler text that stands on every ordinary page.
constexpr const char* kWord = "paragrafo";

void BM_SearchWordAcrossPagesWarm(benchmark::State& state) {
    Fixture& f = Shared();
    TPagesText texts(f.set);
    const SearchTerms terms{kWord, "", "", ""};
    std::size_t pages = PagesMatching(texts, terms, stWholeWord).size();  // warms the texts
    for (auto _ : state) pages = PagesMatching(texts, terms, stWholeWord).size();
    state.counters["pages"] = double(pages);
    state.counters["MB"] = double(std::filesystem::file_size(f.exportFile)) / 1e6;
}
BENCHMARK(BM_SearchWordAcrossPagesWarm)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_GrepCountOnTextExport(benchmark::State& state) {
    Fixture& f = Shared();
    const std::filesystem::path out = f.folder / "grep.txt";
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            std::freopen(out.c_str(), "wb", stdout);
            execlp("grep", "grep", "-c", "-i", "-w", kWord, f.exportFile.c_str(),
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) state.SkipWithError("grep failed");
    }
    std::ifstream in(out);
    double lines = 0;
    in >> lines;
    state.counters["lines"] = lines;
}
ORVO_WALL_CLOCK_CASE(BM_GrepCountOnTextExport);

void BM_ReplaceWordOnEveryPage(benchmark::State& state) {
    Fixture& f = Shared();
    PagesReplaced done;
    for (auto _ : state) {
        state.PauseTiming();
        if (!f.set.LoadFromFile(f.document)) std::abort();
        state.ResumeTiming();
        done = ReplaceInPages(f.set, kWord, "capoverso", stWholeWord);
    }
    state.counters["replaced"] = double(done.replaced);
    state.counters["pages"] = double(done.pages);
}
BENCHMARK(BM_ReplaceWordOnEveryPage)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
