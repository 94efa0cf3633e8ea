// TRtfPage: the body of an RTF document read into markup and made into pages.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/RtfImportParts.h"
#include "convert/TextImport.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "picture/GifCodec.h"
#include "picture/PngReader.h"
#include "picture/WmfBitmap.h"

namespace orvo {

namespace {

using K = TOggettiHel;

constexpr std::uint8_t kCommentSubtype = 10;
constexpr int kMaxWordLength = 32;
constexpr std::int64_t kParamLimit = 0x7FFFFFFF;

enum Word : int {
    wNone,
    wF,
    wFs,
    wCf,
    wB,
    wI,
    wUl,
    wStrike,
    wUld,
    wUldb,
    wUlnone,
    wUp,
    wDn,
    wSub,
    wSuper,
    wNoSuperSub,
    wQl,
    wQj,
    wQr,
    wQc,
    wSl,
    wFi,
    wLi,
    wRi,
    wSb,
    wSa,
    wPlain,
    wPard,
    wSectd,
    wS,
    wV,
    wIntbl,
    wPar,
    wLine,
    wPage,
    wSect,
    wTab,
    wBullet,
    wEmdash,
    wEndash,
    wEmspace,
    wEnspace,
    wLdblquote,
    wLquote,
    wRdblquote,
    wRquote,
    wChftn,
    wU,
    wUc,
    wTrowd,
    wCellx,
    wCell,
    wRow,
    wClcfpat,
    wClcbpat,
    wNestcell,
    wNestrow,
    wDeff,
    wAnsicpg,
    wFcharset,
    wRed,
    wGreen,
    wBlue,
    wCs,
    wDs,
    wTs,
    wPnlvlbody,
    wPnlvlcont,
    wPndec,
    wPnlvlblt,
    wLs,
    wItap,
    wBin,
    wPicw,
    wPich,
    wPicwgoal,
    wPichgoal,
    wPicscalex,
    wPicscaley,
    wWmetafile,
    wEmfblip,
    wPngblip,
    wJpegblip,
    wDibitmap,
    wWbitmap,
    wMacpict,
    wPicbmp,
    wMac,
    wPc,
    wPca,
    wUlw,
    wUlth,
    wUld2,
    wUldash,
    wUlwave,
    wUldd,
    wScaps,
    wCaps,
    wOutl,
};

const std::unordered_map<std::string_view, Word>& Words() {
    static const std::unordered_map<std::string_view, Word> words{
        {"f", wF},
        {"fs", wFs},
        {"cf", wCf},
        {"b", wB},
        {"i", wI},
        {"ul", wUl},
        {"strike", wStrike},
        {"uld", wUld},
        {"uldb", wUldb},
        {"ulnone", wUlnone},
        {"up", wUp},
        {"dn", wDn},
        {"sub", wSub},
        {"super", wSuper},
        {"nosupersub", wNoSuperSub},
        {"ql", wQl},
        {"qj", wQj},
        {"qr", wQr},
        {"qc", wQc},
        {"sl", wSl},
        {"fi", wFi},
        {"li", wLi},
        {"ri", wRi},
        {"sb", wSb},
        {"sa", wSa},
        {"plain", wPlain},
        {"pard", wPard},
        {"sectd", wSectd},
        {"s", wS},
        {"v", wV},
        {"intbl", wIntbl},
        {"par", wPar},
        {"line", wLine},
        {"page", wPage},
        {"sect", wSect},
        {"tab", wTab},
        {"bullet", wBullet},
        {"emdash", wEmdash},
        {"endash", wEndash},
        {"emspace", wEmspace},
        {"enspace", wEnspace},
        {"ldblquote", wLdblquote},
        {"lquote", wLquote},
        {"rdblquote", wRdblquote},
        {"rquote", wRquote},
        {"chftn", wChftn},
        {"u", wU},
        {"uc", wUc},
        {"trowd", wTrowd},
        {"cellx", wCellx},
        {"cell", wCell},
        {"row", wRow},
        {"clcfpat", wClcfpat},
        {"clcbpat", wClcbpat},
        {"nestcell", wNestcell},
        {"nestrow", wNestrow},
        {"deff", wDeff},
        {"ansicpg", wAnsicpg},
        {"fcharset", wFcharset},
        {"red", wRed},
        {"green", wGreen},
        {"blue", wBlue},
        {"cs", wCs},
        {"ds", wDs},
        {"ts", wTs},
        {"pnlvlbody", wPnlvlbody},
        {"pnlvlcont", wPnlvlcont},
        {"pndec", wPndec},
        {"pnlvlblt", wPnlvlblt},
        {"ls", wLs},
        {"itap", wItap},
        {"bin", wBin},
        {"picw", wPicw},
        {"pich", wPich},
        {"picwgoal", wPicwgoal},
        {"pichgoal", wPichgoal},
        {"picscalex", wPicscalex},
        {"picscaley", wPicscaley},
        {"wmetafile", wWmetafile},
        {"emfblip", wEmfblip},
        {"pngblip", wPngblip},
        {"jpegblip", wJpegblip},
        {"dibitmap", wDibitmap},
        {"wbitmap", wWbitmap},
        {"macpict", wMacpict},
        {"picbmp", wPicbmp},
        {"mac", wMac},
        {"pc", wPc},
        {"pca", wPca},
        {"ulw", wUlw},
        {"ulth", wUlth},
        {"uldash", wUldash},
        {"ulwave", wUlwave},
        {"uldd", wUldd},
        {"uldbl", wUld2},
    };
    return words;
}

// Destinations whose whole group is left out.
bool SkippedDestination(std::string_view w) {
    static const std::unordered_map<std::string_view, int> skipped{
        {"aftnsep", 0},
        {"aftnsepc", 0},
        {"aftncn", 0},
        {"bkmkstart", 0},
        {"bkmkend", 0},
        {"do", 0},
        {"ftnsep", 0},
        {"ftnsepc", 0},
        {"ftncn", 0},
        {"pnseclvl", 0},
        {"pntext", 0},
        {"tc", 0},
        {"xe", 0},
        {"info", 0},
        {"listtable", 0},
        {"listoverridetable", 0},
        {"revtbl", 0},
        {"rsidtbl", 0},
        {"generator", 0},
        {"filetbl", 0},
        {"themedata", 0},
        {"colorschememapping", 0},
        {"latentstyles", 0},
        {"datastore", 0},
        {"xmlnstbl", 0},
        {"pgdsctbl", 0},
        {"userprops", 0},
        {"docvar", 0},
        {"template", 0},
        {"nonshppict", 0},
        {"objdata", 0},
        {"objclass", 0},
        {"txe", 0},
        {"rxe", 0},
        {"pntxta", 0},
        {"pntxtb", 0},
        {"author", 0},
        {"operator", 0},
        {"title", 0},
        {"subject", 0},
        {"keywords", 0},
        {"comment", 0},
        {"doccomm", 0},
        {"atnid", 0},
        {"atndate", 0},
        {"atnref", 0},
        {"atrfstart", 0},
        {"atrfend", 0},
        {"fonttbl", 1},
        {"stylesheet", 1},
        {"colortbl", 1},
        {"mmathPr", 0},
        {"protusertbl", 0},
        {"listpicture", 0},
        {"wgrffmtfilter", 0},
        {"ud", 0},
        {"falt", 0},
        {"panose", 0},
        {"fname", 0},
        {"sp", 0},
        {"blipuid", 0},
    };
    const auto found = skipped.find(w);
    return found != skipped.end() && found->second == 0;
}

std::string Hex6(std::int32_t number) {
    return Hex8(std::uint32_t(number)).substr(2);
}

std::string PageLink(std::int32_t page, std::string_view text) {
    return "<$00" + Hex6(page) + ">" + std::string(text) + "<%>";
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText1252(text.substr(0, prefix.size()), prefix);
}

// Whether markup holds anything but paragraph and character codes and blanks.
bool MarkupHasContent(std::string_view markup) {
    for (std::size_t i = 0; i < markup.size(); ++i) {
        const char c = markup[i];
        if (c == '<' && i + 1 < markup.size() && (markup[i + 1] == 'Z' || markup[i + 1] == 'Y')) {
            const std::size_t end = markup.find('>', i);
            if (end == std::string_view::npos) return true;
            i = end;
        } else if (c != ' ') {
            return true;
        }
    }
    return false;
}

std::string Trim(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
    while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
    return std::string(s.substr(a, b - a));
}

// The fields of a style definition as a state, for comparing paragraphs with their style.
TRtfState StateOfStyle(const TKYToggetto& style) {
    const StyleRecord r(const_cast<TKYToggetto&>(style).Record());
    TRtfState s;
    s.font = r.FontName();
    s.size = r.Size();
    s.colour = r.Colour();
    s.flags = r.StyleBits() & 15;
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
    s.linkFlags = r.LinkStyleBits() & 15;
    return s;
}

std::int16_t Clamp16(int v) {
    return std::int16_t(std::clamp(v, -32768, 32767));
}

void WriteStyle(StyleRecord& r, const TRtfState& s) {
    r.SetFontName(s.font);
    r.SetSize(Clamp16(s.size));
    r.SetColour(s.colour);
    r.SetStyleBits(std::uint8_t(s.flags & 15));
    r.SetPosition(std::uint8_t(s.position));
    r.SetAlignment(std::uint8_t(s.alignment));
    r.SetListKind(std::uint8_t(s.numbering));
    r.SetUnit(std::uint8_t(s.unit));
    r.SetLineHeight(Clamp16(s.lineHeight));
    r.SetFirstIndent(Clamp16(s.firstIndent));
    r.SetLeftMargin(Clamp16(s.left));
    r.SetRightMargin(Clamp16(s.right));
    r.SetSpaceBefore(Clamp16(s.top));
    r.SetSpaceAfter(Clamp16(s.bottom));
    r.SetLinkColour(s.linkColour);
    r.SetLinkSize(Clamp16(s.linkSize));
    r.SetLinkStyleBits(std::uint8_t(s.linkFlags & 15));
}

// Takes the paragraph fields of `from` into `to` (the character fields too when `all`).
void TakeStyle(TRtfState& to, const TRtfState& from, bool all) {
    if (all) {
        to.font = from.font;
        to.size = from.size;
        to.colour = from.colour;
        to.flags = from.flags;
        to.position = from.position;
    }
    to.alignment = from.alignment;
    to.numbering = from.numbering;
    to.unit = from.unit;
    to.lineHeight = from.lineHeight;
    to.firstIndent = from.firstIndent;
    to.left = from.left;
    to.right = from.right;
    to.top = from.top;
    to.bottom = from.bottom;
    to.linkColour = from.linkColour;
    to.linkSize = from.linkSize;
    to.linkFlags = from.linkFlags;
    to.rawLeft = -100000;
}

bool SameCharacters(const TRtfState& a, const TRtfState& b) {
    return a.colour == b.colour && a.size == b.size && a.flags == b.flags &&
           a.position == b.position && a.font == b.font;
}

void Field(std::string& out, std::string_view key, std::int64_t value) {
    out += key;
    out += std::to_string(value);
    out += ' ';
}

}  // namespace

bool LooksLikeRtf(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && i < 64 && static_cast<unsigned char>(bytes[i]) <= ' ') ++i;
    return bytes.substr(i).starts_with("{\\rtf");
}

