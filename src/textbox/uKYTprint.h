// Printing: for each page a parallel tree of printable objects (the page text as a print box,
// tables as grids of cell boxes, pictures, place holders), the text read again from its markup
// and measured on the printer, broken into lines at the printer's resolution and drawn band by
// band, one band of the text per sheet.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Markup.h"
#include "picture/Picture.h"
#include "platform/IPrintDevice.h"
#include "textbox/IBoxHost.h"
#include "textbox/IInlineObject.h"

namespace orvo {

class IMessages;
class TKYToggetto;
class TKYTset;
class TKYTtesto;
class TKYTpageP;
class TKYTboxP;
class TPageSetupDialog;
class TextMarkupHost;

/// A print paragraph and its lines carry the fields of the screen's.
using TKYTparagP = TKYTparag;
using TKYTlineP = TKYTline;

inline constexpr std::string_view kInvalidRiempi = "Invalid use of TKYTpageP.Riempi";
inline constexpr std::string_view kPrintTextVersion1 = "baco; testo ver 1 ancora pres in kytBox P!";
inline constexpr std::string_view kNotThisOne = "Non si deve usare questo!";
/// Margins that leave no room on the sheet.
inline constexpr std::string_view kNoPrintableArea =
    "I margini non lasciano spazio per stampare: ridurli in \"Imposta margini...\".";
inline constexpr std::string_view kPrintJobTitle = "Orvo, pag: ";
/// The default image scale: 100 screen pixels of a picture print 25 mm long.
inline constexpr std::int32_t kDefaultImageScale = 2500;

/// Base of everything that is drawn: a position relative to its parent printable and a size.
class TPrintual {
public:
    explicit TPrintual(TKYTpageP& page) : page_(page) {}
    virtual ~TPrintual() = default;
    TPrintual(const TPrintual&) = delete;
    TPrintual& operator=(const TPrintual&) = delete;

    /// Whether the printable covers its whole area (printing does not ask).
    virtual bool CoversArea() const { return true; }
    virtual void SetBounds(std::int32_t x, std::int32_t y, std::int32_t height, std::int32_t width);
    /// Draws the printable on the current sheet.
    virtual void Print() {}
    /// Whether Print puts anything on the sheet (a place holder or an image without a
    /// picture does not).
    virtual bool Draws() { return false; }

    void SetX(std::int32_t v) {
        if (v != x) SetBounds(v, y, height, width);
    }
    void SetY(std::int32_t v) {
        if (v != y) SetBounds(x, v, height, width);
    }
    void SetWidth(std::int32_t v) {
        if (v != width) SetBounds(x, y, height, v);
    }
    void SetHeight(std::int32_t v) {
        if (v != height) SetBounds(x, y, v, width);
    }

    /// The position in the text: its own x, y and those of its parents below the page (the
    /// root's own position is not counted).
    Point Absolute() const;

    /// Whether `box` is this printable or lies inside it (its parent chain meets it).
    bool Contains(const TPrintual* box) const;

    TKYTpageP& Page() const { return page_; }
    std::int32_t x = 0, y = 0, width = 110, height = 110;
    TPrintual* parent = nullptr;  // none for the root
    bool isRoot = false;
    /// Where an inline object was placed: the paragraph and character index that show it.
    /// An object named again elsewhere in the text (or inside itself) is drawn only there.
    const void* anchorParagraph = nullptr;
    std::int32_t anchorIndex = -1;

protected:
    TKYTpageP& page_;
};

/// A text laid out for the printer: the page text (header, body, footer paragraphs), or one
/// table cell (a box with a table object).
class TKYTboxP : public TPrintual, public IBoxHost {
public:
    TKYTboxP(TKYTpageP& page, const TKYToggetto* tableObject = nullptr);
    ~TKYTboxP() override;

