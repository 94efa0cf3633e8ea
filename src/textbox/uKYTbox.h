// TKYTbox: a text box that lays out, paints and hit-tests the paragraphs of a rich text, as
// page text (the page's own text flow, with header and footer paragraphs) or as a cell box
// (the text of one table cell, growing to fit, with an inner padding).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/Markup.h"
#include "platform/ICanvas.h"
#include "textbox/IBoxHost.h"
#include "textbox/TKYTTextPos.h"

namespace orvo {

/// Hit-test modes: the editable paragraphs only (header and footer paragraphs excluded), or
/// every paragraph.
inline constexpr int kHitEditable = 0;
inline constexpr int kHitAll = 5;

struct LinePaintState;

class TKYTbox {
public:
    /// A page-text box when `table` is none, else a cell box of that table. The hosts outlive
    /// the box.
    TKYTbox(IMarkupHost& markup, IBoxHost& host, ITableHost* table = nullptr);
    ~TKYTbox();
    TKYTbox(const TKYTbox&) = delete;
    TKYTbox& operator=(const TKYTbox&) = delete;

    // The update lock (see UpdateLock). While it is held, painting does nothing.
    void BeginUpdate();
    void EndUpdate();
    std::int32_t UpdateDepth() const { return updateDepth_; }

    /// Builds the paragraphs from up to three texts (markup ending with a 0x00 byte; an
    /// empty view gives no paragraphs): header paragraphs, body, footer paragraphs. The body
    /// always gets at least one editable paragraph. Page text is laid out at the host's
    /// client width; the caret goes to the start of the first editable paragraph. Header and
    /// footer texts belong to other texts: they are read (and later rewritten) through their
    /// own markup hosts when given, else through the box's.
    void LoadText(std::optional<std::string_view> header, std::string_view body,
                  std::optional<std::string_view> footer, IMarkupHost* headerHost = nullptr,
                  IMarkupHost* footerHost = nullptr);

    /// Lays out every paragraph from the first one's top and sizes the box.
    void RelayoutAll();
    /// Lays out paragraphs firstPara..lastPara from `top`, shifts those below when the last
    /// one's bottom moved from oldBottom, and repaints the range; with selectAfter the range
    /// becomes the selection.
    void RelayoutRange(std::int32_t firstPara, std::int32_t lastPara, bool selectAfter,
                       std::int32_t oldBottom, std::int32_t top);
    /// Writes paragraphs firstPara..lastPara to markup and reads them back into fresh
    /// paragraphs (formats normalised), keeping their kinds, tops and bottoms.
    void ReplaceParagraphs(std::int32_t firstPara, std::int32_t lastPara);
    /// ReplaceParagraphs over the whole text, tables reformat their cells, and everything is
    /// laid out again.
    void ReformatAll();
    /// Moves paragraphs fromPara..end by dy and updates the scroll range or the box height.
    void ShiftParagraphs(std::int32_t dy, std::int32_t fromPara);

    /// The position under (x, y) of the box. Modes 0, 3 and 4 search the editable
    /// paragraphs only. No position (paraIndex -1) when the box has none.
    TKYTTextPos HitTest(int mode, std::int32_t x, std::int32_t y) const;
    /// The position with its line, x, y and height filled in; height -1 when it names no
    /// paragraph.
    TKYTTextPos ResolvePosition(const TKYTTextPos& position) const;
    /// Scrolls the page so that the rectangle (box pixels) is visible.
    void ScrollIntoView(std::int32_t x, std::int32_t y, std::int32_t height, std::int32_t width);

    /// Paints the part `area` of the box. Nothing while an update is in progress. Runs whose
    /// drawn width drifts more than 4 pixels from the stored widths are drawn character by
    /// character, and those widths are stored.
    void Paint(ICanvas& canvas, const Rect& area);

    /// The box's client size changed (page text): when it differs from the layout width and
    /// no update is in progress, the text is laid out again at the page's client width.
    void Resize(std::int32_t width, std::int32_t height);

    // State.
    const Paragraphs& AllParagraphs() const { return paragraphs_; }
    Paragraphs& MutableParagraphs() { return paragraphs_; }
    std::int32_t ParagraphCount() const { return std::int32_t(paragraphs_.size()); }
    TKYTparag& Paragraph(std::int32_t index) { return *paragraphs_[std::size_t(index)]; }
    const TKYTparag& Paragraph(std::int32_t index) const {
        return *paragraphs_[std::size_t(index)];
    }
    /// The first and last editable paragraph (between the header and footer paragraphs).
    std::int32_t FirstEditable() const { return headCount_; }
    std::int32_t LastEditable() const { return ParagraphCount() - footCount_ - 1; }

