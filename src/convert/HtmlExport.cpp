// The site export: file names, the order of an export, page files, alias pages, the marker
// comment and its read-back, and the style sheet file.
#include "convert/HtmlExport.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlObjects.h"
#include "convert/HtmlScripts.h"
#include "convert/HtmlText.h"
#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/StyleTable.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "textbox/FrameRecord.h"

namespace orvo {

namespace {

constexpr std::array<const char*, 92> kLatin1Entities{
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
    "uacute", "ucirc"};

constexpr std::size_t kTitleCut = 92;
// A page number no "orvo:" link can name (they are 0 or more).
constexpr std::int32_t kNoPageNumber = 0xFFFFFF;
constexpr std::string_view kHeadStart = "<HTML><HEAD>\r\n<TITLE>";
constexpr std::string_view kMarkerStart = "<!--pageOrvo=\"";

std::string Hex6(std::uint32_t n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06x", n & 0xFFFFFFu);
    return digits;
}

std::string Title(const TKYToggetto& page) {
    std::string title = PageRecord::Read(page).Title();
    if (title.size() > kTitleCut - kHeadStart.size()) title.resize(kTitleCut - kHeadStart.size());
    return EscapeText(title);
}

// A marker comment holds the document's path; "-" after "-", "%" and the double quote are
// written as %XX so the comment never holds "--" and the path reads back whole.
std::string MarkerPath(std::string_view path) {
    std::string out;
    for (char c : path) {
        if (c == '%' || c == '"' || c == '>' || (c == '-' && !out.empty() && out.back() == '-')) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", unsigned(static_cast<unsigned char>(c)));
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnmarkerPath(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t v = 0;
        if (text[i] == '%' && i + 2 < text.size() + 0 &&
            ParseHex(text.substr(i + 1, 2), 2, v) == 2) {
            out += char(v);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Writes a whole file, creating or replacing it. An existing file is written over in place
// and then cut to the new length: emptying it first (O_TRUNC) makes the file system free and
// discard its blocks, which on a re-export costs about twenty times the writing itself.
Status WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    auto failure = [&] {
        return Fail(std::string(std::strerror(errno)) + ": " + NameOfPath(path));
    };
    // A pipe or a device under the name is refused rather than written to (or waited on).
    if (Result<std::filesystem::path> target = ReplaceableTarget(path); !target)
        return target.failure();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return failure();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ::ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const Status failed = failure();
            ::close(fd);
            return failed;
        }
        done += std::size_t(n);
    }
    if (::ftruncate(fd, ::off_t(bytes.size())) != 0) {
        const Status failed = failure();
        ::close(fd);
        return failed;
    }
    if (::close(fd) != 0) return failure();
    return Status::Ok();
}

void AddOnce(std::vector<TKYToggetto*>& list, TKYToggetto* object) {
    if (std::find(list.begin(), list.end(), object) == list.end()) list.push_back(object);
}

}  // namespace

std::string ProgressText(int phase, int pag, int tot) {
    const long long percent = tot > 0 ? (long long)pag * 100 / tot : 0;
    return "Export in corso, fase " + std::to_string(phase) + ": " + std::to_string(percent) + "%";
}

std::string TKYTconv::FilePrefix() const {
    std::string prefix = !PrefixOverride.empty() ? PrefixOverride
                         : LinkedKYTset          ? LinkedKYTset->ExpPrefix()
                                                 : std::string();
    // The prefix comes from the document: every name built from it stays in the chosen folder.
    for (char& c : prefix)
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) c = '_';
    return prefix;
}

std::string EscapeChar(unsigned char ch) {
    if (ch == '&') return "&amp;";
    if (ch == '<') return "&lt;";
    if (ch == '>') return "&gt;";
    if (ch >= 1 && ch <= 31) return {};
    if (ch >= 160 && ch <= 251) return std::string("&") + kLatin1Entities[ch - 160] + ";";
    return std::string(1, char(ch));
}

std::string EscapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '"')
            out += "&quot;";
        else
            out += EscapeChar(static_cast<unsigned char>(c));
    }
    return out;
}

std::string TKYTtoHtml::SafePrefix() const {
    return FilePrefix();
}