    /// Reads the three texts (each a host and its markup; no host: none) into paragraphs:
    /// header (kind 1), body, footer (kind 2), measured on the printer, their lengths in
    /// printer pixels; then a page box lays them out at its width.
    void LoadPrintText(IMarkupHost* headerHost, std::string_view header, IMarkupHost& bodyHost,
                       std::string_view body, IMarkupHost* footerHost, std::string_view footer);
    /// Takes paragraphs read elsewhere (a table cell's), converting them for the printer.
    void TakeParagraphs(Paragraphs paragraphs);
    /// Lays out one paragraph with its top at `top`; returns the next top.
    std::int32_t LayoutPrintParagraph(TKYTparag& paragraph, std::int32_t top);
    /// Lays out a cell's paragraphs at its layout width and puts it at (x, y).
    void LayoutCell(std::int32_t cellX, std::int32_t cellY);
    /// Fills a rectangle on paper with the box's background.
    void FillBackground(const Rect& area);
    /// The page text: every sheet of the text. A cell: its part in the page's band.
    void Print() override;
    bool CoversArea() const override;

    /// Draws the paragraph's lines whose tops lie in [bandTop, bandBottom).
    void DrawParagraph(TKYTparag& paragraph, std::int32_t bandTop, std::int32_t bandBottom);
    bool IsCellBox() const { return tableObject_ != nullptr; }

    const Paragraphs& AllParagraphs() const { return paragraphs_; }
    Paragraphs& MutableParagraphs() { return paragraphs_; }
    std::int32_t headCount = 0, footCount = 0;
    std::int32_t layoutWidth = 0, usedWidth = 0;
    std::int32_t borderWidth = 0;
    std::int32_t padding = 0;  // printer pixels, cell boxes only
    /// How far above its top a cell's text reaches (negative spacing), zero or less.
    std::int32_t reachAbove = 0;
    std::int32_t updateDepth = 0;
    std::int32_t backColour = 0xC0C0C0;
    std::int32_t backPicture = -1;  // identifier of the picture tiled as background, -1 none
    bool transparent = false;

    // IBoxHost: what the line breaker asks of the box it lays out in.
    std::int32_t ClientWidth() const override { return width; }
    std::int32_t ClientHeight() const override { return height; }
    std::int32_t HorizontalRange() const override { return 0; }
    std::int32_t HorizontalPosition() const override { return 0; }
    std::int32_t VerticalRange() const override { return 0; }
    std::int32_t VerticalPosition() const override { return 0; }
    void SetHorizontalScroll(std::int32_t, std::int32_t) override {}
    void SetVerticalScroll(std::int32_t, std::int32_t) override {}
    Point BoxOriginInPage() const override { return Absolute(); }
    void BoxResized(std::int32_t, std::int32_t) override {}
    void Invalidate(const Rect&) override {}
    void StopSpellCheck() override {}
    void RearmSpellCheck() override {}
    bool ShowBoundaries() const override { return false; }
    bool ReadOnly() const override { return true; }
    void RefreshTools() override {}
    IInlineObject* ViewOf(const TKYToggetto& object) override;

    /// The table an object of this paragraph stands for, when the paragraph holds a table.
    class TMyyTableP* TableOf(const TKYTparag& paragraph) const;
    /// Where the table of a table paragraph stands, relative to the box.
    std::int32_t TableTop(const TKYTparag& paragraph) const;
    /// The first content (the top of a line that draws something, in text coordinates) at or
    /// below `from`; -1 none.
    std::int32_t NextContentTop(std::int32_t from) const;
    /// The first top at or below `from` of what the line puts on the sheet (its list mark, a
    /// character, an object whose print view draws), the line standing at `lineTop`; -1 none.
    std::int32_t DrawnTop(const TKYTparag& paragraph, const TKYTline& line, std::int32_t lineTop,
                          std::int32_t from) const;
    /// The first pixel row the paragraph prints on: its text's start, or higher where a table
    /// on a line of fixed height reaches above the line.
    std::int32_t StartOf(const TKYTparag& paragraph) const;
    /// Where something on a line prints, its own top lying at `ownTop`: on the sheet that shows
    /// the line's top, or, on a line taller than the paper below a band's top (a table inside
    /// it), on the sheet that shows its own top, as drawing it with the line's top would put it
    /// below the paper.
    std::int32_t PrintTop(const TKYTline& line, std::int32_t lineTop, std::int32_t ownTop) const;
    /// The top of a numbered or bulleted paragraph's mark below its content top; none
    /// without a mark.
    static std::optional<std::int32_t> ListMarkOffset(const TKYTparag& paragraph);

protected:
    void PrintPageText();
    void ConvertForPrinter(TKYTparag& paragraph);
    std::int32_t BandEnd(std::size_t first, std::int32_t top) const;
    /// The topmost start of paragraph `i` and of those after it.
    std::int32_t LaterStart(std::size_t i) const;

