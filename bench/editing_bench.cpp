// Editing a page of 10,000 paragraphs: a character typed from the call to the relayout done
// (the paragraph keeps its height), one undo step applied, and the memory 1,000 typed steps
// keep in the undo list.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "LongPageMarkup.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "textbox/IBoxHost.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTundo.h"

namespace orvo {
namespace {

constexpr int kParagraphs = 10000;

// A hypertext with one page of 10,000 short paragraphs, open in a box with its editing.
struct LongPage {
    LongPage() {
        auto object = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        object->Clear();
        object->TakeIntoUse();
        page = set.ObjectByKind(TOggettiHel::testoHtml, set.Register(std::move(object)));
        page->SetContent(LongPageMarkup(kParagraphs));
        text = OpenText(set, *page, false);
        host = std::make_unique<TextMarkupHost>(set, *text, metrics);
        box = std::make_unique<TKYTbox>(*host, boxHost);
        box->LoadText(std::nullopt, *text->ContentBytes(), std::nullopt);
        frames.SetFrame(0, page->Identifier(), &controls);
        undo.SetDepth(100000);
        EditContext context(set, *text, messages);
        context.undo = &undo;
        editing = std::make_unique<BoxEditing>(*box, std::move(context), &controls,
                                               page->Identifier(), 0);
    }
    TKYTTextAttributes& Text() { return editing->Text(); }

    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset set{env, messages};
    TKYToggetto* page = nullptr;
    std::unique_ptr<TKYTtesto> text;
    FixedMetrics metrics;
    RecordingBoxHost boxHost{2000, 800};
    std::unique_ptr<TextMarkupHost> host;
    std::unique_ptr<TKYTbox> box;
    TKYTundoFrames frames;
    TKYTundoIndiciList controls;
    TKYTundoList undo{set, frames, messages};
    std::unique_ptr<BoxEditing> editing;
};

// Typing in the middle paragraph; every 20 characters the paragraph is put back (untimed) so
// that it keeps its one line.
void BM_TypeOneCharacter(benchmark::State& state) {
    LongPage page;
    const EditPos at{kParagraphs / 2, 10};
    page.Text().SetCaretAt(at);
    int typed = 0;
    for (auto _ : state) {
        page.Text().InsertChar('a');
        if (++typed == 20) {
            state.PauseTiming();
            page.Text().CaretMoved();
            page.undo.UndoOne();
            page.Text().SetCaretAt(at);
            typed = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TypeOneCharacter)->Unit(benchmark::kMicrosecond);

// One step undone: a character typed as its own step (untimed), then undone.
void BM_UndoOneStep(benchmark::State& state) {
    LongPage page;
    const EditPos at{kParagraphs / 2, 10};
    for (auto _ : state) {
        state.PauseTiming();
        page.Text().CaretMoved();
        page.Text().SetCaretAt(at);
        page.Text().InsertChar('a');
        state.ResumeTiming();
        page.undo.UndoOne();
    }
}
BENCHMARK(BM_UndoOneStep)->Unit(benchmark::kMicrosecond);

// 1,000 characters typed, each its own step (the caret moved between them): the bytes the
// undo list keeps.
void BM_ThousandTypedStepsMemory(benchmark::State& state) {
    LongPage page;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            page.Text().CaretMoved();
            page.Text().SetCaretAt({(i * 7) % kParagraphs, 3});
            page.Text().InsertChar('a');
        }
        bytes = page.undo.MemorySize();
        state.PauseTiming();
        while (page.undo.CanUndo()) page.undo.UndoOne();
        state.ResumeTiming();
    }
    state.counters["undo_bytes"] = double(bytes);
}
BENCHMARK(BM_ThousandTypedStepsMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace orvo
