// RTF export of a 5,000-page hypertext (the sample at 2 KB of text a page, read back from its
// document file): all pages into one file, one file per page, and the help variant with its
// project file. Reports pages per second and the bytes written.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "base/Paths.h"
#include "convert/RtfExport.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"

namespace {

using namespace orvo;

struct Fixture {
    std::filesystem::path folder;
    FixedEnvironment environment;
    RecordingMessages messages;
    FixedMetrics metrics;
    std::unique_ptr<TKYTset> set;
    std::vector<std::int32_t> pages;

    explicit Fixture(int count, const char* name) {
        folder = std::filesystem::temp_directory_path() /
                 (std::string("orvo-rtf-bench-") + name + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        set = std::make_unique<TKYTset>(environment, messages);
        SampleOptions options;
        options.pages = count;
        options.textKb = 2;
        MakeSampleHypertext(*set, options);
        const std::string document = NameOfPath(folder / "Grande.kyt");
        if (set->SaveToFile(document)) set->LoadFromFile(document);
        for (const auto& page : set->KindList(TOggettiHel::testoHtml))
            if (page && !page->IsFree()) pages.push_back(page->Identifier());
        // Big bodies go on without asking.
        messages.SetDefaultAnswer(Answer::Yes);
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

void Report(benchmark::State& state, std::int64_t pages, const std::filesystem::path& file) {
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (!ec) state.counters["MB"] = double(size) / 1e6;
}

void BM_RtfOneFile(benchmark::State& state) {
    Fixture f(int(state.range(0)), "one");
    TKYTtortf rtf(f.set.get(), f.metrics);
    rtf.ExportFileName = NameOfPath(f.folder / "tutto.rtf");
    std::int64_t written = 0;
    for (auto _ : state) {
        if (!rtf.ExportPages(f.pages)) state.SkipWithError("export failed");
        written += std::int64_t(f.pages.size());
    }
    Report(state, written, f.folder / "tutto.rtf");
}
BENCHMARK(BM_RtfOneFile)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RtfPerPage(benchmark::State& state) {
    Fixture f(int(state.range(0)), "pages");
    TKYTtortf rtf(f.set.get(), f.metrics);
    rtf.ExportPath = NameOfPath(f.folder / "pagine");
    std::filesystem::create_directories(f.folder / "pagine");
    std::int64_t written = 0;
    for (auto _ : state) {
        if (!rtf.ExportPerPage(f.pages)) state.SkipWithError("export failed");
        written += std::int64_t(f.pages.size());
    }
    state.counters["pages/s"] = benchmark::Counter(double(written), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RtfPerPage)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RtfHelp(benchmark::State& state) {
    Fixture f(int(state.range(0)), "help");
    TKYTtortf rtf(f.set.get(), f.metrics);
    rtf.TitlesAsKeywords = true;
    rtf.ExportFileName = NameOfPath(f.folder / "guida.rtf");
    std::int64_t written = 0;
    for (auto _ : state) {
        if (!rtf.ExportHelp(f.pages)) state.SkipWithError("export failed");
        written += std::int64_t(f.pages.size());
    }
    Report(state, written, f.folder / "guida.rtf");
}
BENCHMARK(BM_RtfHelp)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
