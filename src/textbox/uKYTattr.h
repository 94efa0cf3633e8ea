// The editing interfaces of a text box: TKYTTextAttributes (characters, objects, selection
// streams, character formats, links) and TKYTParaAttributes (paragraph attributes and styles).
// Every operation records its undo step before it changes anything, runs under the box's
// update lock and lays out again only the paragraphs it touched.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "platform/IMessages.h"
#include "platform/u3MyFont.h"
#include "textbox/EditParagraphs.h"
#include "textbox/IBoxEditing.h"
#include "textbox/uKYTundo.h"

namespace orvo {

class ByteStream;
class MemoryStream;
class TboBackup;
class TKYTbox;
class TKYTparag;
class TKYTset;
class TKYTtesto;
class TKYToggetto;
class TKYTFontStyle;

/// Messages of the operations.
inline constexpr std::string_view kSelectionMustExist = "SelectionMustExists";
inline constexpr std::string_view kLinkSelectionMustExist = "Selection must exists!";
inline constexpr std::string_view kReplaceAcrossParagraphs =
    "Funzione non disponibile per parole non comprese interamente in un paragrafo.";
inline constexpr std::string_view kStreamReadError = "Errore leggendo dati da stream!";
/// A selection stream that cannot be pasted (malformed or cut short): nothing is inserted.
inline constexpr std::string_view kStreamRefused =
    "I dati da incollare non sono validi: non \xE8 stato inserito nulla.";
inline constexpr std::string_view kRtfPasteUnsupported =
    "Incollare testo RTF non \xE8 ancora possibile.";

/// The Italian name of a colour value ("Custom" for any colour without one).
std::string ColourName(std::int32_t colour);
/// A value in the general float format of the labels ("2.64583333333333", "10").
std::string GeneralFloat(double value);

/// The labels callers give InsertFromStream.
inline constexpr std::string_view kLabelDrop = "Inserimento tramite trascina selezione";
inline constexpr std::string_view kLabelPaste = "Inserimento da Cartella appunti";

/// Registers a link object with the text: links, special links and markers get (once) a
/// local code 0x6F000000 + their index among the text's links; other objects give their code.
std::int32_t AddToText(TKYTtesto& text, const TKYToggetto& link);

/// The converters that copy and paste go through (implemented above this folder).
class ISelectionConverters {
public:
    virtual ~ISelectionConverters() = default;
    /// A selection as markup (paragraphs of the working text, then 0x00) written as RTF / text.
    virtual Result<std::string> MarkupToRtf(std::string_view markup) = 0;
    virtual Result<std::string> MarkupToText(std::string_view markup) = 0;
    /// RTF turned into the internal selection stream; `wrapper` and the caret paragraph's
    /// style number are the importer's settings. None when RTF cannot be imported.
    virtual std::optional<Result<std::string>> RtfToStream(std::string_view rtf, bool wrapper,
                                                           std::int32_t styleNumber) = 0;
};

/// What the operations of one box need besides the box.
struct EditContext {
    EditContext(TKYTset& set_, TKYTtesto& text_, IMessages& messages_)
        : set(set_), text(text_), messages(messages_) {}
    TKYTset& set;
    TKYTtesto& text;  // the working text: its links and page objects
    IMessages& messages;
    TKYTundoList* undo = nullptr;  // none: nothing is recorded
    UndoPath path;                 // the box's control number, page id, frame id
    bool autoEngQuote = false;     // the frame set's typographic quotes
    bool wrapper = false;
    double pixelsPerInch = 96;
    ISelectionConverters* converters = nullptr;
    /// New paragraph styles arrived with a paste.
    std::function<void()> onAddStyle;
    /// The frame set refreshes its tools (a paragraph style was applied).
    std::function<void()> onRefreshTools;
};

class TKYTTextAttributes {
public:
    TKYTTextAttributes(TKYTbox& box, EditContext& context) : box_(box), context_(context) {}

    // Text.
    /// Deletes the selection (the message "SelectionMustExists" without one).
    void DeleteSelection();
    void ReplaceSelection(std::string_view text);
    void InsertParagraphBreak();
    /// Inserts a typed character at the caret and moves the caret after it.
    bool InsertChar(unsigned char ch);
    /// Inserts a page object (it joins the working text) at the caret.
    bool InsertObject(std::unique_ptr<TKYToggetto> object, bool focusAfter);

