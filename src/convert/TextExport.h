// TKYTtoTxt: pages as plain text (Windows-1252, CR LF), text files as new pages, and plain text
// turned into the clipboard stream of markup. All formatting is dropped; tables become lines of
// tab-separated cells; reference objects keep their textual form ("!RefI:0500000a"), so custom
// HTML code can be edited as text and read back.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "convert/uKYTexp.h"

namespace orvo {

class ByteStream;
class TKYToggetto;

/// The object a "<$" code of a text names, or none. For a stored page text this is the
/// hypertext's object of that code; for a clipboard fragment a 0xFF code names an entry of the
/// fragment's own object list and a 0x6F code one of its links.
using TextObjectLookup = std::function<const TKYToggetto*(std::int32_t code)>;

/// The reference objects (shortObj) and the prefix of their textual form; subtype 27 (a
/// template property) is written "!ReCP:" + its name + "!".
struct TextReferenceForm {
    std::string_view prefix;  // "!RefI:" ... followed by 8 hexadecimal digits
    std::uint8_t subtype;
};
inline constexpr std::array<TextReferenceForm, 7> kTextReferenceForms{{{"!RefI:", 21},
                                                                       {"!RefL:", 22},
                                                                       {"!RefP:", 23},
                                                                       {"!RefF:", 24},
                                                                       {"!RefX:", 25},
                                                                       {"!RefY:", 26},
                                                                       {"!ReCF:", 28}}};
inline constexpr std::string_view kPropertyReferencePrefix = "!ReCP:";
inline constexpr std::uint8_t kPropertyReferenceSubtype = 27;

/// The textual form of a reference object (shortObj subtypes 21..28): "!RefI:", "!RefL:",
/// "!RefP:", "!RefF:", "!RefX:", "!RefY:" or "!ReCF:" and the reference as 8 lower-case
/// hexadecimal digits, or "!ReCP:" + the property name + "!". Empty for any other object.
std::string ReferenceText(const TKYToggetto& object);

/// The plain text of one markup text, up to its 0x00 byte or its end: entities decoded, CR LF
/// between paragraphs (none before the first, none inside tables), table cells separated by a
/// tab and rows ended by CR LF, reference objects written as ReferenceText.
std::string PlainText(std::string_view markup, const TextObjectLookup& lookup);

/// The lookup of a stored text: the hypertext's object of each code.
TextObjectLookup StoredTextLookup(const TKYTset& set);

/// The text of a page's stored text, as ExportPage writes it (no line end after the last
/// paragraph). A page that is missing or free, or whose text cannot be read, gives "".
std::string PageText(const TKYTset& set, std::int32_t page);

class TKYTtoTxt : public TKYTconv {
public:
    explicit TKYTtoTxt(TKYTset* set = nullptr) : TKYTconv(set) {}

    /// Background colour and picture (an immagine identifier, -1 none) of imported pages.
    std::int32_t ImportColour = 0xFFFFFF;
    std::int32_t ImportImage = -1;
    /// The pages the last ImportFiles made, in order.
    std::vector<std::int32_t> ImportedPages;

    /// Fragment mode: the text of one markup text followed by one 0x00 byte.
    Status ExportText(std::string_view markup, ByteStream& target, const TextObjectLookup& lookup);
    /// Creates ExportFileName with the text of each listed page in order, no separator between
    /// pages; progress (index, count, phase 1) after each page. On failure nothing is written.
    Status ExportPages(const std::vector<std::int32_t>& numbers) override;
    /// Creates ExportFileName with the text of one page.
    Status ExportPage(std::int32_t number);

    /// One new page per readable text file (unreadable ones are skipped without a message);
    /// returns the number of the first page made, or 0 when none was made. `split` is unused.
    std::int32_t ImportFiles(const std::vector<std::string>& names, bool split = false);
    /// Plain text as the clipboard stream of markup: mode 0 every line a paragraph of `style`;
    /// mode 1 (code) lines of the "Codice" style (made when missing) in which textual
    /// references become reference objects of the stream's own list.
    Status ImportText(std::string_view source, ByteStream& target, int mode, std::int32_t style);
};

}  // namespace orvo