    const TKYToggetto* tableObject_;
    Paragraphs paragraphs_;
    std::vector<std::int32_t> laterStart_;  // LaterStart of each paragraph, while printing
};

/// The printable form of a page object other than text and tables.
class TMyyPrintual : public TPrintual, public IInlineObject {
public:
    explicit TMyyPrintual(TKYTpageP& page);

    void SetObject(const TKYToggetto* object);
    const TKYToggetto* Object() const { return object_; }
    virtual void ObjectChanged() {}
    virtual void Reposition() { placing_ = true; }
    virtual void UpdateSize(std::int32_t /*available*/) override {}
    virtual void Prepare() {}

    // IInlineObject, as the line breaker and the drawing of lines use it.
    bool IsTable() const override { return false; }
    ObjectSize Size() const override;
    int VerticalAlignment() const override { return 0; }
    void MarkReposition() override { placing_ = true; }
    void Park() override { x = -20000; }
    bool NeedsPlacing() const override { return placing_; }
    void PlaceAt(std::int32_t left, std::int32_t top) override;
    void SetHighlighted(bool) override {}

protected:
    const TKYToggetto* object_ = nullptr;
    bool placing_ = true;
};

/// The place of an object that is not drawn: inputs, buttons, markers, players. Only a marker
/// of subtype 15 takes its size; the others take no width and 10 pixels of height.
class TMyyRectangleP final : public TMyyPrintual {
public:
    using TMyyPrintual::TMyyPrintual;
    ObjectSize Size() const override;
};

/// An image: its displayed size at the image scale, drawn stretched.
class TMyyImageP final : public TMyyPrintual {
public:
    TMyyImageP(TKYTpageP& page, TKYTset& set);
    void ObjectChanged() override { Prepare(); }
    void Prepare() override { UpdateSize(0); }
    void UpdateSize(std::int32_t available) override;
    ObjectSize Size() const override;
    int VerticalAlignment() const override;
    bool CoversArea() const override;
    void Print() override;
    bool Draws() override;

private:
    TKYTset& set_;
    std::int32_t naturalWidth_ = 0, naturalHeight_ = 0;
    std::int32_t available_ = 0;
};

/// A table: a grid of cell boxes laid out by the table's column rules.
class TMyyTableP final : public TKYTboxP, public IInlineObject, public ITableCells {
public:
    explicit TMyyTableP(TKYTpageP& page);
    ~TMyyTableP() override;

    void SetTable(const TKYToggetto& table);
    void LayoutTable(std::int32_t tableWidth);
    void ApplyPrintWidth(std::int32_t available);
    void Print() override;
    bool Draws() override;

    // ITableCells: the markup reader gives each cell its paragraphs.
    int Rows() const override { return int(rows_.size()); }
    int Columns() const override { return columns_; }
    const Paragraphs& CellParagraphs(int row, int column) const override;
    void SetCellParagraphs(int row, int column, Paragraphs paragraphs) override;

    // IInlineObject.
    bool IsTable() const override { return true; }
    void UpdateSize(std::int32_t fullWidth) override { ApplyPrintWidth(fullWidth); }
    ObjectSize Size() const override { return {width, height}; }
    int VerticalAlignment() const override { return 0; }
    void MarkReposition() override { placing_ = true; }
    void Park() override { x = -20000; }
    bool NeedsPlacing() const override { return placing_; }
    void PlaceAt(std::int32_t left, std::int32_t top) override;
    void SetHighlighted(bool) override {}

    TKYTboxP* Cell(int row, int column) const;
    /// The top (text coordinates) of the first row that starts below `bandTop` and ends below
    /// `bandBottom`, so that the sheet ends before it; -1 when every row that starts on the
    /// sheet ends on it.
    /// `tableTop` is the table's top in the same coordinates.
    std::int32_t RowBreak(std::int32_t tableTop, std::int32_t bandTop,
                          std::int32_t bandBottom) const;
    /// The first top at or below `from` of a cell line that draws (any cell line when cell
    /// backgrounds print); -1 none.
    std::int32_t NextCellContent(std::int32_t tableTop, std::int32_t from) const;

