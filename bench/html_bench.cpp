// Export of a 5,000-page hypertext (the sample at 2 KB of text a page) as a web site into a
// folder beside the document, into an empty folder and over an earlier export. Reports pages
// per second of wall-clock time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/TKYTListHtmlToTx.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace {

using namespace orvo;

void BM_ExportSite(benchmark::State& state) {
    const int pages = int(state.range(0));
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvo-html-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    SampleOptions options;
    options.pages = pages;
    options.textKb = 2;
    MakeSampleHypertext(set, options);
    const std::string document = NameOfPath(folder / "Grande.kyt");
    if (!set.SaveToFile(document)) {
        state.SkipWithError("save failed");
        return;
    }
    set.LoadFromFile(document);  // page texts are read from the document file, as users meet them
    TKYTtoHtml html(&set);
    html.ExportPath = NameOfPath(folder / "sito");
    const bool fresh = state.range(1) != 0;
    std::int64_t written = 0;
    {
        // The second case re-exports over the files of an earlier export.
        std::vector<TKYToggetto*> images;
        if (!fresh && !html.ExportAllPages(images)) state.SkipWithError("export failed");
    }
    int run = 0;
    for (auto _ : state) {
        // A folder of its own each time: removing the last one would make the disk busy
        // discarding its blocks while this one is written.
        if (fresh) html.ExportPath = NameOfPath(folder / ("sito" + std::to_string(++run)));
        std::vector<TKYToggetto*> images;
        if (!html.ExportAllPages(images)) state.SkipWithError("export failed");
        written += set.KindCount(TOggettiHel::testoHtml);
    }
    // Pages per second of wall-clock time: the files' creation is most of it.
    state.counters["pages/s"] = benchmark::Counter(double(written), benchmark::Counter::kIsRate);
    std::filesystem::remove_all(folder);
}
// Arguments: pages, and 1 for an empty folder each time, 0 for a re-export over the old files.
BENCHMARK(BM_ExportSite)
    ->Args({5000, 1})
    ->Args({5000, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// The list of exported items over the same site: a rebuild reads every page file's size and
// sorts the rows, as the publishing window does before each upload.
void BM_ListRebuild(benchmark::State& state) {
    const int pages = int(state.range(0));
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvo-list-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    SampleOptions options;
    options.pages = pages;
    options.textKb = 2;
    MakeSampleHypertext(set, options);
    TKYTtoHtml html(&set);
    html.ExportPath = NameOfPath(folder / "sito");
    TKYTListHtmlToTx list(&html);
    if (!html.ExportAllPages(list.ExportedImages) || !html.WriteObjectFiles(list.ExportedImages)) {
        state.SkipWithError("export failed");
        return;
    }
    std::int64_t rows = 0;
    for (auto _ : state) {
        list.Rebuild();
        list.CheckNewerThan(0);
        rows += std::int64_t(list.Rows().size());
    }
    state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsRate);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ListRebuild)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