TRtfPage::TRtfPage(TRtfImp& run, std::string_view bytes, bool fragment)
    : run_(run), set_(run.Set()), data_(bytes), fragment_(fragment) {
    ppi_ = std::clamp(set_.Env().PixelsPerInch(), 24, 960);
    defaultMargin_ = int(std::lround(3.0 / 25.4 * ppi_ + 0.5));
    outputs_.emplace_back();
}

int TRtfPage::Pixels(std::int64_t twips) const {
    const double px = double(twips) * 0.05 * ppi_ / 72.0;
    return int(std::clamp<double>(std::lround(px), -32000, 32000));
}

void TRtfPage::SetLeft(TRtfState& s, std::int64_t twips) {
    s.rawLeft = Pixels(twips);
    s.left = s.rawLeft == 0 || s.rawLeft == -s.firstIndent ? s.rawLeft + defaultMargin_ : s.rawLeft;
}

int TRtfPage::CodePageNow() const {
    const int font = states_.Top().fontNumber;
    if (font >= 0) {
        const auto found = header_.fonts.find(font);
        if (found != header_.fonts.end() && found->second.codePage > 0)
            return found->second.codePage;
    }
    return header_.codePage;
}

// ---------------------------------------------------------------------------------------------
// The reading loop.

bool TRtfPage::ParseHeader() {
    if (!LooksLikeRtf(data_)) return false;
    // The head tables are read wherever they stand, so the head is just the body's start.
    return true;
}

bool TRtfPage::ParsePage() {
    return Run(split_);
}

bool TRtfPage::Run(bool stopAtBreak) {
    const std::size_t n = data_.size();
    const char* d = data_.data();
    while (pos_ < n && !ended_) {
        const char c = d[pos_];
        if (c == '{') {
            ++pos_;
            GroupStart();
            continue;
        }
        if (c == '}') {
            ++pos_;
            GroupEnd();
            continue;
        }
        if (c == '\\') {
            ++pos_;
            if (pos_ >= n) break;
            const char k = d[pos_];
            const bool letter = (k >= 'a' && k <= 'z') || (k >= 'A' && k <= 'Z');
            if (!letter) {
                ++pos_;
                ControlSymbol(k);
                continue;
            }
            const std::size_t start = pos_;
            while (pos_ < n &&
                   ((d[pos_] >= 'a' && d[pos_] <= 'z') || (d[pos_] >= 'A' && d[pos_] <= 'Z')))
                ++pos_;
            std::string_view word(d + start,
                                  std::min<std::size_t>(pos_ - start, kMaxWordLength + 1));
            bool negative = false, hasParam = false;
            std::int64_t param = 0;
            if (pos_ < n && d[pos_] == '-' && pos_ + 1 < n && d[pos_ + 1] >= '0' &&
                d[pos_ + 1] <= '9') {
                negative = true;
                ++pos_;
            }
            while (pos_ < n && d[pos_] >= '0' && d[pos_] <= '9') {
                hasParam = true;
                if (param <= kParamLimit) param = param * 10 + (d[pos_] - '0');
                ++pos_;
            }
            param = std::min(param, kParamLimit);
            if (negative) param = -param;
            if (pos_ < n && d[pos_] == ' ') ++pos_;
            if (word == "bin" && hasParam) {
                // Raw bytes: never read as text or control words.
                const std::size_t count = std::size_t(std::max<std::int64_t>(param, 0));
                const std::size_t take = std::min(count, n - pos_);
                if (picture_.open && states_.Top().destination == dPicture)
                    picture_.data.append(d + pos_, take);
                pos_ += take;
                groupStart_ = false;
                continue;
            }
            ControlWord(word, hasParam, param);
            if (breakHit_) {
                breakHit_ = false;
                if (stopAtBreak) return true;
            }
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++pos_;
            continue;
        }
        std::size_t end = pos_ + 1;
        while (end < n && d[end] != '{' && d[end] != '}' && d[end] != '\\' && d[end] != '\r' &&
               d[end] != '\n')
            ++end;
        groupStart_ = false;
        Text(std::string_view(d + pos_, end - pos_));
        pos_ = end;
    }
    return false;
}

void TRtfPage::GroupStart() {
    if (states_.Depth() >= kMaxRtfDepth || states_.Top().destination == dSkip) {
        // Deeper than we follow, or inside a group being left out: skip it whole.
        SkipGroup();
        return;
    }
    skipChars_ = 0;
    states_.Push();
    states_.Top().owner = false;
    states_.Top().fieldOwner = false;
    groupStart_ = true;
    starred_ = false;
}

void TRtfPage::SkipGroup() {
    // From just after a "{": to just after its "}", or to the end.
    const std::size_t n = data_.size();
    const char* d = data_.data();
    int depth = 1;
    while (pos_ < n) {
        const char c = d[pos_];
        if (c == '\\') {
            pos_ += 1;
            if (pos_ >= n) break;
            if (d[pos_] == 'b' && data_.substr(pos_, 3) == "bin") {
                std::size_t p = pos_ + 3;
                std::int64_t count = 0;
                while (p < n && d[p] >= '0' && d[p] <= '9') {
                    if (count <= kParamLimit) count = count * 10 + (d[p] - '0');
                    ++p;
                }
                if (p < n && d[p] == ' ') ++p;
                pos_ = std::min(n, p + std::size_t(std::min(count, kParamLimit)));
                continue;
            }
            ++pos_;
            continue;
        }
        ++pos_;
        if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return;
        }
    }
}

void TRtfPage::GroupEnd() {
    skipChars_ = 0;
    groupStart_ = false;
    TRtfState popped;
    if (!states_.Pop(popped)) {
        // The outermost group ended: the document ends here.
        ended_ = true;
        return;
    }
    if (popped.fieldOwner && Out().fieldLink >= 0) {
        if (Out().fieldLinkWritten) Out().markup += "<%>";
        Out().fieldLink = -1;
        Out().fieldLinkWritten = false;
    }
    if (!popped.owner) return;
    switch (popped.destination) {
        case dFontTable:
            FontTableText(";");
            break;
        case dStyleEntry:
            StyleEntryEnd(popped);
            break;
        case dStyleSheet:
            EnsureStyles();
            break;
        case dNumbering:
            if (states_.Top().destination == dStyleEntry) {
                states_.Top().numbering = popped.numbering;
            } else if (states_.Top().destination == dBody) {
                paraNumbering_ = popped.numbering;
            }
            break;
        case dPicture: {
            const std::size_t before = Out().markup.size();
            FinishPicture();
            if (states_.Top().destination == dShape && Out().markup.size() != before)
                shapeTaken_ = true;
            break;
        }
        case dCapture:
            if (!captures_.empty()) {
                Capture capture = std::move(captures_.back());
                captures_.pop_back();
                FinishCapture(capture);
            }
            break;
        default:
            break;
    }
    if (outputs_.size() > 1 && states_.Depth() < Out().depth) EndPiece();
}

void TRtfPage::LeaveGroup() {
    // The group just opened is left out whole.
    SkipGroup();
    TRtfState popped;
    states_.Pop(popped);
}

