// Full layout of long page texts, and relayout after typing one character in one paragraph,
// with and without a change of the paragraph's height.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchMarkupHost.h"
#include "model/Markup.h"
#include "model/StyleRecord.h"
#include "model/uKYTogge.h"
#include "platform/FixedMetrics.h"
#include "textbox/IBoxHost.h"
#include "textbox/uKYTbox.h"

namespace orvo {
namespace {

// A page that forgets what it is asked to repaint, so that a long run keeps no history.
class QuietHost final : public RecordingBoxHost {
public:
    QuietHost() : RecordingBoxHost(800, 600) {}
    void Invalidate(const Rect&) override {}
};

// `count` paragraphs of 40 to 300 characters with a bold run and a link in some, 780 px wide
// lines (130 bytes): most paragraphs take one to three lines.
std::string PageText(int count) {
    std::string text;
    const std::string words = "lorem ipsum dolor sit amet consectetur adipiscing elit sed do ";
    for (int i = 0; i < count; ++i) {
        text += "<Z S0 >";
        const int length = 40 + (i * 37) % 260;
        for (int k = 0; k < length; ++k) {
            if (i % 5 == 0 && k == 10) text += "<Y y1 >";
            if (i % 5 == 0 && k == 20) text += "<Y >";
            if (i % 7 == 0 && k == 30) text += "<$00000001>";
            if (i % 7 == 0 && k == 40) text += "<%>";
            text += words[std::size_t(k) % words.size()];
        }
    }
    text.push_back('\0');
    return text;
}

struct Page {
    explicit Page(int count) { box.LoadText(std::nullopt, PageText(count), std::nullopt); }
    BenchMarkupHost markup;
    QuietHost host;
    TKYTbox box{markup, host};
};

// Gives paragraph `index` the characters `text`, all of one width, and lays it out.
void SetParagraph(TKYTbox& box, std::int32_t index, const std::string& text) {
    TKYTparag& p = box.Paragraph(index);
    const TKYTcharMetric metric = p.metrics[0];
    p.text = text;
    p.metrics.assign(text.size() + 1, metric);
    for (TKYTcharMetric& m : p.metrics) m.fontIndex = m.linkId = -1;
    box.RelayoutRange(index, index, false, p.bottom, p.top);
}

void InsertCharacter(TKYTparag& p, std::size_t at, TKYTcharMetric metric) {
    p.text.insert(at, 1, 'x');
    p.metrics.insert(p.metrics.begin() + std::ptrdiff_t(at), metric);
}

void EraseCharacter(TKYTparag& p, std::size_t at) {
    p.text.erase(at, 1);
    p.metrics.erase(p.metrics.begin() + std::ptrdiff_t(at));
}

void BM_FullLayout(benchmark::State& state) {
    Page page(int(state.range(0)));
    for (auto _ : state) {
        page.box.RelayoutAll();
        benchmark::DoNotOptimize(page.box.Paragraph(0).lines.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FullLayout)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Typing a character in the middle paragraph and deleting it again: the paragraph keeps its
// height, nothing below moves.
void BM_TypeKeepsHeight(benchmark::State& state) {
    Page page(int(state.range(0)));
    const std::int32_t index = page.box.ParagraphCount() / 2;
    // Two lines of words; the one typed does not change where they break.
    std::string text;
    for (int i = 0; i < 40; ++i) text += "word ";
    SetParagraph(page.box, index, text);
    const TKYTcharMetric metric = page.box.Paragraph(index).metrics[0];
    bool inserted = false;
    for (auto _ : state) {
        TKYTparag& p = page.box.Paragraph(index);
        const std::int32_t oldBottom = p.bottom, top = p.top;
        if (inserted)
            EraseCharacter(p, 3);
        else
            InsertCharacter(p, 3, metric);
        inserted = !inserted;
        page.box.RelayoutRange(index, index, false, oldBottom, top);
    }
    if (page.box.Paragraph(index).bottom != page.box.Paragraph(index + 1).top - 1)
        state.SkipWithError("the paragraphs below did not follow");
}
BENCHMARK(BM_TypeKeepsHeight)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same in a paragraph whose last line is full: each character typed opens a new line
// and each deleted closes it, so every paragraph below moves.
void BM_TypeChangesHeight(benchmark::State& state) {
    Page page(int(state.range(0)));
    const std::int32_t index = page.box.ParagraphCount() / 2;
    // One line with room for one more byte (130 fit, the 130th leaves nothing): the next
    // character typed moves the last word to a second line.
    SetParagraph(page.box, index, std::string(120, 'y') + " " + std::string(8, 'y'));
    const TKYTcharMetric metric = page.box.Paragraph(index).metrics[0];
    bool inserted = false;
    std::int64_t moves = 0;
    for (auto _ : state) {
        TKYTparag& q = page.box.Paragraph(index);
        const std::int32_t oldBottom = q.bottom, top = q.top;
        if (inserted)
            EraseCharacter(q, 0);
        else
            InsertCharacter(q, 0, metric);
        inserted = !inserted;
        page.box.RelayoutRange(index, index, false, oldBottom, top);
        moves += page.box.Paragraph(index).bottom != oldBottom;
    }
    if (moves != state.iterations()) state.SkipWithError("the height did not change every time");
}
BENCHMARK(BM_TypeChangesHeight)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvo
