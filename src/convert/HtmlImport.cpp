// The page reader: one pass over the bytes of a web page. Tags are read where they stand, with
// every read bounded by the end of the text; what the model cannot hold (scripts, comments,
// unknown head content) is kept in markers and the page's head code.
#include "convert/HtmlImport.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <unordered_map>

#include <iconv.h>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlScripts.h"
#include "convert/RtfCodePage.h"
#include "convert/TextImport.h"
#include "model/FormFields.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "picture/GifCodec.h"
#include "picture/PngReader.h"
#include "platform/IMessages.h"

namespace orvo {

using K = TOggettiHel;

namespace {

constexpr std::uint8_t kSpecialLinkImport = 6;
constexpr std::uint8_t kAnnotationSubtype = 10;
constexpr std::uint8_t kCustomHtmlSubtype = 11;
constexpr std::uint8_t kCatalogueSubtype = 15;
constexpr std::size_t kParagraphLimit = 1800;
constexpr std::size_t kPreviewLimit = 4999;
constexpr std::array<int, 7> kFontSizes{8, 10, 12, 14, 19, 27, 34};

bool IsSpace(unsigned char c) {
    return c <= ' ';
}

std::string LowerAscii(std::string_view s) {
    return Lower1252(s);
}

std::string UpperAscii(std::string_view s) {
    return Upper1252(s);
}

std::string TrimmedCopy(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && IsSpace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && IsSpace(static_cast<unsigned char>(s[b - 1]))) --b;
    return std::string(s.substr(a, b - a));
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText1252(text.substr(0, prefix.size()), prefix);
}

void PutI32(std::string& out, std::int32_t v) {
    const auto u = std::uint32_t(v);
    for (int i = 0; i < 4; ++i) out += char((u >> (8 * i)) & 0xFF);
}

// A whole number at the start of a value (sign allowed), clamped; `fallback` when none.
int NumberOf(std::string_view value, int fallback, long long lo = -1000000,
             long long hi = 1000000) {
    std::size_t i = 0;
    while (i < value.size() && IsSpace(static_cast<unsigned char>(value[i]))) ++i;
    long long v = 0;
    if (ParseClampedInt(value.substr(i), lo, hi, v) == 0) return fallback;
    return int(v);
}

// "#RRGGBB" (any first character) as 0x00BBGGRR; `fallback` when not six hex digits.
std::int32_t ColourOf(std::string_view value, std::int32_t fallback) {
    const std::string v = TrimmedCopy(value);
    if (v.size() < 7) return fallback;
    const std::string_view digits = std::string_view(v).substr(1, 6);
    std::uint32_t rgb = 0;
    if (ParseHex(digits, 6, rgb) != 6) return fallback;
    if (v.size() > 7 && std::isxdigit(static_cast<unsigned char>(v[7]))) return fallback;
    return std::int32_t(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

int SmallerSize(int size, int steps) {
    for (int s = 0; s < steps; ++s) {
        if (size <= kFontSizes.front()) return size;
        int next = kFontSizes.front();
        for (int candidate : kFontSizes)
            if (candidate < size) next = candidate;
        size = next;
    }
    return size;
}

// Entity names beyond Latin-1 that Windows-1252 holds.
struct ExtraEntity {
    std::string_view name;
    unsigned char byte;
};
constexpr std::array<ExtraEntity, 27> kExtraEntities{{
    {"euro", 0x80},   {"sbquo", 0x82},  {"fnof", 0x83},   {"bdquo", 0x84},  {"hellip", 0x85},
    {"dagger", 0x86}, {"Dagger", 0x87}, {"circ", 0x88},   {"permil", 0x89}, {"Scaron", 0x8A},
    {"lsaquo", 0x8B}, {"OElig", 0x8C},  {"lsquo", 0x91},  {"rsquo", 0x92},  {"ldquo", 0x93},
    {"rdquo", 0x94},  {"bull", 0x95},   {"ndash", 0x96},  {"mdash", 0x97},  {"tilde", 0x98},
    {"trade", 0x99},  {"scaron", 0x9A}, {"rsaquo", 0x9B}, {"oelig", 0x9C},  {"Yuml", 0x9F},
    {"apos", 0x27},   {"quot", 0x22},
}};

// The Latin-1 names 0xA0..0xFF in order.
constexpr std::array<std::string_view, 96> kLatin1Names{
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

// A tag read from the text: its name (small letters), whether it ends something, its
// attributes (names in capitals) and where it ends (just past ">", or the text's end).
struct Tag {
    std::string name;
    bool end = false;
    std::map<std::string, std::string> attributes;
    std::size_t after = 0;

    std::string Get(const std::string& key) const {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
    bool Has(const std::string& key) const { return attributes.count(key) != 0; }
};

// Reads the tag whose "<" is at text[at]. The name is the run of letters and digits after "<"
// or "</"; the attributes run to the first ">" outside quotes.
Tag ReadTag(std::string_view text, std::size_t at) {
    Tag tag;
    std::size_t i = at + 1;
    if (i < text.size() && text[i] == '/') {
        tag.end = true;
        ++i;
    }
    const std::size_t nameStart = i;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) ||
                               text[i] == '-' || text[i] == ':' || text[i] == '_'))
        ++i;
    tag.name = LowerAscii(text.substr(nameStart, i - nameStart));
    while (i < text.size() && text[i] != '>') {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsSpace(c) || c == '/' || c == '"' || c == '\'' || c == '=') {
            ++i;
            continue;
        }
        const std::size_t keyStart = i;
        while (i < text.size() && !IsSpace(static_cast<unsigned char>(text[i])) && text[i] != '=' &&
               text[i] != '>')
            ++i;
        std::string key = UpperAscii(text.substr(keyStart, i - keyStart));
        std::size_t j = i;
        while (j < text.size() && IsSpace(static_cast<unsigned char>(text[j]))) ++j;
        std::string value;
        if (j < text.size() && text[j] == '=') {
            ++j;
            while (j < text.size() && IsSpace(static_cast<unsigned char>(text[j]))) ++j;
            if (j < text.size() && (text[j] == '"' || text[j] == '\'')) {
                const char quote = text[j];
                const std::size_t close = text.find(quote, j + 1);
                const std::size_t stop = close == std::string_view::npos ? text.size() : close;
                value = std::string(text.substr(j + 1, stop - j - 1));
                i = stop == text.size() ? stop : stop + 1;
            } else {
                const std::size_t valueStart = j;
                while (j < text.size() && !IsSpace(static_cast<unsigned char>(text[j])) &&
                       text[j] != '>')
                    ++j;
                value = std::string(text.substr(valueStart, j - valueStart));
                i = j;
            }
        }
        if (!key.empty()) tag.attributes.emplace(std::move(key), std::move(value));
    }
    tag.after = i < text.size() ? i + 1 : text.size();
    return tag;
}

// The text with its character references decoded and control characters dropped.
std::string DecodeText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '&') {
            std::size_t p = i;
            const int decoded = DecodeHtmlEntity(text, p);
            out += decoded < 0 ? '&' : char(decoded);
            i = p;
            continue;
        }
        if (c >= ' ') out += char(c);
        ++i;
    }
    return out;
}

// A length of a style declaration in pixels.
int LengthPixels(std::string_view value, int ppi) {
    std::string number;
    for (char c : value) {
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.')
            number += c;
        else if (c == ',')
            number += '.';
    }
    double v = 1;
    if (!number.empty()) {
        char* end = nullptr;
        const double parsed = std::strtod(number.c_str(), &end);
        if (end != number.c_str()) v = parsed;
    }
    if (!(v > -100000 && v < 100000)) v = 1;
    const std::string lower = LowerAscii(value);
    struct Unit {
        const char* name;
        double perInch;
    };
    static constexpr std::array<Unit, 6> kUnits{
        {{"cm", 2.54}, {"mm", 25.4}, {"in", 1.0}, {"pt", 72.0}, {"pc", 6.0}, {"px", 0.0}}};
    double perInch = 25.4;
    std::size_t best = std::string::npos;
    for (const Unit& unit : kUnits) {
        const std::size_t at = lower.find(unit.name);
        if (at < best) {
            best = at;
            perInch = unit.perInch;
        }
    }
    const double px = perInch == 0.0 ? v : v * ppi / perInch;
    return int(std::clamp(std::llround(px), -32000LL, 32000LL));
}

