// The HTML of a page's markup text.
#include "convert/HtmlText.h"

#include <array>
#include <cmath>
#include <string>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "convert/HtmlExport.h"
#include "model/Markup.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/StyleTable.h"
#include "model/uKYTset.h"

namespace orvo {

namespace {

constexpr std::array<const char*, 4> kAlignmentNames{"left", "right", "center", "justify"};
constexpr std::array<const char*, 6> kUnitNames{"cm", "mm", "in", "pt", "pc", "px"};
constexpr std::array<int, 7> kHtmlFontSizes{8, 10, 12, 14, 19, 27, 34};
constexpr std::int64_t kAbsent = INT64_MIN;

const char* AlignmentName(int a) {
    return a >= 0 && a < 4 ? kAlignmentNames[std::size_t(a)] : "left";
}

bool KeyAt(std::string_view m, std::size_t p, std::string_view key) {
    return m.substr(p, key.size()) == key;
}

// The end of a parameter's value: its terminating blank, or npos when the text ends first.
std::size_t ValueEnd(std::string_view m, std::size_t p) {
    for (std::size_t i = p; i < m.size(); ++i) {
        if (m[i] == '\0') return std::string_view::npos;
        if (m[i] == ' ') return i;
    }
    return std::string_view::npos;
}

}  // namespace

std::string SafeCssName(std::string_view name) {
    std::string out;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || c == '"' || c == '\'' || c == '\\' || c == ';' || c == '{' || c == '}' ||
            c == '<' || c == '>' || c == '&')
            continue;
        out += c;
    }
    return out;
}

HtmlFont StyleFont(const TKYToggetto& style) {
    HtmlFont f;
    f.colour = DefinitionValue(style, StyleField::Colour);
    f.size = DefinitionValue(style, StyleField::FontSize);
    f.name = DefinitionFontName(style);
    f.bits = std::uint8_t(DefinitionValue(style, StyleField::StyleBits) & 15);
    f.position = std::uint8_t(DefinitionValue(style, StyleField::Position));
    return f;
}

HtmlLayout StyleLayout(const TKYToggetto& style) {
    HtmlLayout l;
    l.alignment = DefinitionValue(style, StyleField::Alignment);
    l.numbering = DefinitionValue(style, StyleField::ListKind);
    l.unit = DefinitionValue(style, StyleField::Unit);
    l.lineHeight = DefinitionValue(style, StyleField::LineHeight);
    l.indent = DefinitionValue(style, StyleField::FirstIndent);
    l.left = DefinitionValue(style, StyleField::LeftMargin);
    l.right = DefinitionValue(style, StyleField::RightMargin);
    l.top = DefinitionValue(style, StyleField::SpaceBefore);
    l.bottom = DefinitionValue(style, StyleField::SpaceAfter);
    return l;
}

std::string UnitValue(std::int32_t pixels, int unit, int pixelsPerInch) {
    if (unit < 0 || unit > 5) unit = 5;
    if (pixelsPerInch <= 0) pixelsPerInch = 96;
    static constexpr std::array<double, 5> kPerInch{2.54, 25.4, 1.0, 72.0, 6.0};
    const double value =
        unit == 5 ? double(pixels) : double(pixels) / pixelsPerInch * kPerInch[std::size_t(unit)];
    // The current rounding mode is to nearest, halves to even.
    const long long rounded = std::llrint(value);
    return std::to_string(rounded) + kUnitNames[std::size_t(unit)];
}

std::string FontTag(const HtmlFont& p, const HtmlFont& f) {
    std::string legacy;
    const bool timesName = SameText1252(f.name, "Times New Roman");
    if (!(f.size == 12 && f.colour == 0 && timesName)) {
        if (f.size != 12) {
            static constexpr std::array<const char*, 7> kRelative{"-2", "-1", "+0", "+1",
                                                                  "+2", "+3", "+4"};
            std::size_t n = 6;
            for (std::size_t i = 0; i < kHtmlFontSizes.size(); ++i)
                if (kHtmlFontSizes[i] >= f.size) {
                    n = i;
                    break;
                }
            legacy += " SIZE=";
            legacy += kRelative[n];
        }
        if (f.colour != 0) legacy += " COLOR=#" + HexColour(std::uint32_t(f.colour));
        if (!timesName) legacy += " FACE=\"" + SafeCssName(f.name) + "\"";
    }
    std::string style;
    if (p.colour != f.colour) style += "color:#" + HexColour(std::uint32_t(f.colour)) + ";";
    if (p.name != f.name) style += "font-family:\"" + SafeCssName(f.name) + "\";";
    if (p.size != f.size) style += "font-size:" + std::to_string(f.size) + "pt;";
    if (p.bits != f.bits) {
        if (p.Bold() && !f.Bold()) style += "font-weight:normal;";
        if (p.Italic() && !f.Italic()) style += "font-style:normal;";
        if (p.Underline() != f.Underline() || p.Strike() != f.Strike()) {
            if (f.Underline())
                style += "text-decoration:underline;";
            else if (f.Strike())
                style += "text-decoration:line-through;";
            else
                style += "text-decoration:normal;";
        }
    }
    if (legacy.empty() && style.empty()) return {};
    std::string tag = "<FONT";
    if (!style.empty()) tag += " style='" + style + "'";
    return tag + legacy + ">";
}