void TRtfPage::ControlSymbol(char c) {
    TRtfState& s = states_.Top();
    if (c == '*') {
        starred_ = true;
        return;
    }
    groupStart_ = false;
    switch (c) {
        case '\\':
        case '{':
        case '}':
            Text(std::string_view(&c, 1));
            return;
        case '\'': {
            // A broken escape ("\\'e}") takes its hexadecimal digits and gives nothing.
            std::uint32_t value = 0;
            const int digits = ParseHex(data_.substr(pos_, 2), 2, value);
            pos_ += std::size_t(std::max(digits, 0));
            if (digits == 2) HexByte(static_cast<unsigned char>(value));
            return;
        }
        case '~':
            DecodedText(" ");
            return;
        case '_':
            DecodedText("-");
            return;
        case '\r':
        case '\n':
            if (s.destination == dBody) EndParagraph();
            return;
        case ':':
        case '-':
        case '|':
        default:
            return;
    }
}

bool TRtfPage::Destination(std::string_view w, bool hasParam, std::int64_t param) {
    (void)param;
    (void)hasParam;
    TRtfState& s = states_.Top();
    const bool starred = starred_;
    starred_ = false;
    auto own = [&](int destination) {
        s.destination = destination;
        s.owner = true;
    };
    if (s.destination == dFontTable || s.destination == dColourTable) {
        // Entries of a table: nested groups keep the table's destination, but starred ones
        // (alternative names, panose) are left out.
        if (starred || w == "falt" || w == "panose") {
            LeaveGroup();
            return true;
        }
        return false;
    }
    if (s.destination == dStyleSheet) {
        if (starred) {
            LeaveGroup();
            return true;
        }
        // A style entry: starts from the reset state.
        TRtfState fresh;
        fresh.fontNumber = header_.defaultFont;
        fresh.font = header_.FontName(header_.defaultFont);
        fresh.left = fresh.right = 10;
        s = fresh;
        own(dStyleEntry);
        styleName_.clear();
        styleIsParagraph_ = true;
        return false;  // the word itself ("\s1") is applied to the entry
    }
    if (w == "shpinst") {
        own(dShape);
        shapeTaken_ = false;
        shapeProperty_.clear();
        return true;
    }
    if (w == "shprslt" && shapeTaken_) {
        // The shape was read: its result, drawn for readers without shapes, would repeat it.
        shapeTaken_ = false;
        LeaveGroup();
        return true;
    }
    if (s.destination == dShape) {
        if (w == "sn") {
            own(dCapture);
            captures_.push_back({6, {}, states_.Depth()});
            return true;
        }
        if (w == "shptxt") {
            own(dBody);
            shapeTaken_ = true;
            return true;
        }
        // Only the picture of the shape ("pib"), not its fills or shadows.
        if (w != "pict") return false;
        if (shapeProperty_ != "pib") {
            LeaveGroup();
            return true;
        }
    }
    if (w == "fonttbl") {
        own(dFontTable);
        fontNumber_ = -1;
        fontName_.clear();
        fontNameDone_ = false;
        return true;
    }
    if (w == "colortbl") {
        own(dColourTable);
        header_.colours.clear();
        red_ = green_ = blue_ = 0;
        colourGiven_ = false;
        return true;
    }
    if (w == "stylesheet") {
        own(dStyleSheet);
        return true;
    }
    if (w == "pict") {
        if (picture_.open) {
            own(dSkip);
            return true;
        }
        picture_ = Picture{};
        picture_.open = true;
        picture_.depth = states_.Depth();
        own(dPicture);
        return true;
    }
    if (w == "shppict" || w == "fldrslt" || w == "field" || w == "upr" || w == "object" ||
        w == "result") {
        if (w == "fldrslt" && !fieldInstruction_.empty() && !run_.Options().helpMode) {
            // A web link: its result text is the link.
            std::string inst = Trim(fieldInstruction_);
            fieldInstruction_.clear();
            if (StartsWithNoCase(inst, "HYPERLINK")) {
                std::string address = Trim(std::string_view(inst).substr(9));
                std::string target;
                if (!address.empty() && address[0] == '"') {
                    const std::size_t close = address.find('"', 1);
                    target = address.substr(
                        1, close == std::string::npos ? std::string::npos : close - 1);
                } else {
                    target = address.substr(0, address.find(' '));
                }
                if (!target.empty() && Out().fieldLink < 0) {
                    auto link = NewObjectOfKind(K::internetLink, &set_);
                    link->Clear();
                    link->SetName(target);
                    link->TakeIntoUse();
                    Out().fieldLink = MakeCode(K::internetLink, set_.Register(std::move(link)));
                    Out().fieldLinkWritten = false;
                    s.fieldOwner = true;  // the end of this group ends the link
                }
            }
        }
        return true;
    }
    if (w == "fldinst") {
        own(dCapture);
        captures_.push_back({3, {}, states_.Depth()});
        return true;
    }
    if (w == "footnote") {
        if (run_.Options().helpMode && !fragment_) {
            own(dCapture);
            captures_.push_back({1, {}, states_.Depth()});
            return true;
        }
        if (outputs_.size() >= kMaxRtfPieces) {
            LeaveGroup();
            return true;
        }
        own(dBody);
        StartPiece(1);
        return true;
    }
    if (w == "annotation") {
        if (outputs_.size() >= kMaxRtfPieces) {
            LeaveGroup();
            return true;
        }
        own(dCapture);
        captures_.push_back({5, {}, states_.Depth()});
        return true;
    }
    if (w == "atnauthor") {
        own(dCapture);
        captures_.push_back({2, {}, states_.Depth()});
        return true;
    }
    if (w == "listtext") {
        own(dCapture);
        captures_.push_back({4, {}, states_.Depth()});
        return true;
    }
    if (w == "pn") {
        own(dNumbering);
        s.numbering = 10;
        return true;
    }
    if (w == "header" || w == "headerl" || w == "headerr" || w == "headerf" || w == "footer" ||
        w == "footerl" || w == "footerr" || w == "footerf") {
        if (fragment_ || outputs_.size() >= kMaxRtfPieces || run_.Options().helpMode) {
            LeaveGroup();
            return true;
        }
        own(dBody);
        StartPiece(2);
        return true;
    }
    if (starred || SkippedDestination(w)) {
        LeaveGroup();
        return true;
    }
    return false;
}