// Applies one declaration ("name: value", already in small letters except a font name) to a
// state.
void ApplyDeclaration(THt2State& s, std::string_view declaration, int ppi, bool linkOnly = false) {
    const std::string d = TrimmedCopy(declaration);
    const std::size_t colon = d.find(':');
    if (colon == std::string::npos) return;
    const std::string name = LowerAscii(TrimmedCopy(std::string_view(d).substr(0, colon)));
    std::string value = TrimmedCopy(std::string_view(d).substr(colon + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    const std::string lower = LowerAscii(value);
    if (name == "font-size") {
        int size = 10;
        if (lower.find("pt") != std::string::npos) {
            std::string digits;
            for (char c : lower.substr(0, lower.find(',')))
                if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
            size = digits.empty() ? 10 : NumberOf(digits, 10, 1, 999);
        }
        if (linkOnly)
            s.linkSize = size;
        else
            s.size = size;
    } else if (name == "color") {
        if (!value.empty() && value[0] == '#') {
            if (linkOnly)
                s.linkColour = ColourOf(value, s.linkColour);
            else
                s.colour = ColourOf(value, s.colour);
        }
    } else if (name == "font-style") {
        int& bits = linkOnly ? s.linkFlags : s.flags;
        if (lower == "italic") bits |= 2;
        if (lower == "normal") bits &= ~2;
    } else if (name == "font-weight") {
        int& bits = linkOnly ? s.linkFlags : s.flags;
        if (lower == "bold") bits |= 1;
        if (lower == "normal") bits &= ~1;
    } else if (name == "text-decoration") {
        int& bits = linkOnly ? s.linkFlags : s.flags;
        if (lower == "underline") bits = (bits | 4) & ~8;
        if (lower == "line-through") bits = (bits | 8) & ~4;
        if (lower == "none" || lower == "normal") bits &= ~12;
    } else if (linkOnly) {
        return;
    } else if (name == "font-family") {
        std::string font = value.substr(0, value.find(','));
        font = TrimmedCopy(font);
        if (font.size() >= 2 && (font.front() == '"' || font.front() == '\'')) {
            font = font.substr(1);
            if (!font.empty() && (font.back() == '"' || font.back() == '\'')) font.pop_back();
        }
        std::erase_if(font, [](char c) {
            return static_cast<unsigned char>(c) < ' ' || c == '"' || c == '<' || c == '>';
        });
        if (!font.empty()) s.font = font.substr(0, 32);
    } else if (name == "line-height") {
        s.lineHeight = LengthPixels(lower, ppi);
    } else if (name == "margin-left") {
        s.left = LengthPixels(lower, ppi);
    } else if (name == "margin-right") {
        s.right = LengthPixels(lower, ppi);
    } else if (name == "margin-top") {
        s.top = LengthPixels(lower, ppi);
    } else if (name == "margin-bottom") {
        s.bottom = LengthPixels(lower, ppi);
    } else if (name == "text-indent") {
        s.firstIndent = LengthPixels(lower, ppi);
    } else if (name == "text-align") {
        if (lower == "left") s.alignment = 0;
        if (lower == "right") s.alignment = 1;
        if (lower == "center") s.alignment = 2;
    } else if (name == "list-style-type") {
        if (lower == "disc") s.numbering = 10;
        if (lower == "decimal") s.numbering = 6;
        if (lower == "none") s.numbering = 0;
    }
}

void ApplyBlock(THt2State& s, std::string_view block, int ppi, bool linkOnly = false) {
    std::size_t start = 0;
    while (start <= block.size()) {
        const std::size_t end = block.find(';', start);
        ApplyDeclaration(
            s,
            block.substr(start, end == std::string_view::npos ? block.size() - start : end - start),
            ppi, linkOnly);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
}

void WriteStyleFields(StyleRecord& r, const THt2State& s) {
    auto c16 = [](int v) { return std::int16_t(std::clamp(v, -32000, 32000)); };
    r.SetFontName(s.font);
    r.SetSize(c16(s.size));
    r.SetColour(s.colour);
    r.SetStyleBits(std::uint8_t(s.flags & 15));
    r.SetPosition(std::uint8_t(s.position));
    r.SetAlignment(std::uint8_t(s.alignment));
    r.SetListKind(std::uint8_t(s.numbering));
    r.SetUnit(std::uint8_t(s.unit));
    r.SetLineHeight(c16(s.lineHeight));
    r.SetFirstIndent(c16(s.firstIndent));
    r.SetLeftMargin(c16(s.left));
    r.SetRightMargin(c16(s.right));
    r.SetSpaceBefore(c16(s.top));
    r.SetSpaceAfter(c16(s.bottom));
    r.SetLinkColour(s.linkColour);
    r.SetLinkSize(c16(s.linkSize));
    r.SetLinkStyleBits(std::uint8_t(s.linkFlags & 15));
}

// The state a paragraph style gives.
THt2State StateOfStyle(const TKYTset& set, int number) {
    THt2State s;
    s.style = number;
    const auto& styles = set.KindList(K::stileParagrafo);
    for (const auto& style : styles) {
        if (!style || style->IsFree() || StyleNumber(*style) != number) continue;
        const StyleRecord r(const_cast<TKYToggetto&>(*style).Record());
        s.font = r.FontName();
        s.size = r.Size();
        s.colour = r.Colour();
        s.flags = r.StyleBits();
        s.position = r.Position();
        s.alignment = r.Alignment();
        s.numbering = r.ListKind();
        s.unit = r.Unit();
        s.lineHeight = r.LineHeight();
        s.firstIndent = r.FirstIndent();
        s.left = r.LeftMargin();
        s.right = r.RightMargin();
        s.top = r.SpaceBefore();
        s.bottom = r.SpaceAfter();
        s.linkColour = r.LinkColour();
        s.linkSize = r.LinkSize();
        s.linkFlags = r.LinkStyleBits();
        break;
    }
    return s;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// States.

void THt2State::TakeCharacter(const THt2State& from) {
    font = from.font;
    size = from.size;
    colour = from.colour;
    flags = from.flags;
    position = from.position;
}

void THt2State::TakeBlock(const THt2State& from) {
    alignment = from.alignment;
    numbering = from.numbering;
    unit = from.unit;
    lineHeight = from.lineHeight;
    firstIndent = from.firstIndent;
    left = from.left;
    right = from.right;
    top = from.top;
    bottom = from.bottom;
    linkColour = from.linkColour;
    linkSize = from.linkSize;
    linkFlags = from.linkFlags;
    style = from.style;
    classStyled = from.classStyled;
}

void THt2StateList::Push(Level level) {
    if (saved_.size() >= kMaxDepth) return;
    saved_.push_back({level, current});
}

bool THt2StateList::PopTable() {
    for (std::size_t i = saved_.size(); i-- > 0;) {
        if (saved_[i].level != lTable) continue;
        current = saved_[i].state;
        saved_.resize(i);
        return true;
    }
    return false;
}

bool THt2StateList::PopCell() {
    for (std::size_t i = saved_.size(); i-- > 0;) {
        if (saved_[i].level == lTable) return false;
        if (saved_[i].level != lCell) continue;
        current = saved_[i].state;
        saved_.resize(i);
        return true;
    }
    return false;
}

bool THt2StateList::PopBlock() {
    for (std::size_t i = saved_.size(); i-- > 0;) {
        const Level level = saved_[i].level;
        if (level == lCharacter || level == lPosition) continue;
        if (level != lBlock) return false;
        const int table = current.table;
        current.TakeBlock(saved_[i].state);
        current.table = table;
        saved_.erase(saved_.begin() + std::ptrdiff_t(i));
        return true;
    }
    return false;
}

bool THt2StateList::PopCharacter() {
    for (std::size_t i = saved_.size(); i-- > 0;) {
        const Level level = saved_[i].level;
        if (level == lTable || level == lCell) return false;
        if (level != lCharacter) continue;
        current.TakeCharacter(saved_[i].state);
        saved_.erase(saved_.begin() + std::ptrdiff_t(i));
        return true;
    }
    return false;
}

bool THt2StateList::PopPosition() {
    for (std::size_t i = saved_.size(); i-- > 0;) {
        const Level level = saved_[i].level;
        if (level == lTable || level == lCell) return false;
        if (level != lPosition) continue;
        current.position = saved_[i].state.position;
        current.size = saved_[i].state.size;
        // The smaller size pushed right after it ends with it.
        if (i + 1 < saved_.size() && saved_[i + 1].level == lCharacter)
            saved_.erase(saved_.begin() + std::ptrdiff_t(i + 1));
        saved_.erase(saved_.begin() + std::ptrdiff_t(i));
        return true;
    }
    return false;
}

std::vector<int> THt2StateList::OpenTables() const {
    std::vector<int> tables;
    auto add = [&](int t) {
        if (t >= 0 && std::find(tables.begin(), tables.end(), t) == tables.end())
            tables.push_back(t);
    };
    add(current.table);
    for (std::size_t i = saved_.size(); i-- > 0;) add(saved_[i].state.table);
    return tables;
}

// ---------------------------------------------------------------------------------------------
// Character sets and references.

int DecodeHtmlEntity(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    std::size_t i = start + 1;
    if (i < text.size() && text[i] == '#') {
        ++i;
        bool hex = false;
        if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
            hex = true;
            ++i;
        }
        std::uint64_t value = 0;
        std::size_t digits = 0;
        while (i < text.size()) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            int d = -1;
            if (c >= '0' && c <= '9') d = c - '0';
            if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            if (d < 0) break;
            if (value < 0x110000) value = value * (hex ? 16 : 10) + std::uint64_t(d);
            ++digits;
            ++i;
        }
        if (digits == 0) {
            pos = start + 1;
            return -1;
        }
        if (i < text.size() && text[i] == ';') ++i;
        pos = i;
        if (value == 0 || value >= 0x110000) return '?';
        // Numbers 128..159 name the Windows-1252 characters in old pages.
        if (value >= 0x80 && value <= 0x9F) return int(value);
        const int byte = UnicodeTo1252(char32_t(value));
        return byte < 0 ? '?' : byte;
    }
    std::size_t nameEnd = i;
    while (nameEnd < text.size() && nameEnd - i < 10 &&
           std::isalnum(static_cast<unsigned char>(text[nameEnd])))
        ++nameEnd;
    const std::string_view run = text.substr(i, nameEnd - i);
    // The longest known name the run starts with.
    std::size_t bestLength = 0;
    int best = -1;
    auto consider = [&](std::string_view name, int byte) {
        if (name.size() > bestLength && name.size() <= run.size() && name[0] == run[0] &&
            run.substr(0, name.size()) == name) {
            bestLength = name.size();
            best = byte;
        }
    };
    for (std::size_t n = 0; n < kLatin1Names.size(); ++n) consider(kLatin1Names[n], int(0xA0 + n));
    for (const ExtraEntity& e : kExtraEntities) consider(e.name, e.byte);
    consider("amp", '&');
    consider("lt", '<');
    consider("gt", '>');
    consider("AMP", '&');
    consider("LT", '<');
    consider("GT", '>');
    consider("QUOT", '"');
    if (best < 0) {
        pos = start + 1;
        return -1;
    }
    i += bestLength;
    if (i < text.size() && text[i] == ';') ++i;
    pos = i;
    return best;
}

namespace {

// Bytes of `charset` as UTF-8; a byte sequence the charset does not hold becomes "?".
bool ConvertWithIconv(std::string_view bytes, const std::string& charset, std::string& utf8) {
    iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == iconv_t(-1)) return false;
    std::string in(bytes);
    char* src = in.data();
    std::size_t left = in.size();
    std::array<char, 4096> buffer{};
    while (left > 0) {
        char* dst = buffer.data();
        std::size_t room = buffer.size();
        const std::size_t done = iconv(cd, &src, &left, &dst, &room);
        utf8.append(buffer.data(), std::size_t(dst - buffer.data()));
        if (done == std::size_t(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or cut sequence: one byte skipped.
            utf8 += '?';
            ++src;
            --left;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return true;
}

}  // namespace

std::string HtmlBytesToCp1252(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return Utf8ToCp1252(bytes.substr(3));
    const std::string head = LowerAscii(bytes.substr(0, 16384));
    std::string charset;
    for (std::size_t at = head.find("charset"); at != std::string::npos;
         at = head.find("charset", at + 7)) {
        std::size_t i = at + 7;
        while (i < head.size() && (IsSpace(static_cast<unsigned char>(head[i])))) ++i;
        if (i >= head.size() || head[i] != '=') continue;
        ++i;
        while (i < head.size() &&
               (IsSpace(static_cast<unsigned char>(head[i])) || head[i] == '"' || head[i] == '\''))
            ++i;
        const std::size_t start = i;
        while (i < head.size() &&
               (std::isalnum(static_cast<unsigned char>(head[i])) || head[i] == '-' ||
                head[i] == '_' || head[i] == '.' || head[i] == ':'))
            ++i;
        charset = head.substr(start, i - start);
        if (!charset.empty()) break;
    }
    if (charset.empty()) {
        // An XML declaration's encoding.
        const std::size_t enc = head.find("encoding=");
        if (head.starts_with("<?xml") && enc != std::string::npos && enc < 200) {
            std::size_t i = enc + 9;
            if (i < head.size() && (head[i] == '"' || head[i] == '\'')) ++i;
            const std::size_t start = i;
            while (i < head.size() &&
                   (std::isalnum(static_cast<unsigned char>(head[i])) || head[i] == '-'))
                ++i;
            charset = head.substr(start, i - start);
        }
    }
    if (charset.empty()) return TextFileToCp1252(bytes);
    if (charset == "utf-8" || charset == "utf8") return Utf8ToCp1252(bytes);
    static constexpr std::array<std::string_view, 11> kAsIs{
        "windows-1252", "cp1252",     "cp-1252",  "x-cp1252", "iso-8859-1", "iso8859-1",
        "latin1",       "iso_8859-1", "us-ascii", "ascii",    "l1"};
    if (std::find(kAsIs.begin(), kAsIs.end(), charset) != kAsIs.end()) return std::string(bytes);
    // Every other charset through iconv, into UTF-8 first.
    std::string utf8;
    if (!ConvertWithIconv(bytes, charset, utf8)) return std::string(bytes);
    return Utf8ToCp1252(utf8);
}

// ---------------------------------------------------------------------------------------------
// Folders.

bool InsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder) {
    if (folder.empty()) return true;
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(path, ec).lexically_normal();
    const std::filesystem::path f = std::filesystem::absolute(folder, ec).lexically_normal();
    auto pi = p.begin();
    for (auto fi = f.begin(); fi != f.end(); ++fi) {
        if (fi->empty()) continue;  // a trailing separator
        if (pi == p.end() || *pi != *fi) return false;
        ++pi;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// One page.

namespace {

class THt2Page {
public:
    THt2Page(THt2Imp& run, std::string_view text, const std::string& fileName)
        : run_(run), set_(run.Set()), text_(text), fileName_(fileName) {
        folder_ = NativePath(fileName).parent_path();
        if (folder_.empty()) folder_ = ".";
        root_ = run.Options().rootFolder.empty() ? folder_ : run.Options().rootFolder;
        ppi_ = set_.Env().PixelsPerInch();
        if (ppi_ <= 0) ppi_ = 96;
    }

    THt2Imp::Scanned Run();

private:
    struct Table {
        std::int32_t id = -1;
        int rows = 0;     // rows ended
        int columns = 0;  // cells of the first row
        int rowCells = 0;
        bool cellOpen = false;
        bool rowOpen = false;
        int expected = 0;  // cells still expected from an announced table
        std::vector<std::int32_t> backgrounds;
        std::int32_t rowBackground = -1;
        std::array<std::uint8_t, 50> kinds{};
        std::array<int, 50> widths{};
    };

    // Text.
    void Character(unsigned char c);
    void Write(unsigned char c);
    void NewParagraph();
    void PendingParagraph();
    void CharacterCode();
    std::string CharacterCodeText() const;
    void Raw(std::string_view markup);

    // Tags.
    void Tag(std::size_t at);
    void HeadTag(const struct Tag& tag, std::size_t at);
    void BodyStart(const struct Tag& tag, std::size_t at);
    void BodyEnd(const struct Tag& tag);
    void Comment(std::size_t at);
    void Alignment(const struct Tag& tag);
    void CharacterLevel();
    void EndCharacterLevel();

    // Objects.
    std::int32_t LinkCode(const std::string& href);
    std::int32_t PictureOf(const std::string& src);
    void Image(const struct Tag& tag);
    void Map(const struct Tag& tag);
    std::int32_t Marker(std::uint8_t subtype, std::string auxiliary);
    void CustomHtml(std::size_t from, std::size_t to);
    std::int32_t Place(std::unique_ptr<TKYToggetto> object);
    std::unique_ptr<TKYToggetto> NewObject(K kind, int subtype);
    void FormStart(const struct Tag& tag);
    bool Input(const struct Tag& tag);
    void Select(const struct Tag& tag);
    void TextArea(const struct Tag& tag);
    void Embed(const struct Tag& tag);
    std::size_t EndOfElement(std::size_t from, std::string_view name) const;

    // Tables.
    Table* CurrentTable();
    void TableStart(const struct Tag& tag);
    void RowStart(const struct Tag& tag);
    void CellStart(const struct Tag& tag);
    void CellEnd();
    void RowEnd();
    void TableEnd();
    void FinishTables();
    void PostProcess();

    std::filesystem::path Resolve(const std::string& reference) const;

    THt2Imp& run_;
    TKYTset& set_;
    std::string_view text_;
    std::string fileName_;
    std::filesystem::path folder_, root_;
    int ppi_ = 96;
    std::size_t pos_ = 0;

    THt2StateList states_;
    THt2State written_;  // the character format last written
    std::string markup_;
    std::string headCode_;
    std::string title_;
    std::vector<std::string> keywords_;
    std::map<std::string, std::string> body_;
    std::map<std::string, std::string> maps_;  // name to 480 bytes of zones
    std::vector<Table> tables_;
    struct LinkedFile {
        std::string name;  // the full name
        bool inside;       // within the root folder
    };
    std::unordered_map<std::string, LinkedFile> linkedFiles_;  // a page names a few files often
    bool inHead_ = false, pre_ = false, authored_ = false, marker_ = false;
    bool previousSpace_ = false, mergeSpace_ = false, linkOpen_ = false;
    long paraLength_ = -1;  // -1: a paragraph is pending
    bool headSeen_ = false;
};

std::filesystem::path THt2Page::Resolve(const std::string& reference) const {
    std::string r = reference;
    if (StartsNoCase(r, "file://"))
        r = r.substr(7);
    else if (StartsNoCase(r, "file:"))
        r = r.substr(5);
    std::replace(r.begin(), r.end(), '\\', '/');
    const std::filesystem::path p = NativePath(r);
    return (p.is_absolute() ? p : folder_ / p).lexically_normal();
}

void THt2Page::Raw(std::string_view markup) {
    markup_ += markup;
}

std::string THt2Page::CharacterCodeText() const {
    const THt2State& s = states_.current;
    std::string code = "<Y c" + HexColour(std::uint32_t(s.colour)) + " ";
    if (!s.font.empty()) code += "F\"" + s.font + "\" ";
    code += "s" + std::to_string(std::clamp(s.size, 1, 999)) + " y" + std::to_string(s.flags & 15) +
            " p" + std::to_string(s.position) + " >";
    return code;
}

void THt2Page::CharacterCode() {
    if (paraLength_ < 0) return;  // the pending paragraph writes it
    Raw(CharacterCodeText());
    written_ = states_.current;
}

void THt2Page::NewParagraph() {
    paraLength_ = -1;
    mergeSpace_ = true;
    previousSpace_ = false;
}

void THt2Page::PendingParagraph() {
    if (paraLength_ >= 0) return;
    const THt2State& s = states_.current;
    const int style = s.table >= 0 && !s.classStyled ? (s.style > 1 ? s.style : 1) : s.style;
    Raw("<Z S" + std::to_string(style) + " A" + std::to_string(s.alignment) + " >");
    paraLength_ = 0;
    Raw(CharacterCodeText());
    written_ = s;
}

void THt2Page::Write(unsigned char c) {
    PendingParagraph();
    if (c == '<')
        Raw("&lt;");
    else if (c == '>')
        Raw("&gt;");
    else if (c == '&')
        Raw("&amp;");
    else
        markup_ += char(c);
    if (++paraLength_ > long(kParagraphLimit)) NewParagraph();
}

void THt2Page::Character(unsigned char c) {
    if (c > ' ') {
        previousSpace_ = false;
        mergeSpace_ = true;
        Write(c);
        return;
    }
    if (c == ' ') {
        mergeSpace_ = true;
        if (pre_) {
            Write(' ');
            return;
        }
        if (previousSpace_) return;
        if (states_.current.table >= 0 && paraLength_ <= 0) return;
        if (paraLength_ < 0 && markup_.empty()) return;
        previousSpace_ = true;
        Write(' ');
        return;
    }
    if (c == '\n' && pre_) {
        NewParagraph();
        return;
    }
    // Line ends between words in the source read as a word break.
    if ((c == '\n' || c == '\r' || c == '\t') && !pre_ && !previousSpace_ && paraLength_ > 0) {
        previousSpace_ = true;
        Write(' ');
    }
}

// ---------------------------------------------------------------------------------------------
// Objects.

std::int32_t THt2Page::LinkCode(const std::string& href) {
    std::string reference = TrimmedCopy(href);
    const std::string lower = LowerAscii(reference);
    std::string file = reference.substr(0, reference.find('#'));
    const std::string fileExtension = LowerAscii(ExtensionOf(file));
    bool internet =
        lower.find("http:") != std::string::npos || lower.find("https:") != std::string::npos ||
        lower.find("ftp:") != std::string::npos || lower.find("mailto:") != std::string::npos ||
        file.empty() ||
        !(fileExtension == ".htm" || fileExtension == ".html" || fileExtension == ".txt");
    const LinkedFile* linked = nullptr;
    if (!internet) {
        auto [entry, added] = linkedFiles_.try_emplace(file);
        if (added) {
            const std::filesystem::path full = Resolve(file);
            entry->second = {NameOfPath(full), InsideFolder(full, root_)};
        }
        linked = &entry->second;
        // A link that leaves the folder of the import stays a web link and is never read.
        if (!linked->inside) internet = true;
    }
    if (internet) {
        auto link = NewObjectOfKind(K::internetLink, &set_);
        link->Clear();
        link->TakeIntoUse();
        link->SetName(reference.substr(0, 127));
        return MakeCode(K::internetLink, run_.WebLink(std::move(link)));
    }
    auto link = NewObjectOfKind(K::speclink, &set_);
    link->Clear();
    link->TakeIntoUse();
    link->Record()[4] = kSpecialLinkImport;
    link->View().SetI32(kSpecTarget, -1);
    link->SetContent(linked->name);
    return MakeCode(K::speclink, run_.Register(std::move(link)));
}

std::int32_t THt2Page::PictureOf(const std::string& src) {
    const std::string reference = TrimmedCopy(src);
    if (reference.empty()) return -1;
    const std::string lower = LowerAscii(reference);
    if (lower.find("http:") != std::string::npos || lower.find("https:") != std::string::npos ||
        lower.find("ftp:") != std::string::npos || lower.starts_with("data:"))
        return -1;
    const std::filesystem::path full = Resolve(reference.substr(0, reference.find('?')));
    if (!InsideFolder(full, root_)) return -1;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(full, ec)) return -1;
    const std::string extension = LowerAscii(ExtensionOf(NameOfPath(full)));
    if (extension == ".png") {
        Result<std::string> bytes = ReadFileBytes(full);
        if (!bytes) return -1;
        Result<Bitmap> png = DecodePng(*bytes, {});
        if (!png) return -1;
        Result<std::string> gif = BitmapToGif(*png, false);
        if (!gif) return -1;
        const std::string temporary = set_.TempFileName(NameOfPath(full.stem()) + ".gif");
        if (!WriteFileAtomically(NativePath(temporary), *gif, 0600u)) return -1;
        Result<TKYToggetto*> added = set_.AddPictureFromFile(temporary);
        std::filesystem::remove(NativePath(temporary), ec);
        return added ? (*added)->Identifier() : -1;
    }
    Result<TKYToggetto*> added = set_.AddPictureFromFile(NameOfPath(full));
    return added ? (*added)->Identifier() : -1;
}

void THt2Page::Image(const struct Tag& tag) {
    if (!tag.Has("SRC")) return;
    const std::int32_t picture = PictureOf(tag.Get("SRC"));
    if (picture < 0) {
        previousSpace_ = false;
        for (char c : std::string_view("[i] ")) Write(static_cast<unsigned char>(c));
        return;
    }
    auto image = NewObjectOfKind(K::immagineNew, &set_);
    image->Clear();
    image->TakeIntoUse();
    ImageRecord record(*image);
    record.SetPicture(picture);
    std::int16_t naturalW = 100, naturalH = 100;
    if (TKYToggetto* p = set_.ObjectByKind(K::immagine, picture)) {
        naturalW = p->ReadView().I16(kPictureWidth);
        naturalH = p->ReadView().I16(kPictureHeight);
    }
    record.SetNaturalSize(naturalW, naturalH);
    const std::int16_t w =
        tag.Has("WIDTH") ? std::int16_t(NumberOf(tag.Get("WIDTH"), 100, 1, 32000)) : naturalW;
    const std::int16_t h =
        tag.Has("HEIGHT") ? std::int16_t(NumberOf(tag.Get("HEIGHT"), 100, 1, 32000)) : naturalH;
    record.SetSize(w, h);
    if (tag.Has("LOWSRC")) {
        const std::int32_t low = PictureOf(tag.Get("LOWSRC"));
        if (low >= 0) record.SetLowResPicture(low);
    }
    if (tag.Has("USEMAP")) {
        std::string name = TrimmedCopy(tag.Get("USEMAP"));
        if (!name.empty() && name[0] == '#') name = name.substr(1);
        const auto found = maps_.find(LowerAscii(name));
        if (found != maps_.end()) {
            std::array<ZoneRecord, kZoneCount> zones = ReadZoneTable(found->second);
            record.SetZones(zones);
        }
    }
    record.SetAlternativeText(DecodeText(tag.Get("ALT")).substr(0, 32));
    static constexpr std::array<std::string_view, 6> kAlign{"LEFT", "RIGHT",  "CENTER",
                                                            "TOP",  "MIDDLE", "BOTTOM"};
    const std::string align = UpperAscii(TrimmedCopy(tag.Get("ALIGN")));
    for (std::size_t i = 0; i < kAlign.size(); ++i)
        if (align == kAlign[i]) record.SetAlignment(std::uint8_t(i));
    const std::int32_t id = run_.Register(std::move(image));
    PendingParagraph();
    Raw("<$" + Hex8(std::uint32_t(MakeCode(K::immagineNew, id))) + ">");
    ++paraLength_;
    previousSpace_ = false;
}

void THt2Page::Map(const struct Tag& tag) {
    const std::string name = LowerAscii(TrimmedCopy(tag.Get("NAME")));
    if (name.empty()) return;  // its content reads as text
    std::array<ZoneRecord, kZoneCount> zones{};
    std::string empty(std::size_t(kZoneCount * kZoneRecordSize), char(0xFF));
    zones = ReadZoneTable(empty);
    const std::size_t end = EndOfElement(pos_, "map");
    int n = 0;
    for (std::size_t at = text_.find('<', pos_); at != std::string_view::npos && at < end;
         at = text_.find('<', at + 1)) {
        const struct Tag area = ReadTag(text_, at);
        if (area.end || area.name != "area") continue;
        if (n >= kZoneCount) break;
        ZoneRecord zone;
        zone.link = LinkCode(area.Get("HREF"));
        zone.left = std::int16_t(10 * n);
        zone.top = 0;
        zone.width = 20;
        zone.height = 20;
        const std::string shape = LowerAscii(TrimmedCopy(area.Get("SHAPE")));
        if (shape.empty() || shape == "rect" || shape == "rectangle") {
            std::array<int, 4> c{};
            int got = 0;
            std::string_view coords = area.attributes.count("COORDS")
                                          ? std::string_view(area.attributes.at("COORDS"))
                                          : std::string_view();
            while (got < 4 && !coords.empty()) {
                const std::size_t comma = coords.find(',');
                long long v = 0;
                const std::string piece = TrimmedCopy(coords.substr(0, comma));
                if (ParseClampedInt(piece, -32000, 32000, v) == 0) break;
                c[std::size_t(got++)] = int(v);
                if (comma == std::string_view::npos) break;
                coords = coords.substr(comma + 1);
            }
            if (got == 4) {
                zone.left = std::int16_t(c[0]);
                zone.top = std::int16_t(c[1]);
                zone.width = std::int16_t(std::clamp(c[2] - c[0], 5, 32000));
                zone.height = std::int16_t(std::clamp(c[3] - c[1], 5, 32000));
            }
        }
        zones[std::size_t(n++)] = zone;
    }
    maps_[name] = WriteZoneTable(zones);
    pos_ = end;
}

std::int32_t THt2Page::Marker(std::uint8_t subtype, std::string auxiliary) {
    auto marker = NewObjectOfKind(K::shortObj, &set_);
    marker->Clear();
    marker->TakeIntoUse();
    marker->Record()[4] = subtype;
    marker->SetAuxiliary(std::move(auxiliary));
    const std::int32_t id = run_.Register(std::move(marker));
    PendingParagraph();
    Raw("<$" + Hex8(std::uint32_t(MakeCode(K::shortObj, id))) + ">");
    ++paraLength_;
    return id;
}

void THt2Page::CustomHtml(std::size_t from, std::size_t to) {
    std::string aux;
    PutI32(aux, 0);
    aux += text_.substr(from, to - from);
    Marker(kCustomHtmlSubtype, std::move(aux));
}

// A new object of `kind` in use, with its subtype.
std::unique_ptr<TKYToggetto> THt2Page::NewObject(K kind, int subtype) {
    auto object = NewObjectOfKind(kind, &set_);
    object->Clear();
    object->TakeIntoUse();
    object->Record()[4] = std::uint8_t(subtype);
    return object;
}

// Registers an object and writes its code where the text stands; its identifier.
std::int32_t THt2Page::Place(std::unique_ptr<TKYToggetto> object) {
    const K kind = object->Kind();
    const std::int32_t id = run_.Register(std::move(object));
    PendingParagraph();
    Raw("<$" + Hex8(std::uint32_t(MakeCode(kind, id))) + ">");
    ++paraLength_;
    previousSpace_ = false;
    return id;
}

void THt2Page::FormStart(const struct Tag& tag) {
    const std::string method = LowerAscii(TrimmedCopy(tag.Get("METHOD")));
    int subtype = 0;
    if (!tag.Has("METHOD") || method == "post")
        subtype = 2;
    else if (method == "get")
        subtype = 1;
    std::string action = DecodeText(tag.Get("ACTION"));
    // A mail form keeps the address alone: its export writes "mailto:" before it.
    if (LowerAscii(action.substr(0, 7)) == "mailto:") {
        subtype = 4;
        action = action.substr(7);
    }
    auto form = NewObject(K::inizioForm, subtype);
    RecordView r = form->View();
    r.SetPStr(kFormAction, action.substr(0, 255));
    r.SetU8(kFormHasEncoding, tag.Has("ENCTYPE") ? 1 : 0);
    r.SetPStr(kFormEncoding, DecodeText(tag.Get("ENCTYPE")).substr(0, 79));
    Place(std::move(form));
}

// A form input or button; false for a type that makes none.
bool THt2Page::Input(const struct Tag& tag) {
    const std::string type = LowerAscii(TrimmedCopy(tag.Get("TYPE")));
    const std::string name = DecodeText(tag.Get("NAME")).substr(0, 79);
    const std::string value = DecodeText(tag.Get("VALUE")).substr(0, 79);
    if (type == "submit" || type == "reset" || type == "image") {
        const int subtype = type == "submit" ? 1 : type == "reset" ? 3 : 2;
        auto button = NewObject(K::bottoneCGI, subtype);
        RecordView r = button->View();
        r.SetPStr(kButtonName, name);
        std::string caption = value;
        if (caption.empty() && subtype != 2) caption = subtype == 1 ? "Submit" : "Reset";
        r.SetPStr(kButtonCaption, caption);
        r.SetI32(kButtonPicture, -1);
        r.SetI32(kButtonLink, -1);
        if (subtype == 2) {
            const std::int32_t picture = tag.Has("SRC") ? PictureOf(tag.Get("SRC")) : -1;
            r.SetI32(kButtonPicture, picture);
            if (TKYToggetto* p = picture >= 0 ? set_.ObjectByKind(K::immagine, picture) : nullptr) {
                r.SetI16(kButtonNaturalWidth, p->ReadView().I16(kPictureWidth));
                r.SetI16(kButtonNaturalHeight, p->ReadView().I16(kPictureHeight));
            }
            r.SetI16(kButtonWidth, 100);
            r.SetI16(kButtonHeight, 100);
            if (tag.Has("WIDTH"))
                r.SetI16(kButtonWidth, std::int16_t(NumberOf(tag.Get("WIDTH"), 100, 1, 32000)));
            if (tag.Has("HEIGHT"))
                r.SetI16(kButtonHeight, std::int16_t(NumberOf(tag.Get("HEIGHT"), 100, 1, 32000)));
        }
        Place(std::move(button));
        return true;
    }
    FormInputKind kind;
    if (type.empty() || type == "edit" || type == "text" || type == "int")
        kind = FormInputKind::Text;
    else if (type == "password")
        kind = FormInputKind::Password;
    else if (type == "file")
        kind = FormInputKind::File;
    else if (type == "hidden")
        kind = FormInputKind::Hidden;
    else if (type == "radio")
        kind = FormInputKind::Radio;
    else if (type == "checkbox")
        kind = FormInputKind::CheckBox;
    else
        return false;
    auto input = NewObject(K::inputStat, int(kind));
    RecordView r = input->View();
    const auto size = std::uint8_t(NumberOf(tag.Get("SIZE"), 20, 0, 255));
    r.SetPStr(kInputName, name);
    r.SetPStr(kInputValue, value);
    r.SetU8(kInputColumns, size);
    r.SetU8(kInputRows, 1);
    r.SetU8(kInputSize, size);
    r.SetU8(kInputHasValue, tag.Has("VALUE") && !value.empty() ? 1 : 0);
    r.SetU8(kInputChecked, tag.Has("CHECKED") ? 1 : 0);
    r.SetU8(kInputMultiple, 0);
    Place(std::move(input));
    return true;
}

// A list or drop-down input with its items, up to the end tag "select".
void THt2Page::Select(const struct Tag& tag) {
    const int size = NumberOf(tag.Get("SIZE"), 1, 0, 255);
    const std::size_t end = EndOfElement(tag.after, "select");
    std::string items;
    int count = 0;
    for (std::size_t at = text_.find('<', tag.after); at != std::string_view::npos && at < end;) {
        const struct Tag option = ReadTag(text_, at);
        if (option.end || option.name != "option") {
            at = text_.find('<', std::max(option.after, at + 1));
            continue;
        }
        const std::size_t next = std::min(text_.find('<', option.after), end);
        std::string raw;
        for (std::size_t i = option.after; i < next && i < text_.size(); ++i)
            if (static_cast<unsigned char>(text_[i]) > 31) raw += text_[i];
        items += CleanWindowName(DecodeText(raw)) + "\n" +
                 CleanWindowName(DecodeText(option.Get("VALUE"))) + "\n" +
                 (option.Has("SELECTED") ? "X" : "") + "\n";
        ++count;
        at = next;
    }
    auto input =
        NewObject(K::inputStat, int(size == 1 ? FormInputKind::DropDown : FormInputKind::List));
    RecordView r = input->View();
    r.SetPStr(kInputName, DecodeText(tag.Get("NAME")).substr(0, 79));
    r.SetPStr(kInputValue, "");
    r.SetU8(kInputColumns, 0);
    r.SetU8(kInputHasValue, 0);
    r.SetU8(kInputChecked, 0);
    r.SetU8(kInputSize, std::uint8_t(size));
    r.SetU8(kInputRows, std::uint8_t(std::min(count, 255)));
    r.SetU8(kInputMultiple, tag.Has("MULTIPLE") ? 1 : 0);
    input->SetContent(std::move(items));
    Place(std::move(input));
    pos_ = end;
}

// A text area whose text runs to the end tag "textarea", line breaks kept, tags left out.
void THt2Page::TextArea(const struct Tag& tag) {
    const std::size_t end = EndOfElement(tag.after, "textarea");
    std::string text;
    // The end tag is a tag too: it is left out with the others.
    for (std::size_t i = tag.after; i < end && i < text_.size();) {
        const char c = text_[i];
        if (c == '<') {
            i = std::max(ReadTag(text_, i).after, i + 1);
            continue;
        }
        if (c == '&') {
            std::size_t p = i;
            const int decoded = DecodeHtmlEntity(text_, p);
            text += decoded < 0 ? '&' : char(decoded);
            i = std::max(p, i + 1);
            continue;
        }
        if (c == '\r') {
            text += '\n';
            if (i + 1 < end && text_[i + 1] == '\n') ++i;
        } else if (c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= ' ') {
            text += c;
        }
        ++i;
    }
    // The line break just after the tag belongs to the markup, not to the text.
    if (text.starts_with('\n')) text.erase(0, 1);
    auto input = NewObject(K::inputStat, int(FormInputKind::TextArea));
    RecordView r = input->View();
    r.SetPStr(kInputName, DecodeText(tag.Get("NAME")).substr(0, 79));
    r.SetU8(kInputRows, std::uint8_t(NumberOf(tag.Get("ROWS"), 8, 0, 255)));
    r.SetU8(kInputColumns, std::uint8_t(NumberOf(tag.Get("COLS"), 40, 0, 255)));
    r.SetPStr(kInputValue, "");
    r.SetU8(kInputSize, 0);
    r.SetU8(kInputHasValue, text.empty() ? 0 : 1);
    r.SetU8(kInputChecked, 0);
    r.SetU8(kInputMultiple, 0);
    if (!text.empty()) input->SetContent(std::move(text));
    Place(std::move(input));
    pos_ = end;
}

// An embedded applet: its code is the text up to the end tag "embed", nested tags left out.
// The end tag is its own only when no other tag comes first; otherwise it holds nothing.
void THt2Page::Embed(const struct Tag& tag) {
    std::size_t stop = tag.after;
    const std::size_t next = text_.find('<', tag.after);
    if (next != std::string_view::npos && StartsNoCase(text_.substr(next), "</embed"))
        stop = EndOfElement(tag.after, "embed");
    std::string code;
    PutI32(code, 0);
    if (next != std::string_view::npos && next < stop)
        code += text_.substr(tag.after, next - tag.after);
    auto media = NewObject(K::multiMedia, 5);
    RecordView r = media->View();
    r.SetI32(kMediaSource, -1);
    r.SetI32(kMediaPoster, -1);
    media->SetAuxiliary(std::move(code));
    Place(std::move(media));
    pos_ = stop;
}

// Just past the end tag "</name" + ">" after `from`; the text's end when there is none.
std::size_t THt2Page::EndOfElement(std::size_t from, std::string_view name) const {
    for (std::size_t at = text_.find("</", from); at != std::string_view::npos;
         at = text_.find("</", at + 2)) {
        const std::string_view rest = text_.substr(at + 2);
        if (!StartsNoCase(rest, name)) continue;
        const std::size_t after = at + 2 + name.size();
        if (after < text_.size() && std::isalnum(static_cast<unsigned char>(text_[after])))
            continue;
        const std::size_t close = text_.find('>', after);
        return close == std::string_view::npos ? text_.size() : close + 1;
    }
    return text_.size();
}

// ---------------------------------------------------------------------------------------------
// Tables.

THt2Page::Table* THt2Page::CurrentTable() {
    const int t = states_.current.table;
    return t >= 0 && std::size_t(t) < tables_.size() ? &tables_[std::size_t(t)] : nullptr;
}

void THt2Page::TableStart(const struct Tag& tag) {
    // A table in a cell left open by a missing end tag still nests in that cell.
    states_.Push(THt2StateList::lTable);
    auto object = NewObjectOfKind(K::tabellaHtml, &set_);
    object->Clear();
    object->TakeIntoUse();
    RecordView r = object->View();
    const std::string width = TrimmedCopy(tag.Get("WIDTH"));
    if (!width.empty() && width.back() == '%') {
        r.SetU8(kTablePercentFlag, 1);
        r.SetU8(kTablePercent, std::uint8_t(NumberOf(width, 100, 1, 100)));
    } else if (!width.empty() && std::isdigit(static_cast<unsigned char>(width[0]))) {
        r.SetU8(kTablePercentFlag, 0);
        r.SetI16(kTableFixedWidth, std::int16_t(NumberOf(width, 100, 1, 32000)));
    } else {
        r.SetU8(kTablePercentFlag, 1);
        r.SetU8(kTablePercent, 100);
    }
    r.SetU8(kTableBorder, std::uint8_t(NumberOf(tag.Get("BORDER"), 1, 0, 20)));
    if (tag.Has("BORDER") && tag.Get("BORDER").empty()) r.SetU8(kTableBorder, 1);
    r.SetI32(kTableBackground, ColourOf(tag.Get("BGCOLOR"), 0xFFFFFF));
    if (tag.Has("BACKGROUND")) {
        const std::int32_t picture = PictureOf(tag.Get("BACKGROUND"));
        if (picture >= 0)
            r.SetI32(kTableBackground, std::int32_t(0x03000000u | std::uint32_t(picture)));
    }
    const int spacing = NumberOf(tag.Get("CELLSPACING"), -1);
    if (spacing >= 0 && spacing <= 19) r.SetU8(kTableSpacing, std::uint8_t(spacing));
    const int padding = NumberOf(tag.Get("CELLPADDING"), -1);
    if (padding >= 0 && padding <= 19) r.SetU8(kTablePadding, std::uint8_t(padding));
    r.SetU8(kTableRows, 0);
    r.SetU8(kTableColumns, 0);
    Table table;
    table.id = run_.Register(std::move(object));
    tables_.push_back(table);
    if (paraLength_ != 0 || markup_.empty()) {
        // The reference opens a paragraph of its own.
        if (paraLength_ > 0) NewParagraph();
        PendingParagraph();
    }
    Raw("<$" + Hex8(std::uint32_t(MakeCode(K::tabellaHtml, table.id))) + ">");
    ++paraLength_;
    states_.current.table = int(tables_.size() - 1);
    states_.current.style = 1;
    states_.current.classStyled = false;
    NewParagraph();
}

void THt2Page::RowStart(const struct Tag& tag) {
    Table* t = CurrentTable();
    if (!t) return;
    if (t->cellOpen) CellEnd();
    t = CurrentTable();
    if (t && t->rowOpen) RowEnd();
    t = CurrentTable();
    if (!t) return;
    t->rowCells = 0;
    t->rowOpen = true;
    t->rowBackground = -1;
    if (tag.Has("BGCOLOR")) t->rowBackground = ColourOf(tag.Get("BGCOLOR"), -1);
    if (tag.Has("BACKGROUND")) {
        const std::int32_t picture = PictureOf(tag.Get("BACKGROUND"));
        if (picture >= 0) t->rowBackground = std::int32_t(0x03000000u | std::uint32_t(picture));
    }
}

void THt2Page::CellStart(const struct Tag& tag) {
    Table* t = CurrentTable();
    if (!t) return;
    if (t->cellOpen) {
        CellEnd();
        t = CurrentTable();
        if (!t) return;
    }
    t->rowOpen = true;
    t->cellOpen = true;
    const int table = states_.current.table;
    states_.Push(THt2StateList::lCell);
    states_.current.table = table;
    states_.current.style = 1;
    states_.current.classStyled = false;
    states_.current.alignment = 0;
    if (t->rows == 0 && t->columns < kTableMaxColumns) {
        const std::size_t c = std::size_t(t->columns);
        const std::string width = TrimmedCopy(tag.Get("WIDTH"));
        if (!width.empty() && width.back() == '%') {
            t->kinds[c] = 2;
            t->widths[c] = NumberOf(width, 100, 1, 100);
        } else if (!width.empty() && std::isdigit(static_cast<unsigned char>(width[0]))) {
            t->kinds[c] = 1;
            t->widths[c] = NumberOf(width, 100, 1, 32000);
        } else {
            t->kinds[c] = 0;
            t->widths[c] = 100;
        }
    }
    std::int32_t background = t->rowBackground;
    if (tag.Has("BGCOLOR")) background = ColourOf(tag.Get("BGCOLOR"), background);
    if (tag.Has("BACKGROUND")) {
        const std::int32_t picture = PictureOf(tag.Get("BACKGROUND"));
        if (picture >= 0) background = std::int32_t(0x03000000u | std::uint32_t(picture));
    }
    t->backgrounds.push_back(background);
    Alignment(tag);
    NewParagraph();
}

void THt2Page::CellEnd() {
    Table* t = CurrentTable();
    if (!t || !t->cellOpen) return;
    const int index = states_.current.table;
    if (!states_.PopCell()) return;
    states_.current.table = index;
    t = &tables_[std::size_t(index)];
    t->cellOpen = false;
    bool cell = false;
    if (t->rows == 0) {
        if (t->columns < kTableMaxColumns) {
            ++t->columns;
            cell = true;
        }
    } else {
        ++t->rowCells;
        cell = t->rowCells <= t->columns && t->rows < 255;
    }
    if (!cell) {
        // The text of a surplus cell runs on into the next one.
        if (!t->backgrounds.empty()) t->backgrounds.pop_back();
        previousSpace_ = false;
        Character(' ');
        return;
    }
    PendingParagraph();
    Raw("<T>");
    NewParagraph();
}

void THt2Page::RowEnd() {
    Table* t = CurrentTable();
    if (!t) return;
    if (t->cellOpen) CellEnd();
    t = CurrentTable();
    if (!t || !t->rowOpen) return;
    t->rowOpen = false;
    if (t->rows == 0 && t->columns == 0) return;  // a row without cells
    if (t->rows >= 255) return;
    if (t->rows > 0)
        for (int c = t->rowCells; c < t->columns; ++c) {
            Raw("<Z S0 ><patchtr><T>");
            t->backgrounds.push_back(-1);
        }
    ++t->rows;
    t->rowCells = 0;
    NewParagraph();
}

void THt2Page::TableEnd() {
    Table* t = CurrentTable();
    if (!t) return;
    if (t->cellOpen || t->rowOpen) RowEnd();
    t = CurrentTable();
    if (!t) return;
    if (t->rows == 0 && t->columns > 0) t->rows = 1;
    states_.PopTable();
    if (states_.current.table < 0) {
        const THt2State normal = StateOfStyle(set_, 0);
        states_.current.TakeBlock(normal);
        states_.current.style = 0;
    }
    NewParagraph();
}

void THt2Page::FinishTables() {
    // Tables left open at the end of the file, innermost first.
    for (int index : states_.OpenTables()) {
        Table& t = tables_[std::size_t(index)];
        if (t.cellOpen) {
            if (t.rows == 0 && t.columns < kTableMaxColumns)
                ++t.columns;
            else if (t.rows > 0)
                ++t.rowCells;
            if (t.rows == 0 || t.rowCells <= t.columns) Raw("<Z S0 ><T>");
            t.cellOpen = false;
        }
        if (t.rows > 0 && t.rowCells > 0)
            for (int c = t.rowCells; c < t.columns; ++c) Raw("<Z S0 ><T>");
        if ((t.rowCells > 0 || t.rows == 0) && t.columns > 0) ++t.rows;
    }
}

// Tables get their sizes and the "<T>" codes their cells need; tables without columns go.
void THt2Page::PostProcess() {
    if (markup_.find("<Z S") == std::string::npos) markup_.insert(0, "<Z S0 >");
    // Sizes into the objects.
    for (Table& t : tables_) {
        TKYToggetto* object = set_.ObjectByKind(K::tabellaHtml, t.id);
        if (!object) continue;
        if (t.columns == 0) continue;
        t.rows = std::clamp(t.rows, 1, 255);
        RecordView r = object->View();
        r.SetU8(kTableRows, std::uint8_t(t.rows));
        r.SetU8(kTableColumns, std::uint8_t(t.columns));
        for (int c = 0; c < t.columns; ++c) {
            r.SetU8At(kTableColumnKinds + std::size_t(c), t.kinds[std::size_t(c)]);
            r.SetI16At(kTableColumnWidths + 2 * std::size_t(c),
                       std::int16_t(t.widths[std::size_t(c)]));
        }
        const std::size_t cells = std::size_t(t.rows) * std::size_t(t.columns);
        t.backgrounds.resize(cells, -1);
        if (std::any_of(t.backgrounds.begin(), t.backgrounds.end(),
                        [](std::int32_t b) { return b != -1; })) {
            std::string colours;
            for (std::int32_t b : t.backgrounds) PutI32(colours, b);
            object->SetAuxiliary(colours);
        }
    }
    std::map<std::int32_t, std::size_t> byId;
    for (std::size_t i = 0; i < tables_.size(); ++i) byId[tables_[i].id] = i;

    auto paragraphBefore = [&](const std::string& out) {
        // Character codes and control characters between do not count.
        std::size_t end = out.size();
        while (end > 0) {
            const unsigned char c = static_cast<unsigned char>(out[end - 1]);
            if (c < ' ') {
                --end;
                continue;
            }
            if (c == '>') {
                const std::size_t open = out.rfind('<', end - 1);
                if (open == std::string::npos) return false;
                if (out.compare(open, 2, "<Y") == 0) {
                    end = open;
                    continue;
                }
                return out.compare(open, 2, "<Z") == 0;
            }
            return false;
        }
        return false;
    };
    auto paragraphAfter = [&](std::size_t at) { return markup_.compare(at, 2, "<Z") == 0; };

    std::string out;
    out.reserve(markup_.size() + markup_.size() / 8);
    struct Open {
        std::size_t table;
        long remaining;
    };
    std::vector<Open> open;
    for (std::size_t i = 0; i < markup_.size();) {
        if (markup_[i] != '<') {
            // Text up to the next tag as it is.
            const std::size_t next = std::min(markup_.find('<', i), markup_.size());
            out.append(markup_, i, next - i);
            i = next;
            continue;
        }
        if (markup_.compare(i, 4, "<$08") == 0 && i + 11 <= markup_.size() &&
            markup_[i + 10] == '>') {
            std::uint32_t id = 0;
            if (ParseHex(std::string_view(markup_).substr(i + 4, 6), 6, id) == 6 &&
                byId.count(std::int32_t(id))) {
                Table& t = tables_[byId[std::int32_t(id)]];
                i += 11;
                if (t.columns == 0) {
                    out += std::string(11, '\t');
                    if (TKYToggetto* object = set_.ObjectByKind(K::tabellaHtml, t.id)) {
                        object->Clear();
                        run_.Freed(*object);
                    }
                    continue;
                }
                if (!paragraphBefore(out)) out += "<Z S1 >";
                out += "<$" + Hex8(std::uint32_t(MakeCode(K::tabellaHtml, t.id))) + ">";
                if (!paragraphAfter(i)) out += "<Z S1 >";
                open.push_back({byId[std::int32_t(id)], long(t.rows) * t.columns});
                continue;
            }
        }
        if (markup_.compare(i, 3, "<T>") == 0) {
            i += 3;
            if (open.empty()) {
                out += "\t\t\t";
                continue;
            }
            out += "<T>";
            const bool last = --open.back().remaining <= 0;
            if (last) open.pop_back();
            const bool anotherT = markup_.compare(i, 3, "<T>") == 0;
            if (!paragraphAfter(i) && !(last && anotherT)) out += "<Z S1 >";
            continue;
        }
        out += markup_[i++];
    }
    while (!open.empty()) {
        for (long c = 0; c < open.back().remaining; ++c) out += "<Z S1 ><T>";
        out += "<Z S1 >";
        open.pop_back();
    }
    markup_ = std::move(out);
}

// ---------------------------------------------------------------------------------------------
// Tags.

void THt2Page::Alignment(const struct Tag& tag) {
    if (!tag.Has("ALIGN")) return;
    if (states_.current.style != 0 && states_.current.style != 1) return;
    const std::string a = LowerAscii(TrimmedCopy(tag.Get("ALIGN")));
    if (a.empty() || a == "left") states_.current.alignment = 0;
    if (a == "right") states_.current.alignment = 1;
    if (a == "center" || a == "middle") states_.current.alignment = 2;
}

void THt2Page::CharacterLevel() {
    states_.Push(THt2StateList::lCharacter);
}

void THt2Page::EndCharacterLevel() {
    if (states_.PopCharacter()) CharacterCode();
}

void THt2Page::Comment(std::size_t at) {
    const std::string_view rest = text_.substr(at);
    std::size_t end;
    std::string inner;
    if (rest.starts_with("<!--")) {
        const std::size_t close = text_.find("-->", at + 4);
        end = close == std::string_view::npos ? text_.size() : close + 3;
        inner = std::string(text_.substr(
            at + 4, (close == std::string_view::npos ? text_.size() : close) - at - 4));
    } else {
        const std::size_t close = text_.find('>', at + 2);
        end = close == std::string_view::npos ? text_.size() : close + 1;
        inner = std::string(text_.substr(
            at + 2, (close == std::string_view::npos ? text_.size() : close) - at - 2));
    }
    pos_ = end;
    if (rest.starts_with("<!--pageOrvo")) {
        marker_ = true;
        return;
    }
    if (rest.starts_with("<!ORVO")) {
        authored_ = true;
        return;
    }
    if (rest.starts_with("<!lisnum>")) {
        const std::size_t close = text_.find("<!/lisnum>", at);
        pos_ = close == std::string_view::npos ? text_.size() : close + 10;
        return;
    }
    if (rest.starts_with("<!/lisnum>")) return;
    if (rest.starts_with("<!ov_l")) {
        if (authored_) run_.language = NumberOf(inner.substr(4), 1033, 0, 65535);
        return;
    }
    if (rest.starts_with("<!ov_s")) {
        if (!authored_) return;
        const int n = NumberOf(inner.substr(4), 0, 0, 65535);
        Raw("<Z S" + std::to_string(n) + " >");
        const int table = states_.current.table;
        states_.current.TakeBlock(StateOfStyle(set_, n));
        states_.current.table = table;
        paraLength_ = 0;
        return;
    }
    if (inHead_) {
        headCode_ += std::string(text_.substr(at, end - at)) + "\r\n";
        return;
    }
    // Any other comment or declaration: an annotation written back as a comment.
    Marker(kAnnotationSubtype, "n.n.\r\n" + inner);
}

void THt2Page::HeadTag(const struct Tag& tag, std::size_t at) {
    if (tag.end) return;
    if (tag.name == "title") {
        const std::size_t close = EndOfElement(tag.after, "title");
        const std::size_t textEnd = text_.rfind("</", close == 0 ? 0 : close - 1);
        const std::size_t stop =
            textEnd == std::string_view::npos || textEnd < tag.after ? close : textEnd;
        title_ = TrimmedCopy(DecodeText(text_.substr(tag.after, stop - tag.after)));
        pos_ = close;
        return;
    }
    if (tag.name == "meta") {
        const std::string name = UpperAscii(TrimmedCopy(tag.Get("NAME")));
        if (name == "KEYWORDS") {
            const std::string content = DecodeText(tag.Get("CONTENT"));
            std::size_t start = 0;
            while (start <= content.size()) {
                const std::size_t end = content.find_first_of(",;", start);
                std::string word = TrimmedCopy(content.substr(
                    start, end == std::string::npos ? std::string::npos : end - start));
                if (!word.empty()) keywords_.push_back(word.substr(0, 79));
                if (end == std::string::npos) break;
                start = end + 1;
            }
            return;
        }
        if (name == "GENERATOR") return;
        // The charset was read before the scan: the page is Windows-1252 now.
        if (UpperAscii(tag.Get("HTTP-EQUIV")) == "CONTENT-TYPE" || tag.Has("CHARSET")) return;
        headCode_ += std::string(text_.substr(at, tag.after - at)) + "\r\n";
        return;
    }
    if (tag.name == "link") {
        if (UpperAscii(TrimmedCopy(tag.Get("REL"))) == "STYLESHEET" && tag.Has("HREF")) {
            const std::filesystem::path sheet = Resolve(tag.Get("HREF"));
            if (InsideFolder(sheet, root_)) run_.ImportStyleSheet(NameOfPath(sheet));
        }
        return;
    }
    if (tag.name == "script" || tag.name == "style") {
        const std::size_t end = EndOfElement(tag.after, tag.name);
        headCode_ += std::string(text_.substr(at, end - at)) + "\r\n";
        pos_ = end;
        return;
    }
}

void THt2Page::BodyStart(const struct Tag& tag, std::size_t at) {
    const std::string& n = tag.name;
    THt2State& s = states_.current;
    if (n == "p") {
        states_.Push(THt2StateList::lBlock);
        Alignment(tag);
        if (paraLength_ > 0) {
            NewParagraph();
            PendingParagraph();
        }
        NewParagraph();
    } else if (n.starts_with("div")) {
        states_.Push(THt2StateList::lBlock);
        if (authored_) return;
        if (run_.classMap.empty()) {
            Alignment(tag);
            NewParagraph();
            return;
        }
        const auto found = run_.classMap.find(LowerAscii(TrimmedCopy(tag.Get("CLASS"))));
        const int table = s.table;
        const int style = found == run_.classMap.end() ? (table >= 0 ? 1 : 0) : found->second;
        const THt2State styled = StateOfStyle(set_, style);
        s.TakeCharacter(styled);
        s.TakeBlock(styled);
        s.table = table;
        s.classStyled = found != run_.classMap.end();
        const THt2State before = s;
        ApplyBlock(s, LowerAscii(tag.Get("STYLE")), ppi_);
        std::string code = "<Z S" + std::to_string(style) + " ";
        auto diff = [&](const char* letter, int a, int b) {
            if (a != b) code += std::string(letter) + std::to_string(a) + " ";
        };
        diff("A", s.alignment, before.alignment);
        diff("N", s.numbering, before.numbering);
        diff("L", s.lineHeight, before.lineHeight);
        diff("I", s.firstIndent, before.firstIndent);
        diff("l", s.left, before.left);
        diff("r", s.right, before.right);
        diff("t", s.top, before.top);
        diff("b", s.bottom, before.bottom);
        Raw(code + ">");
        paraLength_ = 0;
        mergeSpace_ = true;
        previousSpace_ = false;
        CharacterCode();
    } else if (n == "br" || n == "hr" || n == "dl" || n.starts_with("dt") || n.starts_with("dd")) {
        if (n == "br" && paraLength_ < 0) PendingParagraph();
        NewParagraph();
    } else if (n == "ol" || n == "ul") {
        if (!authored_) NewParagraph();
    } else if (n == "span") {
        // Its attributes are not read.
    } else if (n.size() == 2 && n[0] == 'h' && n[1] >= '0' && n[1] <= '7') {
        static constexpr std::array<int, 8> kHeading{12, 27, 19, 14, 12, 10, 8, 12};
        Alignment(tag);
        NewParagraph();
        CharacterLevel();
        states_.current.size = kHeading[std::size_t(n[1] - '0')];
        states_.current.flags |= 1;
    } else if (n == "b" || n == "em" || n.starts_with("strong")) {
        CharacterLevel();
        states_.current.flags |= n == "em" ? 2 : 1;
        CharacterCode();
    } else if (n == "i" || n == "cite" || n == "var") {
        CharacterLevel();
        states_.current.flags |= 2;
        CharacterCode();
    } else if (n == "u") {
        CharacterLevel();
        states_.current.flags |= 4;
        CharacterCode();
    } else if (n == "s" || n == "strike" || n == "del") {
        CharacterLevel();
        states_.current.flags |= 8;
        CharacterCode();
    } else if (n == "small") {
        CharacterLevel();
        states_.current.size = SmallerSize(states_.current.size, 1);
        CharacterCode();
    } else if (n == "sub" || n == "sup") {
        states_.Push(THt2StateList::lPosition);
        states_.current.position = n == "sub" ? 1 : 2;
        CharacterLevel();
        states_.current.size = SmallerSize(states_.current.size, 1);
        CharacterCode();
    } else if (n == "font") {
        CharacterLevel();
        THt2State& c = states_.current;
        if (!c.classStyled) {
            if (tag.Has("COLOR")) c.colour = ColourOf(tag.Get("COLOR"), c.colour);
            if (tag.Has("FACE")) {
                std::string face = tag.Get("FACE");
                face = TrimmedCopy(face.substr(0, face.find_first_of(",;")));
                std::erase_if(face, [](char ch) {
                    return static_cast<unsigned char>(ch) < ' ' || ch == '"' || ch == '<' ||
                           ch == '>';
                });
                if (!face.empty()) c.font = face.substr(0, 32);
            }
            if (tag.Has("SIZE")) {
                const std::string v = TrimmedCopy(tag.Get("SIZE"));
                int size = NumberOf(v, 3, -100, 100);
                if (!v.empty() && (v[0] == '+' || v[0] == '-')) size += 3;
                c.size = size >= 1 && size <= 7 ? kFontSizes[std::size_t(size - 1)] : 12;
            }
            ApplyBlock(c, tag.Get("STYLE"), ppi_);
        }
        CharacterCode();
    } else if (n == "pre" || n == "listing" || n == "xmp" || n == "plaintext") {
        NewParagraph();
        CharacterLevel();
        states_.current.font = "Courier New";
        states_.current.size = SmallerSize(states_.current.size, n == "listing" ? 2 : 1);
        pre_ = true;
    } else if (n == "a") {
        if (linkOpen_) {
            Raw("<%>");
            linkOpen_ = false;
        }
        if (!tag.Has("HREF")) return;  // a named anchor
        const std::int32_t code = LinkCode(tag.Get("HREF"));
        PendingParagraph();
        Raw("<$" + Hex8(std::uint32_t(code)) + ">");
        linkOpen_ = true;
    } else if (n == "img") {
        Image(tag);
    } else if (n == "map") {
        Map(tag);
    } else if (n == "embed") {
        Embed(tag);
    } else if (n == "object" || n == "applet" || n == "video" || n == "audio" || n == "iframe") {
        // Media the model has no player object for: kept as the page's own HTML.
        const std::size_t end = EndOfElement(tag.after, n);
        CustomHtml(at, end);
        pos_ = end;
    } else if (n == "form") {
        FormStart(tag);
    } else if (n == "input") {
        if (!Input(tag)) CustomHtml(at, tag.after);
    } else if (n == "button" || n == "isindex") {
        CustomHtml(at, tag.after);
    } else if (n == "select") {
        Select(tag);
    } else if (n.starts_with("textarea")) {
        TextArea(tag);
    } else if (n.starts_with("table")) {
        if (authored_) return;
        TableStart(tag);
    } else if (n == "tr") {
        if (!authored_) RowStart(tag);
    } else if (n == "td" || n == "th") {
        if (!authored_) CellStart(tag);
    } else if (n.starts_with("body")) {
        for (const char* key : {"BGCOLOR", "TEXT", "LINK", "VLINK", "BACKGROUND"})
            if (tag.Has(key)) body_[key] = tag.Get(key);
    } else if (n == "li") {
        if (authored_) return;
        NewParagraph();
        if (!run_.classMap.empty()) return;
        states_.current.numbering = 10;
        Raw("<Z S" + std::to_string(s.style) + " A" + std::to_string(s.alignment) + " N10 >");
        paraLength_ = 0;
        Raw(CharacterCodeText());
        written_ = states_.current;
        states_.current.numbering = 0;
    } else if (n == "link") {
        HeadTag(tag, at);
    } else if (n == "script" || n == "style") {
        const std::size_t end = EndOfElement(tag.after, n);
        if (n == "script")
            CustomHtml(at, end);
        else
            headCode_ += std::string(text_.substr(at, end - at)) + "\r\n";
        pos_ = end;
    } else if (n == "title") {
        // Outside the head its text is page text.
    } else if (n == "frame") {
        // A frame's page is a link the user can follow.
        if (tag.Has("SRC")) {
            const std::int32_t code = LinkCode(tag.Get("SRC"));
            NewParagraph();
            PendingParagraph();
            Raw("<$" + Hex8(std::uint32_t(code)) + ">");
            std::string label = tag.Has("NAME") ? tag.Get("NAME") : tag.Get("SRC");
            for (char c : DecodeText(label)) Write(static_cast<unsigned char>(c));
            Raw("<%>");
            NewParagraph();
        }
    }
}

void THt2Page::BodyEnd(const struct Tag& tag) {
    const std::string& n = tag.name;
    if (n == "a") {
        if (linkOpen_) Raw("<%>");
        linkOpen_ = false;
    } else if (n == "b" || n == "i" || n == "u" || n == "em" || n.starts_with("strong") ||
               n.starts_with("small") || n.starts_with("font") || n == "s" || n == "strike" ||
               n == "del" || n == "cite" || n == "var") {
        EndCharacterLevel();
    } else if (n.size() == 2 && n[0] == 'h' && n[1] >= '0' && n[1] <= '7') {
        EndCharacterLevel();
        NewParagraph();
    } else if (n == "sub" || n == "sup") {
        if (states_.PopPosition()) CharacterCode();
    } else if (n == "p") {
        states_.PopBlock();
        NewParagraph();
    } else if (n.starts_with("div")) {
        states_.PopBlock();
        NewParagraph();
    } else if (n == "pre" || n.starts_with("listing") || n == "xmp") {
        pre_ = false;
        EndCharacterLevel();
        NewParagraph();
    } else if (n == "td" || n == "th") {
        if (!authored_)
            CellEnd();
        else
            Raw("<T>");
    } else if (n == "tr") {
        if (!authored_) RowEnd();
    } else if (n == "table") {
        TableEnd();
    } else if (n == "li" || n == "ul" || n == "ol" || n == "dl" || n == "blockquote") {
        NewParagraph();
    } else if (n == "head") {
        inHead_ = false;
    }
}

void THt2Page::Tag(std::size_t at) {
    const std::string_view rest = text_.substr(at);
    if (rest.size() >= 2 && rest[1] == '!') {
        if (rest.starts_with("<!ov_c")) {
            const std::size_t close = text_.find('>', at);
            const std::size_t end = close == std::string_view::npos ? text_.size() : close + 1;
            std::string t;
            for (char c : text_.substr(at + 6, end - at - 6)) {
                if (c == '&')
                    t += "&amp;";
                else if (c == '<')
                    t += "&lt;";
                else if (c == '>')
                    t += "&gt;";
                else
                    t += c;
            }
            pos_ = end;
            if (authored_) Marker(kAnnotationSubtype, t);
            return;
        }
        Comment(at);
        return;
    }
    if (rest.size() >= 2 && rest[1] == '?') {
        const std::size_t close = text_.find('>', at);
        pos_ = close == std::string_view::npos ? text_.size() : close + 1;
        if (inHead_ || rest.starts_with("<?xml")) return;
        std::string_view attributes =
            text_.substr(std::min(at + 10, pos_), pos_ - std::min(at + 10, pos_));
        const std::size_t space = attributes.find(' ');
        std::string tagText = "<x";
        if (space != std::string_view::npos) tagText += std::string(attributes.substr(space));
        const struct Tag order = ReadTag(tagText, 0);
        auto marker = NewObjectOfKind(K::shortObj, &set_);
        marker->Clear();
        marker->TakeIntoUse();
        marker->Record()[4] = kCatalogueSubtype;
        marker->View().SetI32(kShortReference, NumberOf(order.Get("ORDER"), 0));
        const std::int32_t id = run_.Register(std::move(marker));
        PendingParagraph();
        Raw("<$" + Hex8(std::uint32_t(MakeCode(K::shortObj, id))) + ">");
        ++paraLength_;
        return;
    }
    const bool letter = rest.size() >= 2 && (std::isalpha(static_cast<unsigned char>(rest[1])) ||
                                             (rest[1] == '/' && rest.size() >= 3));
    if (!letter) {
        // A "<" that opens no tag is text.
        pos_ = at + 1;
        Character('<');
        return;
    }
    const struct Tag tag = ReadTag(text_, at);
    pos_ = tag.after;
    if (!tag.end && tag.name == "head") {
        inHead_ = true;
        headSeen_ = true;
        return;
    }
    if (!tag.end && tag.name.starts_with("body")) inHead_ = false;
    if (inHead_) {
        if (tag.end && tag.name == "head") {
            inHead_ = false;
            return;
        }
        // A body tag in a page without "<body>" ends the head.
        static constexpr std::array<std::string_view, 10> kBodyTags{
            "p", "div", "table", "h1", "h2", "h3", "img", "center", "font", "br"};
        if (tag.end || std::find(kBodyTags.begin(), kBodyTags.end(), tag.name) == kBodyTags.end()) {
            HeadTag(tag, at);
            return;
        }
        inHead_ = false;
    }
    if (!headSeen_ && !tag.end && (tag.name == "title" || tag.name == "meta")) {
        // A head without "<head>".
        HeadTag(tag, at);
        return;
    }
    if (tag.end)
        BodyEnd(tag);
    else
        BodyStart(tag, at);
}

THt2Imp::Scanned THt2Page::Run() {
    const bool preview = run_.Options().ImpPreview;
    while (pos_ < text_.size()) {
        if (preview && markup_.size() > kPreviewLimit) break;
        const unsigned char c = static_cast<unsigned char>(text_[pos_]);
        if (c == 0) break;
        if (c == '<') {
            Tag(pos_);
            continue;
        }
        ++pos_;
        if (inHead_) continue;
        if (c == '>') continue;
        if (c == '&') {
            std::size_t p = pos_ - 1;
            const int decoded = DecodeHtmlEntity(text_, p);
            pos_ = p;
            previousSpace_ = false;
            if (decoded < 0) {
                Write('&');
                continue;
            }
            if (decoded == 0xA0 && (authored_ || marker_ || paraLength_ > 0) && mergeSpace_) {
                mergeSpace_ = false;
                Write(' ');
                continue;
            }
            if (decoded == 0xA0) mergeSpace_ = true;
            Write(static_cast<unsigned char>(decoded));
            continue;
        }
        Character(c);
    }
    if (linkOpen_) Raw("<%>");
    FinishTables();
    PostProcess();
    THt2Imp::Scanned scanned;
    scanned.markup = std::move(markup_);
    scanned.headCode = std::move(headCode_);
    scanned.title = std::move(title_);
    scanned.keywords = std::move(keywords_);
    scanned.body = std::move(body_);
    return scanned;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The run.

THt2Imp::THt2Imp(TKYTset& set, HtmlImportOptions options)
    : set_(set), options_(std::move(options)) {}

void THt2Imp::StartRun() {
    firstFree_.fill(0);
    webLinks_.clear();
    webLinksRead_ = false;
}

std::int32_t THt2Imp::Register(std::unique_ptr<TKYToggetto> object) {
    const int kind = KindIndex(object->Kind());
    static_assert(kKindCount <= std::tuple_size_v<decltype(firstFree_)>);
    if (kind < 0 || kind >= kKindCount) return set_.Register(std::move(object));
    // The first free entry at or after the first one this run has not filled.
    const auto& list = set_.KindList(object->Kind());
    std::size_t& first = firstFree_[std::size_t(kind)];
    first = std::min(first, list.size());
    while (first < list.size() && !list[first]->IsFree()) ++first;
    // Taking a free entry marks the document changed, a new one at the end does not.
    const bool modified = set_.Modified();
    const bool atEnd = first == list.size();
    const std::int32_t id = set_.Register(std::move(object), std::int32_t(first));
    if (atEnd) set_.SetModified(modified);
    first = std::size_t(id) + 1;
    return id;
}

void THt2Imp::Freed(const TKYToggetto& object) {
    const int kind = KindIndex(object.Kind());
    if (kind < 0 || kind >= kKindCount || object.Identifier() < 0) return;
    std::size_t& first = firstFree_[std::size_t(kind)];
    first = std::min(first, std::size_t(object.Identifier()));
}

std::int32_t THt2Imp::WebLink(std::unique_ptr<TKYToggetto> link) {
    if (!webLinksRead_) {
        webLinksRead_ = true;
        for (const auto& known : set_.KindList(K::internetLink))
            if (known && !known->IsFree()) webLinks_.emplace(known->Name(), known->Identifier());
    }
    std::string name = link->Name();
    if (const auto found = webLinks_.find(name); found != webLinks_.end()) return found->second;
    const std::int32_t id = Register(std::move(link));
    webLinks_.emplace(std::move(name), id);
    return id;
}

THt2Imp::Scanned THt2Imp::Scan(std::string_view bytes, const std::string& fileName) {
    StartRun();
    return ScanPage(bytes, fileName);
}

THt2Imp::Scanned THt2Imp::ScanPage(std::string_view bytes, const std::string& fileName) {
    const std::string text = HtmlBytesToCp1252(bytes);
    THt2Page page(*this, text, fileName);
    return page.Run();
}

std::int32_t THt2Imp::ImportFiles(const std::vector<std::string>& names) {
    StartRun();
    ImportedPages.clear();
    const int total = int(names.size());
    for (int i = 0; i < total; ++i) {
        const std::string& name = names[std::size_t(i)];
        if (OnProgress) OnProgress(i, total, 1);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(NativePath(name), ec)) continue;
        Result<std::string> bytes = ReadFileBytes(NativePath(name));
        if (!bytes) continue;
        classMap.clear();
        Scanned scanned;
        try {
            scanned = ScanPage(*bytes, name);
        } catch (const std::bad_alloc&) {
            continue;
        }
        const std::int32_t number = NewImportedPage(set_, scanned.markup, options_.backgroundColour,
                                                    options_.backgroundPicture);
        ImportedPages.push_back(number);
        TKYToggetto* page = set_.ObjectByKind(K::testoHtml, number);
        if (!page) continue;
        const std::string full = NameOfPath(std::filesystem::absolute(NativePath(name), ec));
        std::string head;
        PutI32(head, std::int32_t(full.size() + 4));
        PutI32(head, std::int32_t(full.size()));
        head += full;
        head += scanned.headCode.empty() ? std::string(" ") : scanned.headCode;
        page->SetAuxiliary(head);
        PageRecord record(*page);
        if (scanned.body.count("BGCOLOR"))
            record.SetBackgroundColour(ColourOf(scanned.body["BGCOLOR"], 0xFFFFFF));
        if (scanned.body.count("TEXT")) record.SetTextColour(ColourOf(scanned.body["TEXT"], 0));
        if (scanned.body.count("LINK")) record.SetLinkColour(ColourOf(scanned.body["LINK"], 0xFF));
        if (scanned.body.count("VLINK"))
            record.SetVisitedColour(ColourOf(scanned.body["VLINK"], 0xFF));
        if (scanned.body.count("BACKGROUND")) {
            const std::filesystem::path folder = NativePath(name).parent_path();
            const std::filesystem::path picture =
                (folder / NativePath(scanned.body["BACKGROUND"])).lexically_normal();
            const std::filesystem::path root =
                options_.rootFolder.empty() ? folder : options_.rootFolder;
            if (InsideFolder(picture, root))
                if (Result<TKYToggetto*> added = set_.AddPictureFromFile(NameOfPath(picture)))
                    record.SetBackgroundPicture((*added)->Identifier());
        }
        record.SetTitle(scanned.title.substr(0, 71));
        int added = 0;
        for (const std::string& word : scanned.keywords) {
            if (added >= kPageKeywordCount) break;
            std::int32_t keyword = -1;
            for (const auto& k : set_.KindList(K::keyword))
                if (!k->IsFree() && k->ReadView().PStr(kKeywordText) == word) {
                    keyword = k->Identifier();
                    break;
                }
            if (keyword < 0) {
                auto made = NewObjectOfKind(K::keyword, &set_);
                made->Clear();
                made->TakeIntoUse();
                made->SetName(word);
                keyword = set_.Register(std::move(made));
            }
            if (record.AddKeyword(keyword)) ++added;
        }
        set_.SetModified(true);
    }
    return ImportedPages.empty() ? 0 : ImportedPages.front();
}

void THt2Imp::ImportStyleSheet(const std::string& file) {
    Result<std::string> bytes = ReadFileBytes(NativePath(file));
    if (!bytes) return;
    const std::string text = HtmlBytesToCp1252(*bytes);
    std::vector<std::string_view> lines = SplitTextLines(text);
    const int ppi = set_.Env().PixelsPerInch() > 0 ? set_.Env().PixelsPerInch() : 96;
    std::string name, className;
    bool building = false;
    THt2State style;
    auto finish = [&] {
        if (!building) return;
        building = false;
        std::array<std::uint8_t, kObjectRecordSize> bytesOfWanted{};
        StyleRecord wanted(bytesOfWanted);
        wanted.SetDefaults();
        WriteStyleFields(wanted, style);
        int number = -1;
        TKYToggetto* equal = nullptr;
        for (const auto& s : set_.KindList(K::stileParagrafo)) {
            if (!s || s->IsFree()) continue;
            const StyleRecord have(s->Record());
            if (have.SameFormat(wanted) && have.FontName() == wanted.FontName()) {
                equal = s.get();
                break;
            }
        }
        if (equal) {
            number = StyleNumber(*equal);
            if (!name.empty() && !SameText1252(StyleRecord(equal->Record()).Name(), name))
                if (TKYToggetto* named = StyleByName(set_, name)) {
                    const StyleRecord have(named->Record());
                    if (have.SameFormat(wanted) && have.FontName() == wanted.FontName())
                        number = StyleNumber(*named);
                }
        } else if (!name.empty()) {
            TKYToggetto* existing = StyleByName(set_, name);
            std::string unique = name.substr(0, kStyleNameLength);
            for (int n = 2; existing && n < 1000; ++n) {
                const std::string suffix = " " + std::to_string(n);
                unique = name.substr(0, kStyleNameLength - suffix.size()) + suffix;
                existing = StyleByName(set_, unique);
            }
            TKYToggetto& made = CreateStyle(set_, unique);
            StyleRecord record(made.Record());
            WriteStyleFields(record, style);
            set_.SetModified(true);
            number = StyleNumber(made);
        }
        if (number >= 0 && !className.empty()) classMap[className] = number;
        name.clear();
    };
    auto block = [&](std::size_t& i, std::string_view first, bool linkOnly, bool apply) {
        // The declarations after "{" up to the line holding "}".
        std::string_view rest = first;
        const std::size_t open = rest.find('{');
        rest = open == std::string_view::npos ? std::string_view() : rest.substr(open + 1);
        std::string collected;
        for (;;) {
            const std::size_t close = rest.find('}');
            collected += std::string(rest.substr(0, close));
            collected += ';';
            if (close != std::string_view::npos || i + 1 >= lines.size()) break;
            rest = lines[++i];
        }
        if (apply) ApplyBlock(style, collected, ppi, linkOnly);
    };
    auto classOf = [](std::string_view line, std::size_t skip) {
        std::string_view rest = line.substr(skip);
        const std::size_t end = rest.find_first_of(" \t{");
        return LowerAscii(rest.substr(0, end));
    };
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.starts_with("/*")) {
            name = line.size() > 6 ? TrimmedCopy(line.substr(3, line.size() - 6)) : std::string();
            continue;
        }
        if (StartsNoCase(line, "DIV.")) {
            const std::string keepName = name;
            finish();
            name = keepName;
            style = THt2State{};
            building = true;
            className = classOf(line, 4);
            block(i, line, false, true);
            continue;
        }
        if (StartsNoCase(line, "A.")) {
            const bool same = building && classOf(line, 2) == className;
            block(i, line, true, same);
            if (same) finish();
        }
    }
    finish();
}

}  // namespace orvo