std::string TKYTtoHtml::ObjectFileName(const TKYToggetto& object, int mode) const {
    const TKYTset& set = *LinkedKYTset;
    const std::string prefix = SafePrefix();
    switch (object.Kind()) {
        case TOggettiHel::testoHtml: {
            const char separator = mode == 1 ? '-' : mode == 2 ? '=' : '_';
            const bool home = object.Identifier() == set.HeaderView().I32(kHdrCoverPage);
            return prefix + separator + (home ? std::string("index") : Hex6(object.Identifier())) +
                   PageExtension();
        }
        case TOggettiHel::immagine:
        case TOggettiHel::mappaClic:
        case TOggettiHel::genLink:
        case TOggettiHel::zipLink:
        case TOggettiHel::programma: {
            const bool picture =
                object.Kind() == TOggettiHel::immagine || object.Kind() == TOggettiHel::mappaClic;
            std::string name = KeptFileName(object);
            // Two objects keeping the same name would overwrite each other's file: the first
            // in object order keeps it. A kept name that looks like a generated one could
            // take another object's file, so it is generated too.
            if (!name.empty() && (IsGeneratedName(name) || NameHeldBefore(object, name)))
                name.clear();
            if (name.empty()) {
                const std::string extension =
                    ExtensionOf(LastComponent(FromWindowsPath(object.FileName())));
                name = prefix + (picture ? "_i" : "_g") + Hex6(object.Identifier()) +
                       (extension.size() > 1 && IsSafeName("x" + extension) ? extension
                                                                            : std::string());
            }
            return (ExpSepImage ? "images/" : "") + name;
        }
        case TOggettiHel::internetLink: {
            const std::string address = object.ReadView().PStr(kLinkAddress);
            const DocumentLink link = set.ParseDocumentLink(address);
            if (link.isDocumentLink) {
                if (link.isCurrentDocument) {
                    const std::int32_t page =
                        link.page < 0 ? set.HeaderView().I32(kHdrCoverPage) : link.page;
                    if (TKYToggetto* target = LivePage(set, page))
                        return ObjectFileName(*target, 0);
                    return {};
                }
                std::string name;
                if (link.page < 0) {
                    // No page named: the other hypertext's own home page, whatever its number.
                    // Asked for a number no page can have, it names the page with that number
                    // and the prefix, which is then followed by "_index".
                    name = set.ExportedPageName(link.file, kNoPageNumber, PageExtension());
                    const std::string numbered = "_" + Hex6(kNoPageNumber) + PageExtension();
                    if (name.ends_with(numbered))
                        name.replace(name.size() - numbered.size(), numbered.size(),
                                     "_index" + PageExtension());
                } else {
                    name = set.ExportedPageName(link.file, link.page, PageExtension());
                }
                // A hypertext that cannot be read has no name to link to.
                if (name.empty()) return {};
                std::error_code ec;
                const std::filesystem::path folder =
                    NativePath(FromWindowsPath(link.file)).parent_path();
                std::filesystem::path relative;
                if (!set.DocumentFolder().empty())
                    relative = std::filesystem::relative(folder, set.DocumentFolder(), ec);
                std::string directory = ec || relative.empty() || relative == "."
                                            ? std::string()
                                            : NameOfPath(relative) + "/";
                return directory + name;
            }
            // Any other address as it stands; a double quote would end the attribute.
            std::string out;
            for (char c : address) {
                if (c == '"')
                    out += "%22";
                else if (static_cast<unsigned char>(c) >= 32)
                    out += c;
            }
            return out;
        }
        case TOggettiHel::immagineNew: {
            const std::int32_t shown = object.ReadView().I32(kImagePicture);
            if (TKYToggetto* picture = set.ObjectByKind(TOggettiHel::immagine, shown);
                picture && picture != &object)
                return ObjectFileName(*picture, mode);
            return {};
        }
        default:
            return {};
    }
}

std::string TKYTtoHtml::KeptFileName(const TKYToggetto& object) const {
    const bool picture =
        object.Kind() == TOggettiHel::immagine || object.Kind() == TOggettiHel::mappaClic;
    const std::string last(LastComponent(FromWindowsPath(object.FileName())));
    const std::string extension = ExtensionOf(last);
    bool keep = ExpOrigName;
    if (!picture && (extension.find(".cla") != std::string::npos ||
                     extension.find(".mov") != std::string::npos))
        keep = true;
    // A name from the document that is no plain file name gets a generated one.
    return keep && IsSafeName(last) ? last : std::string();
}

