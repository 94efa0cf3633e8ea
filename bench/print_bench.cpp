// Printing: every page of the 5,000-page sample (its own text, header and footer, one sheet a
// page) into one PDF file through Qt's PDF writer at 600 pixels per inch, and the same pages on
// the recording printer. Reports milliseconds a page.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/Paths.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/RecordingPrintDevice.h"
#include "textbox/TFprintRules.h"
#include "textbox/TPageSetupDialog.h"
#include "ui/render/PageRender.h"
#include "ui/render/QtPrintDevice.h"

namespace {

using namespace orvo;

struct Sample {
    std::filesystem::path folder;
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set{environment, messages};
    std::vector<std::int32_t> pages;

    explicit Sample(int count) {
        folder = std::filesystem::temp_directory_path() /
                 ("orvo-print-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        SampleOptions options;
        options.pages = count;
        MakeSampleHypertext(set, options);
        const std::string document = NameOfPath(folder / "Grande.kyt");
        if (set.SaveToFile(document) && set.LoadFromFile(document)) pages = DefaultPageOrder(set);
    }
    ~Sample() { std::filesystem::remove_all(folder); }
};

void BM_PrintSampleToPdf(benchmark::State& state) {
    EnsureGuiApplication();
    Sample sample(int(state.range(0)));
    if (sample.pages.empty()) {
        state.SkipWithError("no sample");
        return;
    }
    TPageSetupDialog setup;
    int sheets = 0;
    for (auto _ : state) {
        PdfPrintDevice device(sample.folder / "Grande.pdf");
        if (PrintPages(sample.set, sample.pages, device, setup, {}) != int(sample.pages.size()) ||
            !device.Finish())
            state.SkipWithError("printing failed");
        sheets = device.Sheets();
    }
    state.counters["pages"] = double(sample.pages.size());
    state.counters["sheets"] = double(sheets);
    state.counters["ms/page"] = benchmark::Counter(
        double(sample.pages.size()) / 1000.0,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrintSampleToPdf)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrintSampleOnRecordingPrinter(benchmark::State& state) {
    Sample sample(int(state.range(0)));
    if (sample.pages.empty()) {
        state.SkipWithError("no sample");
        return;
    }
    TPageSetupDialog setup;
    for (auto _ : state) {
        RecordingPrintDevice device;
        if (PrintPages(sample.set, sample.pages, device, setup, {}) != int(sample.pages.size()))
            state.SkipWithError("printing failed");
    }
    state.counters["ms/page"] = benchmark::Counter(
        double(sample.pages.size()) / 1000.0,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrintSampleOnRecordingPrinter)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