void TRtfPage::ControlWord(std::string_view w, bool hasParam, std::int64_t param) {
    const bool start = groupStart_;
    groupStart_ = false;
    if (start || starred_) {
        if (Destination(w, hasParam, param)) return;
    }
    starred_ = false;
    TRtfState& s = states_.Top();
    const auto found = Words().find(w);
    if (found == Words().end()) return;  // unknown words are ignored
    const Word word = found->second;
    const int dest = s.destination;
    const bool on = !hasParam || param != 0;
    const int p32 = int(std::clamp<std::int64_t>(param, -kParamLimit, kParamLimit));
    const bool help = run_.Options().helpMode && dest == dBody;

    if (dest == dSkip || dest == dShape) return;
    if (dest == dPicture) {
        switch (word) {
            case wPicw:
                picture_.picw = param;
                return;
            case wPich:
                picture_.pich = param;
                return;
            case wPicwgoal:
                picture_.goalw = param;
                return;
            case wPichgoal:
                picture_.goalh = param;
                return;
            case wPicscalex:
                picture_.scalex = param;
                return;
            case wPicscaley:
                picture_.scaley = param;
                return;
            case wWmetafile:
                picture_.kind = 1;
                return;
            case wEmfblip:
                picture_.kind = 2;
                return;
            case wPngblip:
                picture_.kind = 3;
                return;
            case wJpegblip:
                picture_.kind = 4;
                return;
            case wDibitmap:
                picture_.kind = 5;
                return;
            case wWbitmap:
            case wMacpict:
                picture_.kind = 0;
                return;
            case wPicbmp:
                picture_.bitmap = true;
                return;
            default:
                return;
        }
    }
    if (dest == dFontTable) {
        if (word == wF) {
            if (fontNumber_ >= 0 && !fontNameDone_) FontTableText(";");
            fontNumber_ = p32;
            fontName_.clear();
            fontNameDone_ = false;
            header_.fonts[fontNumber_] = {};
        } else if (word == wFcharset && fontNumber_ >= 0) {
            header_.fonts[fontNumber_].codePage = CodePageOfCharset(p32);
        }
        return;
    }
    if (dest == dColourTable) {
        if (word == wRed || word == wGreen || word == wBlue) {
            const int v = std::clamp(p32, 0, 255);
            (word == wRed ? red_ : word == wGreen ? green_ : blue_) = v;
            if (word == wRed) colourGiven_ = true;
        }
        return;
    }
    if (dest == dNumbering) {
        if (word == wPnlvlbody || word == wPndec) {
            s.numbering = 6;
        } else if (word == wPnlvlcont) {
            s.numbering = paraNumbering_ >= 0 ? paraNumbering_ : 0;
        } else if (word == wPnlvlblt) {
            s.numbering = 10;
        }
        return;
    }
    if (dest == dStyleEntry) {
        if (word == wS) {
            s.rtfStyle = p32;
            return;
        }
        if (word == wCs || word == wDs || word == wTs) {
            styleIsParagraph_ = false;
            return;
        }
    }

    switch (word) {
        case wDeff:
            header_.defaultFont = p32;
            return;
        case wAnsicpg:
            header_.codePage = p32;
            return;
        case wMac:
            header_.codePage = 10000;
            return;
        case wPc:
            header_.codePage = 437;
            return;
        case wPca:
            header_.codePage = 850;
            return;
        case wF:
            s.fontNumber = p32;
            if (!run_.Options().ignoreFonts) s.font = header_.FontName(p32);
            return;
        case wFs:
            s.size = std::clamp(hasParam ? p32 / 2 : 12, 1, 1000);
            return;
        case wCf:
            s.colour = header_.Colour(p32);
            return;
        case wB:
            s.flags = on ? (s.flags | 1) : (s.flags & ~1);
            return;
        case wI:
            s.flags = on ? (s.flags | 2) : (s.flags & ~2);
            return;
        case wUl:
        case wUld:
        case wUldb:
        case wUlw:
        case wUlth:
        case wUld2:
        case wUldash:
        case wUlwave:
        case wUldd:
            if (help) {
                s.linkText = on;
            } else {
                s.flags = on ? (s.flags | 4) : (s.flags & ~4);
            }
            return;
        case wStrike:
            if (help) {
                s.linkText = on;
            } else {
                s.flags = on ? (s.flags | 8) : (s.flags & ~8);
            }
            return;
        case wUlnone:
            s.flags &= ~4;
            s.linkText = false;
            return;
        case wUp:
            s.position = !hasParam || (param >= 1 && param <= 10000) ? 2
                         : (param <= -1 && param >= -10000)          ? 1
                                                                     : 0;
            return;
        case wDn:
            s.position = !hasParam || (param >= 1 && param <= 10000) ? 1
                         : (param <= -1 && param >= -10000)          ? 2
                                                                     : 0;
            return;
        case wSub:
            s.position = 1;
            return;
        case wSuper:
            s.position = 2;
            return;
        case wNoSuperSub:
            s.position = 0;
            return;
        case wQl:
        case wQj:
            s.alignment = 0;
            return;
        case wQr:
            s.alignment = 1;
            return;
        case wQc:
            s.alignment = 2;
            return;
        case wSl:
            s.lineHeight = hasParam && param < 0 ? Pixels(-param) : -32000;
            return;
        case wFi:
            s.firstIndent = Pixels(param);
            if (s.rawLeft != -100000)
                s.left = s.rawLeft == 0 || s.rawLeft == -s.firstIndent ? s.rawLeft + defaultMargin_
                                                                       : s.rawLeft;
            return;
        case wLi:
            SetLeft(s, param);
            return;
        case wRi: {
            const int px = Pixels(param);
            s.right = px < 3 ? px + defaultMargin_ : px;
            return;
        }
        case wSb:
            s.top = std::max(0, Pixels(param));
            return;
        case wSa:
            s.bottom = std::max(0, Pixels(param));
            return;
        case wPlain:
            s.flags = 0;
            s.size = 12;
            s.position = 0;
            s.linkText = false;
            s.hidden = false;
            return;
        case wV:
            s.hidden = on;
            return;
        default:
            break;
    }
    if (dest == dStyleEntry) return;

    switch (word) {
        case wPard:
        case wSectd: {
            EnsureStyles();
            const auto base = header_.styleStates.find(0);
            if (base != header_.styleStates.end()) TakeStyle(s, base->second, false);
            s.rtfStyle = 0;
            s.style = header_.styleMap.count(0) ? header_.styleMap[0] : 0;
            if (word == wPard) {
                s.inTable = false;
                paraNumbering_ = -1;
            }
            return;
        }
        case wS: {
            EnsureStyles();
            const auto state = header_.styleStates.find(p32);
            if (state == header_.styleStates.end()) return;
            TakeStyle(s, state->second, true);
            s.rtfStyle = p32;
            s.style = header_.styleMap[p32];
            return;
        }
        case wIntbl:
            s.inTable = true;
            return;
        case wItap:
            s.inTable = param > 0;
            return;
        case wUc:
            s.unicodeSkip = std::clamp(p32, 0, 10);
            return;
        case wU:
            UnicodeChar(param);
            skipChars_ = s.unicodeSkip;
            return;
        default:
            break;
    }
    if (dest == dCapture) {
        Capture& c = captures_.back();
        switch (word) {
            case wTab:
            case wPar:
            case wLine:
            case wCell:
                c.text += c.what == 5 ? "\r\n" : " ";
                return;
            case wEmspace:
            case wEnspace:
                c.text += ' ';
                return;
            case wLquote:
            case wRquote:
                c.text += word == wLquote ? '\x91' : '\x92';
                return;
            case wLdblquote:
            case wRdblquote:
                c.text += word == wLdblquote ? '\x93' : '\x94';
                return;
            case wBullet:
                c.text += '\x95';
                return;
            case wEndash:
                c.text += '\x96';
                return;
            case wEmdash:
                c.text += '\x97';
                return;
            default:
                return;
        }
    }
    if (dest != dBody) return;

    switch (word) {
        case wPar:
        case wLine:
            EndParagraph();
            return;
        case wPage:
        case wSect:
            if (outputs_.size() == 1) {
                breakHit_ = split_;
                if (!split_) EndParagraph();
            }
            return;
        case wTab:
            DecodedText("      ");
            return;
        case wBullet:
            DecodedText("\x95");
            return;
        case wEmdash:
            DecodedText("\x97");
            return;
        case wEndash:
            DecodedText("\x96");
            return;
        case wEmspace:
        case wEnspace:
            DecodedText(" ");
            return;
        case wLdblquote:
            DecodedText("\x93");
            return;
        case wLquote:
            DecodedText("\x91");
            return;
        case wRdblquote:
            DecodedText("\x94");
            return;
        case wRquote:
            DecodedText("\x92");
            return;
        case wChftn:
            DecodedText(std::to_string(run_.footnoteCounter));
            return;
        case wLs:
            if (param > 0) paraNumbering_ = listTextKind_ ? listTextKind_ : 10;
            return;
        case wTrowd:
            StartTable();
            return;
        case wCellx: {
            Table& t = Out().table;
            if (!t.active) return;
            if (t.defining && !t.emitted) {
                if (t.columns >= kMaxTableColumns) return;
                const int edge = Pixels(param);
                t.widths.push_back(std::max(1, edge - t.lastEdge));
                t.lastEdge = std::max(edge, t.lastEdge + 1);
                ++t.columns;
            }
            if (t.rowColours.size() < std::size_t(kMaxTableColumns))
                t.rowColours.push_back(t.nextColour);
            if (t.nextColour >= 0) t.coloured = true;
            t.nextColour = -1;
            return;
        }
        case wClcfpat:
        case wClcbpat:
            if (Out().table.active) Out().table.nextColour = header_.Colour(p32);
            return;
        case wCell:
            Cell();
            return;
        case wRow:
            Row();
            return;
        case wNestcell:
        case wNestrow:
            EndParagraph();
            return;
        default:
            return;
    }
}

// ---------------------------------------------------------------------------------------------
// Text.

void TRtfPage::Text(std::string_view bytes) {
    const TRtfState& s = states_.Top();
    switch (s.destination) {
        case dFontTable:
            FontTableText(bytes);
            return;
        case dColourTable:
            ColourTableText(bytes);
            return;
        case dStyleEntry:
            styleName_.append(bytes);
            return;
        case dPicture: {
            for (char c : bytes) {
                int v = -1;
                if (c >= '0' && c <= '9')
                    v = c - '0';
                else if (c >= 'a' && c <= 'f')
                    v = c - 'a' + 10;
                else if (c >= 'A' && c <= 'F')
                    v = c - 'A' + 10;
                if (v < 0) continue;
                if (picture_.nibble < 0) {
                    picture_.nibble = v;
                } else {
                    picture_.data += char(picture_.nibble * 16 + v);
                    picture_.nibble = -1;
                }
            }
            return;
        }
        case dSkip:
        case dStyleSheet:
        case dNumbering:
        case dShape:
            return;
        default:
            break;
    }
    // Characters standing for a "\u" just read are left out.
    while (skipChars_ > 0 && !bytes.empty()) {
        bytes.remove_prefix(1);
        --skipChars_;
    }
    if (bytes.empty()) return;
    const RtfCodePage& page = codePages_.Get(CodePageNow());
    if (page.IsIdentity() && pendingLead_ < 0) {
        DecodedText(bytes);
        return;
    }
    for (char c : bytes) HexByte(static_cast<unsigned char>(c));
}

void TRtfPage::HexByte(unsigned char byte) {
    const int dest = states_.Top().destination;
    if (dest == dPicture || dest == dSkip || dest == dStyleSheet || dest == dNumbering ||
        dest == dShape)
        return;
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    const RtfCodePage& page = codePages_.Get(CodePageNow());
    if (dest == dFontTable || dest == dColourTable || dest == dStyleEntry) {
        const char c = char(byte);
        Text(std::string_view(&c, 1));
        return;
    }
    int out;
    if (pendingLead_ >= 0) {
        out = page.Pair(static_cast<unsigned char>(pendingLead_), byte);
        pendingLead_ = -1;
    } else if (page.IsLeadByte(byte)) {
        pendingLead_ = byte;
        return;
    } else {
        out = page.Single(byte);
    }
    const char c = out < 0 ? '?' : char(out);
    DecodedText(std::string_view(&c, 1));
}

