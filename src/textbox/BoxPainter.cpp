// Painting a text box onto a canvas: background, inactive hatch, cell frame, list marks,
// runs with their link styling, the selection highlight, spelling marks and inline objects.
#include <algorithm>
#include <cstdlib>
#include <exception>

#include "model/uKYTogge.h"
#include "textbox/IInlineObject.h"
#include "textbox/LineBreaker.h"
#include "textbox/ListNumbering.h"
#include "textbox/uKYTbox.h"

namespace orvo {

namespace {

constexpr std::int32_t kDriftTolerance = 4;
constexpr std::int32_t kSpellColour = 0x020000FF;  // palette-relative red

std::int32_t FloorDiv(std::int32_t a, std::int32_t b) {
    std::int32_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

std::int32_t FloorMod(std::int32_t a, std::int32_t b) {
    return a - FloorDiv(a, b) * b;
}

}  // namespace

/// The drawing state carried from character to character through a paragraph's lines.
struct LinePaintState {
    TMyFont runFont;             // the recorded format in force
    std::int32_t link = -1;      // the link in force
    std::int32_t subOffset = 0;  // y offset of subscript text
    bool highlighted = false;
    std::int32_t selStart = 0;  // the paragraph's selected characters [selStart, selEnd)
    std::int32_t selEnd = 0;
};

void TKYTbox::Paint(ICanvas& canvas, const Rect& area) {
    if (updateDepth_ > 0 || area.Empty()) return;
    ClipGuard clip(canvas, area);
    PaintBackground(canvas, area);
    if (inactive && !runMode) {
        canvas.HatchRect(area, Hatch::ForwardDiagonal, SystemColour(kColourButtonHighlight));
        canvas.HatchRect(area, Hatch::BackwardDiagonal, SystemColour(kColourButtonShadow));
    }
    PaintFrame(canvas);
    NumberParagraphs(paragraphs_);
    const std::int32_t width = std::max(width_, layoutWidth_);
    for (std::int32_t i = 0; i < ParagraphCount(); ++i) {
        TKYTparag& p = Paragraph(i);
        if (!Rect{0, p.top, width, p.bottom + 1}.Intersects(area)) continue;
        PaintParagraph(canvas, p, i);
    }
}

void TKYTbox::PaintBackground(ICanvas& canvas, const Rect& area) {
    const CanvasImage& picture = backPicture_;
    if (!picture.Empty()) {
        if (!backPictureTransparent_ && !IsCellBox()) canvas.FillRect(area, backColour);
        const std::int32_t w = picture.width, h = picture.height;
        std::int32_t x0, y0;
        if (IsCellBox()) {
            // Aligned with the page's grid, so cell backgrounds line up with the page's.
            const Point origin = host_.BoxOriginInPage();
            x0 = FloorDiv(area.left, w) * w - FloorMod(origin.x, w);
            y0 = FloorDiv(area.top, h) * h - FloorMod(origin.y, h);
        } else if (backFixed) {
            const std::int32_t sx = host_.HorizontalPosition(), sy = host_.VerticalPosition();
            x0 = sx + FloorDiv(area.left - sx, w) * w;
            y0 = sy + FloorDiv(area.top - sy, h) * h;
        } else {
            x0 = FloorDiv(area.left, w) * w;
            y0 = FloorDiv(area.top, h) * h;
        }
        for (std::int32_t y = y0; y < area.bottom; y += h)
            for (std::int32_t x = x0; x < area.right; x += w) canvas.DrawImage(picture, x, y);
        return;
    }
    if (!transparent) canvas.FillRect(area, backColour);
}

void TKYTbox::PaintFrame(ICanvas& canvas) {
    if (!IsCellBox()) return;
    if (inactive || !host_.ShowBoundaries()) return;
    if (borderWidth == 0 && host_.ReadOnly()) return;
    const std::int32_t w = width_, h = height_;
    if (borderWidth > 0) {
        const Pen shadow{SystemColour(kColourButtonShadow), LineStyle::Solid, std::nullopt};
        const Pen light{SystemColour(kColourButtonHighlight), LineStyle::Solid, std::nullopt};
        for (std::int32_t k = 0; k < borderWidth; ++k) {
            const std::int32_t l = k, t = k, r = w - 1 - k, b = h - 1 - k;
            if (r <= l || b <= t) break;
            canvas.Line({l, t}, {r, t}, shadow);
            canvas.Line({l, t}, {l, b}, shadow);
            canvas.Line({r, t}, {r, b + 1}, light);
            canvas.Line({l, b}, {r, b}, light);
        }
        return;
    }
    const Pen dotted{0x000000, LineStyle::Dotted, 0xFFFFFF};
    canvas.Line({0, 0}, {w - 1, 0}, dotted);
    canvas.Line({w - 1, 0}, {w - 1, h - 1}, dotted);
    canvas.Line({w - 1, h - 1}, {0, h - 1}, dotted);
    canvas.Line({0, h - 1}, {0, 0}, dotted);
}

void TKYTbox::PaintParagraph(ICanvas& canvas, TKYTparag& paragraph, std::int32_t index) {
    if (paragraph.lines.empty()) return;
    ITextMeasurer& measurer = markup_.Measurer();
    const TKYTParaStyle& style = paragraph.style;
    const std::int32_t contentTop = paragraph.top + style.SpaceBefore();
    const std::int32_t width = std::max(width_, layoutWidth_);

    if ((paragraph.kind == kHeaderParagraph || paragraph.kind == kFooterParagraph) &&
        !IsCellBox() && !runMode) {
        const Rect band{0, paragraph.top - 2, width, paragraph.bottom + 1};
        canvas.HatchRect(band, Hatch::ForwardDiagonal, SystemColour(kColourButtonHighlight));
        canvas.HatchRect(band, Hatch::BackwardDiagonal, SystemColour(kColourButtonShadow));
    }

    LinePaintState state;
    state.runFont = style.AsMyFont();
    const TMyFont paragraphFont = WithFallback(state.runFont);
    canvas.SetFont(paragraphFont);
    canvas.SetTextBackground(std::nullopt);
    state.subOffset = state.runFont.position == kPositionSubscript
                          ? measurer.Metrics(paragraphFont).height / 2
                          : 0;

    // List marks, from the margin and indent as stored (without padding).
    const std::uint8_t listKind = style.ListKind();
    if ((listKind == kListNumbered || listKind == kListBulleted) && !paragraph.metrics.empty()) {
        const TKYTline& first = paragraph.lines.front();
        const std::int32_t markTop =
            contentTop + first.top + first.ascent - LayoutExtent(paragraph.metrics.front().ascent);
        const std::int32_t left = LayoutExtent(style.LeftMargin());
        const std::int32_t indent = LayoutExtent(style.FirstIndent());
        if (listKind == kListNumbered) {
            const std::string mark = ListNumberMark(paragraph.listNumber);
            canvas.TextOut(NumberMarkX(left, indent, canvas.TextExtent(mark)), markTop, mark);
        } else {
            const std::int32_t x = BulletMarkX(left, indent);
            if (measurer.IsInstalled("Wingdings")) {
                TMyFont bullet = paragraphFont;
                bullet.name = "Wingdings";
                canvas.SetFont(bullet);
                canvas.TextOut(x, markTop, "w");
                canvas.SetFont(paragraphFont);
            } else {
                canvas.TextOut(x, markTop, "\x95");  // a filled bullet in the paragraph's font
            }
        }
    }

    const std::int32_t length = std::int32_t(paragraph.text.size());
    state.selStart = state.selEnd = 0;
    if (selection_) {
        const auto [s, e] = SelectionRange();
        if (s.paraIndex <= index && index <= e.paraIndex) {
            state.selStart = s.paraIndex == index ? s.charIndex : 0;
            state.selEnd = e.paraIndex == index ? e.charIndex : length + 1;
        }
    }

    try {
        for (const TKYTline& line : paragraph.lines)
            PaintLine(canvas, paragraph, index, line, contentTop, state);
    } catch (const std::exception&) {
        // A line that fails to paint ends this paragraph; the others still paint.
    }
    canvas.SetTextBackground(std::nullopt);
}

void TKYTbox::PaintLine(ICanvas& canvas, TKYTparag& paragraph, std::int32_t /*index*/,
                        const TKYTline& line, std::int32_t contentTop, LinePaintState& state) {
    ITextMeasurer& measurer = markup_.Measurer();
    const TKYTParaStyle& style = paragraph.style;
    const std::int32_t baseline = contentTop + line.top + line.ascent;
    const std::int32_t measured = std::min<std::int32_t>(std::int32_t(paragraph.text.size()),
                                                         std::int32_t(paragraph.metrics.size()));
    const std::int32_t end = std::min(line.first + line.count, measured);
    const std::int32_t lineStart = line.indent + line.alignOffset;

    auto displayed = [&] {
        return WithFallback(state.link >= 0 ? LinkAppearance(state.runFont, style) : state.runFont);
    };
    auto applyFont = [&] {
        const TMyFont font = displayed();
        canvas.SetFont(font);
        if (state.highlighted) canvas.SetTextColour(SystemColour(kColourHighlightText));
    };
    auto setHighlight = [&](bool on) {
        state.highlighted = on;
        if (on) {
            canvas.SetTextBackground(SystemColour(kColourHighlight));
            canvas.SetTextColour(SystemColour(kColourHighlightText));
        } else {
            canvas.SetTextBackground(std::nullopt);
            canvas.SetTextColour(displayed().colour);
        }
    };
    setHighlight(state.selStart < state.selEnd && state.selStart <= line.first &&
                 line.first < state.selEnd);

    // Positions along the line are summed in 64 bits and drawn held in the int range: stored
    // widths may be hostile.
    std::int64_t x = lineStart;
    std::int32_t k = line.first;
    while (k < end) {
        TKYTcharMetric& m = paragraph.metrics[std::size_t(k)];
        bool fontChanged = false;
        if (m.fontIndex >= 0 && std::size_t(m.fontIndex) < paragraph.fonts.size()) {
            state.runFont = paragraph.fonts[std::size_t(m.fontIndex)].AsMyFont();
            fontChanged = true;
        }
        if (m.linkId != state.link) {
            state.link = m.linkId;
            fontChanged = true;
        }
        if (fontChanged) {
            applyFont();
            state.subOffset = state.runFont.position == kPositionSubscript
                                  ? measurer.Metrics(displayed()).height / 2
                                  : 0;
        }
        if (state.selStart < state.selEnd) {
            if (k == state.selStart) setHighlight(true);
            if (k == state.selEnd) setHighlight(false);
        }

        if (m.objectIndex >= 0 && std::size_t(m.objectIndex) < paragraph.objects.size()) {
            const TKYToggetto* object = paragraph.objects[std::size_t(m.objectIndex)];
            if (IInlineObject* view = object ? host_.ViewOf(*object) : nullptr) {
                const std::int32_t top = contentTop + line.top + line.ascent - m.ascent;
                if (view->NeedsPlacing()) view->PlaceAt(HeldInLayout(x), top);
                view->SetHighlighted(state.highlighted);
                if (drawObjectsOnCanvas) {
                    view->PaintOn(canvas, HeldInLayout(x), top);
                    // An object may draw its own text: the run's font and colours come back.
                    applyFont();
                    setHighlight(state.highlighted);
                }
            }
            x += m.width;
            ++k;
            continue;
        }

        // A run: the characters that follow in the same format, link and highlight.
        std::int32_t j = k + 1;
        while (j < end) {
            const TKYTcharMetric& n = paragraph.metrics[std::size_t(j)];
            if (n.fontIndex >= 0 || n.objectIndex >= 0 || n.linkId != state.link) break;
            if (state.selStart < state.selEnd && (j == state.selStart || j == state.selEnd)) break;
            ++j;
        }
        const std::string_view run(paragraph.text.data() + k, std::size_t(j - k));
        std::int64_t stored = 0;
        for (std::int32_t i = k; i < j; ++i) stored += paragraph.metrics[std::size_t(i)].width;
        const std::int32_t top = baseline + state.subOffset - m.ascent;
        if (std::abs(canvas.TextExtent(run) - stored) > kDriftTolerance) {
            // The device measures differently from the stored widths: place each character
            // after the previous one's fresh pair width, and keep those widths.
            std::int64_t cx = x;
            for (std::int32_t i = k; i < j; ++i) {
                const std::string_view one(paragraph.text.data() + i, 1);
                std::int32_t width;
                if (i == k) {
                    width = canvas.TextExtent(one);
                } else {
                    const std::string_view pair(paragraph.text.data() + i - 1, 2);
                    width = canvas.TextExtent(pair) -
                            canvas.TextExtent(std::string_view(paragraph.text.data() + i - 1, 1));
                }
                canvas.TextOut(HeldInLayout(cx), top, one);
                paragraph.metrics[std::size_t(i)].width = width;
                cx += width;
            }
        } else {
            canvas.TextOut(HeldInLayout(x), top, run);
        }
        x += stored;
        k = j;
    }
    if (state.selStart < state.selEnd && end == state.selEnd) setHighlight(false);

    // Spelling marks under every stretch of characters flagged "!".
    if (!paragraph.spellFlags.empty()) {
        const std::int32_t flagged =
            std::min<std::int32_t>(end, std::int32_t(paragraph.spellFlags.size()));
        std::int64_t cx = lineStart;
        std::int64_t stretchStart = -1;
        const Pen pen{kSpellColour, LineStyle::Dotted, std::nullopt};
        auto underline = [&](std::int64_t from, std::int64_t to) {
            canvas.Line({HeldInLayout(from), baseline + 2}, {HeldInLayout(to), baseline + 2}, pen);
            canvas.Line({HeldInLayout(from + 2), baseline + 1}, {HeldInLayout(to), baseline + 1},
                        pen);
        };
        for (std::int32_t i = line.first; i < end; ++i) {
            const bool bad = i < flagged && paragraph.spellFlags[std::size_t(i)] == '!';
            if (bad && stretchStart < 0) stretchStart = cx;
            if (!bad && stretchStart >= 0) {
                underline(stretchStart, cx);
                stretchStart = -1;
            }
            cx += paragraph.metrics[std::size_t(i)].width;
        }
        if (stretchStart >= 0) underline(stretchStart, cx);
    }
}

}  // namespace orvo
