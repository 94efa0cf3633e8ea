// The body reader of the RTF import (TRtfPage) and what it keeps while it reads: the outputs of
// the pieces (page, footnote, header, footer, annotation), the open table, the pending link,
// the picture being collected.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "convert/RtfCodePage.h"
#include "convert/RtfImport.h"

namespace orvo {

/// True when the bytes start with "{\rtf" (blanks before it allowed).
bool LooksLikeRtf(std::string_view bytes);

/// The deepest group nesting read; deeper groups are skipped whole.
inline constexpr std::size_t kMaxRtfDepth = 200;
/// Pieces (footnotes, annotations, headers) inside pieces are read to this depth.
inline constexpr std::size_t kMaxRtfPieces = 4;
/// Table limits of the model.
inline constexpr int kMaxTableColumns = 50;
inline constexpr int kMaxTableRows = 255;
/// A picture is made at most this many pixels wide and high.
inline constexpr int kMaxPictureSide = 4096;

class TRtfPage {
public:
    /// `fragment`: the clipboard's RTF, read into one markup text (no page is made).
    TRtfPage(TRtfImp& run, std::string_view bytes, bool fragment);

    /// Reads the head, then the body piece by piece into pages.
    void ImportFile(bool split);
    /// Reads everything and gives the markup of the body.
    std::string Fragment(int* paragraphs);

    /// Reads the head tables at the start of the document; false when it is not RTF.
    bool ParseHeader();
    /// Reads the body until a page or section break (true) or the end (false).
    bool ParsePage();
    /// The collected markup as a page; its number.
    std::int32_t MakePage();

    std::filesystem::path sourceFolder;

    enum Destination : int {
        dBody = 0,
        dSkip,
        dFontTable,
        dColourTable,
        dStyleSheet,
        dStyleEntry,
        dPicture,
        dCapture,  // plain text collected for a footnote of help mode, an author, a field
        dNumbering,
        dShape,  // a shape's instructions: only its picture and its text box's text are read
    };

private:
    struct Table {
        bool active = false;
        bool emitted = false;
        bool defining = true;  // the first row's definition is being read
        TKYToggetto* object = nullptr;
        int columns = 0;
        int cellsLeft = 0;
        int rows = 0;
        std::vector<int> widths;                // pixels
        int lastEdge = 0;                       // pixels
        std::vector<std::int32_t> rowColours;   // the colours of the row being defined
        std::vector<std::int32_t> cellColours;  // every row's, rows x columns
        std::int32_t nextColour = -1;
        bool coloured = false;
        bool rowOpen = false;  // the row being read holds something
    };
    struct Output {
        int kind = 0;  // 0 page, 1 footnote, 2 header or footer, 3 annotation
        std::string markup;
        bool paraPending = true;
        bool afterTable = false;
        std::size_t paraStart = 0;
        int contentInPara = 0;
        TRtfState paraBase;
        TRtfState lastChar;
        Table table;
        // A jump of help mode: the placeholder's position, its text ended, the hidden id.
        bool linkOpen = false;
        bool linkTextEnded = false;
        std::size_t linkAt = 0;
        std::string linkText;
        std::string linkTarget;
        // A web link of a field result.
        std::int32_t fieldLink = -1;
        bool fieldLinkWritten = false;
        std::size_t depth = 0;  // the group depth the piece began at
        std::string captured;   // an annotation's text
        // The piece's first paragraph with text, which titles the page made from it.
        std::string firstText;
        bool firstTextDone = false;
    };
    struct Capture {
        int what = 0;  // 1 help footnote, 2 author, 3 field instruction, 4 list text,
                       // 5 annotation, 6 a shape property's name
        std::string text;
        std::size_t depth = 0;
    };
    struct Picture {
        int kind = 0;  // 0 none, 1 wmf, 2 emf, 3 png, 4 jpeg, 5 dib
        std::string data;
        int nibble = -1;
        std::int64_t picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
        bool bitmap = false;
        std::size_t depth = 0;
        bool open = false;
    };

    // Reading.
    bool Run(bool stopAtBreak);
    void GroupStart();
    void GroupEnd();
    void ControlWord(std::string_view word, bool hasParam, std::int64_t param);
    bool Destination(std::string_view word, bool hasParam, std::int64_t param);
    void ControlSymbol(char c);
    void SkipGroup();
    void LeaveGroup();
    void Text(std::string_view bytes);
    void DecodedText(std::string_view cp1252);
    void HexByte(unsigned char byte);
    void UnicodeChar(std::int64_t value);
    int CodePageNow() const;

    // Head tables.
    void FontTableText(std::string_view bytes);
    void ColourTableText(std::string_view bytes);
    void StyleEntryEnd(const TRtfState& entry);
    void EnsureStyles();
    int StyleFor(const TRtfState& entry, const std::string& name);

    // Writing.
    Output& Out() { return outputs_.back(); }
    void BeforeContent();
    void Content(std::string_view markup, int characters);
    void ParagraphHead();
    void CharacterCode();
    void EndParagraph();
    void LinkCheck(bool visible);
    void CloseLink();
    void StartTable();
    void EmitTable();
    void Cell();
    void Row();
    void CloseTable();
    void StartPiece(int kind);
    void EndPiece();
    void FinishPicture();
    void FinishCapture(Capture& capture);
    void PlaceObject(std::int32_t code);
    std::int32_t StartOfPageNumbering();
    void SplitPage();
    void HeadingCheck(const TRtfState& s);
    std::string PieceMarkup(Output& out);
    void ResolveBitmaps(std::string& markup);

    int Pixels(std::int64_t twips) const;
    void SetLeft(TRtfState& s, std::int64_t twips);

    TRtfImp& run_;
    TKYTset& set_;
    std::string_view data_;
    std::size_t pos_ = 0;
    bool fragment_;
    bool split_ = false;
    bool ended_ = false;
    bool breakHit_ = false;
    bool groupStart_ = false;
    bool starred_ = false;
    int ppi_ = 96;
    int defaultMargin_ = 11;
    int skipChars_ = 0;
    int pendingLead_ = -1;  // the lead byte of a double-byte character
    char16_t pendingHigh_ = 0;
    TRtfStateList states_;
    TRtfHeader header_;
    RtfCodePages codePages_;
    std::vector<Output> outputs_;
    std::vector<Capture> captures_;
    Picture picture_;
    // The font and colour table entries being read.
    int fontNumber_ = -1;
    std::string fontName_;
    bool fontNameDone_ = false;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourGiven_ = false;
    std::string styleName_;
    bool styleIsParagraph_ = true;
    bool stylesMade_ = false;
    // Numbering of the current paragraph from a "\pn" group or a list.
    int paraNumbering_ = -1;
    int listTextKind_ = 0;
    // Page making.
    int paragraphs_ = 0;
    std::string footnotes_;
    std::string context_, title_;
    std::vector<std::string> keywords_;
    std::int32_t previousSplitPage_ = -1;
    int pageHeadingLevel_ = 1;
    std::string author_;
    std::string fieldInstruction_;
    std::vector<std::int32_t> piecePages_;
    // The property of the shape being read ("pib": its picture), and whether the shape gave a
    // picture or text, so that its fallback result is left out.
    std::string shapeProperty_;
    bool shapeTaken_ = false;
};

}  // namespace orvo