void TRtfPage::UnicodeChar(std::int64_t value) {
    if (value < 0) value += 65536;
    const int dest = states_.Top().destination;
    if (dest != dBody && dest != dCapture && dest != dStyleEntry && dest != dFontTable) return;
    char32_t cp = char32_t(value & 0x1FFFFF);
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        pendingHigh_ = char16_t(cp);
        return;
    }
    if (cp >= 0xDC00 && cp <= 0xDFFF) {
        // The second half of a pair: one character beyond the code page.
        pendingHigh_ = 0;
        DecodedText("?");
        return;
    }
    pendingHigh_ = 0;
    const int byte = UnicodeTo1252(cp);
    const char c = byte < 0 ? '?' : char(byte);
    if (dest == dStyleEntry || dest == dFontTable) {
        Text(std::string_view(&c, 1));
        return;
    }
    DecodedText(std::string_view(&c, 1));
}

void TRtfPage::DecodedText(std::string_view text) {
    const TRtfState& s = states_.Top();
    if (s.destination == dCapture) {
        if (!captures_.empty() && !s.hidden)
            captures_.back().text.append(text);
        else if (!captures_.empty() && captures_.back().what != 4)
            captures_.back().text.append(text);
        return;
    }
    if (s.destination != dBody) return;
    if (s.hidden) {
        // Hidden text: the target of a jump in help mode, otherwise not shown.
        Output& o = Out();
        if (run_.Options().helpMode && o.linkOpen) {
            if (!o.linkTextEnded) {
                o.markup += "<%>";
                o.linkTextEnded = true;
            }
            o.linkTarget.append(text);
        }
        return;
    }
    std::string escaped;
    escaped.reserve(text.size() + 8);
    int count = 0;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20) continue;
        ++count;
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else
            escaped += c;
    }
    if (count == 0) return;
    Content(escaped, count);
    Output& o = Out();
    if (!o.firstTextDone && o.firstText.size() < kPageTitleLength)
        o.firstText.append(text.substr(0, kPageTitleLength - o.firstText.size()));
}

// ---------------------------------------------------------------------------------------------
// The head tables.

void TRtfPage::FontTableText(std::string_view bytes) {
    for (char c : bytes) {
        if (c == ';') {
            if (fontNumber_ >= 0 && !fontNameDone_) {
                std::string name = Trim(fontName_);
                // The name goes into markup between quotes: no controls, quotes or angles.
                name.erase(std::remove_if(name.begin(), name.end(),
                                          [](char c) {
                                              return static_cast<unsigned char>(c) < 0x20 ||
                                                     c == '"' || c == '<' || c == '>';
                                          }),
                           name.end());
                header_.fonts[fontNumber_].name = name.substr(0, kStyleNameLength);
            }
            fontNameDone_ = true;
            fontName_.clear();
            continue;
        }
        if (!fontNameDone_ && fontName_.size() < 256) fontName_ += c;
    }
}

void TRtfPage::ColourTableText(std::string_view bytes) {
    for (char c : bytes) {
        if (c != ';') continue;
        header_.colours.push_back(colourGiven_ ? red_ + 256 * green_ + 65536 * blue_ : 0);
        red_ = green_ = blue_ = 0;
        colourGiven_ = false;
    }
}

int TRtfPage::StyleFor(const TRtfState& entry, const std::string& name) {
    // The record the entry gives, compared with the hypertext's styles.
    std::array<std::uint8_t, kObjectRecordSize> bytes{};
    StyleRecord wanted(bytes);
    wanted.SetDefaults();
    WriteStyle(wanted, entry);
    const auto& styles = set_.KindList(K::stileParagrafo);
    TKYToggetto* equal = nullptr;
    for (const auto& style : styles) {
        if (style->IsFree()) continue;
        const StyleRecord have(style->Record());
        if (have.SameFormat(wanted) && have.FontName() == wanted.FontName()) {
            equal = style.get();
            break;
        }
    }
    if (equal) {
        const std::string equalName = StyleRecord(equal->Record()).Name();
        if (StartsWithNoCase(name, "heading") || SameText1252(equalName, name))
            return StyleNumber(*equal);
        if (TKYToggetto* named = StyleByName(set_, name)) {
            const StyleRecord have(named->Record());
            if (have.SameFormat(wanted) && have.FontName() == wanted.FontName())
                return StyleNumber(*named);
        }
    }
    TKYToggetto& made = CreateStyle(set_, name.substr(0, kStyleNameLength));
    StyleRecord record(made.Record());
    WriteStyle(record, entry);
    set_.SetModified(true);
    return StyleNumber(made);
}