bool TKYTtoHtml::NameHeldBefore(const TKYToggetto& object, std::string_view name) const {
    for (TOggettiHel kind : {TOggettiHel::zipLink, TOggettiHel::genLink, TOggettiHel::immagine,
                             TOggettiHel::mappaClic, TOggettiHel::programma}) {
        for (const auto& other : LinkedKYTset->KindList(kind)) {
            if (other.get() == &object) return false;
            if (other && !other->IsFree() && SameText1252(KeptFileName(*other), name)) return true;
        }
    }
    return false;
}

Status TKYTtoHtml::MakeExportFolder() const {
    if (ExportPath.empty()) return Fail(kUnableToCreateDirectory);
    std::error_code ec;
    std::filesystem::create_directories(NativePath(ExportPath), ec);
    if (ec || !std::filesystem::is_directory(NativePath(ExportPath)))
        return Fail(kUnableToCreateDirectory);
    return Status::Ok();
}

Status TKYTtoHtml::WriteOne(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path path = NativePath(ExportPath) / NativePath(name);
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return WriteWholeFile(path, bytes);
}

std::string TKYTtoHtml::StyleSheetName() const {
    return SafePrefix() + "_style.css";
}

std::string TKYTtoHtml::StyleSheet() const {
    const TKYTset& set = *LinkedKYTset;
    const int ppi = set.Env().PixelsPerInch();
    std::string css = "/* TamberWorks Orvo automatic CSS */\r\n\r\n";
    const auto& styles = set.KindList(TOggettiHel::stileParagrafo);
    for (std::size_t i = 0; i < styles.size(); ++i) {
        const TKYToggetto* style = styles[i].get();
        if (!style || style->IsFree()) continue;
        const HtmlFont font = StyleFont(*style);
        const HtmlLayout layout = StyleLayout(*style);
        std::string name = style->Name();
        // The comment stays a comment: no "*/" inside it.
        for (std::size_t at; (at = name.find("*/")) != std::string::npos;) name[at] = '+';
        if (name.size() > 32) name.resize(32);
        const std::string n = std::to_string(i);
        css += "/* " + name + " */\r\n";
        css += "DIV.s" + n + " {\r\n";
        css += "\tfont-family:\"" + SafeCssName(font.name) + "\";\r\n";
        css += "\tfont-size:" + std::to_string(font.size) + "pt;\r\n";
        css += "\tcolor:#" + HexColour(std::uint32_t(font.colour)) + ";\r\n";
        if (font.Italic()) css += "\tfont-style:italic;\r\n";
        if (font.Bold()) css += "\tfont-weight:bold;\r\n";
        if (font.Underline())
            css += "\ttext-decoration:underline;\r\n";
        else if (font.Strike())
            css += "\ttext-decoration:line-through;\r\n";
        if (layout.lineHeight != kAutomaticLineHeight)
            css += "\tline-height:" + UnitValue(layout.lineHeight, layout.unit, ppi) + ";\r\n";
        css += "\tmargin-left:" + UnitValue(layout.left, layout.unit, ppi) + ";\r\n";
        css += "\tmargin-right:" + UnitValue(layout.right, layout.unit, ppi) + ";\r\n";
        css += "\tmargin-top:" + UnitValue(layout.top, layout.unit, ppi) + ";\r\n";
        css += "\tmargin-bottom:" + UnitValue(layout.bottom, layout.unit, ppi) + ";\r\n";
        css += "\ttext-indent:" + UnitValue(layout.indent, layout.unit, ppi) + ";\r\n";
        css +=
            std::string("\ttext-align:") +
            (layout.alignment >= 0 && layout.alignment < 4
                 ? std::array{"left", "right", "center", "justify"}[std::size_t(layout.alignment)]
                 : "left") +
            ";\r\n";
        css += layout.numbering == 6    ? "\tlist-style-type:decimal;"
               : layout.numbering == 10 ? "\tlist-style-type:disc;"
                                        : "\tlist-style-type:none;";
        css += "\t}\r\n";
        const std::int32_t linkColour = DefinitionValue(*style, StyleField::LinkColour);
        const std::int32_t linkSize = DefinitionValue(*style, StyleField::LinkSize);
        const int linkBits = DefinitionValue(*style, StyleField::LinkStyle);
        css += "A.s" + n + " {\r\n";
        css += "\tcolor:#" + HexColour(std::uint32_t(linkColour)) + ";\r\n";
        if (linkSize > 0) css += "\tfont-size:" + std::to_string(linkSize) + "pt;\r\n";
        if (linkBits & 2) css += "\tfont-style:italic;\r\n";
        if (linkBits & 1) css += "\tfont-weight:bold;\r\n";
        if (!(linkBits & 4))
            css += "\ttext-decoration:none;\r\n";
        else if (linkBits & 8)
            css += "\ttext-decoration:line-through;\r\n";
        css += "\t}\r\n";
    }
    return css;
}

