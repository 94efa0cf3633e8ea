// The text converter: every page of a 5,000-page hypertext (the sample at 2 KB of text a page,
// read from its document file) exported as one text file, and a text file of many lines
// imported as one page. Reports megabytes of text per second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "convert/TextExport.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace {

using namespace orvo;

std::filesystem::path BenchFolder() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvo-text-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

void BM_ExportAllPagesAsText(benchmark::State& state) {
    const std::filesystem::path folder = BenchFolder();
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    SampleOptions options;
    options.pages = int(state.range(0));
    options.textKb = 2;
    MakeSampleHypertext(set, options);
    const std::string document = NameOfPath(folder / "Grande.kyt");
    if (!set.SaveToFile(document) || !set.LoadFromFile(document)) {
        state.SkipWithError("save failed");
        return;
    }
    std::vector<std::int32_t> pages;
    for (int i = 0; i < set.KindCount(TOggettiHel::testoHtml); ++i) pages.push_back(i);
    TKYTtoTxt txt(&set);
    txt.ExportFileName = NameOfPath(folder / "Grande.txt");
    std::int64_t bytes = 0;
    for (auto _ : state) {
        if (!txt.ExportPages(pages)) state.SkipWithError("export failed");
        bytes += std::int64_t(std::filesystem::file_size(folder / "Grande.txt"));
    }
    state.counters["pages"] = double(pages.size());
    state.counters["MB"] = benchmark::Counter(double(bytes) / 1e6, benchmark::Counter::kIsRate);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ExportAllPagesAsText)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportTextFile(benchmark::State& state) {
    const std::filesystem::path folder = BenchFolder();
    const std::string file = NameOfPath(folder / "lungo.txt");
    {
        std::ofstream out(NativePath(file), std::ios::binary);
        const std::string line =
            "Una riga di testo con\tun tab, una & e due segni < > da sostituire; citt\xE0.\r\n";
        for (std::int64_t i = 0; i < state.range(0); ++i) out << line;
    }
    const std::int64_t size = std::int64_t(std::filesystem::file_size(NativePath(file)));
    FixedEnvironment environment;
    RecordingMessages messages;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TKYTset set(environment, messages);
        TKYTtoTxt txt(&set);
        state.ResumeTiming();
        txt.ImportFiles({file});
        benchmark::DoNotOptimize(txt.ImportedPages);
        bytes += size;
    }
    state.counters["MB"] = benchmark::Counter(double(bytes) / 1e6, benchmark::Counter::kIsRate);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ImportTextFile)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