    std::int32_t lastWidth = 0;
    bool updating = false;
    std::int32_t lastAvail = -1;

private:
    // Set while the table is being printed or searched, so a table named inside one of its
    // own cells is neither printed nor searched again from there.
    bool printing_ = false;
    mutable bool searching_ = false;
    const TKYToggetto* table_ = nullptr;
    std::vector<std::vector<std::unique_ptr<TKYTboxP>>> rows_;
    int columns_ = 0;
    bool placing_ = true;
    Paragraphs none_;
};

/// One page being printed.
class TKYTpageP {
public:
    TKYTpageP(TKYTset& set, IPrintDevice& device);
    ~TKYTpageP();
    TKYTpageP(const TKYTpageP&) = delete;
    TKYTpageP& operator=(const TKYTpageP&) = delete;

    /// Prints the registered page as one job. Without a page: "Invalid use of
    /// TKYTpageP.Riempi". False when nothing was printed.
    bool Riempi(const TKYToggetto* pageObject, TPageSetupDialog& setup);
    /// Prints a text that is not registered; the page takes it over.
    bool Riempi(std::unique_ptr<TKYTtesto> text, TPageSetupDialog& setup);

    bool printBackground = false;       // "sfondo"
    bool printTableBackground = false;  // "sfondo tabelle"
    std::int32_t imageScale = kDefaultImageScale;

    Rect band;
    void SetBand(const Rect& area);
    /// round(MarginTop × fy) - band top, and round(MarginLeft × fx): cached per band.
    std::int32_t TopOffset();
    std::int32_t LeftOffset();
    std::int32_t pageNumber = -1;
    std::int32_t scaleX = 0, scaleY = 0;
    std::int32_t printWidth = 0, printHeight = 0;
    /// Room below the band on the paper (the bottom margin), in printer pixels.
    std::int32_t bottomRoom = 0;

    TKYTset& Set() const { return set_; }
    IPrintDevice& Device() const { return device_; }
    ICanvas& Canvas() const { return device_.Canvas(); }
    ITextMeasurer& Measurer() const { return device_.Measurer(); }
    TPageSetupDialog* PageSetup() const { return pageSetup_; }
    TKYTboxP* Root() const { return root_.get(); }
    /// The print view of an object, made by CreatePrintView; none when it has none.
    TPrintual* PrintViewOf(const TKYToggetto& object) const;
    IInlineObject* InlineViewOf(const TKYToggetto& object) const;
    /// Stored screen pixels as printer pixels, across and down.
    std::int32_t AcrossFromScreen(std::int32_t pixels) const;
    std::int32_t DownFromScreen(std::int32_t pixels) const;
    /// The pixels of a picture object (an immagine) drawn on white, or none when it cannot be
    /// decoded; kept for the job.
    const Bitmap* PictureOnWhite(std::int32_t pictureIdentifier);
    /// Sheets started by the last Riempi.
    int Sheets() const { return sheets_; }
    void CountSheet() { ++sheets_; }

private:
    friend std::unique_ptr<TKYTboxP> CreatePrintView(TKYTtesto& text, TKYTpageP& owner);
    bool Print(TPageSetupDialog& setup);
    void MakeViews(TKYTtesto& text);

    TKYTset& set_;
    IPrintDevice& device_;
    TPageSetupDialog* pageSetup_ = nullptr;
    std::unique_ptr<TKYTtesto> text_;
    std::unique_ptr<TKYTboxP> root_;
    std::vector<std::unique_ptr<TextMarkupHost>> hosts_;
    std::map<const TKYToggetto*, std::unique_ptr<TPrintual>> views_;
    std::map<std::int32_t, std::unique_ptr<Bitmap>> pictures_;
    std::int32_t topOffset_ = -1, leftOffset_ = -1;
    int sheets_ = 0;
};

/// The print view of a page object by its kind: a table, an image, a place holder, or none.
/// A page asked as an object shows "Non si deve usare questo!" and has none.
std::unique_ptr<TPrintual> CreatePrintView(const TKYToggetto& object, TKYTpageP& owner);
/// The print view of a text: a page box with the views of its objects and those of its header
/// and footer texts made, its paragraphs read and laid out. A text still in the legacy form
/// shows "baco; testo ver 1 ancora pres in kytBox P!" and the box stays empty.
std::unique_ptr<TKYTboxP> CreatePrintView(TKYTtesto& text, TKYTpageP& owner);

}  // namespace orvo