Status TKYTtoHtml::WriteStyleSheet() {
    if (Status made = MakeExportFolder(); !made) return made;
    return WriteOne(StyleSheetName(), StyleSheet());
}

std::string TKYTtoHtml::DocumentPath() const {
    const std::string& name = LinkedKYTset->KYTFileName();
    if (name.empty()) return name;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(NativePath(name), ec);
    return ec ? name : NameOfPath(full.lexically_normal());
}

std::string TKYTtoHtml::MarkerComment(const TKYToggetto& page) const {
    return std::string(kMarkerStart) + std::to_string(page.Identifier()) + ";" +
           MarkerPath(DocumentPath()) + "\"-->\r\n";
}

std::string TKYTtoHtml::BodyTag(const TKYToggetto& page, TExportContext& context, bool withBase) {
    const TKYTset& set = *LinkedKYTset;
    const PageRecord record = PageRecord::Read(page);
    std::string tag = "<BODY";
    if (record.BackgroundPicture() >= 0)
        if (TKYToggetto* picture =
                set.ObjectByKind(TOggettiHel::immagine, record.BackgroundPicture());
            picture && !picture->IsFree()) {
            tag += " BACKGROUND=\"" + ObjectFileName(*picture, 0) + "\"";
            if (context.images) AddOnce(*context.images, picture);
        }
    tag += " TEXT=#" + HexColour(std::uint32_t(record.TextColour()));
    tag += " LINK=#" + HexColour(std::uint32_t(record.LinkColour()));
    tag += " VLINK=#" + HexColour(std::uint32_t(record.VisitedColour()));
    tag += " BGCOLOR=#" + HexColour(std::uint32_t(record.BackgroundColour()));
    if (withBase) tag += " >\r\n<BASE TARGET=\"_top\">\r\n";
    return tag;
}

std::string TKYTtoHtml::WriteBody(int part, TExportContext& context, const TKYToggetto& page) {
    std::string out;
    if (part == 1 || part == 6) out += BodyTag(page, context, true);
    if (part == 6) return out;
    Result<std::string> text = page.ContentBytes();
    if (!text) return out;
    HtmlTextWriter writer(*this, context);
    out += writer.Write(*text);
    return out;
}

