// The RTF of one markup text, written while the markup is walked code by code.
#include "convert/RtfBody.h"

#include <algorithm>
#include <cstdlib>

#include "base/ByteReader.h"
#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlText.h"
#include "convert/RtfExport.h"
#include "convert/RtfWriter.h"
#include "model/Entities.h"
#include "model/Markup.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/StyleTable.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "picture/Metafile.h"
#include "picture/Picture.h"
#include "picture/WmfBitmap.h"

namespace orvo {

namespace {

using K = TOggettiHel;

constexpr std::array<const char*, 4> kAlignment{"\\ql", "\\qr", "\\qc", "\\qj"};
constexpr int kDecimalList = 6;
constexpr int kBulletList = 10;
constexpr std::uint8_t kCommentSubtype = 10;

// The parameters of one code (the text between its letter and its ">"), read key by key in
// the order the writer puts them.
class Fields {
public:
    Fields(std::string_view text, TKYTtortf& exporter) : text_(text), exporter_(exporter) {
        Blanks();
    }

    std::optional<std::int64_t> Number(std::string_view key) {
        std::string_view value;
        if (!Value(key, value)) return std::nullopt;
        long long v = 0;
        if (ParseClampedInt(value, INT32_MIN, INT32_MAX, v) == 0) return std::nullopt;
        return v;
    }
    // A colour written RRGGBB, as 0x00BBGGRR.
    std::optional<std::int32_t> Colour(std::string_view key) {
        std::string_view value;
        if (!Value(key, value)) return std::nullopt;
        std::uint32_t rgb = 0;
        ParseHex(value, 6, rgb);
        return std::int32_t(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    }
    std::optional<std::string> Font() {
        if (text_.substr(p_, 2) != "F\"") return std::nullopt;
        const std::size_t q = text_.find('"', p_ + 2);
        if (q == std::string_view::npos) return Truncated(), std::nullopt;
        std::string name(text_.substr(p_ + 2, std::min<std::size_t>(q - p_ - 2, 32)));
        p_ = q + 1;
        Blanks();
        if (name.empty()) return std::nullopt;
        return name;
    }

private:
    bool Value(std::string_view key, std::string_view& value) {
        if (p_ >= text_.size() || text_.substr(p_, key.size()) != key) return false;
        const std::size_t start = p_ + key.size();
        const std::size_t end = text_.find(' ', start);
        if (end == std::string_view::npos) return Truncated(), false;
        value = text_.substr(start, end - start);
        p_ = end;
        Blanks();
        return true;
    }
    void Truncated() {
        exporter_.Report(kTruncatedLine);
        p_ = text_.size();
    }
    void Blanks() {
        while (p_ < text_.size() && text_[p_] == ' ') ++p_;
    }

    std::string_view text_;
    TKYTtortf& exporter_;
    std::size_t p_ = 0;
};

RtfFont FontOfStyle(const TKYToggetto* style) {
    RtfFont f;
    if (!style) return f;
    const HtmlFont h = StyleFont(*style);
    f.name = h.name.empty() ? f.name : h.name;
    f.size = h.size;
    f.colour = h.colour;
    f.bits = h.bits;
    f.position = h.position;
    return f;
}

RtfLayout LayoutOfStyle(const TKYToggetto* style) {
    RtfLayout l;
    if (!style) return l;
    const HtmlLayout h = StyleLayout(*style);
    l.alignment = h.alignment;
    l.numbering = h.numbering;
    l.lineHeight = h.lineHeight;
    l.indent = h.indent;
    l.left = h.left;
    l.right = h.right;
    l.top = h.top;
    l.bottom = h.bottom;
    l.linkSize = DefinitionValue(*style, StyleField::LinkSize);
    l.linkBits = std::uint8_t(DefinitionValue(*style, StyleField::LinkStyle) & 15);
    return l;
}

std::string PositionCode(std::uint8_t position) {
    return position == 1 ? "\\dn6" : position == 2 ? "\\up6" : "\\up0";
}

std::int64_t RoundedDivide(std::int64_t a, std::int64_t b) {
    if (b == 0) return 0;
    const std::int64_t q = (std::llabs(a) * 2 + std::llabs(b)) / (std::llabs(b) * 2);
    return (a < 0) != (b < 0) ? -q : q;
}

}  // namespace

RtfBodyWriter::RtfBodyWriter(TKYTtortf& exporter, int part)
    : exporter_(exporter), part_(part), help_(exporter.HelpMode && !exporter.FragmentMode()) {
    const TKYToggetto* style =
        exporter_.LinkedKYTset ? StyleByNumber(*exporter_.LinkedKYTset, 0) : nullptr;
    paragraphFont_ = font_ = FontOfStyle(style);
    layout_ = LayoutOfStyle(style);
}

std::string RtfBodyWriter::HiddenText(std::string_view text) const {
    return "\\ul0{\\field{\\fldrslt {\\v " + std::string(text) + "}}}";
}

std::string RtfBodyWriter::FontCodes(const RtfFont& f, bool underline) {
    std::string s = "\\f" + std::to_string(exporter_.FontIndex(f.name)) + "\\fs" +
                    std::to_string(std::int64_t(f.size) * 2) + "\\cf" +
                    std::to_string(exporter_.ColourIndex(f.colour));
    s += f.bits & 2 ? "\\i" : "\\i0";
    s += f.bits & 1 ? "\\b" : "\\b0";
    if (underline) s += f.bits & 4 ? "\\ul" : "\\ul0";
    s += f.bits & 8 ? "\\strike" : "\\strike0";
    s += PositionCode(f.position);
    return s;
}

std::string RtfBodyWriter::CharacterCodes(const RtfFont& f) {
    const bool all = !writtenValid_;
    const RtfFont& w = written_;
    std::string s;
    if (all || f.name != w.name) s += "\\f" + std::to_string(exporter_.FontIndex(f.name));
    if (all || f.size != w.size) s += "\\fs" + std::to_string(std::int64_t(f.size) * 2);
    if (all || (f.colour & 0xFFFFFF) != (w.colour & 0xFFFFFF))
        s += "\\cf" + std::to_string(exporter_.ColourIndex(f.colour));
    if (all || (f.bits & 2) != (w.bits & 2)) s += f.bits & 2 ? "\\i" : "\\i0";
    if (all || (f.bits & 1) != (w.bits & 1)) s += f.bits & 1 ? "\\b" : "\\b0";
    if (!help_ && (all || (f.bits & 4) != (w.bits & 4))) s += f.bits & 4 ? "\\ul" : "\\ul0";
    if (all || (f.bits & 8) != (w.bits & 8)) s += f.bits & 8 ? "\\strike" : "\\strike0";
    if (all || f.position != w.position) s += PositionCode(f.position);
    written_ = f;
    writtenValid_ = true;
    if (!s.empty()) s += " ";
    return s;
}

std::string RtfBodyWriter::ParagraphCodes(const RtfFont& f, const RtfLayout& l, bool withText) {
    const int ppi = exporter_.LinkedKYTset ? exporter_.LinkedKYTset->Env().PixelsPerInch() : 96;
    std::string s = FontCodes(f, !help_);
    s += l.alignment >= 0 && l.alignment < 4 ? kAlignment[std::size_t(l.alignment)] : "\\ql";
    const std::string hang = std::to_string(std::abs(std::int64_t(PixelsToTwips(l.indent, ppi))));
    if (l.numbering == kDecimalList) {
        s += "{\\*\\pn \\pnlvlbody\\pndec\\pnstart1\\pnhang\\pnindent" + hang + "{\\pntxta .}}";
        if (withText) s += "{\\pntext " + std::to_string(exporter_.listCounter_++) + ".\\tab}";
    } else if (l.numbering == kBulletList) {
        if (withText) exporter_.listCounter_ = 1;
        const std::string symbol = std::to_string(exporter_.FontIndex("Symbol"));
        s += "{\\*\\pn\\pnlvlblt\\pnf" + symbol + "\\pnstart1\\pnhang\\pnindent" + hang +
             "{\\pntxtb\\'b7}}";
        if (withText) s += "{\\pntext\\f" + symbol + "\\'b7\\tab}";
    } else if (withText) {
        exporter_.listCounter_ = 1;
    }
    if (l.lineHeight >= -19999) s += "\\sl" + std::to_string(PixelsToTwips(l.lineHeight, ppi));
    s += "\\fi" + std::to_string(PixelsToTwips(l.indent, ppi));
    s += "\\li" + std::to_string(PixelsToTwips(l.left, ppi));
    s += "\\ri" + std::to_string(PixelsToTwips(l.right, ppi));
    s += "\\sb" + std::to_string(PixelsToTwips(l.top, ppi));
    s += "\\sa" + std::to_string(PixelsToTwips(l.bottom, ppi));
    return s + " ";
}

std::string RtfBodyWriter::StyleCodes(const TKYToggetto* style) {
    return ParagraphCodes(FontOfStyle(style), LayoutOfStyle(style), false);
}

void RtfBodyWriter::TopicFootnotes() {
    const PageRecord record = PageRecord::Read(*page_);
    const std::string title = RtfString(record.Title());
    out_ += "\\ftnbj {\\super #{\\footnote {\\super #}{\\field{\\fldrslt " +
            exporter_.ContextIdOf(*page_) + "}}}}";
    out_ += "{\\super ${\\footnote {\\super $}{\\field{\\fldrslt " + title + "}}}}";
    const auto keywords = record.Keywords();
    if (std::any_of(keywords.begin(), keywords.end(), [](std::int32_t k) { return k != -1; })) {
        std::string text;
        if (exporter_.TitlesAsKeywords) {
            std::string t = title;
            std::replace(t.begin(), t.end(), ';', ',');
            text += t + ";";
        }
        bool first = true;
        for (std::int32_t k : keywords) {
            if (k == -1) continue;
            if (!first) text += ";";
            first = false;
            const TKYToggetto* keyword =
                exporter_.LinkedKYTset->ObjectByKind(K::keyword, CodeIdentifier(k));
            if (keyword && !keyword->IsFree())
                text += RtfString(keyword->ReadView().PStr(kKeywordText));
        }
        out_ += "{\\super K{\\footnote {\\super K}{\\field{\\fldrslt " + text + "}}}}";
    }
    if (record.Group() >= 0 && record.Order() >= 0 && record.InSequence())
        out_ += "{\\super +{\\footnote {\\super +}{\\field{\\fldrslt " +
                RtfString("seq" + std::to_string(record.Group()) + ":" +
                          std::to_string(record.Order())) +
                "}}}}";
}

std::string RtfBodyWriter::Write(std::string_view m) {
    if (help_ && part_ == rpPage && page_) TopicFootnotes();
    std::size_t p = 0;
    const std::size_t n = m.size();
    while (p < n && m[p] != '\0') {
        const char c = m[p];
        if (c == '<') {
            if (p + 1 >= n) break;
            const char k = m[p + 1];
            const std::size_t gt = m.find('>', p);
            if (gt == std::string_view::npos) {
                exporter_.Report(kTruncatedLine);
                break;
            }
            if (k == 'D' || k == 'F' || k == 'R') {
                const std::string end = {'<', char(k + 32), '>'};
                const std::size_t e = m.find(end, p + 2);
                if (e == std::string_view::npos) break;
                p = e + 3;
                continue;
            }
            const std::string_view code = m.substr(p + 2, gt - p - 2);
            if (k == 'Z') {
                ParagraphStart(code);
            } else if (k == 'Y') {
                CharacterAttributes(code);
            } else if (k == '$') {
                std::uint32_t value = 0;
                // "<@>" after a table's code: its cells are not written inline.
                if (ParseHex(code, 8, value) == 8) ObjectCode(value, m.substr(gt + 1, 3) != "<@>");
            } else if (k == '%') {
                LinkEnd();
            } else if (k == 'T') {
                CellEnd();
            }
            p = gt + 1;
            continue;
        }
        if (c == '&') {
            out_ += RtfChar(DecodeEntity(m, p));
            continue;
        }
        out_ += RtfChar(static_cast<unsigned char>(c));
        ++p;
    }
    LinkEnd();
    // A text that ends inside a table closes the outer table's cells, so its rows end;
    // nested tables write nothing of their own.
    while (tables_.size() > 1) tables_.pop_back();
    while (!tables_.empty()) CellEnd();
    out_ += "\\par \r\n";
    return std::move(out_);
}

void RtfBodyWriter::ParagraphStart(std::string_view code) {
    // A link still open where a paragraph starts ends there.
    LinkEnd();
    if (!firstParagraph_ && !noPar_) out_ += "\\par \r\n";
    firstParagraph_ = false;
    noPar_ = false;
    writtenValid_ = false;
    out_ += tables_.empty() ? "\\pard\\plain " : "\\pard\\intbl";
    Fields fields(code, exporter_);
    const std::optional<std::int64_t> number = fields.Number("S");
    if (!number) return;
    const std::int32_t styleNumber = std::int32_t(std::clamp<std::int64_t>(*number, 0, INT32_MAX));
    out_ += "\\s" + std::to_string(exporter_.StyleIndex(styleNumber));
    const TKYToggetto* style =
        exporter_.LinkedKYTset ? StyleByNumber(*exporter_.LinkedKYTset, styleNumber) : nullptr;
    if (style && style->IsFree()) style = nullptr;
    RtfFont f = FontOfStyle(style);
    RtfLayout l = LayoutOfStyle(style);
    if (auto v = fields.Colour("c")) f.colour = *v;
    if (auto v = fields.Font()) f.name = *v;
    if (auto v = fields.Number("s")) f.size = std::int32_t(*v);
    if (auto v = fields.Number("y")) f.bits = std::uint8_t(*v & 15);
    if (auto v = fields.Number("p")) f.position = std::uint8_t(*v);
    fields.Number("P");
    if (auto v = fields.Number("A")) l.alignment = int(*v);
    if (auto v = fields.Number("N")) l.numbering = int(*v);
    fields.Number("M");
    if (auto v = fields.Number("L")) l.lineHeight = std::int32_t(*v);
    if (auto v = fields.Number("I")) l.indent = std::int32_t(*v);
    if (auto v = fields.Number("l")) l.left = std::int32_t(*v);
    if (auto v = fields.Number("r")) l.right = std::int32_t(*v);
    if (auto v = fields.Number("t")) l.top = std::int32_t(*v);
    if (auto v = fields.Number("b")) l.bottom = std::int32_t(*v);
    fields.Colour("C");
    if (auto v = fields.Number("S")) l.linkSize = std::int32_t(*v);
    if (auto v = fields.Number("Y")) l.linkBits = std::uint8_t(*v & 15);
    paragraphFont_ = font_ = f;
    layout_ = l;
    const int ppi = exporter_.LinkedKYTset ? exporter_.LinkedKYTset->Env().PixelsPerInch() : 96;
    paragraphLeft_ = PixelsToTwips(l.left, ppi);
    paragraphRight_ = PixelsToTwips(l.right, ppi);
    out_ += ParagraphCodes(f, l, true);
}

void RtfBodyWriter::CharacterAttributes(std::string_view code) {
    Fields fields(code, exporter_);
    RtfFont f = paragraphFont_;
    if (auto v = fields.Colour("c")) f.colour = *v;
    if (auto v = fields.Font()) f.name = *v;
    if (auto v = fields.Number("s")) f.size = std::int32_t(*v);
    if (auto v = fields.Number("i")) f.bits = std::uint8_t(*v == 1 ? f.bits | 2 : f.bits & ~2);
    if (auto v = fields.Number("g")) f.bits = std::uint8_t(*v == 1 ? f.bits | 1 : f.bits & ~1);
    if (auto v = fields.Number("y")) f.bits = std::uint8_t(*v & 15);
    if (auto v = fields.Number("p")) f.position = std::uint8_t(*v);
    font_ = f;
    RtfFont shown = f;
    if (linkOpen_) {
        shown = paragraphFont_;
        if (layout_.linkSize < 0) {
            shown.size = f.size;
            shown.bits = std::uint8_t((f.bits ^ layout_.linkBits) & 15);
        }
    }
    out_ += CharacterCodes(shown);
}

void RtfBodyWriter::ObjectCode(std::uint32_t code, bool cellsFollow) {
    const TKYToggetto* object = exporter_.Resolve(std::int32_t(code));
    if (!object) return;
    switch (object->Kind()) {
        case K::testoHtml:
        case K::internetLink:
        case K::genLink:
        case K::speclink:
        case K::programma:
            LinkStart(*object);
            break;
        case K::tabellaHtml:
            if (cellsFollow) TableStart(*object);
            break;
        case K::shortObj:
            if (object->Subtype() == kCommentSubtype && part_ == rpPage) Comment(*object);
            break;
        case K::immagineNew:
            Picture(*object);
            break;
        default:
            break;
    }
}

void RtfBodyWriter::LinkStart(const TKYToggetto& link) {
    LinkEnd();
    if (help_) {
        const bool popup = link.Kind() == K::speclink && link.Subtype() == 1 &&
                           link.ReadView().U8(kSpecAction) == 4;
        out_ += popup ? "\\ul " : "\\uldb ";
    }
    beforeLink_ = font_;
    link_ = &link;
    linkOpen_ = true;
}

const TKYToggetto* RtfBodyWriter::TargetPage(std::int32_t target) const {
    if (target < 0 || CodeKind(target) != KindIndex(K::testoHtml)) return nullptr;
    // A working text names its pages by their code too: the page's own objects first.
    if (page_ && page_->Code() == target) return page_;
    return LivePage(*exporter_.LinkedKYTset, CodeIdentifier(target));
}

void RtfBodyWriter::LinkEnd() {
    if (!linkOpen_) return;
    linkOpen_ = false;
    const TKYToggetto& link = *link_;
    link_ = nullptr;
    if (help_) {
        const TKYTset& set = *exporter_.LinkedKYTset;
        switch (link.Kind()) {
            case K::testoHtml:
                out_ += HiddenText(exporter_.ContextIdOf(link));
                break;
            case K::genLink:
                out_ += HiddenText(HelpContextId(LastComponent(FromWindowsPath(link.FileName())),
                                                 link.Identifier()));
                break;
            case K::internetLink: {
                const DocumentLink target =
                    set.ParseDocumentLink(link.ReadView().PStr(kLinkAddress));
                if (target.isDocumentLink && target.isCurrentDocument) {
                    const std::int32_t number =
                        target.page < 0 ? set.HeaderView().I32(kHdrCoverPage) : target.page;
                    const TKYToggetto* page = LivePage(set, number);
                    out_ += page ? HiddenText(exporter_.ContextIdOf(*page)) : "\\ul0 ";
                } else if (target.isDocumentLink) {
                    std::string file(LastComponent(FromWindowsPath(target.file)));
                    file = std::string(StemOf(file)) + ".hlp";
                    out_ += HiddenText("!JumpContext(\"" + RtfString(file) + "\"," +
                                       std::to_string(std::max(target.page, 0)) + ")");
                } else {
                    out_ += "\\ul0 ";
                }
                break;
            }
            case K::programma:
                out_ += HiddenText("!ExecProgram(\"" +
                                   RtfString(link.ReadView().PStr(kProgramFile)) + "\",0)");
                break;
            case K::speclink: {
                const RecordView r = link.ReadView();
                const std::string window = HelpWindowName(r.PStr(kSpecName));
                switch (link.Subtype()) {
                    case 1: {
                        const TKYToggetto* target = TargetPage(r.I32(kSpecTarget));
                        const std::string id = target ? exporter_.ContextIdOf(*target) : "";
                        const int action = r.U8(kSpecAction);
                        if (action >= 1 && action <= 3) {
                            exporter_.AddWindow(window);
                            out_ += HiddenText(id + ">" + window);
                        } else {
                            out_ += HiddenText(id);
                        }
                        break;
                    }
                    case 2:
                        exporter_.AddWindow(window);
                        out_ += HiddenText("!CloseWindow(\"" + window + "\")");
                        break;
                    case 3:
                        out_ += HiddenText("!Search()");
                        break;
                    case 4:
                        out_ += HiddenText("!Prev()");
                        break;
                    case 5:
                        out_ += HiddenText("!Next()");
                        break;
                    default:
                        out_ += "\\ul0 ";
                }
                break;
            }
            default:
                break;
        }
    }
    font_ = beforeLink_;
    out_ += CharacterCodes(beforeLink_);
}

void RtfBodyWriter::Comment(const TKYToggetto& comment) {
    const std::string text = comment.Auxiliary().value_or(std::string());
    std::string author = "Orvo";
    std::string rest = text;
    const std::size_t cr = text.substr(0, 50).find('\r');
    // An empty first line leaves the author "Orvo".
    if (cr != std::string::npos) {
        if (cr > 0) author = text.substr(0, cr);
        rest = text.substr(cr + 1);
    }
    const std::string initial(1, char(UpperCase1252(static_cast<unsigned char>(author[0]))));
    out_ += "\\v{\\*\\atnid " + RtfString(initial) + "}{\\*\\atnauthor " + RtfString(author) +
            "}\\chatn {\\*\\annotation \\pard\\plain\\fs20 \\widctlpar{\\chatn }" +
            RtfString(rest) + "}\\v0 ";
}

void RtfBodyWriter::Picture(const TKYToggetto& image) {
    TKYTset& set = *exporter_.LinkedKYTset;
    const RecordView r = image.ReadView();
    const TKYToggetto* picture = set.ObjectByKind(K::immagine, r.I32(kImagePicture));
    if (!picture || picture->IsFree()) return;
    if (help_) {
        HelpBitmap(image, *picture);
        return;
    }
    Result<std::string> bytes = picture->ContentBytes();
    if (!bytes) {
        exporter_.Report(kTempPictureError);
        return;
    }
    const int ppi = set.Env().PixelsPerInch();
    std::int64_t micrometresW = 0, micrometresH = 0;
    std::string data;
    std::string kind = "\\wmetafile8";
    bool drawn = false;
    Result<PictureFormat> format = SniffPictureFormat(*bytes);
    try {
        if (format && *format == PictureFormat::Wmf && IsPlaceableWmf(*bytes)) {
            ByteReader in(*bytes);
            in.Seek(6);
            const std::int16_t left = in.I16(), top = in.I16(), right = in.I16(), bottom = in.I16();
            const std::uint16_t units = in.U16();
            if (units == 0 || bytes->size() <= kPlaceableHeaderSize) throw ParseError("units");
            micrometresW = RoundedDivide(std::llabs(right - left) * 25400, units);
            micrometresH = RoundedDivide(std::llabs(bottom - top) * 25400, units);
            data = bytes->substr(kPlaceableHeaderSize);
        } else if (format && (*format == PictureFormat::Wmf || *format == PictureFormat::Emf)) {
            DecodeLimits limits;
            limits.pixelsPerInch = ppi;
            Result<orvo::Picture> decoded = DecodeMetafile(*bytes, limits);
            if (!decoded) throw ParseError("metafile");
            micrometresW = RoundedDivide(std::int64_t(decoded->width) * 25400, ppi);
            micrometresH = RoundedDivide(std::int64_t(decoded->height) * 25400, ppi);
            // An EMF is no WMF: it travels as an enhanced metafile picture.
            if (*format == PictureFormat::Emf) kind = "\\emfblip";
            data = *bytes;
        } else {
            Result<orvo::Picture> decoded = DecodePicture(*bytes);
            if (!decoded) throw ParseError("picture");
            const Bitmap bitmap = RenderPicture(*decoded);
            if (bitmap.Empty()) throw ParseError("picture");
            int w = r.I16(kImageWidth), h = r.I16(kImageHeight);
            if (w <= 0 || h <= 0) w = bitmap.width, h = bitmap.height;
            micrometresW = RoundedDivide(std::int64_t(w) * 25400, ppi);
            micrometresH = RoundedDivide(std::int64_t(h) * 25400, ppi);
            data = WriteBitmapWmf(bitmap, w, h, ppi).substr(kPlaceableHeaderSize);
            drawn = true;
        }
    } catch (const ParseError&) {
        exporter_.Report(kTempPictureError);
        return;
    }
    const std::string w = std::to_string(MicrometresToTwips(micrometresW));
    const std::string h = std::to_string(MicrometresToTwips(micrometresH));
    out_ += "{{\\pict" + kind + "\\picw" + w + "\\pich" + h + "\\picwgoal" + w + "\\pichgoal" + h +
            (drawn ? " \\picbmp" : "") + " " + RtfHex(data) + "}}";
}

void RtfBodyWriter::HelpBitmap(const TKYToggetto& image, const TKYToggetto& picture) {
    std::string stored = picture.FileName();
    if (stored.empty()) stored = picture.Name();
    // Only the last component of a stored name, so the file stays in the export folder.
    std::string name = std::string(StemOf(LastComponent(FromWindowsPath(stored)))) + ".bmp";
    if (name == ".bmp" || !IsSafeName(name))
        name = "image" + std::to_string(picture.Identifier()) + ".bmp";
    out_ += "\\{bmc " + RtfString(name) + "\\}";
    std::vector<std::string>& written = exporter_.WrittenBitmaps();
    if (std::find(written.begin(), written.end(), name) != written.end()) return;
    written.push_back(name);
    Result<std::string> bytes = picture.ContentBytes();
    Result<orvo::Picture> decoded =
        bytes ? DecodePicture(*bytes) : Result<orvo::Picture>(Fail(bytes.failure().text));
    Bitmap bitmap;
    if (decoded && decoded->IsMetafile()) {
        Result<Bitmap> inside = ReadWmfBitmap(decoded->metafileBytes);
        if (inside) bitmap = std::move(*inside);
    } else if (decoded) {
        bitmap = RenderPicture(*decoded);
    }
    (void)image;
    if (bitmap.Empty() || !ReplaceFile(NativePath(exporter_.PictureFolder()) / NativePath(name),
                                       EncodeBmpFile(bitmap)))
        exporter_.Report(kTempPictureError);
}

void RtfBodyWriter::TableStart(const TKYToggetto& table) {
    const RecordView r = table.ReadView();
    const int rows = r.U8(kTableRows);
    const int columns = std::min<int>(r.U8(kTableColumns), kTableMaxColumns);
    // A table without rows or columns has no cells to write.
    if (rows <= 0 || columns <= 0) return;
    Table t;
    t.object = &table;
    t.cells = rows * columns;
    t.columns = columns;
    t.outer = tables_.empty();
    tables_.push_back(t);
    if (t.outer) {
        tableLeft_ = paragraphLeft_;
        tableRight_ = paragraphRight_;
        out_ += RowDefinition(t, 0);
        noPar_ = true;
    }
}

std::string RtfBodyWriter::RowDefinition(const Table& t, int row) {
    const RecordView r = t.object->ReadView();
    const int ppi = exporter_.LinkedKYTset->Env().PixelsPerInch();
    std::string s =
        "\\trowd\\trleft0\\trgaph" + std::to_string(PixelsToTwips(r.U8(kTablePadding), ppi));
    const std::int32_t b = PixelsToTwips(r.U8(kTableBorder), ppi);
    std::string border;
    if (b > 0) {
        border = b > 75 ? "\\brdrth\\brdrw" + std::to_string(b < 152 ? b / 2 : 75)
                        : "\\brdrs\\brdrw" + std::to_string(b);
        for (const char* side : {"t", "l", "b", "r", "h", "v"})
            s += std::string("\\trbrdr") + side + border;
        s += " ";
    }
    std::int64_t available = std::int64_t(exporter_.PaperWidth) - exporter_.MarginLeft -
                             exporter_.MarginRight - tableLeft_ - tableRight_;
    if (available < 0) available = 1000;
    std::vector<std::int64_t> widths(std::size_t(t.columns), 0);
    std::int64_t carry = 0, sum = 0;
    int lastAutomatic = -1;
    for (int c = 0; c < t.columns; ++c) {
        const int kind = r.U8At(kTableColumnKinds + std::size_t(c));
        const std::int64_t w = r.I16At(kTableColumnWidths + 2 * std::size_t(c));
        std::int64_t& width = widths[std::size_t(c)];
        if (kind == 0) {
            const std::int64_t share = w * available + carry;
            width = share / 100;
            carry = share % 100;
        } else if (kind == 1) {
            width = PixelsToTwips(w, ppi);
        } else {
            width = 30;
            lastAutomatic = c;
        }
        sum += width;
    }
    if (lastAutomatic >= 0 && available - sum > 0)
        widths[std::size_t(lastAutomatic)] = available - sum + 30;
    const std::optional<std::string>& backgrounds = t.object->Auxiliary();
    const bool hasBackgrounds = backgrounds && backgrounds->size() >= std::size_t(t.cells) * 4;
    std::int64_t edge = 0;
    for (int c = 0; c < t.columns; ++c) {
        if (hasBackgrounds) {
            ByteReader in(*backgrounds);
            in.Seek((std::size_t(row) * std::size_t(t.columns) + std::size_t(c)) * 4);
            const std::int32_t value = in.I32();
            if (value >= 0 && value < 0x2000000)
                s += "\\clcfpat" + std::to_string(exporter_.ColourIndex(value)) + "\\clshdng10000";
        }
        if (b > 0)
            s += "\\clbrdrb" + border + "\\clbrdrt" + border + "\\clbrdrl" + border + "\\clbrdrr" +
                 border;
        edge += widths[std::size_t(c)];
        s += "\\cellx" + std::to_string(edge);
    }
    return s + " ";
}

void RtfBodyWriter::CellEnd() {
    if (tables_.empty()) return;  // a stray cell end
    Table& t = tables_.back();
    ++t.closed;
    if (t.outer) {
        out_ += "\\cell ";
        noPar_ = true;
        if (t.closed % t.columns == 0) {
            out_ += "\\row ";
            if (t.closed < t.cells) out_ += RowDefinition(t, t.closed / t.columns);
        }
    }
    if (t.closed >= t.cells) tables_.pop_back();
}

}  // namespace orvo