    // Selection streams.
    /// The selection in the internal stream format; for the clipboard (not forDrag) it also
    /// carries what copied objects refer to indirectly, and `picture` (when given) gets the
    /// first picture object a copied object shows (none for a drag or without one).
    [[nodiscard]] bool WriteSelection(ByteStream& stream, bool forDrag,
                                      const TKYToggetto** picture = nullptr);
    /// Pastes an internal stream at the caret. The whole stream is checked first: a stream
    /// that cannot be read is refused with a message and nothing changes. An empty label
    /// records no step.
    bool InsertFromStream(std::string_view stream, std::string_view label,
                          bool replaceCaretParagraph, bool adoptStyle);
    [[nodiscard]] bool WriteSelectionAsRtf(ByteStream& stream);
    [[nodiscard]] bool WriteSelectionAsText(ByteStream& stream);
    /// Plain text (Windows-1252, lines ended by CR LF, CR or LF), one paragraph per line.
    bool PasteText(std::string_view text, std::string_view label);
    bool PasteRtf(std::string_view rtf);
    /// The selection as markup (snapshot form): what the RTF and text forms convert.
    std::string SelectionMarkup();

    // Character formats.
    void ApplyColour(std::int32_t colour);
    /// A link object (a copy joins the working text's links) or none to remove links.
    void ApplyLink(const TKYToggetto* link);
    /// The same with a link code already valid in this text (0x6F local code, page or file).
    void ApplyLinkCode(std::int32_t linkId);
    void ApplyFontName(std::string_view name);
    void ApplyVerticalPosition(std::uint8_t position);
    void ApplyFontStyle(std::uint8_t bits);
    void SetStyleBits(std::uint8_t set, std::uint8_t clear);
    void ApplyFontSize(std::int32_t points);
    /// Colour, name, style and size (and the vertical position), each its own step.
    void ApplyFont(const TMyFont& font, bool withPosition = true);

    // The tools' getters: the pending value when set, else the format at SelStart (with a
    // selection) or at caret - 1.
    std::int32_t CurrentColour();
    std::string CurrentFontName();
    std::uint8_t CurrentPosition();
    std::uint8_t CurrentStyleBits();
    std::int32_t CurrentSize();
    std::int32_t CurrentLink();

    /// False when the format in effect (pending applied) is the named style's and the caret
    /// paragraph overrides nothing.
    bool DiffersFromStyle(std::string_view styleName);
    /// Copies the current name, size, colour and style bits into a style (position 0).
    void StoreFormatInStyle(TKYToggetto& style);
    /// False when a form start (kind 23) stands before the caret.
    bool CanStartForm();

    // State kept between calls.
    /// Caret moved, clicked, selection changed: bursts end and the pending format is dropped.
    void CaretMoved();
    void DropPending() { pending_ = Pending{}; }
    void EndBursts() {
        typingBurst_ = false;
        deletionBurst_ = false;
    }
    bool TypingBurst() const { return typingBurst_; }
    bool DeletionBurst() const { return deletionBurst_; }
    bool HasPending() const { return pending_.Any(); }

    TKYTbox& Box() { return box_; }
    EditContext& Context() { return context_; }

    // Positions.
    EditPos CaretPos() const;
    /// SelStart and SelEnd (both the caret without a selection).
    std::pair<EditPos, EditPos> Selection() const;
    bool HasSelection() const;
    void SetCaretAt(EditPos pos);
    void Select(EditPos from, EditPos to);

private:
    struct Pending {
        std::optional<std::int32_t> colour, size;
        std::optional<std::string> name;
        std::optional<std::uint8_t> style, position;
        bool Any() const { return colour || size || name || style || position; }
    };
    void ApplyAttribute(const CharAttribute& value, std::string label);
    TMyFont WithPending(TMyFont font) const;
    TMyFont LookupFont(std::int32_t para, std::int32_t ch) const;
    TboBackup* RecordBox(std::string label, std::int32_t firstPara, std::int32_t lastPara);
    std::uint64_t SerialOf(const TKYTbackup* step) const { return step ? step->Serial() : 0; }
    void InsertCharAt(EditPos caret, unsigned char ch);

