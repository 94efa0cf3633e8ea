// Making the sample hypertext at benchmark sizes; reading and writing a page tree of 10,000
// nodes and loading it from a hypertext; showing and committing a long page through the page
// surface; a browse step among 10,000 pages.
#include <benchmark/benchmark.h>

#include <string>

#include "model/BrowseSequence.h"
#include "model/PageTree.h"
#include "model/SampleHypertext.h"
#include "model/TKYTorderedTree.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"

namespace orvo {
namespace {

void SampleGeneration(benchmark::State& state) {
    FixedEnvironment env;
    RecordingMessages messages;
    for (auto _ : state) {
        TKYTset set(env, messages);
        MakeSampleHypertext(set, {.pages = int(state.range(0)), .textKb = int(state.range(1))});
        benchmark::DoNotOptimize(set.KindCount(TOggettiHel::testoHtml));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(SampleGeneration)->Args({7, 0})->Args({1000, 4})->Unit(benchmark::kMillisecond);

// A tree of 100 chapters of 100 pages.
std::string BigTreeText() {
    std::string text = "a0,-2,Grande.kyt\r\n";
    for (int c = 0; c < 100; ++c) {
        text += "a1,-3,Capitolo " + std::to_string(c) + "\r\n";
        for (int p = 0; p < 100; ++p) text += "a2," + std::to_string(c * 100 + p) + ",x\r\n";
    }
    return text;
}

void TreeTextRoundTrip(benchmark::State& state) {
    const std::string text = BigTreeText();
    auto nameOf = [](std::int32_t code) -> std::optional<std::string> {
        return "Pagina " + std::to_string(code);
    };
    for (auto _ : state) {
        TreeTextReading reading = ReadTreeText(text, 0, nameOf);
        benchmark::DoNotOptimize(WriteTreeText(reading.tree));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size()));
    state.SetItemsProcessed(state.iterations() * 10101);
}
BENCHMARK(TreeTextRoundTrip)->Unit(benchmark::kMillisecond);

void LoadPageTree(benchmark::State& state) {
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set(env, messages);
    MakeSampleHypertext(set, {.pages = 10000});
    for (auto _ : state) {
        TKYTorderedTree tree(&set);
        tree.LoadTree();
        std::vector<TKYToggetto*> order;
        tree.CollectObjects(order);
        benchmark::DoNotOptimize(order.size());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(LoadPageTree)->Unit(benchmark::kMillisecond);

void ShowAndCommitPage(benchmark::State& state) {
    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set(env, messages);
    MakeSampleHypertext(set, {.pages = 2, .textKb = int(state.range(0))});
    FixedMetrics metrics;
    HeadlessTextViewFactory views(metrics);
    HeadlessFrameSet frames;
    RecordingUndoPurge undo;
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    TKYTpage page(set, frames, views, undo, spell, scheduler);
    const std::int64_t bytes = set.ObjectByKind(TOggettiHel::testoHtml, 3)->Content().Size();
    for (auto _ : state) {
        page.ShowText(3);
        benchmark::DoNotOptimize(page.CommitText());
        page.CloseText();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(ShowAndCommitPage)->Arg(64)->Arg(1024)->Unit(benchmark::kMillisecond);

void BrowseStep(benchmark::State& state) {
    std::vector<SequenceEntry> pages;
    for (int i = 0; i < 10000; ++i)
        pages.push_back({i, std::int16_t(i % 10), std::int16_t(i / 10), false});
    std::int32_t page = 5005;
    for (auto _ : state) {
        page = NextInSequence(pages, page);
        benchmark::DoNotOptimize(PreviousInSequence(pages, page));
    }
}
BENCHMARK(BrowseStep);

}  // namespace
}  // namespace orvo
