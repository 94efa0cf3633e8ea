// TKYTbox: loading, the update lock, stacking paragraphs, incremental relayout and shifting.
#include "textbox/uKYTbox.h"

#include <algorithm>

#include "base/ByteStream.h"
#include "textbox/IInlineObject.h"
#include "textbox/LineBreaker.h"
#include "textbox/UpdateLock.h"

namespace orvo {

namespace {
constexpr std::string_view kFallbackFace = "Times New Roman";
constexpr std::string_view kEmptyParagraph{"<Z S0 >\0", 8};
}  // namespace

UpdateLock::UpdateLock(TKYTbox& box) : box_(box) {
    box_.BeginUpdate();
}
UpdateLock::~UpdateLock() {
    box_.EndUpdate();
}

TKYTbox::TKYTbox(IMarkupHost& markup, IBoxHost& host, ITableHost* table)
    : markup_(markup), host_(host), table_(table) {}

TKYTbox::~TKYTbox() {
    host_.StopSpellCheck();
}

void TKYTbox::BeginUpdate() {
    if (++updateDepth_ == 1) host_.StopSpellCheck();
}

void TKYTbox::EndUpdate() {
    if (updateDepth_ <= 0) return;
    if (--updateDepth_ == 0 && (loaded_ || IsCellBox())) host_.RearmSpellCheck();
}

TMyFont TKYTbox::WithFallback(TMyFont font) const {
    if (!markup_.Measurer().IsInstalled(font.name)) font.name = std::string(kFallbackFace);
    return font;
}

void TKYTbox::SetBackPicture(const CanvasImage& picture, bool pictureTransparent) {
    backPicture_ = picture;
    backPictureTransparent_ = pictureTransparent;
}

void TKYTbox::SetCaret(const TKYTTextPos& position) {
    caret_ = ResolvePosition(position);
}

void TKYTbox::SetSelection(const TKYTTextPos& anchor, const TKYTTextPos& active) {
    selection_ = std::make_pair(anchor, active);
}

std::pair<TKYTTextPos, TKYTTextPos> TKYTbox::SelectionRange() const {
    if (!selection_) return {caret_, caret_};
    const auto& [a, b] = *selection_;
    return PositionBefore(b, a) ? std::make_pair(b, a) : std::make_pair(a, b);
}

std::int32_t TKYTbox::TextBottom() const {
    return paragraphs_.empty() ? 0 : paragraphs_.back()->bottom;
}

void TKYTbox::RefreshPositions() {
    auto refresh = [&](TKYTTextPos& p) {
        if (p.paraIndex >= 0 && p.paraIndex < ParagraphCount())
            p = ResolvePosition(p);
        else
            p = TKYTTextPos{};
    };
    refresh(caret_);
    if (selection_) {
        refresh(selection_->first);
        refresh(selection_->second);
    }
}

IMarkupHost& TKYTbox::HostFor(std::uint8_t kind) const {
    if (kind == kHeaderParagraph && headerHost_) return *headerHost_;
    if (kind == kFooterParagraph && footerHost_) return *footerHost_;
    return markup_;
}

template <class F>
void TKYTbox::ForEachObjectView(F&& f) {
    for (auto& p : paragraphs_)
        for (const TKYToggetto* object : p->objects)
            if (object)
                if (IInlineObject* view = host_.ViewOf(*object)) f(*view);
}

void TKYTbox::LoadText(std::optional<std::string_view> header, std::string_view body,
                       std::optional<std::string_view> footer, IMarkupHost* headerHost,
                       IMarkupHost* footerHost) {
    UpdateLock lock(*this);
    headerHost_ = headerHost;
    footerHost_ = footerHost;
    paragraphs_.clear();
    headCount_ = footCount_ = 0;
    caret_ = TKYTTextPos{};
    selection_.reset();

    auto append = [&](std::string_view markup, std::uint8_t kind) {
        if (markup.empty()) return std::int32_t(0);
        Paragraphs read = ReadText(markup, HostFor(kind), 0);
        for (auto& p : read) {
            p->kind = kind;
            paragraphs_.push_back(std::move(p));
        }
        return std::int32_t(read.size());
    };
    if (header) headCount_ = append(*header, kHeaderParagraph);
    const std::int32_t bodyCount = append(body, kBodyParagraph);
    if (bodyCount == 0) {
        // Every caller (caret, selection, editing) needs one editable paragraph to stand on.
        Paragraphs empty = ReadText(kEmptyParagraph, markup_, 0);
        for (auto& p : empty) {
            p->kind = kBodyParagraph;
            paragraphs_.push_back(std::move(p));
        }
    }
    if (footer) footCount_ = append(*footer, kFooterParagraph);

    FirstTopAfterLoad();
    if (!IsCellBox()) {
        layoutWidth_ = usedWidth_ = std::max(host_.ClientWidth(), 2 * minHalfWidth);
    } else if (layoutWidth_ <= 0) {
        layoutWidth_ = usedWidth_ = std::max(width_, 2 * minHalfWidth);
    }
    RelayoutAll();
    if (!IsCellBox())
        host_.SetVerticalScroll(TextBottom() + 1,
                                std::min(host_.VerticalPosition(), TextBottom() + 1));

    TKYTTextPos start;
    start.paraIndex = std::min(headCount_, ParagraphCount() - 1);
    start.charIndex = 0;
    caret_ = ResolvePosition(start);
    loaded_ = true;
    host_.RefreshTools();
}

void TKYTbox::FirstTopAfterLoad() {
    if (paragraphs_.empty()) return;
    TKYTparag& first = *paragraphs_.front();
    const std::int32_t spaceBefore = first.style.SpaceBefore();
    if (IsCellBox())
        first.top = spaceBefore + padding;
    else
        first.top = spaceBefore != 0 ? spaceBefore : 8;
}

void TKYTbox::KeepVerticalDistance(std::int32_t newRange) {
    // The position stays where it is as far as the new range allows.
    host_.SetVerticalScroll(newRange, host_.VerticalPosition());
}

void TKYTbox::RelayoutAll() {
    if (paragraphs_.empty()) return;
    LineBreakContext context{layoutWidth_, IsCellBox() ? padding : 0, layoutWidth_, &host_};
    std::int32_t y = paragraphs_.front()->top;
    for (auto& p : paragraphs_) y = LayoutParagraph(*p, y, context);
    usedWidth_ = context.usedWidth;
    SizeAfterLayout();
    RefreshPositions();
    InvalidateAll();
}

void TKYTbox::SizeAfterLayout() {
    const std::int32_t nextTop = TextBottom() + 1;
    if (IsCellBox()) {
        width_ = usedWidth_;
        height_ = nextTop + padding;
        host_.BoxResized(width_, height_);
        table_->ArrangeCells();
        return;
    }
    height_ = std::max(requestedHeight_, nextTop);
    width_ = std::max({requestedWidth_, usedWidth_, host_.ClientWidth(), 2 * minHalfWidth});
    host_.BoxResized(width_, height_);
    if (usedWidth_ > layoutWidth_)
        host_.SetHorizontalScroll(usedWidth_, host_.HorizontalPosition());
    else
        host_.SetHorizontalScroll(0, 0);
    KeepVerticalDistance(nextTop);
}

void TKYTbox::Resize(std::int32_t width, std::int32_t height) {
    const bool widthChanged = width != width_;
    requestedWidth_ = width;
    requestedHeight_ = height;
    if (IsCellBox()) {
        if (layoutWidth_ != width && width > 0) {
            layoutWidth_ = usedWidth_ = width;
            if (updateDepth_ == 0 && !paragraphs_.empty()) RelayoutAll();
        }
        return;
    }
    const std::int32_t client = std::max(host_.ClientWidth(), 2 * minHalfWidth);
    if ((widthChanged || client != layoutWidth_) && updateDepth_ == 0 && !paragraphs_.empty()) {
        layoutWidth_ = usedWidth_ = client;
        RelayoutAll();
    }
}

void TKYTbox::RelayoutRange(std::int32_t firstPara, std::int32_t lastPara, bool selectAfter,
                            std::int32_t oldBottom, std::int32_t top) {
    if (paragraphs_.empty()) return;
    firstPara = std::max(firstPara, 0);
    lastPara = std::min(lastPara, ParagraphCount() - 1);
    if (firstPara > lastPara) return;
    const std::int32_t oldUsed = usedWidth_;
    LineBreakContext context{layoutWidth_, IsCellBox() ? padding : 0, usedWidth_, &host_};
    std::int32_t y = top;
    for (std::int32_t i = firstPara; i <= lastPara; ++i)
        y = LayoutParagraph(Paragraph(i), y, context);
    usedWidth_ = context.usedWidth;
    if (usedWidth_ != oldUsed) {
        if (IsCellBox()) {
            width_ = usedWidth_;
            host_.BoxResized(width_, height_);
            table_->ArrangeCells();
        } else {
            width_ = std::max(width_, usedWidth_);
            host_.BoxResized(width_, height_);
            host_.SetHorizontalScroll(usedWidth_ > layoutWidth_ ? usedWidth_ : 0,
                                      host_.HorizontalPosition());
        }
    }
    const std::int32_t newBottom = Paragraph(lastPara).bottom;
    if (newBottom != oldBottom) ShiftParagraphs(newBottom - oldBottom, lastPara + 1);
    for (std::int32_t i = firstPara; i <= lastPara; ++i) InvalidateParagraph(Paragraph(i));
    if (selectAfter) {
        TKYTTextPos a, b;
        a.paraIndex = firstPara;
        a.charIndex = 0;
        b.paraIndex = lastPara;
        b.charIndex = std::int32_t(Paragraph(lastPara).text.size());
        selection_ = std::make_pair(ResolvePosition(a), ResolvePosition(b));
    }
    RefreshPositions();
}

void TKYTbox::ShiftParagraphs(std::int32_t dy, std::int32_t fromPara) {
    if (paragraphs_.empty()) return;
    fromPara = std::max(fromPara, 0);
    // The text's old bottom: the bottom of the last paragraph before it moves (the edited
    // range above has already been laid out when nothing follows it).
    const std::int32_t oldBottom = fromPara < ParagraphCount() ? TextBottom() : TextBottom() - dy;
    const std::int32_t areaWidth = std::max(width_, layoutWidth_);
    if (!IsCellBox()) {
        // Uncovered by a text that got shorter, or covered by one that grew.
        const std::int32_t from = std::min(oldBottom, oldBottom + dy);
        host_.Invalidate({0, from, areaWidth, from + host_.ClientHeight() + (dy < 0 ? -dy : dy)});
    }
    for (std::int32_t i = fromPara; i < ParagraphCount(); ++i)
        ShiftParagraph(Paragraph(i), dy, &host_);
    const std::int32_t nextTop = TextBottom() + 1;
    if (IsCellBox()) {
        height_ = nextTop + padding;
        host_.BoxResized(width_, height_);
        table_->RelayoutTableParagraph();
    } else {
        height_ = std::max(requestedHeight_, nextTop);
        host_.BoxResized(width_, height_);
        KeepVerticalDistance(nextTop);
    }
    for (std::int32_t i = fromPara; i < ParagraphCount(); ++i) InvalidateParagraph(Paragraph(i));
    RefreshPositions();
}

void TKYTbox::ReplaceParagraphs(std::int32_t firstPara, std::int32_t lastPara) {
    if (paragraphs_.empty()) return;
    firstPara = std::max(firstPara, 0);
    lastPara = std::min(lastPara, ParagraphCount() - 1);
    for (std::int32_t i = firstPara; i <= lastPara; ++i) {
        TKYTparag& old = Paragraph(i);
        IMarkupHost& host = HostFor(old.kind);
        MemoryStream stream;
        if (!old.WriteMarkup(stream, wmSnapshot, 0, -1, host)) continue;
        std::string markup = stream.TakeBytes();
        markup.push_back('\0');
        Paragraphs fresh = ReadText(markup, host, wmSnapshot);
        if (fresh.size() != 1) continue;  // keep the paragraph as it was
        TKYTparag& p = *fresh.front();
        p.kind = old.kind;
        p.top = old.top;
        p.bottom = old.bottom;
        p.listNumber = old.listNumber;
        if (p.text == old.text) p.spellFlags = old.spellFlags;
        if (p.lines.empty()) p.lines = old.lines;
        for (TKYTline& line : p.lines) line.paragraph = &p;
        paragraphs_[std::size_t(i)] = std::move(fresh.front());
    }
    RefreshPositions();
}

void TKYTbox::ReformatAll() {
    if (paragraphs_.empty()) return;
    UpdateLock lock(*this);
    ReplaceParagraphs(0, ParagraphCount() - 1);
    ForEachObjectView([](IInlineObject& view) {
        if (view.IsTable()) view.Reformat();
    });
    RelayoutAll();
}

void TKYTbox::SetRunMode(bool on, bool clearSpelling) {
    runMode = on;
    if (on) selection_.reset();
    ForEachObjectView([on](IInlineObject& view) { view.SetRunMode(on); });
    if (on && clearSpelling)
        for (auto& p : paragraphs_) p->spellFlags.clear();
    InvalidateAll();
}

void TKYTbox::SetDisplayFlag(bool on) {
    displayFlag = on;
    ForEachObjectView([on](IInlineObject& view) { view.SetDisplayFlag(on); });
}

void TKYTbox::InvalidateParagraph(std::int32_t index) {
    if (index >= 0 && index < ParagraphCount()) InvalidateParagraph(Paragraph(index));
}

void TKYTbox::InvalidateParagraph(const TKYTparag& paragraph) {
    host_.Invalidate({0, paragraph.top, std::max(width_, layoutWidth_), paragraph.bottom + 1});
}

void TKYTbox::InvalidateAll() {
    host_.Invalidate({0, 0, std::max(width_, layoutWidth_), std::max(height_, TextBottom() + 1)});
}

}  // namespace orvo
