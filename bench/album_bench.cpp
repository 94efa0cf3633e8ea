// The deletion window's search for where objects are used, over a 10,000-page hypertext (the
// sample filled to 1 KB of text a page, read from its file): the whole search as the window
// runs it (the snapshot taken, the worker started, every page and prototype looked at) for a
// picture, which is looked for through every object a page's text holds, and for a page; then
// the time Stop takes when the window closes in the middle of a search.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/WhereUsed.h"
#include "base/Paths.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace {

using namespace orvo;
using K = TOggettiHel;

struct Fixture {
    std::filesystem::path folder;
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set{environment, messages};

    Fixture() {
        folder = std::filesystem::temp_directory_path() /
                 ("orvo-album-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        SampleOptions options;
        options.pages = 10000;
        options.textKb = 1;
        MakeSampleHypertext(set, options);
        const std::string document = NameOfPath(folder / "Grande.kyt");
        if (!set.SaveToFile(document) || !set.LoadFromFile(document)) std::abort();
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void Search(benchmark::State& state, std::int32_t code) {
    Fixture& f = Shared();
    std::size_t lines = 0;
    for (auto _ : state) {
        std::atomic<bool> done{false};
        WhereUsedSearch search(
            f.set, {code},
            [&](std::size_t, std::vector<std::string> found) { lines = found.size(); },
            [&] { done = true; });
        search.Start();
        search.Wait();
        if (!done) state.SkipWithError("the search did not end");
    }
    state.counters["pages"] = double(f.set.KindCount(K::testoHtml));
    state.counters["lines"] = double(lines);
}

void BM_WhereUsedPicture(benchmark::State& state) {
    Search(state, MakeCode(K::immagine, 1));
}
BENCHMARK(BM_WhereUsedPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WhereUsedPage(benchmark::State& state) {
    Search(state, MakeCode(K::testoHtml, 5));
}
BENCHMARK(BM_WhereUsedPage)->Unit(benchmark::kMillisecond)->UseRealTime();

// The window closes 5 ms into a search of every picture: the time Stop takes to return.
void BM_StopDuringSearch(benchmark::State& state) {
    Fixture& f = Shared();
    std::vector<std::int32_t> codes;
    for (int i = 0; i < 50; ++i) codes.push_back(MakeCode(K::immagine, i % 3));
    for (auto _ : state) {
        WhereUsedSearch search(f.set, codes, [](std::size_t, std::vector<std::string>) {});
        search.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const auto start = std::chrono::steady_clock::now();
        search.Stop();
        const auto stopped = std::chrono::steady_clock::now();
        if (search.Finished()) state.SkipWithError("the search ended before it was stopped");
        state.SetIterationTime(std::chrono::duration<double>(stopped - start).count());
    }
}
BENCHMARK(BM_StopDuringSearch)->Unit(benchmark::kMicrosecond)->UseManualTime();

}  // namespace
