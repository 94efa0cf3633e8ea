// Printing a page: the print views of its objects, reading its texts on the printer, laying
// them out, and cutting the text into sheets.
#include "textbox/uKYTprint.h"

#include <algorithm>
#include <cmath>

#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "textbox/LineBreaker.h"
#include "textbox/ListNumbering.h"
#include "textbox/TPageSetupDialog.h"

namespace orvo {

namespace {

using K = TOggettiHel;

// Stored lengths are pixels at the screen's resolution.
constexpr double kScreenPixelsPerInch = 96.0;
// The longest stored length printing scales (about 277 m on the screen).
constexpr std::int64_t kMaxScreenLength = 1 << 20;

bool Within(std::uint8_t value, std::initializer_list<std::uint8_t> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// The pixel rows a paragraph's text takes: from its top, or its first line (or that line's list
// mark, when the mark is taller than the line's letters) when negative spacing puts that
// higher, to its bottom row, or below its lines when negative spacing puts the bottom above
// them. A degenerate paragraph still takes its top row.
std::int32_t TextStartOf(const TKYTparag& p) {
    const std::int32_t contentTop = p.style.SpaceBefore() + p.top;
    if (p.lines.empty()) return p.top;
    std::int32_t start = std::min(p.top, contentTop + p.lines.front().top);
    if (const auto mark = TKYTboxP::ListMarkOffset(p)) start = std::min(start, contentTop + *mark);
    return start;
}
std::int32_t EndOf(const TKYTparag& p) {
    std::int32_t end = std::max(p.top, p.bottom) + 1;
    // A fixed line height lower than what a line holds (a table, large letters) lets the line
    // reach below its height: the paragraph reaches as far.
    const std::int32_t contentTop = p.style.SpaceBefore() + p.top;
    // What a line draws starts at most its ascent below its top (a letter of no height, or a
    // list mark beside one, at the baseline): the paragraph reaches below that row.
    for (const TKYTline& line : p.lines)
        end = std::max(end, contentTop + line.top + std::max({line.height, line.ascent + 1, 1}));
    return end;
}

}  // namespace

void TPrintual::SetBounds(std::int32_t newX, std::int32_t newY, std::int32_t newHeight,
                          std::int32_t newWidth) {
    x = newX;
    y = newY;
    height = newHeight;
    width = newWidth;
}

Point TPrintual::Absolute() const {
    Point p;
    int steps = 0;
    for (const TPrintual* at = this; at && !at->isRoot && steps < 4096; at = at->parent, ++steps) {
        p.x += at->x;
        p.y += at->y;
    }
    return p;
}

bool TPrintual::Contains(const TPrintual* box) const {
    // The chain is bounded: parents are set as objects are placed, and a hostile text may
    // have looped them before the placing rules refused it.
    int steps = 0;
    for (const TPrintual* at = box; at && steps < 4096; at = at->parent, ++steps)
        if (at == this) return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Print views.

std::unique_ptr<TPrintual> CreatePrintView(const TKYToggetto& object, TKYTpageP& owner) {
    const std::uint8_t subtype = object.Subtype();
    std::unique_ptr<TMyyPrintual> view;
    switch (object.Kind()) {
        case K::testoHtml:
            owner.Set().Messages().Error(kNotThisOne);
            return nullptr;
        case K::tabellaHtml: {
            auto table = std::make_unique<TMyyTableP>(owner);
            table->SetTable(object);
            return table;
        }
        case K::shortObj:
            if (Within(subtype, {5, 10, 11, 12, 13, 14, 15}))
                view = std::make_unique<TMyyRectangleP>(owner);
            break;
        case K::immagineNew:
            view = std::make_unique<TMyyImageP>(owner, owner.Set());
            break;
        case K::inputStat:
            if (Within(subtype, {1, 2, 3, 4, 6, 7, 8, 9, 18}))
                view = std::make_unique<TMyyRectangleP>(owner);
            break;
        case K::inputDin:
            if (Within(subtype, {2, 6, 7, 11, 12})) view = std::make_unique<TMyyRectangleP>(owner);
            break;
        case K::bottoneCGI:
        case K::inizioForm:
        case K::multiMedia:
            view = std::make_unique<TMyyRectangleP>(owner);
            break;
        default:
            break;
    }
    if (view) view->SetObject(&object);
    return view;
}

void TKYTpageP::MakeViews(TKYTtesto& text) {
    for (const auto& object : text.pageObjects)
        if (object && !views_.count(object.get()))
            if (auto view = CreatePrintView(*object, *this))
                views_.emplace(object.get(), std::move(view));
}

std::unique_ptr<TKYTboxP> CreatePrintView(TKYTtesto& text, TKYTpageP& owner) {
    auto box = std::make_unique<TKYTboxP>(owner);
    box->isRoot = true;
    box->width = owner.printWidth;
    box->height = owner.printHeight;
    const PageRecord record = PageRecord::Read(text);
    box->backColour = record.BackgroundColour();
    box->backPicture = record.BackgroundPicture();

    owner.MakeViews(text);
    if (text.headerText) owner.MakeViews(*text.headerText);
    if (text.footerText) owner.MakeViews(*text.footerText);

    if (text.TextVersion() == 1) {
        owner.Set().Messages().Error(kPrintTextVersion1);
        return box;
    }
    auto hostFor = [&](TKYTtesto& of) {
        auto host = std::make_unique<TextMarkupHost>(owner.Set(), of, owner.Measurer());
        host->sizes = [&owner](const TKYToggetto& object) -> ObjectSize {
            if (IInlineObject* view = owner.InlineViewOf(object)) return view->Size();
            return {};
        };
        host->tables = [&owner](const TKYToggetto& object) -> ITableCells* {
            return dynamic_cast<TMyyTableP*>(owner.PrintViewOf(object));
        };
        TextMarkupHost* raw = host.get();
        owner.hosts_.push_back(std::move(host));
        return raw;
    };
    auto contentOf = [](const TKYTtesto* of) -> std::string {
        if (!of) return {};
        Result<std::string> bytes = of->ContentBytes();
        return bytes.ok() ? std::move(*bytes) : std::string();
    };
    const std::string header = contentOf(text.headerText.get());
    const std::string body = contentOf(&text);
    const std::string footer = contentOf(text.footerText.get());
    IMarkupHost* headerHost = text.headerText ? hostFor(*text.headerText) : nullptr;
    IMarkupHost& bodyHost = *hostFor(text);
    IMarkupHost* footerHost = text.footerText ? hostFor(*text.footerText) : nullptr;
    box->LoadPrintText(headerHost, header, bodyHost, body, footerHost, footer);
    return box;
}

// ---------------------------------------------------------------------------------------------
// The page.

TKYTpageP::TKYTpageP(TKYTset& set, IPrintDevice& device) : set_(set), device_(device) {}

TKYTpageP::~TKYTpageP() {
    // The root's paragraphs point at objects of the text: the views and the box go first.
    root_.reset();
    views_.clear();
    hosts_.clear();
    text_.reset();
}

TPrintual* TKYTpageP::PrintViewOf(const TKYToggetto& object) const {
    auto it = views_.find(&object);
    return it == views_.end() ? nullptr : it->second.get();
}

IInlineObject* TKYTpageP::InlineViewOf(const TKYToggetto& object) const {
    return dynamic_cast<IInlineObject*>(PrintViewOf(object));
}

std::int32_t TKYTpageP::AcrossFromScreen(std::int32_t pixels) const {
    if (!pageSetup_) return pixels;
    const double mm = PixelsToUnit(pixels, std::uint8_t(LengthUnit::Mm), kScreenPixelsPerInch);
    return pageSetup_->Across(mm * 100.0);
}

std::int32_t TKYTpageP::DownFromScreen(std::int32_t pixels) const {
    if (!pageSetup_) return pixels;
    const double mm = PixelsToUnit(pixels, std::uint8_t(LengthUnit::Mm), kScreenPixelsPerInch);
    return pageSetup_->Down(mm * 100.0);
}

void TKYTpageP::SetBand(const Rect& area) {
    band = area;
    topOffset_ = -1;
}

std::int32_t TKYTpageP::TopOffset() {
    if (topOffset_ == -1 && pageSetup_)
        topOffset_ = pageSetup_->Down(pageSetup_->MarginTop()) - band.top;
    return topOffset_;
}

std::int32_t TKYTpageP::LeftOffset() {
    if (leftOffset_ == -1 && pageSetup_) leftOffset_ = pageSetup_->Across(pageSetup_->MarginLeft());
    return leftOffset_;
}

bool TKYTpageP::Riempi(const TKYToggetto* pageObject, TPageSetupDialog& setup) {
    if (!pageObject) {
        set_.Messages().Error(kInvalidRiempi);
        return false;
    }
    std::unique_ptr<TKYTtesto> text = OpenText(set_, *pageObject, false);
    // A page never serves as its own header or footer.
    if (HeaderPageOf(set_, *text) < 0) text->headerText.reset();
    if (FooterPageOf(set_, *text) < 0) text->footerText.reset();
    text_ = std::move(text);
    pageNumber = pageObject->Identifier();
    return Print(setup);
}

bool TKYTpageP::Riempi(std::unique_ptr<TKYTtesto> text, TPageSetupDialog& setup) {
    if (!text) {
        set_.Messages().Error(kInvalidRiempi);
        return false;
    }
    text_ = std::move(text);
    pageNumber = -1;
    return Print(setup);
}

bool TKYTpageP::Print(TPageSetupDialog& setup) {
    pageSetup_ = &setup;
    sheets_ = 0;
    if (!device_.Reachable()) {
        set_.Messages().Error(kNoPrinterReachable);
        return false;
    }
    setup.UpdateFactors(device_);
    const PrinterCapabilities caps = device_.Capabilities();
    printHeight = caps.pageHeight - setup.Down(double(setup.MarginTop()) + setup.MarginBottom());
    printWidth = caps.pageWidth - setup.Across(double(setup.MarginLeft()) + setup.MarginRight());
    if (setup.Fx() <= 0 || setup.Fy() <= 0 || printHeight <= 0 || printWidth <= 0) {
        set_.Messages().Error(kNoPrintableArea);
        return false;
    }
    bottomRoom = std::max(0, caps.pageHeight - setup.Down(setup.MarginTop()) - printHeight);
    const std::int32_t scale = std::clamp(imageScale, 20, 20000);
    scaleX = setup.Across(scale);
    scaleY = setup.Down(scale);
    topOffset_ = leftOffset_ = -1;

    if (!device_.BeginJob(std::string(kPrintJobTitle) + text_->Name())) {
        set_.Messages().Error(kNoPrinterReachable);
        return false;
    }
    sheets_ = 1;
    root_ = CreatePrintView(*text_, *this);
    root_->Print();
    return device_.EndJob();
}

// ---------------------------------------------------------------------------------------------
// Boxes: reading and layout.

TKYTboxP::TKYTboxP(TKYTpageP& page, const TKYToggetto* tableObject)
    : TPrintual(page), tableObject_(tableObject) {}

TKYTboxP::~TKYTboxP() = default;

bool TKYTboxP::CoversArea() const {
    return !transparent;
}

IInlineObject* TKYTboxP::ViewOf(const TKYToggetto& object) {
    TPrintual* view = page_.PrintViewOf(object);
    if (!view) return nullptr;
    if (!view->parent) view->parent = this;
    if (auto* printual = dynamic_cast<TMyyPrintual*>(view)) printual->Prepare();
    return dynamic_cast<IInlineObject*>(view);
}

void TKYTboxP::ConvertForPrinter(TKYTparag& p) {
    TKYTParaStyle& style = p.style;
    // Stored lengths may be anything: they are bounded before they are scaled, and a space or
    // a fixed line height is at most the band's height, so the sums of a page's lines stay
    // far from overflowing.
    const std::int32_t band = std::max(page_.printHeight, 1);
    auto bounded = [](std::int64_t screen) {
        return std::int32_t(std::clamp(screen, -kMaxScreenLength, kMaxScreenLength));
    };
    auto across = [&](std::int64_t screen) { return page_.AcrossFromScreen(bounded(screen)); };
    auto down = [&](std::int64_t screen) {
        return std::clamp(page_.DownFromScreen(bounded(screen)), -band, band);
    };
    const std::int64_t before = style.SpaceBefore(), after = style.SpaceAfter();
    style.SetLeftMargin(across(style.LeftMargin()));
    style.SetRightMargin(across(style.RightMargin()));
    style.SetFirstIndent(across(style.FirstIndent()));
    // The space below a paragraph is the sum of both spaces converted as one length; the
    // space above on its own places the paragraph's content.
    const std::int32_t convertedBefore = down(before);
    style.SetSpaceBefore(convertedBefore);
    style.SetSpaceAfter(down(before + after) - convertedBefore);
    if (style.LineHeight() > 0) style.SetLineHeight(std::max(down(style.LineHeight()), 1));
    // An empty line takes the height of the style's font on the printer.
    TMyFont font = style.AsMyFont();
    ITextMeasurer& measurer = page_.Measurer();
    if (!measurer.IsInstalled(font.name)) font.name = "Times New Roman";
    p.defaultLineHeight = measurer.Metrics(font).height;
}

void TKYTboxP::TakeParagraphs(Paragraphs paragraphs) {
    paragraphs_ = std::move(paragraphs);
    for (auto& p : paragraphs_) ConvertForPrinter(*p);
    if (!paragraphs_.empty())
        paragraphs_.front()->top = paragraphs_.front()->style.SpaceBefore() + padding;
}

void TKYTboxP::LoadPrintText(IMarkupHost* headerHost, std::string_view header,
                             IMarkupHost& bodyHost, std::string_view body, IMarkupHost* footerHost,
                             std::string_view footer) {
    ++updateDepth;
    paragraphs_.clear();
    auto append = [&](IMarkupHost* host, std::string_view markup, std::uint8_t kind) {
        if (!host || markup.empty()) return std::int32_t(0);
        Paragraphs read = ReadText(markup, *host, 0);
        const std::int32_t count = std::int32_t(read.size());
        for (auto& p : read) {
            p->kind = kind;
            ConvertForPrinter(*p);
            paragraphs_.push_back(std::move(p));
        }
        return count;
    };
    headCount = append(headerHost, header, kHeaderParagraph);
    append(&bodyHost, body, kBodyParagraph);
    footCount = append(footerHost, footer, kFooterParagraph);
    --updateDepth;
    if (IsCellBox() || paragraphs_.empty()) return;

    layoutWidth = usedWidth = std::max(width, 20);
    const std::int32_t spaceBefore = paragraphs_.front()->style.SpaceBefore();
    std::int32_t top = spaceBefore != 0 ? spaceBefore : 8;
    for (auto& p : paragraphs_) top = LayoutPrintParagraph(*p, top);
}

std::int32_t TKYTboxP::LayoutPrintParagraph(TKYTparag& paragraph, std::int32_t top) {
    LineBreakContext context{layoutWidth, IsCellBox() ? padding : 0, usedWidth, this};
    const std::int32_t next = LayoutParagraph(paragraph, top, context);
    usedWidth = context.usedWidth;
    return next;
}

void TKYTboxP::LayoutCell(std::int32_t cellX, std::int32_t cellY) {
    if (updateDepth > 0) return;
    if (paragraphs_.empty()) {
        // A cell whose text was not read: empty, as wide as asked.
        SetBounds(cellX, cellY, 2 * padding, layoutWidth);
        return;
    }
    usedWidth = layoutWidth;
    std::int32_t top = paragraphs_.front()->top;
    // Negative spacing may end the last paragraph above lines of earlier ones: the cell
    // reaches down to the lowest of them.
    std::int32_t bottom = top;
    reachAbove = 0;
    for (auto& p : paragraphs_) {
        top = LayoutPrintParagraph(*p, top);
        bottom = std::max({bottom, top, EndOf(*p)});
        reachAbove = std::min(reachAbove, StartOf(*p));
    }
    SetBounds(cellX, cellY, bottom + padding, usedWidth);
}

TMyyTableP* TKYTboxP::TableOf(const TKYTparag& paragraph) const {
    if (paragraph.metrics.empty() || paragraph.text.empty()) return nullptr;
    const std::int32_t index = paragraph.metrics.front().objectIndex;
    if (index < 0 || std::size_t(index) >= paragraph.objects.size()) return nullptr;
    const TKYToggetto* object = paragraph.objects[std::size_t(index)];
    if (!object || object->Kind() != K::tabellaHtml) return nullptr;
    return dynamic_cast<TMyyTableP*>(page_.PrintViewOf(*object));
}

std::int32_t TKYTboxP::TableTop(const TKYTparag& p) const {
    if (p.lines.empty() || p.metrics.empty()) return p.top;
    const TKYTline& line = p.lines.front();
    return p.style.SpaceBefore() + p.top + line.top + line.ascent - p.metrics.front().ascent;
}

// ---------------------------------------------------------------------------------------------
// Cutting the page text into sheets.

std::int32_t TKYTboxP::NextContentTop(std::int32_t from) const {
    // Negative spacing lets paragraphs overlap: the nearest content of those that start
    // before it.
    std::int32_t best = -1;
    for (std::size_t i = 0; i < paragraphs_.size(); ++i) {
        const auto& p = paragraphs_[i];
        if (best >= 0 && LaterStart(i) > best) break;
        if (EndOf(*p) <= from) continue;
        std::int32_t found = -1;
        if (const TMyyTableP* table = TableOf(*p)) {
            found = table->NextCellContent(TableTop(*p), from);
        } else {
            const std::int32_t contentTop = p->style.SpaceBefore() + p->top;
            for (const TKYTline& line : p->lines) {
                found = DrawnTop(*p, line, contentTop + line.top, from);
                if (found >= 0) break;
            }
        }
        if (found >= 0 && (best < 0 || found < best)) best = found;
    }
    return best;
}

std::int32_t TKYTboxP::StartOf(const TKYTparag& p) const {
    std::int32_t start = TextStartOf(p);
    const std::int32_t contentTop = p.style.SpaceBefore() + p.top;
    const std::int32_t measured =
        std::min<std::int32_t>(std::int32_t(p.text.size()), std::int32_t(p.metrics.size()));
    for (const TKYTline& line : p.lines) {
        const std::int32_t end =
            std::int32_t(std::min<std::int64_t>(std::int64_t(line.first) + line.count, measured));
        for (std::int32_t k = std::max(line.first, 0); k < end; ++k) {
            const TKYTcharMetric& m = p.metrics[std::size_t(k)];
            if (m.objectIndex < 0 || std::size_t(m.objectIndex) >= p.objects.size()) continue;
            const TKYToggetto* object = p.objects[std::size_t(m.objectIndex)];
            if (!object || object->Kind() != K::tabellaHtml) continue;
            const auto* table = dynamic_cast<const TMyyTableP*>(page_.PrintViewOf(*object));
            if (!table) continue;
            const std::int32_t objectTop = contentTop + line.top + line.ascent - m.ascent;
            start = std::min(start, objectTop + std::min(table->reachAbove, 0));
        }
    }
    return start;
}

std::int32_t TKYTboxP::PrintTop(const TKYTline& line, std::int32_t lineTop,
                                std::int32_t ownTop) const {
    const std::int32_t paper = page_.printHeight + page_.bottomRoom;
    return std::max(line.height, line.ascent) > paper ? ownTop : lineTop;
}

std::optional<std::int32_t> TKYTboxP::ListMarkOffset(const TKYTparag& p) {
    const std::uint8_t listKind = p.style.ListKind();
    if (p.lines.empty() || p.metrics.empty() ||
        (listKind != kListNumbered && listKind != kListBulleted))
        return std::nullopt;
    const TKYTline& line = p.lines.front();
    return line.top + line.ascent - p.metrics.front().ascent;
}

std::int32_t TKYTboxP::DrawnTop(const TKYTparag& p, const TKYTline& line, std::int32_t lineTop,
                                std::int32_t from) const {
    std::int32_t best = -1;
    auto offer = [&](std::int32_t top) {
        if (top >= from && (best < 0 || top < best)) best = top;
    };
    if (&line == &p.lines.front())
        if (const auto mark = ListMarkOffset(p))
            offer(PrintTop(line, lineTop, lineTop - line.top + *mark));
    const std::int32_t measured =
        std::min<std::int32_t>(std::int32_t(p.text.size()), std::int32_t(p.metrics.size()));
    const std::int32_t end =
        std::int32_t(std::min<std::int64_t>(std::int64_t(line.first) + line.count, measured));
    for (std::int32_t k = std::max(line.first, 0); k < end; ++k) {
        // Nothing on the line draws above its top.
        if (best >= 0 && best <= lineTop) break;
        const TKYTcharMetric& m = p.metrics[std::size_t(k)];
        const std::int32_t index = m.objectIndex;
        const std::int32_t ownTop = lineTop + line.ascent - m.ascent;
        if (index < 0 || std::size_t(index) >= p.objects.size()) {  // a character
            offer(PrintTop(line, lineTop, ownTop));
            continue;
        }
        const TKYToggetto* object = p.objects[std::size_t(index)];
        TPrintual* view = object ? page_.PrintViewOf(*object) : nullptr;
        if (!view) continue;
        // A table inside the line may reach far below the line's top: its own cells tell
        // where it draws.
        if (const auto* table = dynamic_cast<const TMyyTableP*>(view)) {
            offer(table->NextCellContent(ownTop, from));
        } else if (PrintTop(line, lineTop, ownTop) >= from && view->Draws()) {
            offer(PrintTop(line, lineTop, ownTop));
        }
    }
    return best;
}

// Where the sheet that shows the text from `top` ends: a band of the printable height, cut
// short before a line that starts on it but would run off the paper, or before a table row
// that starts on it and does not end on it. Whatever starts the sheet stays on it, so the
// band always holds something and the sheets always move on.
std::int32_t TKYTboxP::BandEnd(std::size_t first, std::int32_t top) const {
    const std::int32_t H = page_.printHeight;
    const std::int32_t bottom = top + H;
    const std::int32_t paperEnd = bottom + page_.bottomRoom;
    std::int32_t cut = bottom;
    std::optional<std::int32_t> firstContent;
    // The sheet ends before `at` only when something prints above it; a sheet cut before
    // anything on it would stay blank.
    auto consider = [&](std::int32_t at) {
        if (at <= top || at >= cut) return;
        if (!firstContent) firstContent = NextContentTop(top);
        if (*firstContent >= 0 && *firstContent < at) cut = at;
    };
    for (std::size_t i = first; i < paragraphs_.size(); ++i) {
        const TKYTparag& p = *paragraphs_[i];
        if (LaterStart(i) >= cut) break;
        if (StartOf(p) >= cut || EndOf(p) <= top) continue;
        if (const TMyyTableP* table = TableOf(p)) {
            consider(table->RowBreak(TableTop(p), top, bottom));
            continue;
        }
        const std::int32_t contentTop = p.style.SpaceBefore() + p.top;
        const std::int32_t measured =
            std::min<std::int32_t>(std::int32_t(p.text.size()), std::int32_t(p.metrics.size()));
        for (const TKYTline& line : p.lines) {
            const std::int32_t lineTop = contentTop + line.top;
            if (lineTop >= cut) break;
            if (PrintTop(line, lineTop, lineTop + 1) != lineTop) {
                // A line taller than a sheet: its letters and pictures print where their own
                // top lies, and one that would run off the paper moves to the next sheet.
                const std::int32_t end = std::int32_t(
                    std::min<std::int64_t>(std::int64_t(line.first) + line.count, measured));
                for (std::int32_t k = std::max(line.first, 0); k < end; ++k) {
                    const TKYTcharMetric& m = p.metrics[std::size_t(k)];
                    if (m.objectIndex >= 0 && std::size_t(m.objectIndex) < p.objects.size()) {
                        const TKYToggetto* object = p.objects[std::size_t(m.objectIndex)];
                        if (!object || object->Kind() == K::tabellaHtml) continue;
                    }
                    const std::int32_t ownTop = lineTop + line.ascent - m.ascent;
                    if (ownTop + m.height > paperEnd) consider(ownTop);
                }
            }
            if (lineTop < top) continue;
            if (lineTop + line.height > paperEnd) consider(lineTop);
        }
    }
    return cut;
}

std::int32_t TKYTboxP::LaterStart(std::size_t i) const {
    return i < laterStart_.size() ? laterStart_[i] : StartOf(*paragraphs_[i]);
}

void TKYTboxP::PrintPageText() {
    NumberParagraphs(paragraphs_);
    // Negative spacing may start a paragraph above the one before it: a search that stops at
    // the first paragraph starting below a line stops only when no later one starts above it.
    laterStart_.assign(paragraphs_.size(), 0);
    for (std::size_t i = paragraphs_.size(); i-- > 0;)
        laterStart_[i] = i + 1 < paragraphs_.size()
                             ? std::min(StartOf(*paragraphs_[i]), laterStart_[i + 1])
                             : StartOf(*paragraphs_[i]);
    const PrinterCapabilities caps = page_.Device().Capabilities();
    const Rect sheet{0, 0, caps.pageWidth, caps.pageHeight};
    const std::int32_t W = page_.printWidth;
    std::size_t first = 0;
    std::int32_t top = 0;
    while (true) {
        while (first < paragraphs_.size() && EndOf(*paragraphs_[first]) <= top) ++first;
        const std::int32_t bottom = BandEnd(first, top);
        page_.SetBand({0, top, W, bottom});
        if (page_.printBackground) FillBackground(sheet);
        const Rect band{0, top, std::max(width, W), bottom};
        for (std::size_t i = first; i < paragraphs_.size(); ++i) {
            TKYTparag& p = *paragraphs_[i];
            if (LaterStart(i) >= bottom) break;
            if (Rect{0, StartOf(p), std::max(width, W), EndOf(p)}.Intersects(band))
                DrawParagraph(p, top, bottom);
        }
        // The next sheet starts at the next thing to print; none: the text has ended.
        const std::int32_t next = NextContentTop(bottom);
        if (next < 0) break;
        top = next;
        page_.Device().NewPage();
        page_.CountSheet();
    }
}

void TKYTboxP::Print() {
    if (!IsCellBox()) {
        PrintPageText();
        return;
    }
    // A cell: its background and the part of its text in the page's band.
    const Point abs = Absolute();
    if (page_.printTableBackground) {
        const std::int32_t left = page_.LeftOffset() + abs.x;
        const std::int32_t top = page_.TopOffset() + abs.y;
        FillBackground({left, top, left + width, top + height});
    }
    const Rect band = page_.band;
    for (auto& p : paragraphs_) {
        const Rect area{abs.x, abs.y + StartOf(*p), abs.x + width, abs.y + EndOf(*p)};
        if (area.Intersects({area.left, band.top, area.right, band.bottom}))
            DrawParagraph(*p, band.top, band.bottom);
    }
}

}  // namespace orvo