    TKYTbox& box_;
    EditContext& context_;
    Pending pending_;
    bool typingBurst_ = false;
    bool deletionBurst_ = false;
    /// The step the open burst adds to, by its serial: it is used only while it is the newest
    /// step of the list (an applied or dropped step is never reached through a stale address).
    std::uint64_t burstSerial_ = 0;
    TboBackup* BurstStep();
};

class TKYTParaAttributes {
public:
    TKYTParaAttributes(TKYTbox& box, EditContext& context) : box_(box), context_(context) {}

    void SetAlignment(std::uint8_t alignment);
    void SetNumbering(std::uint8_t listKind);
    void ApplyParagraphStyle(std::string_view name);
    /// Changes only the unit the values are shown in: no step, no relayout.
    void SetUnit(std::uint8_t unit);
    void SetLineHeight(double value);
    void SetSpaceBefore(double value);
    void SetSpaceAfter(double value);
    void SetFirstIndent(double value);
    void SetLeftMargin(double value);
    void SetRightMargin(double value);
    void SetLinkColour(std::int32_t colour);
    void SetLinkSize(std::int32_t size);
    void SetLinkStyle(std::uint8_t bits);

    // The caret paragraph's values (lengths in its unit).
    std::uint8_t Alignment() const;
    std::uint8_t Numbering() const;
    std::uint8_t Unit() const;
    double LineHeight() const;
    double SpaceBefore() const;
    double SpaceAfter() const;
    double FirstIndent() const;
    double LeftMargin() const;
    double RightMargin() const;

private:
    template <class F>
    void ForRange(std::string label, F&& change, bool reread);
    void SetLength(int field, double value, std::string_view label);
    double LengthOf(int field) const;
    const TKYTparag& CaretParagraph() const;

    TKYTbox& box_;
    EditContext& context_;
};

/// The two interfaces of one box, its place in the page's control index (the slot is cleared
/// when this goes), and the box input's way to them.
class BoxEditing final : public IUndoControl, public IBoxEditing {
public:
    /// Registers the box in `controls` (when given) and completes the context's path with its
    /// number in front of `pageId` and `frameId`.
    BoxEditing(TKYTbox& box, EditContext context, TKYTundoIndiciList* controls, std::int32_t pageId,
               std::int32_t frameId);
    ~BoxEditing() override;
    BoxEditing(const BoxEditing&) = delete;
    BoxEditing& operator=(const BoxEditing&) = delete;

    TKYTbox* EditedBox() override { return &box_; }
    TKYTTextAttributes& Text() { return text_; }
    TKYTParaAttributes& Para() { return para_; }
    EditContext& Context() { return context_; }
    std::int32_t Number() const { return number_; }

    // IBoxEditing: what the keys, the mouse and the clipboard commands call.
    bool Available() const override { return true; }
    void EndBursts() override { text_.CaretMoved(); }
    bool TypingBurstOpen() const override { return text_.TypingBurst(); }
    bool DeletionBurstOpen() const override { return text_.DeletionBurst(); }
    void DeleteSelection() override { text_.DeleteSelection(); }
    /// The caret is left before the character: the input moves it on.
    bool InsertChar(std::uint8_t character) override;
    void InsertParagraphBreak() override { text_.InsertParagraphBreak(); }
    std::string WriteSelection(bool forDrag, std::optional<std::string>* picture) override;
    bool InsertFromStream(std::string_view stream, std::string_view undoLabel) override {
        return text_.InsertFromStream(stream, undoLabel, false, false);
    }
    std::string WriteSelectionAsRtf() override;
    std::string WriteSelectionAsText() override;
    bool PasteRtf(std::string_view rtf) override { return text_.PasteRtf(rtf); }
    bool PasteText(std::string_view cp1252, std::string_view undoLabel) override {
        return text_.PasteText(cp1252, undoLabel);
    }

private:
    TKYTbox& box_;
    EditContext context_;
    TKYTundoIndiciList* controls_;
    std::int32_t number_ = -1;
    TKYTTextAttributes text_;
    TKYTParaAttributes para_;
};

}  // namespace orvo
