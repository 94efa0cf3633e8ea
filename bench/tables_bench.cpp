// Tables: the layout of a 255 x 50 table with a word in every cell, and one character typed
// into one of its cells (the cell's paragraph laid out again and the rows placed again).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ObjectViews.h"
#include "objects/uKYTtable.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "textbox/uKYTbox.h"

namespace orvo {
namespace {

struct BigTable {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set{environment, messages};
    FixedMetrics metrics;
    RecordingBoxHost surface{1600, 800};
    ManualScheduler scheduler;
    std::unique_ptr<TKYTtesto> text;
    std::unique_ptr<TextMarkupHost> host;
    std::unique_ptr<ObjectViewHost> views;
    std::unique_ptr<TKYTbox> box;
    TMyyTable* table = nullptr;

    BigTable(int rows, int columns) {
        auto made = NewObjectOfKind(TOggettiHel::tabellaHtml, &set);
        made->Clear();
        made->TakeIntoUse();
        TableRecord record(made->View());
        ApplyNewTable(record, {rows, columns, 0, -1, -1, false});
        const std::int32_t id = set.Register(std::move(made));
        char code[16];
        std::snprintf(code, sizeof code, "<$08%06x>", unsigned(id));
        std::string markup = "<Z S0 >" + std::string(code);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) markup += "<Z S1 >parola<T>";
        auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        page->TakeIntoUse();
        const std::int32_t pageId = set.Register(std::move(page));
        TKYToggetto& pageObject = *set.ObjectByKind(TOggettiHel::testoHtml, pageId);
        pageObject.SetContent(markup + '\0');
        text = OpenText(set, pageObject, false);
        host = std::make_unique<TextMarkupHost>(set, *text, metrics);
        views = std::make_unique<ObjectViewHost>(surface, set, messages, scheduler);
        host->tables = [this](const TKYToggetto& o) -> ITableCells* {
            IInlineObject* view = views->ViewOf(o);
            return view ? view->TableCellsFor(*host) : nullptr;
        };
        box = std::make_unique<TKYTbox>(*host, *views);
        views->SetBox(box.get());
        box->LoadText(std::nullopt, *text->ContentBytes(), std::nullopt);
        table = dynamic_cast<TMyyTable*>(views->Find(*box->Paragraph(0).objects.at(0)));
    }
};

// Every cell laid out afresh for a new table width.
void BM_LayoutTable255x50(benchmark::State& state) {
    BigTable t(255, 50);
    if (!t.table) {
        state.SkipWithError("no table");
        return;
    }
    std::int32_t width = 1500;
    for (auto _ : state) {
        width = width == 1500 ? 1501 : 1500;  // a new width: no cell keeps its layout
        t.table->LayoutCells(width, true);
        benchmark::DoNotOptimize(t.table->Size());
    }
    state.counters["cells"] = 255 * 50;
}
BENCHMARK(BM_LayoutTable255x50)->Unit(benchmark::kMillisecond);

// One character typed into a cell in the middle: its paragraph laid out again; the table
// places its rows again when the height changed, without laying out any other cell.
void BM_TypeInCellOfTable255x50(benchmark::State& state) {
    BigTable t(255, 50);
    if (!t.table) {
        state.SkipWithError("no table");
        return;
    }
    // Room in every cell for a few more letters: typing changes no column.
    t.table->LayoutCells(5000, true);
    TKYTbox& cell = *t.table->CellAt(128, 25);
    const int layoutsBefore = t.table->FullLayouts();
    for (auto _ : state) {
        TKYTparag& p = cell.Paragraph(0);
        const std::int32_t top = p.top, bottom = p.bottom;
        p.text.insert(p.text.begin() + 2, 'x');
        p.metrics.insert(p.metrics.begin() + 2, p.metrics[2]);
        cell.RelayoutRange(0, 0, false, bottom, top);
        state.PauseTiming();
        p.text.erase(p.text.begin() + 2);
        p.metrics.erase(p.metrics.begin() + 2);
        cell.RelayoutRange(0, 0, false, p.bottom, top);
        state.ResumeTiming();
    }
    state.counters["full_layouts"] = t.table->FullLayouts() - layoutsBefore;
}
BENCHMARK(BM_TypeInCellOfTable255x50)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvo
