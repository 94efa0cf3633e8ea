// A table's cells from any markup: the first bytes choose the table's rows, columns, column
// kinds and spacing, the rest is the text that follows the table's character. The table view
// reads its cells, lays them out, runs row and column commands chosen by the bytes and takes
// each back; its text must then read back as it was written, and the HTML of the same text
// must close every cell and table it opens.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "convert/HtmlExport.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ObjectViews.h"
#include "objects/uKYTtable.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "textbox/uKYTbox.h"

namespace {

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    if (size < 4) return 0;
    static FixedEnvironment environment;
    static RecordingMessages messages;
    static TKYTset set(environment, messages);
    static TKYTtoHtml html(&set);
    static FixedMetrics metrics;
    static TKYToggetto* table = [] {
        auto made = NewObjectOfKind(TOggettiHel::tabellaHtml, &set);
        made->Clear();
        made->TakeIntoUse();
        return set.ObjectByKind(TOggettiHel::tabellaHtml, set.Register(std::move(made)));
    }();
    static TKYToggetto* page = [] {
        auto made = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        made->Clear();
        made->TakeIntoUse();
        return set.ObjectByKind(TOggettiHel::testoHtml, set.Register(std::move(made)));
    }();
    messages.Clear();
    TableRecord record(table->View());
    record.SetRows(1 + data[0] % 6);
    record.SetColumns(1 + data[1] % 6);
    record.SetSpacing(data[2] % 5);
    for (int c = 0; c < 6; ++c) {
        record.SetKind(c, (data[3] >> c) % 3);
        record.SetWidth(c, (data[3] * (c + 1)) % 120);
    }
    record.SetWidthInPercent(data[3] & 1);
    record.SetFixedWidth(data[2] * 3);
    if (data[0] & 0x80)
        table->SetAuxiliary(std::string(reinterpret_cast<const char*>(data), size % 40));
    else
        table->SetAuxiliary(std::nullopt);
    char code[16];
    std::snprintf(code, sizeof code, "<$08%06x>", unsigned(table->Identifier()));
    const std::string markup = "<Z S0 >" + std::string(code) +
                               std::string(reinterpret_cast<const char*>(data) + 4, size - 4) +
                               '\0';
    page->SetContent(markup);

    // The HTML of the text: every cell and table opened is closed.
    {
        TExportContext context;
        std::vector<TKYToggetto*> images;
        context.images = &images;
        const std::string body = html.WriteBody(0, context, *page);
        if (Count(body, "<TABLE") != Count(body, "</TABLE>")) __builtin_trap();
        if (Count(body, "<TD") != Count(body, "</TD>")) __builtin_trap();
        if (Count(body, "<TR>") != Count(body, "</TR>")) __builtin_trap();
    }

    // The table view over the same text.
    RecordingBoxHost surface(300 + data[1], 200);
    ManualScheduler scheduler;
    auto text = OpenText(set, *page, false);
    TextMarkupHost host(set, *text, metrics);
    ObjectViewHost views(surface, set, messages, scheduler);
    views.SetReadOnly(false);
    host.tables = [&](const TKYToggetto& o) -> ITableCells* {
        IInlineObject* view = views.ViewOf(o);
        return view ? view->TableCellsFor(host) : nullptr;
    };
    TKYTbox box(host, views);
    views.SetBox(&box);
    const Result<std::string> working = text->ContentBytes();
    if (!working) return 0;
    box.LoadText(std::nullopt, *working, std::nullopt);
    const std::string written = WriteText(box.AllParagraphs(), host);
    {
        TKYTbox again(host, views);
        again.LoadText(std::nullopt, written, std::nullopt);
        if (WriteText(again.AllParagraphs(), host) != written) __builtin_trap();
    }
    TMyyTable* shown = nullptr;
    for (std::int32_t i = 0; i < box.ParagraphCount() && !shown; ++i)
        for (const TKYToggetto* o : box.Paragraph(i).objects)
            if (o && o->Kind() == TOggettiHel::tabellaHtml)
                if ((shown = dynamic_cast<TMyyTable*>(views.ViewOf(*o)))) break;
    if (!shown) return 0;
    const std::string before = WriteText(box.AllParagraphs(), host);
    for (std::size_t i = 4; i + 1 < size && i < 16; i += 2) {
        const int at = data[i + 1] % 7, n = 1 + data[i + 1] / 64;
        switch (data[i] % 5) {
            case 0:
                shown->AddRows(at, n);
                break;
            case 1:
                shown->AddColumns(at, n);
                break;
            case 2:
                shown->RequestDeleteRows(at, at + n - 1);
                break;
            case 3:
                shown->RequestDeleteColumns(at, at + n - 1);
                break;
            default:
                shown->DragHeaderSection(at, data[i + 1]);
                break;
        }
        scheduler.RunPending();
        const TableRecord now(shown->Object()->ReadView());
        if (now.Rows() != shown->RowCount() || now.Columns() != shown->ColumnCount())
            __builtin_trap();
    }
    auto& steps = views.TableUndoSteps();
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) shown->Undo(*it);
    if (WriteText(box.AllParagraphs(), host) != before) __builtin_trap();
    return 0;
}