void TRtfPage::StyleEntryEnd(const TRtfState& entry) {
    if (!styleIsParagraph_ || run_.Options().ignoreStyles) return;
    std::string name = Trim(styleName_.substr(0, styleName_.find(';')));
    name.erase(std::remove_if(name.begin(), name.end(),
                              [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
               name.end());
    if (name.empty()) name = "Normal";
    const int number = std::max(0, entry.rtfStyle);
    if (header_.styleMap.count(number)) return;
    const int style = StyleFor(entry, name);
    header_.styleMap[number] = style;
    header_.styleNames[number] = name;
    TRtfState state = entry;
    state.style = style;
    state.destination = dBody;
    state.owner = false;
    header_.styleStates[number] = state;
    stylesMade_ = true;
}

void TRtfPage::EnsureStyles() {
    if (stylesMade_) return;
    stylesMade_ = true;
    if (!header_.styleMap.empty()) return;
    TRtfState normal;
    normal.fontNumber = header_.defaultFont;
    normal.font = header_.FontName(header_.defaultFont);
    normal.left = normal.right = 10;
    const int style = run_.Options().ignoreStyles ? 0 : StyleFor(normal, "Normal");
    header_.styleMap[0] = style;
    header_.styleNames[0] = "Normal";
    normal.style = style;
    header_.styleStates[0] = normal;
}

// ---------------------------------------------------------------------------------------------
// Writing markup.

void TRtfPage::BeforeContent() {
    Output& o = Out();
    const TRtfState& s = states_.Top();
    if (run_.Options().helpMode) LinkCheck(true);
    if (o.table.active && !s.inTable && (o.table.emitted || o.table.columns == 0)) CloseTable();
    if (o.table.active && !o.table.emitted && s.inTable) EmitTable();
    if (Out().table.emitted && s.inTable) Out().table.rowOpen = true;
    if (o.paraPending) {
        ParagraphHead();
    } else if (!SameCharacters(s, o.lastChar)) {
        CharacterCode();
    }
    if (o.fieldLink >= 0 && !o.fieldLinkWritten) {
        o.markup += "<$" + Hex8(std::uint32_t(o.fieldLink)) + ">";
        o.fieldLinkWritten = true;
    }
    if (run_.Options().helpMode && s.linkText && !o.linkOpen) {
        o.linkOpen = true;
        o.linkTextEnded = false;
        o.linkAt = o.markup.size();
        o.linkText.clear();
        o.linkTarget.clear();
        o.markup += "<$00000000>";
    }
}

void TRtfPage::Content(std::string_view markup, int characters) {
    BeforeContent();
    Output& o = Out();
    o.markup.append(markup);
    o.contentInPara += characters;
    if (o.linkOpen && !o.linkTextEnded && o.linkText.size() < 200) o.linkText.append(markup);
}

void TRtfPage::ParagraphHead() {
    EnsureStyles();
    Output& o = Out();
    const TRtfState& s = states_.Top();
    o.afterTable = false;
    if (o.kind == 0 && !fragment_ && !o.table.active) {
        ++paragraphs_;
        HeadingCheck(s);
        if (split_ && paragraphs_ > run_.Options().maxParagraphs) {
            SplitPage();
            paragraphs_ = 1;
        }
        if (paragraphs_ % 20 == 0 && run_.OnProgress) run_.OnProgress(paragraphs_, 100, 4);
    }
    TRtfState effective = s;
    if (paraNumbering_ >= 0) effective.numbering = paraNumbering_;
    const auto mapped = header_.styleMap.find(s.rtfStyle);
    effective.style = mapped == header_.styleMap.end() ? 0 : mapped->second;
    const TKYToggetto* style = StyleByNumber(set_, effective.style);
    if (!style) {
        effective.style = 0;
        style = StyleByNumber(set_, 0);
    }
    const TRtfState def = style ? StateOfStyle(*style) : TRtfState{};
    std::string head = "<Z S" + std::to_string(effective.style) + " ";
    if (effective.colour != def.colour)
        head += "c" + HexColour(std::uint32_t(effective.colour)) + " ";
    if (!run_.Options().ignoreFonts) {
        if (effective.font != def.font) head += "F\"" + effective.font + "\" ";
        if (effective.size != def.size) Field(head, "s", effective.size);
    }
    if (effective.flags != def.flags) Field(head, "y", effective.flags);
    if (effective.position != def.position) Field(head, "p", effective.position);
    if (effective.alignment != def.alignment) Field(head, "A", effective.alignment);
    if (effective.numbering != def.numbering) Field(head, "N", effective.numbering);
    if (effective.unit != def.unit) Field(head, "M", effective.unit);
    if (effective.lineHeight != def.lineHeight &&
        !(effective.lineHeight <= 0 && def.lineHeight <= 0))
        Field(head, "L", effective.lineHeight);
    if (effective.firstIndent != def.firstIndent) Field(head, "I", effective.firstIndent);
    if (effective.left != def.left) Field(head, "l", effective.left);
    if (effective.right != def.right) Field(head, "r", effective.right);
    if (effective.top != def.top) Field(head, "t", effective.top);
    if (effective.bottom != def.bottom) Field(head, "b", effective.bottom);
    if (effective.linkColour != def.linkColour)
        head += "C" + HexColour(std::uint32_t(effective.linkColour)) + " ";
    if (effective.linkSize != def.linkSize) Field(head, "S", effective.linkSize);
    if (effective.linkFlags != def.linkFlags) Field(head, "Y", effective.linkFlags);
    head += '>';
    Output& out = Out();  // a split may have made a new page of the output
    out.paraStart = out.markup.size();
    out.markup += head;
    out.paraPending = false;
    out.contentInPara = 0;
    out.paraBase = effective;
    out.lastChar = effective;
    listTextKind_ = 0;
}

void TRtfPage::CharacterCode() {
    Output& o = Out();
    const TRtfState& s = states_.Top();
    const TRtfState& base = o.paraBase;
    std::string code = "<Y ";
    if (s.colour != base.colour) code += "c" + HexColour(std::uint32_t(s.colour)) + " ";
    if (!run_.Options().ignoreFonts) {
        if (s.font != base.font) code += "F\"" + s.font + "\" ";
        if (s.size != base.size) Field(code, "s", s.size);
    }
    if (s.flags != base.flags) Field(code, "y", s.flags);
    if (s.position != base.position) Field(code, "p", s.position);
    code += '>';
    o.markup += code;
    o.lastChar = s;
}

void TRtfPage::EndParagraph() {
    Output& o = Out();
    if (run_.Options().helpMode) LinkCheck(false);
    const TRtfState& s = states_.Top();
    if (o.table.active && !s.inTable) {
        CloseTable();
        o.afterTable = true;
    }
    if (o.afterTable) {
        o.afterTable = false;
        return;
    }
    if (o.table.active && !o.table.emitted && s.inTable) EmitTable();
    if (o.paraPending) ParagraphHead();
    Out().paraPending = true;
    // A title is one paragraph: the next one does not run on into it.
    if (!Trim(Out().firstText).empty()) Out().firstTextDone = true;
}

void TRtfPage::LinkCheck(bool visible) {
    Output& o = Out();
    if (!o.linkOpen) return;
    const TRtfState& s = states_.Top();
    if (visible && s.linkText && !o.linkTextEnded) return;  // the link text goes on
    if (!o.linkTextEnded) {
        o.markup += "<%>";
        o.linkTextEnded = true;
    }
    if (visible || !s.hidden) CloseLink();
}

void TRtfPage::CloseLink() {
    Output& o = Out();
    if (!o.linkOpen) return;
    o.linkOpen = false;
    std::string target = Trim(o.linkTarget);
    // "id>window" and "id@file": the topic id is what comes first.
    const std::size_t cut = target.find_first_of(">@");
    if (cut != std::string::npos) target = Trim(target.substr(0, cut));
    std::string text = o.linkText;
    if (target.empty() || target[0] == '!' || target[0] == '%' || target[0] == '*') {
        // No topic to jump to (a macro, or no hidden text): the words stay, the link goes.
        if (o.linkAt + 11 <= o.markup.size()) o.markup.erase(o.linkAt, 11);
        const std::size_t close = o.markup.rfind("<%>");
        if (close != std::string::npos && close >= o.linkAt) o.markup.erase(close, 3);
        run_.Report.failedLinks.push_back(text + (target.empty() ? "" : " (" + target + ")"));
        return;
    }
    const std::string key = Upper1252(target.substr(0, 20));
    std::int32_t page;
    const auto found = run_.contexts.find(key);
    if (found != run_.contexts.end()) {
        page = found->second;
    } else {
        // The page waits for its topic; until then it shows the id it was made for.
        page = NewImportedPage(set_, "<Z S0 >" + EscapeForMarkup(target) + "<Z S0 >",
                               run_.Options().backgroundColour, run_.Options().backgroundPicture);
        if (TKYToggetto* made = set_.ObjectByKind(K::testoHtml, page)) {
            PageRecord record(*made);
            record.SetHelpContext(target.substr(0, 20));
            record.SetTitle(target.substr(0, kPageTitleLength));
        }
        run_.contexts[key] = page;
    }
    const std::string code = "<$00" + Hex6(page) + ">";
    if (o.linkAt + 11 <= o.markup.size()) o.markup.replace(o.linkAt, 11, code);
}

// ---------------------------------------------------------------------------------------------
// Tables.

void TRtfPage::StartTable() {
    Table& t = Out().table;
    if (t.active) {
        // The next row's definition: its colours, no new columns.
        t.defining = !t.emitted;
        if (t.emitted) t.rowColours.clear();
        t.nextColour = -1;
        return;
    }
    t = Table{};
    t.active = true;
}

void TRtfPage::EmitTable() {
    Output& o = Out();
    Table& t = o.table;
    if (t.emitted || !t.active) return;
    if (t.columns == 0) {
        // A row without cells: no table at all.
        t.active = false;
        return;
    }
    if (o.paraPending) {
        const bool saved = o.table.active;
        t.active = false;  // the paragraph that holds the table is counted as any other
        ParagraphHead();
        Out().table.active = saved;
    }
    auto object = NewObjectOfKind(K::tabellaHtml, &set_);
    object->Clear();
    object->TakeIntoUse();
    const std::int32_t id = set_.Register(std::move(object));
    Table& table = Out().table;
    table.object = set_.ObjectByKind(K::tabellaHtml, id);
    table.emitted = true;
    table.defining = false;
    table.cellsLeft = table.columns;
    Out().markup += "<$" + Hex8(std::uint32_t(MakeCode(K::tabellaHtml, id))) + ">";
    Out().contentInPara += 1;
    Out().paraPending = true;
}

void TRtfPage::Cell() {
    Output& o = Out();
    Table& t = o.table;
    if (t.active && !t.emitted) EmitTable();
    if (!Out().table.active || !Out().table.emitted) {
        EndParagraph();
        return;
    }
    Table& table = Out().table;
    if (table.cellsLeft <= 1) {
        // The last column takes every further cell of its row.
        if (Out().paraPending) ParagraphHead();
        Out().paraPending = true;
        return;
    }
    if (Out().paraPending) ParagraphHead();
    Out().markup += "<T>";
    Out().paraPending = true;
    --table.cellsLeft;
    table.rowOpen = true;
}

void TRtfPage::Row() {
    Output& o = Out();
    if (o.table.active && !o.table.emitted) EmitTable();
    Table& t = Out().table;
    if (!t.active || !t.emitted) return;
    for (int c = 0; c < t.cellsLeft; ++c) {
        if (Out().paraPending) ParagraphHead();
        Out().markup += "<T>";
        Out().paraPending = true;
    }
    for (int c = 0; c < t.columns; ++c) {
        std::int32_t colour = -1;
        if (std::size_t(c) < t.rowColours.size()) colour = t.rowColours[std::size_t(c)];
        t.cellColours.push_back(colour);
    }
    t.cellsLeft = t.columns;
    t.rowOpen = false;
    ++t.rows;
    if (t.rows >= kMaxTableRows) CloseTable();
}

void TRtfPage::CloseTable() {
    Output& o = Out();
    Table& t = o.table;
    if (!t.active) return;
    if (t.emitted) {
        if (t.rowOpen || t.cellsLeft < t.columns) Row();
        if (!Out().table.active) return;  // Row closed it at the row limit
    }
    Table done = std::move(Out().table);
    Out().table = Table{};
    if (!done.emitted || !done.object) return;
    RecordView r = done.object->View();
    r.SetU8(kTableRows, std::uint8_t(done.rows));
    r.SetU8(kTableColumns, std::uint8_t(done.columns));
    r.SetU8(kTableBorder, 1);
    r.SetU8(kTablePadding, 2);
    for (int c = 0; c < done.columns; ++c) {
        r.SetU8At(kTableColumnKinds + std::size_t(c), 1);
        r.SetI16At(kTableColumnWidths + 2 * std::size_t(c), Clamp16(done.widths[std::size_t(c)]));
    }
    if (done.coloured) {
        std::string colours;
        for (std::int32_t colour : done.cellColours) {
            const std::uint32_t v = std::uint32_t(colour);
            colours += char(v & 0xFF);
            colours += char((v >> 8) & 0xFF);
            colours += char((v >> 16) & 0xFF);
            colours += char((v >> 24) & 0xFF);
        }
        done.object->SetAuxiliary(colours);
    }
    Out().paraPending = true;
}

// ---------------------------------------------------------------------------------------------
// Pieces, captures, pictures.

void TRtfPage::StartPiece(int kind) {
    outputs_.emplace_back();
    Out().kind = kind;
    Out().depth = states_.Depth();
    TRtfState& s = states_.Top();
    s.inTable = false;
}

std::string TRtfPage::PieceMarkup(Output& out) {
    (void)out;
    while (Out().table.active) CloseTable();
    if (Out().linkOpen) CloseLink();
    if (Out().fieldLink >= 0 && Out().fieldLinkWritten) Out().markup += "<%>";
    Out().fieldLink = -1;
    return std::move(Out().markup);
}

void TRtfPage::EndPiece() {
    const int kind = Out().kind;
    const std::string firstText = std::move(Out().firstText);
    std::string markup = PieceMarkup(Out());
    outputs_.pop_back();
    if (!markup.starts_with("<Z S")) markup.insert(0, "<Z S0 >");
    if (kind == 1) {
        footnotes_ += "<Z S0 >" + markup;
        ++run_.footnoteCounter;
    } else if (kind == 2 && MarkupHasContent(markup)) {
        // An empty header or footer ("{\\header }", as a section that has none writes it)
        // makes no page.
        const std::int32_t number = NewImportedPage(set_, markup, run_.Options().backgroundColour,
                                                    run_.Options().backgroundPicture);
        piecePages_.push_back(number);
        // A header or footer page is titled by its text, as the body's pages are.
        const std::string title = Trim(firstText).substr(0, kPageTitleLength);
        if (TKYToggetto* page = set_.ObjectByKind(TOggettiHel::testoHtml, number);
            page && !title.empty())
            PageRecord(*page).SetTitle(title);
    }
}

void TRtfPage::PlaceObject(std::int32_t code) {
    Content("<$" + Hex8(std::uint32_t(code)) + ">", 1);
}

void TRtfPage::FinishCapture(Capture& capture) {
    switch (capture.what) {
        case 1: {
            // A topic footnote of help mode: its mark, then the topic's data.
            std::string text = Trim(capture.text);
            if (text.empty()) return;
            const char mark = text[0];
            const std::string value = Trim(std::string_view(text).substr(1));
            Output& o = Out();
            if (o.contentInPara > 0 && !o.markup.empty() && o.markup.back() == mark) {
                o.markup.pop_back();
                if (--o.contentInPara == 0) {
                    o.markup.resize(o.paraStart);
                    o.paraPending = true;
                    if (paragraphs_ > 0) --paragraphs_;
                }
            }
            if (mark == '#') {
                context_ = value.substr(0, 20);
            } else if (mark == '$') {
                title_ = value.substr(0, kPageTitleLength);
            } else if (mark == 'K' || mark == 'k') {
                std::size_t start = 0;
                while (start <= value.size()) {
                    const std::size_t end = value.find(';', start);
                    const std::string word = Trim(value.substr(
                        start, end == std::string::npos ? std::string::npos : end - start));
                    if (!word.empty()) keywords_.push_back(word);
                    if (end == std::string::npos) break;
                    start = end + 1;
                }
            }
            return;
        }
        case 2:
            author_ = Trim(capture.text);
            return;
        case 3:
            fieldInstruction_ = capture.text;
            return;
        case 4: {
            const std::string text = Trim(capture.text);
            listTextKind_ =
                std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })
                    ? 6
                    : 10;
            if (text.empty()) listTextKind_ = 0;
            return;
        }
        case 5: {
            // An annotation: a comment object with its author and text.
            auto comment = NewObjectOfKind(K::shortObj, &set_);
            comment->Clear();
            comment->TakeIntoUse();
            comment->Record()[4] = kCommentSubtype;
            std::string text = author_.empty() ? std::string("Orvo") : author_;
            text += "\r\n";
            text += Trim(capture.text);
            comment->SetAuxiliary(text);
            const std::int32_t id = set_.Register(std::move(comment));
            author_.clear();
            PlaceObject(MakeCode(K::shortObj, id));
            return;
        }
        case 6:
            shapeProperty_ = Trim(capture.text);
            return;
        default:
            return;
    }
}