std::string TKYTtoHtml::WritePage(const TKYToggetto& page, std::vector<std::int32_t>* secondaries,
                                  std::vector<TKYToggetto*>& images, int mode) {
    const TKYTset& set = *LinkedKYTset;
    const PageRecord record = PageRecord::Read(page);
    std::string head;
    head += kHeadStart;
    head += Title(page) + "\r\n</TITLE>\r\n";
    std::string keywords;
    // The slots hold identifiers of keyword objects, not object codes.
    for (std::int32_t identifier : record.Keywords()) {
        TKYToggetto* keyword =
            identifier >= 0 ? set.ObjectByKind(TOggettiHel::keyword, identifier) : nullptr;
        if (!keyword || keyword->IsFree()) continue;
        if (keywords.empty()) keywords = "<META NAME=\"keywords\" CONTENT=\"";
        keywords += EscapeText(keyword->ReadView().PStr(kKeywordText)) + ",";
    }
    if (!keywords.empty()) head += keywords + "\">\r\n";
    // A negative delay is none set: "-1;URL=" would be an invalid refresh.
    if (record.RedirectTarget() >= 0 && record.RedirectSeconds() >= 0)
        if (TKYToggetto* target = LivePage(set, record.RedirectTarget()))
            head += "<META HTTP-EQUIV=\"refresh\" CONTENT=\"" +
                    std::to_string(record.RedirectSeconds()) +
                    ";URL=" + ObjectFileName(*target, 0) + "\">\r\n";
    TExportContext context;
    context.images = &images;
    context.secondaries = secondaries;
    context.mode = mode;
    context.page = &page;
    context.pagesWritten.push_back(page.Identifier());
    // The page's own head code, its references resolved.
    if (page.Auxiliary()) head += ResolveCustomText(*this, context, page.AuxiliaryCode(), &page);
    head += MarkerComment(page);
    const std::string author = set.HeaderView().PStr(kHdrAuthors);
    const std::string copyright = set.HeaderView().PStr(kHdrCopyright);
    if (!author.empty())
        head += "<META NAME=\"author\" CONTENT=\"" + EscapeText(author) + "\">\r\n";
    if (!copyright.empty())
        head += "<META NAME=\"copyright\" CONTENT=\"" + EscapeText(copyright) + "\">\r\n";
    head += "<META NAME=\"generator\" CONTENT=\"TamberWorks Orvo 3.0\">\r\n";
    head += "<LINK REL=STYLESHEET HREF=\"" + StyleSheetName() + "\" TYPE=\"text/css\">\r\n";

    std::string body;
    // A page with a frame map is the frame-set document, its text for readers without frames.
    bool frameSet = false;
    if (mode == 0 && record.HostsFrames())
        if (Result<TNonVisCornice> frames = TNonVisCornice::FromPage(set, page.Identifier())) {
            body += WriteFrameSet(frames->Top(), context);
            body += "\r\n<NOFRAME>\r\n";
            frameSet = true;
        }
    const std::int32_t header = HeaderPageOf(set, page);
    const std::int32_t footer = FooterPageOf(set, page);
    if (TKYToggetto* headerPage = header >= 0 ? LivePage(set, header) : nullptr) {
        body += WriteBody(6, context, page);
        body += WriteBody(0, context, *headerPage);
        body += WriteBody(0, context, page);
    } else {
        body += WriteBody(1, context, page);
    }
    if (TKYToggetto* footerPage = footer >= 0 ? LivePage(set, footer) : nullptr)
        body += WriteBody(0, context, *footerPage);

    std::string file = std::move(head);
    file += HeadScripts(context.scriptFlags);
    file += "</HEAD>\r\n";
    file += body;
    file += RolloverPreload(*this, context);
    if (frameSet) file += "</NOFRAME>";
    file += "\r\n</BODY></HTML>\r\n";
    return file;
}

std::string TKYTtoHtml::WriteFrameSet(const FrameNode& frame, TExportContext& context) {
    const FrameRecord& r = frame.record;
    if (!frame.children.empty()) {
        std::string s = "<FRAMESET ";
        if (r.SplitsInRows())
            s += "ROWS=";
        else if (r.SplitsInColumns())
            s += "COLS=";
        std::string sizes;
        for (const FrameNode& child : frame.children) {
            if (!sizes.empty()) sizes += ",";
            switch (child.record.SizeKind()) {
                case FrameSizeKind::Percent:
                    sizes += std::to_string(child.record.Percent()) + "%";
                    break;
                case FrameSizeKind::Pixels:
                    sizes += std::to_string(child.record.Pixels());
                    break;
                default:
                    sizes += "*";
            }
        }
        const std::string border = std::to_string(r.Border() == 0 ? 0 : r.BorderWidth());
        s += sizes + " BORDER=" + border + " FRAMESPACING=" + border + " >\r\n";
        for (const FrameNode& child : frame.children) s += WriteFrameSet(child, context);
        return s + "</FRAMESET>\r\n";
    }
    // The name is cut so that the opening text and the name stay within 32 characters.
    std::string name = EscapeText(r.Name());
    constexpr std::size_t kNameRoom = 32 - std::string_view("<FRAME NAME=\"").size();
    if (name.size() > kNameRoom) name.resize(kNameRoom);
    if (const std::size_t amp = name.rfind('&');
        amp != std::string::npos && name.find(';', amp) == std::string::npos)
        name.resize(amp);  // never half an entity
    std::string s = "<FRAME NAME=\"" + name + "\"";
    // A frame shows its page's frameless copy; a frame without a live page shows nothing.
    if (TKYToggetto* shown = LivePage(*LinkedKYTset, r.Page())) {
        if (context.secondaries &&
            std::find(context.secondaries->begin(), context.secondaries->end(),
                      shown->Identifier()) == context.secondaries->end())
            context.secondaries->push_back(shown->Identifier());
        s += " SRC=\"" + ObjectFileName(*shown, context.secondaries ? 1 : 0) + "\"";
    }
    s += std::string(" SCROLLING=") + (r.ScrollBars() ? "auto " : "no ");
    if (r.Border() == 0) s += "FRAMEBORDER=no ";
    s += r.Resizable() ? ">\r\n" : "NORESIZE>\r\n";
    return s;
}

