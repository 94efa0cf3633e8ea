// Paragraph surgery of the editing operations.
#include "textbox/EditParagraphs.h"

#include <algorithm>

#include "base/ByteStream.h"
#include "model/Markup.h"
#include "textbox/uKYTbox.h"

namespace orvo {

TKYTTextPos PositionAt(std::int32_t para, std::int32_t ch) {
    TKYTTextPos pos;
    pos.paraIndex = para;
    pos.charIndex = ch;
    return pos;
}

TKYTFontStyle FontStyleAt(const TKYTparag& paragraph, std::int32_t k) {
    const std::int32_t last = std::min<std::int32_t>(k, std::int32_t(paragraph.metrics.size()) - 1);
    for (std::int32_t i = last; i >= 0; --i) {
        const std::int32_t font = paragraph.metrics[std::size_t(i)].fontIndex;
        if (font >= 0 && std::size_t(font) < paragraph.fonts.size())
            return paragraph.fonts[std::size_t(font)];
    }
    TKYTFontStyle format;
    format.Assign(paragraph.style);
    return format;
}

void MakeRunStart(TKYTparag& paragraph, std::int32_t k, const TKYTFontStyle& format) {
    if (k < 0 || std::size_t(k) >= paragraph.metrics.size()) return;
    std::int32_t& index = paragraph.metrics[std::size_t(k)].fontIndex;
    if (index >= 0 && std::size_t(index) < paragraph.fonts.size()) {
        paragraph.fonts[std::size_t(index)].Assign(format);
        return;
    }
    paragraph.fonts.push_back(format);
    index = std::int32_t(paragraph.fonts.size()) - 1;
}

void DropRedundantRunStart(TKYTparag& paragraph, std::int32_t k) {
    if (k < 0 || std::size_t(k) >= paragraph.text.size()) return;
    std::int32_t& index = paragraph.metrics[std::size_t(k)].fontIndex;
    if (index < 0 || std::size_t(index) >= paragraph.fonts.size()) return;
    const TMyFont own = paragraph.fonts[std::size_t(index)].AsMyFont();
    const std::int32_t kept = index;
    index = -1;
    if (!(FontStyleAt(paragraph, k - 1).AsMyFont() == own)) index = kept;
}

namespace {

// Removes characters [from, to) with their metrics; the end metric stays.
void EraseCharacters(TKYTparag& p, std::int32_t from, std::int32_t to) {
    from = std::clamp<std::int32_t>(from, 0, std::int32_t(p.text.size()));
    to = std::clamp<std::int32_t>(to, from, std::int32_t(p.text.size()));
    p.text.erase(std::size_t(from), std::size_t(to - from));
    p.metrics.erase(p.metrics.begin() + from, p.metrics.begin() + to);
    p.spellFlags.clear();
}

// The character at k keeps the format it had before text in front of it goes.
void KeepFormatAt(TKYTparag& p, std::int32_t k, const TKYTFontStyle& format) {
    if (std::size_t(k) < p.text.size() && p.metrics[std::size_t(k)].fontIndex < 0)
        MakeRunStart(p, k, format);
}

}  // namespace

std::int32_t JoinWithNext(TKYTbox& box, std::int32_t index) {
    Paragraphs& all = box.MutableParagraphs();
    TKYTparag& first = box.Paragraph(index);
    TKYTparag& second = box.Paragraph(index + 1);
    if (first.text.empty()) {
        second.top = first.top;
        all.erase(all.begin() + index);
        return 1;
    }
    IMarkupHost& host = box.HostFor(first.kind);
    MemoryStream stream;
    if (!first.WriteMarkup(stream, wmSnapshot, 0, -1, host) ||
        !second.WriteMarkup(stream, wmContinuation, 0, -1, host))
        return 2;
    std::string markup = stream.TakeBytes();
    markup.push_back('\0');
    Paragraphs joined = ReadText(markup, host, wmSnapshot);
    if (joined.empty() || joined.size() > 2) return 2;
    const std::uint8_t kind = first.kind;
    const std::int32_t top = first.top;
    // The continuation head starts a run at the join even where nothing changes there.
    if (joined.size() == 1) DropRedundantRunStart(*joined.front(), std::int32_t(first.text.size()));
    for (auto& p : joined) {
        p->kind = kind;
        p->top = top;
    }
    const std::int32_t count = std::int32_t(joined.size());
    all.erase(all.begin() + index, all.begin() + index + 2);
    all.insert(all.begin() + index, std::make_move_iterator(joined.begin()),
               std::make_move_iterator(joined.end()));
    return count;
}

std::int32_t DeleteRange(TKYTbox& box, EditPos start, EditPos end) {
    const std::int32_t top = box.Paragraph(start.para).top;
    const std::int32_t oldBottom = box.Paragraph(end.para).bottom;
    TKYTparag& last = box.Paragraph(end.para);
    const TKYTFontStyle continued = FontStyleAt(last, end.ch);
    if (start.para == end.para) {
        KeepFormatAt(last, end.ch, continued);
        EraseCharacters(last, start.ch, end.ch);
        DropRedundantRunStart(last, start.ch);
        box.RelayoutRange(start.para, start.para, false, oldBottom, top);
        return 1;
    }
    TKYTparag& first = box.Paragraph(start.para);
    EraseCharacters(first, start.ch, std::int32_t(first.text.size()));
    KeepFormatAt(last, end.ch, continued);
    EraseCharacters(last, 0, end.ch);
    Paragraphs& all = box.MutableParagraphs();
    all.erase(all.begin() + start.para + 1, all.begin() + end.para);
    IMarkupHost& host = box.HostFor(kBodyParagraph);
    std::int32_t left = 2;
    if (!(end.ch == 0 && box.Paragraph(start.para + 1).IsTableParagraph(host) &&
          !box.Paragraph(start.para).text.empty()))
        left = JoinWithNext(box, start.para);
    for (std::int32_t i = start.para; i < start.para + left; ++i)
        box.Paragraph(i).spellFlags.clear();
    box.RelayoutRange(start.para, start.para + left - 1, false, oldBottom, top);
    return left;
}

void BreakParagraph(TKYTbox& box, EditPos at) {
    Paragraphs& all = box.MutableParagraphs();
    TKYTparag& p = box.Paragraph(at.para);
    const std::int32_t top = p.top, oldBottom = p.bottom;
    const std::int32_t k = std::clamp<std::int32_t>(at.ch, 0, std::int32_t(p.text.size()));
    const TKYTFontStyle typing = FontStyleAt(p, k - 1);
    auto next = std::make_unique<TKYTparag>();
    next->kind = p.kind;
    next->style.Assign(p.style);
    next->style.Assign(typing.AsMyFont());
    next->fonts = p.fonts;
    next->objects = p.objects;
    TKYTcharMetric end = p.metrics.back();
    end.fontIndex = -1;
    next->metrics.assign(p.metrics.begin() + k, p.metrics.end() - 1);
    next->metrics.push_back(end);
    next->text = p.text.substr(std::size_t(k));
    p.text.erase(std::size_t(k));
    p.metrics.erase(p.metrics.begin() + k, p.metrics.end() - 1);
    p.metrics.back() = end;
    p.spellFlags.clear();
    next->MeasureDefaultLineHeight(box.HostFor(p.kind).Measurer());
    next->top = p.bottom + 1;
    all.insert(all.begin() + at.para + 1, std::move(next));
    box.RelayoutRange(at.para, at.para + 1, false, oldBottom, top);
}

}  // namespace orvo