void TRtfPage::FinishPicture() {
    Picture p = std::move(picture_);
    picture_ = Picture{};
    // A picture counts only where text would show.
    const int where = states_.Top().destination;
    if (!p.open || (where != dBody && where != dShape) || states_.Top().hidden) return;
    // The size shown: the goal sizes (twips), else the plain ones, scaled.
    auto side = [&](std::int64_t goal, std::int64_t plain, std::int64_t scale, int natural) {
        std::int64_t px = 0;
        if (goal > 0)
            px = Pixels(goal);
        else if (p.kind == 1 || p.kind == 2)
            px = plain * ppi_ / 2540;  // 0.01 mm
        else if (plain > 0)
            px = plain;
        else
            px = natural;
        if (scale > 0 && scale != 100) px = px * std::min<std::int64_t>(scale, 10000) / 100;
        return int(std::clamp<std::int64_t>(px, 1, kMaxPictureSide));
    };
    std::string bytes;
    std::string extension;
    int naturalW = 0, naturalH = 0;
    Bitmap bitmap;
    DecodeLimits limits;
    limits.maxSide = kMaxPictureSide * 4;
    limits.pixelsPerInch = ppi_;
    switch (p.kind) {
        case 1: {
            if (p.data.empty()) break;
            const int w = side(p.goalw, p.picw, 100, 100), h = side(p.goalh, p.pich, 100, 100);
            // The placeable header: key, no handle, the box at 96 units an inch, checksum.
            std::array<std::uint16_t, 11> words{0xCDD7,           0x9AC6, 0, 0, 0, std::uint16_t(w),
                                                std::uint16_t(h), 96,     0, 0, 0};
            std::uint16_t sum = 0;
            for (int i = 0; i < 10; ++i) sum ^= words[std::size_t(i)];
            words[10] = sum;
            for (std::uint16_t v : words) {
                bytes += char(v & 0xFF);
                bytes += char(v >> 8);
            }
            bytes += p.data;
            extension = ".wmf";
            if (run_.Options().convertToGif || p.bitmap) {
                Result<Bitmap> inside = ReadWmfBitmap(bytes, limits);
                if (inside) {
                    bitmap = std::move(*inside);
                    extension = ".gif";
                }
            }
            break;
        }
        case 2:
            bytes = p.data;
            extension = ".emf";
            break;
        case 3: {
            Result<Bitmap> png = DecodePng(p.data, limits);
            if (png) {
                bitmap = std::move(*png);
                extension = ".gif";
            }
            break;
        }
        case 4:
            bytes = p.data;
            extension = ".jpg";
            break;
        case 5: {
            // A DIB: a bitmap file once it has its 14-byte file header.
            if (p.data.size() < 40) break;
            const std::uint32_t size = std::uint32_t(p.data.size() + 14);
            std::uint32_t headerSize = 0;
            std::memcpy(&headerSize, p.data.data(), 4);
            std::uint16_t bits = 0;
            std::memcpy(&bits, p.data.data() + 14, 2);
            std::uint32_t used = 0;
            std::memcpy(&used, p.data.data() + 32, 4);
            std::uint32_t colours = bits <= 8 ? (used ? used : (1u << bits)) : used;
            const std::uint32_t offset = 14 + std::min<std::uint32_t>(headerSize, 1024) +
                                         std::min<std::uint32_t>(colours, 256) * 4;
            bytes = "BM";
            for (std::uint32_t v : {size, 0u, offset})
                for (int i = 0; i < 4; ++i) bytes += char((v >> (8 * i)) & 0xFF);
            bytes += p.data;
            extension = ".bmp";
            break;
        }
        default:
            break;
    }
    if (!bitmap.Empty()) {
        naturalW = bitmap.width;
        naturalH = bitmap.height;
        Result<std::string> gif = BitmapToGif(bitmap, false);
        if (gif)
            bytes = std::move(*gif);
        else
            bytes.clear();
    }
    std::int32_t pictureId = -1;
    if (!bytes.empty() && !extension.empty()) {
        const std::string name = "Img" + std::to_string(++run_.pictureCounter) + extension;
        const std::string temporary = set_.TempFileName(name);
        if (WriteFileAtomically(NativePath(temporary), bytes, 0600u)) {
            Result<TKYToggetto*> added = set_.AddPictureFromFile(temporary);
            if (added) {
                pictureId = (*added)->Identifier();
                const RecordView r = (*added)->ReadView();
                naturalW = r.I16(kPictureWidth);
                naturalH = r.I16(kPictureHeight);
            }
            std::error_code ec;
            std::filesystem::remove(NativePath(temporary), ec);
        }
    }
    // A shape's picture that cannot be read leaves the place to the shape's drawn result.
    if (where == dShape && pictureId < 0) return;
    const int width = side(p.goalw, p.picw, p.scalex, std::max(naturalW, 1));
    const int height = side(p.goalh, p.pich, p.scaley, std::max(naturalH, 1));
    auto image = NewObjectOfKind(K::immagineNew, &set_);
    image->Clear();
    image->TakeIntoUse();
    RecordView r = image->View();
    r.SetI32(kImagePicture, pictureId);
    r.SetI16(kImageNaturalWidth, Clamp16(naturalW > 0 ? naturalW : width));
    r.SetI16(kImageNaturalHeight, Clamp16(naturalH > 0 ? naturalH : height));
    r.SetI16(kImageWidth, Clamp16(width));
    r.SetI16(kImageHeight, Clamp16(height));
    const std::int32_t id = set_.Register(std::move(image));
    // The picture sits where its group was: in the text of the state around it.
    PlaceObject(MakeCode(K::immagineNew, id));
}

// ---------------------------------------------------------------------------------------------
// Pages.

void TRtfPage::HeadingCheck(const TRtfState& s) {
    if (!run_.Options().buildIndex || !split_ || run_.Options().helpMode) return;
    const auto name = header_.styleNames.find(s.rtfStyle);
    if (name == header_.styleNames.end() || !StartsWithNoCase(name->second, "heading")) return;
    const std::string& n = name->second;
    int level = run_.Options().headingLimit + 1;
    if (n.size() > 8) {
        const std::string digits = Trim(std::string_view(n).substr(8));
        if (!digits.empty() && digits[0] >= '0' && digits[0] <= '9')
            level = std::clamp(std::atoi(digits.c_str()), 0, 99);
    }
    if (level > run_.Options().headingLimit) return;
    if (run_.indexPage < 0) StartOfPageNumbering();
    if (Out().contentInPara > 0 || Out().markup.find_first_not_of(' ') != std::string::npos) {
        if (Out().markup.size() > 0) {
            SplitPage();
            paragraphs_ = 1;
        }
    }
    pageHeadingLevel_ = std::max(1, level);
}