HtmlTextWriter::HtmlTextWriter(TKYTtoHtml& exporter, TExportContext& context)
    : exporter_(exporter), context_(context) {
    if (const TKYToggetto* style = StyleByNumber(*exporter_.LinkedKYTset, 0)) {
        paragraphFont_ = StyleFont(*style);
        styleLayout_ = StyleLayout(*style);
        styleLinkColour_ = DefinitionValue(*style, StyleField::LinkColour);
        styleLinkSize_ = DefinitionValue(*style, StyleField::LinkSize);
        styleLinkBits_ = std::uint8_t(DefinitionValue(*style, StyleField::LinkStyle));
    }
    font_ = open_ = paragraphFont_;
    linkColour_ = styleLinkColour_;
    linkSize_ = styleLinkSize_;
    linkBits_ = styleLinkBits_;
}

void HtmlTextWriter::Report(std::string_view text) {
    exporter_.LinkedKYTset->Messages().Show(Box::Error, std::string(text));
}

std::string HtmlTextWriter::Write(std::string_view m) {
    std::size_t p = 0;
    const std::size_t n = m.size();
    while (p < n && m[p] != '\0') {
        const char c = m[p];
        if (c == '<') {
            if (p + 1 >= n) break;
            const char k = m[p + 1];
            const std::size_t gt = m.find('>', p);
            if (gt == std::string_view::npos) break;  // a code without its ">" ends the walk
            if (k == 'D' || k == 'F' || k == 'R') {
                const std::string end = {'<', char(k + 32), '>'};
                const std::size_t e = m.find(end, p + 2);
                if (e == std::string_view::npos) break;
                p = e + 3;
                continue;
            }
            if (k == '$') {
                std::uint32_t code = 0;
                if (ParseHex(m.substr(p + 2, 8), 8, code) == 8) LinkCode(code);
            } else if (k == '%') {
                if (linkOpen_) out_ += "</A>";
                linkOpen_ = false;
                openLink_ = nullptr;
            } else if (k == 'Y') {
                std::size_t q = p + 2;
                CharacterCode(m.substr(0, gt + 1), q);
            } else if (k == 'Z') {
                std::size_t q = p + 2;
                ParagraphStart(m.substr(0, gt + 1), q);
            } else if (k == 'T' && gt == p + 2) {
                WriteCell();
            }
            p = gt + 1;
            continue;
        }
        if (c == '&') {
            std::size_t e = p + 1;
            if (e < n && m[e] == '&') {
                ++e;
            } else if (e < n && m[e] == '#') {
                ++e;
                std::size_t digits = 0;
                while (e < n && digits < 4 && m[e] >= '0' && m[e] <= '9') ++e, ++digits;
                if (digits == 0) e = p + 1;
            } else {
                std::size_t letters = 0;
                while (e < n && letters < 8 &&
                       ((m[e] >= 'a' && m[e] <= 'z') || (m[e] >= 'A' && m[e] <= 'Z') ||
                        (letters > 0 && m[e] >= '0' && m[e] <= '9')))
                    ++e, ++letters;
                if (letters == 0) e = p + 1;
            }
            out_ += FormatChange();
            if (e == p + 1) {
                out_ += "&amp;";  // a lone "&" is text
                previousSpace_ = false;
                textSinceCode_ = true;
                p = e;
                continue;
            }
            if (e < n && m[e] == ';') ++e;
            std::string_view entity = m.substr(p, e - p);
            if (entity.starts_with("&&"))
                out_ += "&amp;";  // the markup's doubled ampersand is one "&" of text
            else
                out_ += entity;
            textSinceCode_ = true;
            p = e;
            continue;
        }
        out_ += FormatChange();
        if (c == ' ') {
            out_ += previousSpace_ ? "&nbsp;" : " ";
            previousSpace_ = true;
        } else {
            out_ += EscapeChar(static_cast<unsigned char>(c));
            previousSpace_ = false;
        }
        textSinceCode_ = true;
        ++p;
    }
    // A text cut short inside a table: its cells and the table are closed.
    while (!tables_.empty()) {
        tables_.back().cell = 1 << 30;
        WriteCell();
    }
    out_ += FormatChange();
    if (paragraphOpen_) {
        CloseParagraph();
    } else {
        out_ += "&nbsp;";
        out_ += CloseFormat();
        if (linkOpen_) out_ += "</A>";
        linkOpen_ = false;
    }
    return std::move(out_);
}