    bool IsCellBox() const { return table_ != nullptr; }
    std::int32_t HeadCount() const { return headCount_; }
    std::int32_t FootCount() const { return footCount_; }
    std::int32_t LayoutWidth() const { return layoutWidth_; }
    std::int32_t UsedWidth() const { return usedWidth_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    bool Loaded() const { return loaded_; }

    std::int32_t borderWidth = 0;
    std::int32_t padding = 0;
    std::int32_t backColour = 0xC0C0C0;
    bool backFixed = false;
    bool transparent = false;
    std::int32_t minHalfWidth = 10;

    /// The picture tiled as background (pixels owned by the caller, kept while set); an
    /// empty image for none. `pictureTransparent`: the picture lets the colour show through.
    void SetBackPicture(const CanvasImage& picture, bool pictureTransparent);
    const CanvasImage& BackPicture() const { return backPicture_; }

    bool runMode = false;  // the page is browsed, not edited
    bool displayFlag = false;
    /// Switches run mode: on, the selection is hidden; the inline objects follow; with
    /// clearSpelling every paragraph's spelling marks go.
    void SetRunMode(bool on, bool clearSpelling);
    /// The extra display flag, passed to every inline object.
    void SetDisplayFlag(bool on);
    /// Paragraph `index` must be painted again: (0, top) to (width, bottom + 1).
    void InvalidateParagraph(std::int32_t index);
    bool inactive = false;  // the page is shown but not the one being edited

    /// The caret's position (resolved again after every layout).
    const TKYTTextPos& Caret() const { return caret_; }
    void SetCaret(const TKYTTextPos& position);
    /// The selection drawn, from `anchor` to `active` (either order); none hides it.
    void SetSelection(const TKYTTextPos& anchor, const TKYTTextPos& active);
    /// Draw inline objects onto the canvas while painting (offscreen pictures, printing);
    /// off for a screen whose objects are child windows that draw themselves.
    bool drawObjectsOnCanvas = false;
    void ClearSelection() { selection_.reset(); }
    bool SelectionShown() const { return selection_.has_value(); }
    /// The selection's start and end, ordered.
    std::pair<TKYTTextPos, TKYTTextPos> SelectionRange() const;

    IMarkupHost& MarkupHost() const { return markup_; }
    /// The markup host a paragraph of that kind is read and written through.
    IMarkupHost& HostFor(std::uint8_t kind) const;
    IBoxHost& Host() const { return host_; }
    /// The face drawn and measured for `name`: itself, or "Times New Roman" when it is not
    /// installed.
    TMyFont WithFallback(TMyFont font) const;

private:
    void PaintParagraph(ICanvas& canvas, TKYTparag& paragraph, std::int32_t index);
    void PaintLine(ICanvas& canvas, TKYTparag& paragraph, std::int32_t index, const TKYTline& line,
                   std::int32_t contentTop, LinePaintState& state);
    void PaintBackground(ICanvas& canvas, const Rect& area);
    void PaintFrame(ICanvas& canvas);
    void SizeAfterLayout();
    void KeepVerticalDistance(std::int32_t newRange);
    void InvalidateParagraph(const TKYTparag& paragraph);
    template <class F>
    void ForEachObjectView(F&& f);
    void InvalidateAll();
    std::int32_t TextBottom() const;
    void RefreshPositions();
    void FirstTopAfterLoad();

    IMarkupHost& markup_;
    IBoxHost& host_;
    ITableHost* table_;
    IMarkupHost* headerHost_ = nullptr;
    IMarkupHost* footerHost_ = nullptr;
    Paragraphs paragraphs_;
    std::int32_t headCount_ = 0;
    std::int32_t footCount_ = 0;
    std::int32_t layoutWidth_ = 0;
    std::int32_t usedWidth_ = 0;
    std::int32_t updateDepth_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t requestedWidth_ = 0;
    std::int32_t requestedHeight_ = 0;
    bool loaded_ = false;
    CanvasImage backPicture_;
    bool backPictureTransparent_ = false;
    TKYTTextPos caret_;
    std::optional<std::pair<TKYTTextPos, TKYTTextPos>> selection_;
};

}  // namespace orvo