std::int32_t TRtfPage::StartOfPageNumbering() {
    if (run_.indexPage >= 0) return run_.indexPage;
    run_.indexMarkup = "<Z S0 >" + std::string(kIndexPageText) + "<Z S0 >";
    run_.indexPage = NewImportedPage(set_, run_.indexMarkup, run_.Options().backgroundColour,
                                     run_.Options().backgroundPicture);
    if (TKYToggetto* page = set_.ObjectByKind(K::testoHtml, run_.indexPage))
        PageRecord(*page).SetTitle("Indice");
    run_.ImportedPages.push_back(run_.indexPage);
    return run_.indexPage;
}

void TRtfPage::SplitPage() {
    // Called before the head of the paragraph that starts the next page is written.
    if (!Out().markup.empty()) MakePage();
}

std::int32_t TRtfPage::MakePage() {
    Output& o = outputs_.front();
    while (o.table.active && outputs_.size() == 1) CloseTable();
    if (outputs_.size() == 1 && o.linkOpen) CloseLink();
    std::string markup = std::move(o.markup);
    o.markup.clear();
    o.paraPending = true;
    o.contentInPara = 0;
    const std::string firstText = std::move(o.firstText);
    o.firstText.clear();
    o.firstTextDone = false;
    if (!markup.starts_with("<Z S")) markup.insert(0, "<Z S0 >");
    markup += footnotes_;
    footnotes_.clear();
    const RtfImportOptions& options = run_.Options();
    if (options.helpMode) ResolveBitmaps(markup);
    const bool chained = split_ && !options.buildIndex && !options.helpMode;
    const bool indexed = options.buildIndex && split_ && !options.helpMode;
    if (indexed) {
        if (run_.indexPage < 0) StartOfPageNumbering();
        markup += "<Z S0 >" + PageLink(run_.indexPage, "Indice") + "<Z S0 >";
    }
    std::int32_t number = -1;
    if (options.helpMode && !context_.empty()) {
        const auto found = run_.contexts.find(Upper1252(context_));
        if (found != run_.contexts.end()) {
            if (TKYToggetto* page = set_.ObjectByKind(K::testoHtml, found->second);
                page && !page->IsFree()) {
                page->SetContent(markup + '\0');
                PageRecord(*page).SetBackgroundColour(options.backgroundColour);
                set_.SetModified(true);
                number = found->second;
            }
        }
    }
    if (number < 0) {
        if (chained && previousSplitPage_ >= 0)
            markup.insert(0, "<Z S0 >" + PageLink(previousSplitPage_, "...continua") + "<Z S0 >");
        number = NewImportedPage(set_, markup, options.backgroundColour, options.backgroundPicture);
    }
    TKYToggetto* page = set_.ObjectByKind(K::testoHtml, number);
    if (page) {
        PageRecord record(*page);
        if (options.helpMode) {
            const std::string context =
                context_.empty() ? "BadPageId" + std::to_string(number) : context_;
            record.SetHelpContext(context.substr(0, 20));
            run_.contexts[Upper1252(context.substr(0, 20))] = number;
            record.SetTitle(title_.substr(0, kPageTitleLength));
            int added = 0;
            for (const std::string& word : keywords_) {
                if (added >= kPageKeywordCount) break;
                std::int32_t keyword = -1;
                for (const auto& k : set_.KindList(K::keyword)) {
                    if (!k->IsFree() && k->ReadView().PStr(kKeywordText) == word) {
                        keyword = k->Identifier();
                        break;
                    }
                }
                if (keyword < 0) {
                    auto made = NewObjectOfKind(K::keyword, &set_);
                    made->Clear();
                    made->TakeIntoUse();
                    made->SetName(word);
                    keyword = set_.Register(std::move(made));
                    run_.Report.keywords.push_back(word);
                }
                if (record.AddKeyword(keyword)) ++added;
            }
            std::string line = context.substr(0, 20) + ":" + std::to_string(number) + ")" +
                               "................................";
            run_.Report.pages.push_back("(" + line.substr(0, 32) + ".." + title_);
        } else {
            record.SetTitle(Trim(firstText).substr(0, kPageTitleLength));
        }
    }
    if (chained && previousSplitPage_ >= 0) {
        if (TKYToggetto* previous = set_.ObjectByKind(K::testoHtml, previousSplitPage_)) {
            Result<std::string> text = previous->ContentBytes();
            if (text) {
                std::string t = *text;
                while (!t.empty() && t.back() == '\0') t.pop_back();
                t += "<Z S0 ><Z S0 >" + PageLink(number, "continua...") + "<Z S0 >";
                previous->SetContent(t + '\0');
            }
        }
    }
    if (indexed) {
        std::string line = "<Z S0 >";
        for (int i = 1; i < pageHeadingLevel_; ++i) line += ". ";
        line += PageLink(number, std::to_string(number)) + "<Z S0 >";
        run_.indexMarkup += line;
    }
    if (split_ && !options.helpMode) previousSplitPage_ = number;
    context_.clear();
    title_.clear();
    keywords_.clear();
    if (std::find(run_.ImportedPages.begin(), run_.ImportedPages.end(), number) ==
        run_.ImportedPages.end())
        run_.ImportedPages.push_back(number);
    if (run_.OnProgress) run_.OnProgress(int(run_.ImportedPages.size()), 100, 4);
    return number;
}

void TRtfPage::ResolveBitmaps(std::string& markup) {
    // "{bmc name}", "{bml name}", "{bmr name}" (and their "t" forms): a picture of the RTF
    // file's own folder, by its last name only.
    std::size_t at = 0;
    while ((at = markup.find("{bm", at)) != std::string::npos) {
        const std::size_t close = markup.find('}', at);
        if (close == std::string::npos) break;
        const std::string inside = markup.substr(at + 1, close - at - 1);
        const std::size_t blank = inside.find(' ');
        std::string name = blank == std::string::npos ? "" : Trim(inside.substr(blank + 1));
        name = std::string(LastComponent(FromWindowsPath(name)));
        std::string replacement;
        if (!name.empty() && IsSafeName(name) && !sourceFolder.empty()) {
            const std::filesystem::path file = sourceFolder / NativePath(name);
            Result<TKYToggetto*> added = set_.AddPictureFromFile(NameOfPath(file));
            if (added) {
                auto image = NewObjectOfKind(K::immagineNew, &set_);
                image->Clear();
                image->TakeIntoUse();
                RecordView r = image->View();
                const RecordView pr = (*added)->ReadView();
                r.SetI32(kImagePicture, (*added)->Identifier());
                r.SetI16(kImageNaturalWidth, pr.I16(kPictureWidth));
                r.SetI16(kImageNaturalHeight, pr.I16(kPictureHeight));
                r.SetI16(kImageWidth, pr.I16(kPictureWidth));
                r.SetI16(kImageHeight, pr.I16(kPictureHeight));
                const std::int32_t id = set_.Register(std::move(image));
                replacement = "<$" + Hex8(std::uint32_t(MakeCode(K::immagineNew, id))) + ">";
            }
        }
        if (replacement.empty()) {
            at = close + 1;
            continue;
        }
        markup.replace(at, close - at + 1, replacement);
        at += replacement.size();
    }
}

void TRtfPage::ImportFile(bool split) {
    split_ = split || run_.Options().helpMode;
    if (!ParseHeader()) return;
    if (split_) {
        while (pos_ < data_.size() && !ended_) {
            ParsePage();
            // A piece with nothing in it but blanks or empty paragraphs makes no page.
            const Output& o = outputs_.front();
            const bool empty = o.markup.find_first_not_of(' ') == std::string::npos ||
                               (o.markup.find('<') == 0 && o.contentInPara == 0 &&
                                o.markup.find("<Z", 1) == std::string::npos && footnotes_.empty());
            if (!empty || !context_.empty()) MakePage();
        }
        while (outputs_.size() > 1) EndPiece();
        const Output& o = outputs_.front();
        if (!o.markup.empty() || !context_.empty()) MakePage();
    } else {
        Run(false);
        while (outputs_.size() > 1) EndPiece();
        MakePage();
    }
    for (std::int32_t page : piecePages_)
        if (std::find(run_.ImportedPages.begin(), run_.ImportedPages.end(), page) ==
            run_.ImportedPages.end())
            run_.ImportedPages.push_back(page);
}

std::string TRtfPage::Fragment(int* paragraphs) {
    Run(false);
    while (outputs_.size() > 1) EndPiece();
    Output& o = outputs_.front();
    while (o.table.active) CloseTable();
    if (o.linkOpen) CloseLink();
    std::string markup = std::move(outputs_.front().markup);
    if (!markup.starts_with("<Z S")) markup.insert(0, "<Z S0 >");
    markup += footnotes_;
    if (paragraphs) {
        int count = 0;
        for (std::size_t at = markup.find("<Z S"); at != std::string::npos;
             at = markup.find("<Z S", at + 1))
            ++count;
        *paragraphs = count;
    }
    return markup;
}

}  // namespace orvo
