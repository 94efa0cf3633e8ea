// The HTML of a page's markup: paragraphs as DIV elements with a class per paragraph style,
// character formats as FONT, B, I, SUB and SUP tags opened and closed only when the format
// changes, and the text links between pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class TKYTtoHtml;
class TKYToggetto;
struct TExportContext;

/// A character format as the HTML writer compares it.
struct HtmlFont {
    std::int32_t colour = 0;
    std::int32_t size = 12;
    std::string name = "Times New Roman";
    std::uint8_t bits = 0;      // 1 bold, 2 italic, 4 underline, 8 strike
    std::uint8_t position = 0;  // 0 normal, 1 subscript, 2 superscript
    bool Bold() const { return bits & 1; }
    bool Italic() const { return bits & 2; }
    bool Underline() const { return bits & 4; }
    bool Strike() const { return bits & 8; }
};

/// The layout values of a paragraph (from its style, then from its code).
struct HtmlLayout {
    int alignment = 0;
    int numbering = 0;
    int unit = 0;
    std::int32_t lineHeight = -32000;
    std::int32_t indent = 0, left = 0, right = 0, top = 0, bottom = 0;
};

/// The FONT tag for `f` relative to the paragraph font `p`, or empty.
std::string FontTag(const HtmlFont& p, const HtmlFont& f);
/// A layout value in pixels written in `unit` ("12pt", "1cm").
std::string UnitValue(std::int32_t pixels, int unit, int pixelsPerInch);
/// A font or style name made safe inside quotes of a style sheet or an attribute.
std::string SafeCssName(std::string_view name);
/// The style of a paragraph style object.
HtmlFont StyleFont(const TKYToggetto& style);
HtmlLayout StyleLayout(const TKYToggetto& style);

/// Writes the content of one markup text.
class HtmlTextWriter {
public:
    HtmlTextWriter(TKYTtoHtml& exporter, TExportContext& context);
    std::string Write(std::string_view markup);

private:
    void ParagraphStart(std::string_view markup, std::size_t& p);
    void CharacterCode(std::string_view markup, std::size_t& p);
    void ApplyCharacterAttributes(std::string_view markup, std::size_t& p, bool withFlags);
    std::string FormatChange();
    std::string CloseFormat();
    void CloseParagraph();
    void LinkCode(std::uint32_t code);
    /// An object code that is not a text link (HtmlObjects.cpp).
    void ObjectCode(std::uint32_t code);
    void Image(TKYToggetto& image);
    /// A table starts (its object code) and a cell ends ("<T>") (HtmlObjects.cpp).
    void TableStart(TKYToggetto& table);
    void WriteCell();
    std::string Background(std::int32_t stored);
    std::string LinkStart(const TKYToggetto& link);
    /// "<A class=" + the style and the link look that differ from the paragraph's.
    std::string LinkOpening() const;
    /// The HREF, TARGET and custom-code part of an A or AREA tag; empty when the link names
    /// nothing that exists (HtmlForms.cpp).
    std::string LinkHref(const TKYToggetto& link);
    /// The onClick part of a button that follows a link (HtmlForms.cpp).
    std::string LinkOnClick(const TKYToggetto& link);
    /// The file of a special link's target page (with its anchor), or of the previous or
    /// next page of the chapter; empty when there is none.
    std::string SpecialTargetFile(const TKYToggetto& link);
    /// The form inputs, buttons, form starts, multimedia objects and markers (HtmlForms.cpp).
    void FormInput(const TKYToggetto& input);
    void Button(const TKYToggetto& button);
    void FormStart(const TKYToggetto& form);
    void Multimedia(const TKYToggetto& media);
    void Marker(const TKYToggetto& marker);
    std::string TemplateCode(const TKYToggetto& media);
    void Report(std::string_view text);

    TKYTtoHtml& exporter_;
    TExportContext& context_;
    std::string out_;
    int styleNumber_ = 0;
    HtmlFont paragraphFont_;
    HtmlFont font_;  // asked for by the latest codes
    HtmlFont open_;  // open in the output
    bool fontTagOpen_ = false;
    bool changed_ = false;
    bool paragraphOpen_ = false;
    bool textSinceCode_ = false;
    bool previousSpace_ = false;
    int numbering_ = 0;  // of the open paragraph
    int counter_ = 1;
    std::int32_t styleLinkColour_ = 0xFF0000, styleLinkSize_ = -1;
    std::uint8_t styleLinkBits_ = 4;
    std::int32_t linkColour_ = 0xFF0000, linkSize_ = -1;
    std::uint8_t linkBits_ = 4;
    bool linkOpen_ = false;
    const TKYToggetto* openLink_ = nullptr;
    HtmlLayout styleLayout_;

    // The formatting state outside a table, kept while its cells are written.
    struct OuterState {
        int styleNumber;
        HtmlFont paragraphFont, font, open;
        bool fontTagOpen, paragraphOpen, textSinceCode;
        int numbering, counter;
        HtmlLayout styleLayout;
        bool linkOpen;
        const TKYToggetto* openLink;
    };
    struct OpenTable {
        TKYToggetto* table;
        int cell = 0;
        OuterState outer;
    };
    std::vector<OpenTable> tables_;
};

}  // namespace orvo
