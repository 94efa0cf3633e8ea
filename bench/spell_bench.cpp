// Spell checking every page of a 5,000-page hypertext (the sample filled to 2 KB of text a page)
// with the Italian dictionary, and the hunspell program listing the misspelt words of the same
// pages' text export ("hunspell -l -d it_IT"), timed by the wall clock in the same run. The
// counters give the words each found and how many differ once the words the options set aside
// (all capitals, Roman numerals) are left out of hunspell's list.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "WallClockCase.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/TextExport.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "spell/HunspellEngine.h"
#include "spell/QzSpellers.h"
#include "spell/SpellPages.h"

namespace {

using namespace orvo;

struct Fixture {
    std::filesystem::path folder;
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set{environment, messages};
    std::vector<std::int32_t> pages;
    std::filesystem::path exportFile;

    Fixture() {
        folder = std::filesystem::temp_directory_path() /
                 ("orvo-spell-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        SampleOptions options;
        options.pages = 5000;
        options.textKb = 2;
        MakeSampleHypertext(set, options);
        const std::string document = NameOfPath(folder / "Grande.kyt");
        if (!set.SaveToFile(document) || !set.LoadFromFile(document)) std::abort();
        pages = LivePages(set);
        // The text export of each page, one line end between pages so their words stay apart.
        std::string text;
        for (std::int32_t page : pages) text += Cp1252ToUtf8(PageText(set, page)) + "\n";
        exportFile = folder / "Grande.txt";
        std::ofstream(exportFile, std::ios::binary) << text;
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

std::map<std::string, int> ourWords, hunspellWords;

void BM_OrvoSpellCheckAllPages(benchmark::State& state) {
    Fixture& f = Shared();
    TQzSpellChecker checker(f.environment, f.messages);
    checker.SetLanguage(1040);
    if (!checker.Open()) {
        state.SkipWithError("no Italian dictionary");
        return;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<SpellFinding> findings = CheckPages(f.set, checker, f.pages, 3);
        found = findings.size();
        ourWords.clear();
        for (const SpellFinding& finding : findings) ++ourWords[Cp1252ToUtf8(finding.word)];
    }
    state.counters["pages"] = double(f.pages.size());
    state.counters["MB"] = double(std::filesystem::file_size(f.exportFile)) / 1e6;
    state.counters["misspelt"] = double(found);
}
ORVO_WALL_CLOCK_CASE(BM_OrvoSpellCheckAllPages);

void BM_HunspellProgramOnTextExport(benchmark::State& state) {
    Fixture& f = Shared();
    const std::filesystem::path list = f.folder / "hunspell.txt";
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            std::freopen(f.exportFile.c_str(), "rb", stdin);
            std::freopen(list.c_str(), "wb", stdout);
            execlp("hunspell", "hunspell", "-l", "-i", "utf-8", "-d", "it_IT",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("hunspell failed");
    }
    hunspellWords.clear();
    std::ifstream in(list);
    std::size_t found = 0;
    for (std::string word; std::getline(in, word);) {
        ++found;
        const std::string cp = Utf8ToCp1252(word);
        const bool allCaps = Upper1252(cp) == cp;
        if (!allCaps && !IsRomanNumeral(cp)) ++hunspellWords[word];
    }
    int differences = 0;
    std::map<std::string, int> all = ourWords;
    for (const auto& [word, count] : hunspellWords) all[word] -= count;
    for (const auto& [word, count] : all) differences += std::abs(count);
    state.counters["misspelt"] = double(found);
    state.counters["differences"] = double(differences);
}
ORVO_WALL_CLOCK_CASE(BM_HunspellProgramOnTextExport);

// One step of the background check: the words of one paragraph verified and marked, here the
// longest paragraph of the hypertext, with words the dictionary has not been asked about yet.
// A step runs between two keystrokes on the window thread, so its time is what a keystroke may
// wait.
void BM_BackgroundStepOneParagraph(benchmark::State& state) {
    Fixture& f = Shared();
    std::string paragraph;
    for (std::int32_t page : f.pages) {
        const std::string text = PageText(f.set, page);
        for (std::size_t from = 0; from < text.size();) {
            const std::size_t end = std::min(text.find("\r\n", from), text.size());
            if (end - from > paragraph.size()) paragraph = text.substr(from, end - from);
            from = end + 2;
        }
        if (paragraph.size() > 1500) break;
    }
    std::size_t words = 0;
    std::unique_ptr<TQzSpellChecker> checker;
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh session (nothing cached); the last one is freed outside the timing.
        checker.reset();
        checker = std::make_unique<TQzSpellChecker>(f.environment, f.messages);
        checker->SetLanguage(1040);
        if (!checker->Open()) {
            state.SkipWithError("no Italian dictionary");
            return;
        }
        state.ResumeTiming();
        std::size_t pointer = 0;
        int stateWord = kSpellStateParagraph;
        words = 0;
        while (pointer < paragraph.size()) {
            const SpellVerdict v =
                checker->Verify(std::string_view(paragraph).substr(pointer), stateWord);
            stateWord = kSpellStateContinue;
            if (v.status == kSpellOk) break;
            ++words;
            pointer += SpellResumeAfter(v);
        }
    }
    state.counters["bytes"] = double(paragraph.size());
    state.counters["misspelt"] = double(words);
}
BENCHMARK(BM_BackgroundStepOneParagraph)->Unit(benchmark::kMicrosecond)->Iterations(20);

}  // namespace