void HtmlTextWriter::ApplyCharacterAttributes(std::string_view m, std::size_t& p, bool withFlags) {
    auto number = [&](std::string_view key) -> std::int64_t {
        if (!KeyAt(m, p, key)) return kAbsent;
        const std::size_t start = p + key.size();
        const std::size_t end = ValueEnd(m, start);
        if (end == std::string_view::npos) {
            Report(kTruncatedLine);
            p = m.size();
            return kAbsent;
        }
        long long v = 0;
        const int used = ParseClampedInt(m.substr(start, end - start), INT32_MIN, INT32_MAX, v);
        p = end + 1;
        return used > 0 ? v : kAbsent;
    };
    if (KeyAt(m, p, "c")) {
        const std::size_t end = ValueEnd(m, p + 1);
        if (end == std::string_view::npos) {
            Report(kTruncatedLine);
            p = m.size();
        } else {
            std::uint32_t rgb = 0;
            ParseHex(m.substr(p + 1, std::min<std::size_t>(6, end - p - 1)), 6, rgb);
            font_.colour =
                std::int32_t(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
            p = end + 1;
        }
    }
    if (KeyAt(m, p, "F\"")) {
        const std::size_t q = m.find('"', p + 2);
        if (q == std::string_view::npos) {
            Report(kTruncatedLine);
            p = m.size();
        } else {
            if (q > p + 2)
                font_.name = std::string(m.substr(p + 2, std::min<std::size_t>(q - p - 2, 32)));
            p = q + 1;
            if (p < m.size() && m[p] == ' ') ++p;
        }
    }
    if (auto v = number("s"); v != kAbsent) font_.size = std::int32_t(v);
    if (withFlags) {
        if (auto v = number("i"); v != kAbsent)
            font_.bits = std::uint8_t(v == 1 ? font_.bits | 2 : font_.bits & ~2);
        if (auto v = number("g"); v != kAbsent)
            font_.bits = std::uint8_t(v == 1 ? font_.bits | 1 : font_.bits & ~1);
    }
    if (auto v = number("y"); v != kAbsent) font_.bits = std::uint8_t(v & 15);
    if (auto v = number("p"); v != kAbsent) font_.position = std::uint8_t(v);
    changed_ = true;
}

void HtmlTextWriter::CharacterCode(std::string_view m, std::size_t& p) {
    if (p < m.size() && m[p] == ' ') ++p;
    if (textSinceCode_) {
        font_ = paragraphFont_;
        textSinceCode_ = false;
    }
    ApplyCharacterAttributes(m, p, true);
}

std::string HtmlTextWriter::CloseFormat() {
    std::string s;
    if (open_.Italic()) s += "</I>";
    if (open_.Bold()) s += "</B>";
    if (open_.position == 1) s += "</SUB>";
    if (open_.position == 2) s += "</SUP>";
    if (fontTagOpen_) s += "</FONT>";
    fontTagOpen_ = false;
    open_.bits = 0;
    open_.position = 0;
    return s;
}

void HtmlTextWriter::CloseParagraph() {
    out_ += "&nbsp;";
    out_ += CloseFormat();
    // A link still open where the paragraph ends is closed inside it.
    if (linkOpen_) out_ += "</A>";
    linkOpen_ = false;
    openLink_ = nullptr;
    if (numbering_ == 6 || numbering_ == 10) out_ += "</LI>";
    out_ += "</DIV>\r\n";
    paragraphOpen_ = false;
}

std::string HtmlTextWriter::FormatChange() {
    if (!changed_) return {};
    std::string s;
    const HtmlFont& f = font_;
    const HtmlFont& o = open_;
    const bool differs =
        f.colour != o.colour || f.name != o.name || f.size != o.size || f.bits != o.bits;
    const std::string tag = differs ? FontTag(paragraphFont_, f) : std::string();
    const bool onlyDifferences = tag.empty() && !(differs && fontTagOpen_);
    if (onlyDifferences) {
        if (o.Italic() && !f.Italic()) s += "</I>";
        if (o.Bold() && !f.Bold()) s += "</B>";
        if (o.position != f.position) {
            if (o.position == 1) s += "</SUB>";
            if (o.position == 2) s += "</SUP>";
        }
    } else {
        if (o.Italic()) s += "</I>";
        if (o.Bold()) s += "</B>";
        if (o.position == 1) s += "</SUB>";
        if (o.position == 2) s += "</SUP>";
    }
    if (differs) {
        if (fontTagOpen_) s += "</FONT>";
        fontTagOpen_ = false;
        if (!tag.empty()) {
            s += tag;
            fontTagOpen_ = true;
        }
    }
    if (onlyDifferences) {
        if (f.Bold() && !o.Bold()) s += "<B>";
        if (f.Italic() && !o.Italic()) s += "<I>";
        if (f.position == 1 && o.position != 1) s += "<SUB>";
        if (f.position == 2 && o.position != 2) s += "<SUP>";
    } else {
        if (f.Bold()) s += "<B>";
        if (f.Italic()) s += "<I>";
        if (f.position == 1) s += "<SUB>";
        if (f.position == 2) s += "<SUP>";
    }
    open_ = f;
    changed_ = false;
    return s;
}

void HtmlTextWriter::ParagraphStart(std::string_view m, std::size_t& p) {
    if (p < m.size() && m[p] == ' ') ++p;
    auto number = [&](std::string_view key) -> std::int64_t {
        if (!KeyAt(m, p, key)) return kAbsent;
        const std::size_t start = p + key.size();
        const std::size_t end = ValueEnd(m, start);
        if (end == std::string_view::npos) {
            Report(kTruncatedLine);
            p = m.size();
            return kAbsent;
        }
        long long v = 0;
        const int used = ParseClampedInt(m.substr(start, end - start), INT32_MIN, INT32_MAX, v);
        p = end + 1;
        return used > 0 ? v : kAbsent;
    };
    if (auto s = number("S"); s != kAbsent) {
        styleNumber_ = int(std::clamp<std::int64_t>(s, 0, INT32_MAX));
        if (const TKYToggetto* style = StyleByNumber(*exporter_.LinkedKYTset, styleNumber_);
            style && !style->IsFree()) {
            paragraphFont_ = StyleFont(*style);
            styleLayout_ = StyleLayout(*style);
            styleLinkColour_ = DefinitionValue(*style, StyleField::LinkColour);
            styleLinkSize_ = DefinitionValue(*style, StyleField::LinkSize);
            styleLinkBits_ = std::uint8_t(DefinitionValue(*style, StyleField::LinkStyle));
        }
    }
    if (paragraphOpen_) CloseParagraph();
    out_ += "<DIV";
    font_ = paragraphFont_;
    ApplyCharacterAttributes(m, p, false);
    HtmlLayout layout = styleLayout_;
    const bool css = exporter_.ExpCSS == TExpCSS::ecUseCSS;
    const int ppi = exporter_.LinkedKYTset->Env().PixelsPerInch();
    std::string style;
    number("P");
    if (auto v = number("A"); v != kAbsent) {
        layout.alignment = int(v);
        if (css) style += std::string("text-align: ") + AlignmentName(layout.alignment) + ";";
    }
    if (auto v = number("N"); v != kAbsent) {
        layout.numbering = int(v);
        if (css) {
            if (v == 0) style += "list-style-type:none;";
            if (v == 6) style += "list-style-type:decimal;";
            if (v == 10) style += "list-style-type:disc;";
        }
    }
    if (auto v = number("M"); v != kAbsent) layout.unit = int(v);
    struct Length {
        const char* key;
        std::int32_t HtmlLayout::*field;
        const char* property;
    };
    static constexpr std::array<Length, 6> kLengths{{
        {"L", &HtmlLayout::lineHeight, "line-height: "},
        {"I", &HtmlLayout::indent, "text-indent: "},
        {"l", &HtmlLayout::left, "margin-left: "},
        {"r", &HtmlLayout::right, "margin-right: "},
        {"t", &HtmlLayout::top, "margin-top: "},
        {"b", &HtmlLayout::bottom, "margin-bottom: "},
    }};
    for (const Length& length : kLengths) {
        if (auto v = number(length.key); v != kAbsent) {
            layout.*length.field = std::int32_t(v);
            if (css) style += length.property + UnitValue(std::int32_t(v), layout.unit, ppi) + ";";
        }
    }
    linkColour_ = styleLinkColour_;
    linkSize_ = styleLinkSize_;
    linkBits_ = styleLinkBits_;
    if (KeyAt(m, p, "C")) {
        const std::size_t end = ValueEnd(m, p + 1);
        if (end == std::string_view::npos) {
            Report(kTruncatedLine);
            p = m.size();
        } else {
            std::uint32_t rgb = 0;
            ParseHex(m.substr(p + 1, std::min<std::size_t>(6, end - p - 1)), 6, rgb);
            linkColour_ =
                std::int32_t(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
            p = end + 1;
        }
    }
    if (auto v = number("S"); v != kAbsent) linkSize_ = std::int32_t(v);
    if (auto v = number("Y"); v != kAbsent) linkBits_ = std::uint8_t(linkBits_ | (v & 15));
    if (layout.alignment != 0) out_ += std::string(" ALIGN=") + AlignmentName(layout.alignment);
    out_ += " class=s" + std::to_string(styleNumber_) + " ";
    out_ += style.empty() ? ">" : " style='" + style + "'>";
    out_ += "\r\n";
    numbering_ = layout.numbering;
    if (numbering_ == 6) {
        out_ += "<!lisnum>" + std::to_string(counter_) + ". <!/lisnum>";
        ++counter_;
    } else if (numbering_ == 10) {
        out_ += "<LI>";
        counter_ = 1;
    } else {
        counter_ = 1;
    }
    const std::string tag = FontTag(paragraphFont_, font_);
    fontTagOpen_ = !tag.empty();
    out_ += tag;
    if (font_.Bold()) out_ += "<B>";
    if (font_.Italic()) out_ += "<I>";
    if (font_.position == 1) out_ += "<SUB>";
    if (font_.position == 2) out_ += "<SUP>";
    open_ = font_;
    paragraphOpen_ = true;
    changed_ = false;
    textSinceCode_ = false;
    previousSpace_ = false;
}

void HtmlTextWriter::LinkCode(std::uint32_t code) {
    const int kind = CodeKind(std::int32_t(code));
    // Objects, tables, form controls and markers are written by the object writers; the text
    // writer handles the links to pages, files, addresses and programs and the special links.
    const bool textLink = kind <= KindIndex(TOggettiHel::genLink) ||
                          kind == KindIndex(TOggettiHel::programma) ||
                          kind == KindIndex(TOggettiHel::speclink);
    if (!textLink) {
        ObjectCode(code);
        return;
    }
    TKYToggetto* target = exporter_.LinkedKYTset->ObjectByCode(std::int32_t(code));
    if (!target || target->IsFree()) return;
    if (linkOpen_) out_ += "</A>";
    linkOpen_ = false;
    openLink_ = nullptr;
    // A target that has no name (a page of another hypertext that cannot be read, a missing
    // page of this one, an empty address) gives no link at all rather than HREF="", which
    // browsers take as this very page.
    const std::string href = LinkHref(*target);
    if (href.empty()) return;
    if ((target->Kind() == TOggettiHel::genLink || target->Kind() == TOggettiHel::programma) &&
        context_.images) {
        bool known = false;
        for (TKYToggetto* image : *context_.images) known = known || image == target;
        if (!known) context_.images->push_back(target);
    }
    out_ += LinkOpening() + href + " >";
    linkOpen_ = true;
    openLink_ = target;
}

std::string HtmlTextWriter::LinkStart(const TKYToggetto& link) {
    return LinkOpening() + LinkHref(link);
}

std::string HtmlTextWriter::LinkOpening() const {
    std::string s = "<A class=s" + std::to_string(styleNumber_) + " ";
    std::string style;
    if (linkColour_ != styleLinkColour_)
        style += "color:#" + HexColour(std::uint32_t(linkColour_)) + ";";
    if (linkSize_ != styleLinkSize_) style += "font-size:" + std::to_string(linkSize_) + "pt;";
    const std::uint8_t differ = linkBits_ ^ styleLinkBits_;
    if (differ & 1) style += linkBits_ & 1 ? "font-weight:bold;" : "font-weight:normal;";
    if (differ & 2) style += linkBits_ & 2 ? "font-style:italic;" : "font-style:normal;";
    if (differ & 4)
        style += linkBits_ & 4 ? "text-decoration:underline;" : "text-decoration:normal;";
    if (!style.empty()) s += "style='" + style + "' ";
    return s;
}

}  // namespace orvo
