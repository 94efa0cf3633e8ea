// The caret's movements through a box: by character, word, line, paragraph and to the text's
// ends, with the exit codes that tell the caller the caret has to leave the box or enter a table.
#include <algorithm>

#include "textbox/uKYTboxInput.h"

namespace orvo {

namespace {

// Word separators: blanks, quotes and punctuation, and the typographic double quotes.
bool IsSeparator(unsigned char c) {
    return (c >= 0x20 && c <= 0x22) || (c >= 0x27 && c <= 0x2F) || (c >= 0x3A && c <= 0x3F) ||
           (c >= 0x7B && c <= 0x7E) || c == 0x93 || c == 0x94;
}

bool IsWordChar(unsigned char c) {
    return !IsSeparator(c);
}

unsigned char CharOf(const TKYTparag& p, std::int32_t index) {
    return static_cast<unsigned char>(p.text[std::size_t(index)]);
}

std::int32_t Length(const TKYTparag& p) {
    return std::int32_t(p.text.size());
}

}  // namespace

bool TKYTboxInput::IsTable(std::int32_t paraIndex) const {
    if (paraIndex < 0 || paraIndex >= box_.ParagraphCount()) return false;
    const TKYTparag& p = box_.Paragraph(paraIndex);
    return p.IsTableParagraph(box_.HostFor(p.kind));
}

TKYTTextPos TKYTboxInput::At(std::int32_t paraIndex, std::int32_t charIndex,
                             std::int32_t line) const {
    TKYTTextPos p;
    p.paraIndex = paraIndex;
    p.charIndex = charIndex;
    p.lineIndex = line;
    return box_.ResolvePosition(p);
}

TKYTTextPos TKYTboxInput::Exit(int code, const TKYTTextPos& p, std::int32_t tablePara) {
    exitCode_ = code;
    exitTable_ = tablePara >= 0 ? &box_.Paragraph(tablePara) : nullptr;
    return p;
}

TKYTTextPos TKYTboxInput::CharLeft(const TKYTTextPos& position) {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Valid() || p.paraIndex >= box_.ParagraphCount()) return p;
    if (p.charIndex > 0) {
        if (IsTable(p.paraIndex)) return Exit(kExitIntoTableBackward, p, p.paraIndex);
        return At(p.paraIndex, p.charIndex - 1);
    }
    if (p.paraIndex <= box_.FirstEditable()) return Exit(kExitBackward, p);
    const std::int32_t previous = p.paraIndex - 1;
    if (IsTable(previous)) return Exit(kExitIntoTableBackward, p, previous);
    const TKYTparag& prev = box_.Paragraph(previous);
    return At(previous, Length(prev), std::int32_t(prev.lines.size()) - 1);
}

TKYTTextPos TKYTboxInput::CharRight(const TKYTTextPos& position) {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Valid() || p.paraIndex >= box_.ParagraphCount()) return p;
    const TKYTparag& para = box_.Paragraph(p.paraIndex);
    if (p.charIndex >= Length(para)) {
        if (p.paraIndex >= box_.LastEditable()) return Exit(kExitForward, p);
        const std::int32_t next = p.paraIndex + 1;
        if (IsTable(next)) return Exit(kExitIntoTableForward, p, next);
        return At(next, 0);
    }
    if (IsTable(p.paraIndex)) return Exit(kExitIntoTableForward, p, p.paraIndex);
    // At a line's end the caret goes on to the start of the next line.
    return At(p.paraIndex, p.charIndex + 1);
}

TKYTTextPos TKYTboxInput::OnLine(std::int32_t paraIndex, std::int32_t lineIndex,
                                 std::int32_t goalX) const {
    const TKYTparag& p = box_.Paragraph(paraIndex);
    if (p.lines.empty()) return At(paraIndex, 0);
    lineIndex = std::clamp(lineIndex, 0, std::int32_t(p.lines.size()) - 1);
    const TKYTline& line = p.lines[std::size_t(lineIndex)];
    const bool last = std::size_t(lineIndex) + 1 == p.lines.size();
    const std::int32_t limit = last ? Length(p) : p.lines[std::size_t(lineIndex) + 1].first;
    const std::int32_t measured = std::int32_t(p.metrics.size());
    std::int32_t x = line.indent + line.alignOffset;
    std::int32_t c = line.first;
    while (x < goalX && c < limit && c < measured) {
        x += p.metrics[std::size_t(c)].width;
        ++c;
    }
    return At(paraIndex, c, lineIndex);
}