bool TKYTtoHtml::IsGeneratedName(std::string_view name) const {
    const std::string lower = Lower1252(name);
    const std::string prefix = Lower1252(SafePrefix());
    if (lower == Lower1252(StyleSheetName())) return true;
    if (!lower.starts_with(prefix)) return false;
    std::string_view rest = std::string_view(lower).substr(prefix.size());
    if (rest.empty()) return false;
    const char separator = rest[0];
    rest.remove_prefix(1);
    // Picture and object files: "_i" or "_g" and six digits, then any extension.
    if (separator == '_' && rest.size() >= 7 && (rest[0] == 'i' || rest[0] == 'g')) {
        std::uint32_t v = 0;
        if (ParseHex(rest.substr(1, 6), 6, v) == 6) return true;
    }
    // Page files in every mode: "index" or six digits, then ".htm" or ".html".
    if (separator != '_' && separator != '-' && separator != '=') return false;
    if (rest.starts_with("index")) {
        rest.remove_prefix(5);
    } else {
        std::uint32_t v = 0;
        if (rest.size() < 6 || ParseHex(rest.substr(0, 6), 6, v) != 6) return false;
        rest.remove_prefix(6);
    }
    return rest == ".htm" || rest == ".html";
}

std::string TKYTtoHtml::AliasFileName(const TKYToggetto& page) const {
    const std::string alias = FromWindowsPath(PageRecord::Read(page).Alias());
    // An alias that names a file of the export itself would overwrite it with a redirect (a
    // page's own file with one to itself).
    return IsSafeName(alias) && !IsGeneratedName(alias) ? alias : std::string();
}

std::string TKYTtoHtml::AliasPage(const TKYToggetto& page) {
    TExportContext context;
    std::vector<TKYToggetto*> images;
    context.images = &images;
    std::string out(kHeadStart);
    out += Title(page) + "\r\n</TITLE>\r\n";
    out += MarkerComment(page);
    const std::string file = ObjectFileName(page, 0);
    out += "<META HTTP-EQUIV=\"refresh\" CONTENT=\"0;URL=" + file + "\">\r\n";
    out += "</HEAD>\r\n";
    out += BodyTag(page, context, false) + ">\r\n";
    out += "<A HREF=\"" + file + "\">Loading...</A>\r\n</BODY></HTML>\r\n";
    return out;
}

Result<std::string> TKYTtoHtml::WriteAliasPage(const TKYToggetto& page,
                                               const std::string& directory) {
    const std::string alias = AliasFileName(page);
    if (alias.empty()) return std::string();
    const std::filesystem::path path = NativePath(directory) / NativePath(alias);
    if (Status written = WriteWholeFile(path, AliasPage(page)); !written)
        return Fail(written.failure().text);
    return NameOfPath(path);
}

