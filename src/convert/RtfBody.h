// The RTF of one markup text: paragraphs with their style's codes, character codes written
// only where they change, links (hidden jumps and macros in the help variant), comments as
// annotations, tables as rows and cells, and pictures as metafiles or bitmap references.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class TKYTtortf;
class TKYToggetto;

/// A character format as the RTF writer compares it.
struct RtfFont {
    std::string name = "Times New Roman";
    std::int32_t size = 12;
    std::int32_t colour = 0;    // 0x00BBGGRR
    std::uint8_t bits = 0;      // 1 bold, 2 italic, 4 underline, 8 strike
    std::uint8_t position = 0;  // 0 normal, 1 subscript, 2 superscript
    bool operator==(const RtfFont&) const = default;
};

/// The paragraph layout values, in pixels as the markup holds them.
struct RtfLayout {
    int alignment = 0;
    int numbering = 0;
    std::int32_t lineHeight = -32000;
    std::int32_t indent = 0, left = 0, right = 0, top = 0, bottom = 0;
    std::int32_t linkSize = -1;
    std::uint8_t linkBits = 4;
};

class RtfBodyWriter {
public:
    RtfBodyWriter(TKYTtortf& exporter, int part);
    /// The page whose text is written (its objects are searched first for link targets).
    void SetPage(const TKYToggetto* page) { page_ = page; }
    std::string Write(std::string_view markup);
    /// The paragraph codes of a style for the style sheet (no numbering text).
    std::string StyleCodes(const TKYToggetto* style);

private:
    struct Table {
        const TKYToggetto* object = nullptr;
        int cells = 0;
        int columns = 1;
        int closed = 0;
        bool outer = false;
    };

    void TopicFootnotes();
    void ParagraphStart(std::string_view code);
    void CharacterAttributes(std::string_view code);
    void ObjectCode(std::uint32_t code, bool cellsFollow);
    void LinkStart(const TKYToggetto& link);
    void LinkEnd();
    void CellEnd();
    void Comment(const TKYToggetto& comment);
    void Picture(const TKYToggetto& image);
    void HelpBitmap(const TKYToggetto& image, const TKYToggetto& picture);
    void TableStart(const TKYToggetto& table);
    std::string RowDefinition(const Table& table, int row);
    std::string CharacterCodes(const RtfFont& font);
    std::string ParagraphCodes(const RtfFont& font, const RtfLayout& layout, bool withText);
    std::string FontCodes(const RtfFont& font, bool underline);
    const TKYToggetto* TargetPage(std::int32_t target) const;
    std::string HiddenText(std::string_view text) const;

    TKYTtortf& exporter_;
    int part_;
    bool help_;
    const TKYToggetto* page_ = nullptr;
    std::string out_;
    bool firstParagraph_ = true;
    bool noPar_ = false;
    RtfFont paragraphFont_;
    RtfFont font_;     // in force
    RtfFont written_;  // last written
    bool writtenValid_ = false;
    RtfLayout layout_;
    bool linkOpen_ = false;
    const TKYToggetto* link_ = nullptr;
    RtfFont beforeLink_;
    std::vector<Table> tables_;
    std::int32_t paragraphLeft_ = 0, paragraphRight_ = 0;  // twips
    std::int32_t tableLeft_ = 0, tableRight_ = 0;
};

}  // namespace orvo
