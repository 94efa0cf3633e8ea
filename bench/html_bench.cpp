// Export of a 5,000-page hypertext (the sample at 2 KB of text a page) as a web site into a
// folder beside the document. Reports pages per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "base/Paths.h"
#include "convert/HtmlExport.h"
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
    std::int64_t written = 0;
    for (auto _ : state) {
        std::vector<TKYToggetto*> images;
        if (!html.ExportAllPages(images)) state.SkipWithError("export failed");
        written += set.KindCount(TOggettiHel::testoHtml);
    }
    state.counters["pages/s"] = benchmark::Counter(double(written), benchmark::Counter::kIsRate);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ExportSite)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