PageMarker TKYTtoHtml::ReadPageMarkerText(std::string_view text) {
    PageMarker marker;
    std::size_t start = 0;
    for (int line = 0; line < 100 && start < text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view row = text.substr(start, end - start);
        if (row.find(kMarkerStart) != std::string_view::npos) {
            std::string_view rest = row.size() > 14 ? row.substr(14) : std::string_view();
            const std::size_t semi = rest.find(';');
            std::string_view number = rest.substr(0, std::min(semi, rest.size()));
            long long page = 0;
            if (ParseClampedInt(number, INT32_MIN, INT32_MAX, page) == int(number.size()) &&
                !number.empty())
                marker.page = std::int32_t(page);
            if (semi != std::string_view::npos) {
                std::string_view after = rest.substr(semi + 1);
                const std::size_t quote = after.find('"');
                std::string name = UnmarkerPath(after.substr(0, std::min(quote, after.size())));
                if (Upper1252(ExtensionOf(name)) == ".KYT") marker.documentFile = name;
            }
            return marker;
        }
        start = end + 1;
    }
    return marker;
}

PageMarker TKYTtoHtml::ReadPageMarker(const std::string& file) {
    std::ifstream in(NativePath(file), std::ios::binary);
    if (!in) return {};
    // A hundred lines of a page file are far below this.
    std::string text(1 << 20, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(in.gcount()));
    return ReadPageMarkerText(text);
}

Status TKYTtoHtml::ExportList(const std::vector<std::int32_t>& numbers,
                              std::vector<TKYToggetto*>& images,
                              std::vector<std::int32_t>* exported, bool single, bool aliases) {
    if (Status sheet = WriteStyleSheet(); !sheet) return sheet;
    const TKYTset& set = *LinkedKYTset;
    std::vector<std::int32_t> secondaries;
    const int total = int(numbers.size());
    for (int i = 0; i < total; ++i) {
        TKYToggetto* page = LivePage(set, numbers[std::size_t(i)]);
        if (!page) continue;
        if (single)
            Progress(1, 1, 1);
        else
            Progress(i, total, 1);
        if (Status s =
                WriteOne(ObjectFileName(*page, 0), WritePage(*page, &secondaries, images, 0));
            !s)
            return s;
        if (aliases)
            if (Result<std::string> alias = WriteAliasPage(*page, ExportPath); !alias)
                return Fail(alias.failure().text);
        if (exported &&
            std::find(exported->begin(), exported->end(), page->Identifier()) == exported->end())
            exported->push_back(page->Identifier());
    }
    for (std::size_t i = 0; i < secondaries.size(); ++i) {
        TKYToggetto* page = LivePage(set, secondaries[i]);
        if (!page) continue;
        Progress(int(i), int(secondaries.size()), 2);
        if (Status s = WriteOne(ObjectFileName(*page, 1), WritePage(*page, nullptr, images, 1)); !s)
            return s;
        if (exported &&
            std::find(exported->begin(), exported->end(), page->Identifier()) == exported->end())
            exported->push_back(page->Identifier());
    }
    return Status::Ok();
}

Status TKYTtoHtml::WriteObjectFiles(const std::vector<TKYToggetto*>& images) {
    for (std::size_t i = 0; i < images.size(); ++i) {
        Progress(int(i), int(images.size()), 3);
        Result<std::string> bytes = images[i]->ContentBytes();
        if (!bytes) return Fail(bytes.failure().text);
        if (Status s = WriteOne(ObjectFileName(*images[i], 2), *bytes); !s) return s;
    }
    return Status::Ok();
}

Status TKYTtoHtml::ExportPages(const std::vector<std::int32_t>& numbers) {
    std::vector<TKYToggetto*> images;
    if (Status s = ExportList(numbers, images, nullptr, false); !s) return s;
    return WriteObjectFiles(images);
}

Status TKYTtoHtml::ExportPagesWithAliases(const std::vector<std::int32_t>& numbers,
                                          std::vector<TKYToggetto*>& images) {
    return ExportList(numbers, images, nullptr, false, true);
}

Status TKYTtoHtml::ExportAllPages(std::vector<TKYToggetto*>& images, bool withAliases) {
    std::vector<std::int32_t> numbers(std::size_t(LinkedKYTset->KindCount(TOggettiHel::testoHtml)));
    for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = std::int32_t(i);
    return ExportList(numbers, images, nullptr, false, withAliases);
}

Status TKYTtoHtml::ExportPage(std::vector<TKYToggetto*>& images,
                              std::vector<std::int32_t>& exported, std::int32_t number) {
    return ExportList({number}, images, &exported, true);
}

}  // namespace orvo
