// Markup from a hostile document laid out in a text box at a width the input chooses, with
// inline objects of every alignment, then painted, hit-tested, resolved, normalised and laid
// out again: nothing may crash or read outside the paragraphs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/Markup.h"
#include "model/StyleRecord.h"
#include "model/uKYTogge.h"
#include "platform/FixedMetrics.h"
#include "platform/RecordingCanvas.h"
#include "textbox/IInlineObject.h"
#include "textbox/uKYTbox.h"

namespace orvo {
namespace {

class FuzzObject final : public IInlineObject {
public:
    FuzzObject(ObjectSize size, int alignment, bool table)
        : size_(size), alignment_(alignment), table_(table) {}
    bool IsTable() const override { return table_; }
    void UpdateSize(std::int32_t fullWidth) override {
        if (table_) size_.width = fullWidth;
    }
    ObjectSize Size() const override { return size_; }
    int VerticalAlignment() const override { return alignment_; }
    void MarkReposition() override { marked_ = true; }
    void Park() override {}
    bool NeedsPlacing() const override { return marked_; }
    void PlaceAt(std::int32_t, std::int32_t) override { marked_ = false; }
    void SetHighlighted(bool) override {}

private:
    ObjectSize size_;
    int alignment_;
    bool table_;
    bool marked_ = false;
};

class FuzzHost final : public IMarkupHost {
public:
    FuzzHost() {
        for (int n = 0; n < 3; ++n) {
            auto style = std::make_unique<TKYToggetto>();
            style->SetKind(TOggettiHel::stileParagrafo);
            style->SetIdentifier(n);
            if (n < 2)
                SetBuiltInStyle(style->Record(), n);
            else
                StyleRecord(style->Record()).SetDefaults();
            styles_.push_back(std::move(style));
        }
        const TOggettiHel kinds[] = {TOggettiHel::immagineNew, TOggettiHel::tabellaHtml,
                                     TOggettiHel::inputStat, TOggettiHel::multiMedia};
        for (int n = 0; n < 4; ++n) {
            auto object = std::make_unique<TKYToggetto>();
            object->SetKind(kinds[n]);
            object->SetIdentifier(n);
            objects_.push_back(std::move(object));
        }
    }
    ITextMeasurer& Measurer() override { return metrics_; }
    IMessages& Messages() override { return messages_; }
    const TKYToggetto* StyleByNumber(std::int32_t n) override {
        return n >= 0 && n < 3 ? styles_[std::size_t(n)].get() : nullptr;
    }
    TKYToggetto* PageObject(std::int32_t id) override {
        return id >= 0 && id < 4 ? objects_[std::size_t(id)].get() : nullptr;
    }
    std::int32_t PageObjectIdentifier(const TKYToggetto& o) override { return o.Identifier(); }
    ObjectSize SizeOf(const TKYToggetto& o) override {
        return {7 * o.Identifier(), 5 + o.Identifier()};
    }
    ITableCells* TableCells(const TKYToggetto&) override { return nullptr; }
    const TKYToggetto& Object(int id) const { return *objects_[std::size_t(id)]; }

private:
    FixedMetrics metrics_;
    RecordingMessages messages_;
    std::vector<std::unique_ptr<TKYToggetto>> styles_;
    std::vector<std::unique_ptr<TKYToggetto>> objects_;
};

}  // namespace
}  // namespace orvo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    if (size < 3) return 0;
    const int width = 1 + data[0] * 4;
    const int split = data[1];
    const bool cell = data[2] & 1;
    const std::string rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    std::string header = rest.substr(0, std::min<std::size_t>(rest.size(), std::size_t(split)));
    std::string body = rest.substr(header.size());
    header.push_back('\0');
    body.push_back('\0');

    FuzzHost markup;
    RecordingBoxHost host(width, 200);
    FuzzObject picture({30, 20}, 3, false), table({0, 40}, 0, true), input({12, 9}, 4, false);
    host.SetView(&markup.Object(0), &picture);
    host.SetView(&markup.Object(1), &table);
    host.SetView(&markup.Object(2), &input);

    struct NoTable final : ITableHost {
        void ArrangeCells() override {}
        void RelayoutTableParagraph() override {}
    } tableHost;
    TKYTbox box(markup, host, cell ? &tableHost : nullptr);
    box.padding = data[2] >> 4;
    box.borderWidth = (data[2] >> 1) & 3;
    box.Resize(width, 100);
    box.LoadText((data[2] & 2) ? std::optional<std::string_view>(header) : std::nullopt, body,
                 (data[2] & 4) ? std::optional<std::string_view>(header) : std::nullopt);

    FixedMetrics measurer;
    RecordingCanvas canvas(measurer);
    canvas.SetExtraWidthPerByte(data[0] & 3);
    if (box.ParagraphCount() > 0) {
        TKYTTextPos a, b;
        a.paraIndex = 0;
        b.paraIndex = box.ParagraphCount() - 1;
        b.charIndex = 1 << 20;
        box.SetSelection(a, b);
        box.Paragraph(0).spellFlags = "! !!";
    }
    box.Paint(canvas, {0, 0, box.Width(), box.Height()});
    // Probed every 7 pixels, and at most some 4,000 rows of a box made very tall by its
    // spacing (one row after another would take minutes there, not the box).
    const int step = std::max(7, box.Height() / 4096);
    for (int y = -10; y < box.Height() + 10 && y <= INT32_MAX - 2 * step; y += step)
        for (int mode : {0, 5}) {
            const int x = int(std::int64_t(y) * 13 % (width + 20)) - 10;
            const TKYTTextPos hit = box.HitTest(mode, x, y);
            if (hit.paraIndex >= 0) (void)box.ResolvePosition(hit);
        }
    for (std::int32_t i = 0; i < box.ParagraphCount(); ++i) {
        TKYTTextPos p;
        p.paraIndex = i;
        p.charIndex = std::int32_t(box.Paragraph(i).text.size());
        (void)box.ResolvePosition(p);
    }
    box.ReformatAll();
    if (box.ParagraphCount() > 0) {
        const TKYTparag& last = box.Paragraph(box.ParagraphCount() - 1);
        box.RelayoutRange(0, box.ParagraphCount() - 1, true, last.bottom, box.Paragraph(0).top);
        box.ShiftParagraphs(-5, box.ParagraphCount() / 2);
    }
    box.Paint(canvas, {0, 0, box.Width(), box.Height()});
    return 0;
}