TKYTTextPos TKYTboxInput::LineDown(const TKYTTextPos& position) {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Resolved()) return p;
    const TKYTparag& para = box_.Paragraph(p.paraIndex);
    if (std::size_t(p.lineIndex) + 1 < para.lines.size())
        return OnLine(p.paraIndex, p.lineIndex + 1, p.x);
    if (p.paraIndex >= box_.LastEditable()) return Exit(kExitDown, p);
    const std::int32_t next = p.paraIndex + 1;
    if (IsTable(next)) return Exit(kExitIntoTableDown, p, next);
    return OnLine(next, 0, p.x);
}

TKYTTextPos TKYTboxInput::LineUp(const TKYTTextPos& position) {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Resolved()) return p;
    if (p.lineIndex > 0) return OnLine(p.paraIndex, p.lineIndex - 1, p.x);
    if (p.paraIndex <= box_.FirstEditable()) return Exit(kExitUp, p);
    const std::int32_t previous = p.paraIndex - 1;
    if (IsTable(previous)) return Exit(kExitIntoTableUp, p, previous);
    const TKYTparag& prev = box_.Paragraph(previous);
    return OnLine(previous, std::int32_t(prev.lines.size()) - 1, p.x);
}

TKYTTextPos TKYTboxInput::WordLeft(const TKYTTextPos& position, bool forSelection) {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Valid() || p.paraIndex >= box_.ParagraphCount()) return p;
    const TKYTparag& para = box_.Paragraph(p.paraIndex);
    // Only a caret already at the paragraph's start leaves it; one that reaches the start while
    // moving stops there (the start of the paragraph's first word).
    if (p.charIndex == 0) {
        if (p.paraIndex <= box_.FirstEditable()) return Exit(kExitBackward, p);
        const TKYTparag& prev = box_.Paragraph(p.paraIndex - 1);
        return At(p.paraIndex - 1, Length(prev), std::int32_t(prev.lines.size()) - 1);
    }
    std::int32_t c = p.charIndex;
    if (!forSelection)
        --c;
    else if (IsWordChar(CharOf(para, c - 1)))
        --c;
    while (c > 0 && c < Length(para) && IsSeparator(CharOf(para, c))) --c;
    if (c > 0) {
        while (c > 0 && IsWordChar(CharOf(para, c))) --c;
        if (c != 0) ++c;
    }
    return At(p.paraIndex, c);
}

TKYTTextPos TKYTboxInput::WordRight(const TKYTTextPos& position, bool forSelection) {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Valid() || p.paraIndex >= box_.ParagraphCount()) return p;
    const TKYTparag& para = box_.Paragraph(p.paraIndex);
    const std::int32_t n = Length(para);
    // Only a caret already at the paragraph's end leaves it.
    if (p.charIndex >= n) {
        if (p.paraIndex >= box_.LastEditable()) return Exit(kExitForward, p);
        return At(p.paraIndex + 1, 0);
    }
    std::int32_t c = p.charIndex;
    if (!forSelection) {
        while (c < n && IsSeparator(CharOf(para, c))) ++c;
        if (c < n) ++c;
    }
    while (c < n && IsWordChar(CharOf(para, c))) ++c;
    if (forSelection)
        while (c < n && CharOf(para, c) == ' ') ++c;
    else
        while (c < n && IsSeparator(CharOf(para, c))) ++c;
    return At(p.paraIndex, c);
}

TKYTTextPos TKYTboxInput::ParaUp(const TKYTTextPos& position) {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Valid()) return p;
    if (p.paraIndex <= box_.FirstEditable()) return Exit(kExitUp, p);
    return At(p.paraIndex - 1, 0);
}

TKYTTextPos TKYTboxInput::ParaDown(const TKYTTextPos& position) {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Valid()) return p;
    if (p.paraIndex >= box_.LastEditable()) return Exit(kExitDown, p);
    return At(p.paraIndex + 1, 0);
}

TKYTTextPos TKYTboxInput::LineStart(const TKYTTextPos& position) const {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Resolved()) return p;
    const TKYTline& line = box_.Paragraph(p.paraIndex).lines[std::size_t(p.lineIndex)];
    return At(p.paraIndex, line.first, p.lineIndex);
}

TKYTTextPos TKYTboxInput::LineEnd(const TKYTTextPos& position) const {
    const TKYTTextPos p = box_.ResolvePosition(position);
    if (!p.Resolved()) return p;
    const TKYTline& line = box_.Paragraph(p.paraIndex).lines[std::size_t(p.lineIndex)];
    return At(p.paraIndex, line.first + line.count, p.lineIndex);
}

TKYTTextPos TKYTboxInput::TextStart() const {
    return At(box_.FirstEditable(), 0);
}

TKYTTextPos TKYTboxInput::TextEnd() const {
    const std::int32_t last = box_.LastEditable();
    if (last < 0 || last >= box_.ParagraphCount()) return TKYTTextPos{};
    const TKYTparag& p = box_.Paragraph(last);
    return At(last, Length(p), std::int32_t(p.lines.size()) - 1);
}

}  // namespace orvo
