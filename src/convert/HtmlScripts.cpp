// Special links, window scripts and the author's own HTML code of objects and pages.
#include "convert/HtmlScripts.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/ByteReader.h"
#include "base/Format.h"
#include "convert/HtmlExport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "objects/FormRecords.h"

namespace orvo {
namespace {

constexpr std::int16_t kFeatureNotSet = -20000;
constexpr std::size_t kFeatureRecordSize = 22;
// "!RefI:" and the others are six characters, then the object's code in 8 hex digits.
constexpr std::size_t kRefLength = 6;
constexpr std::size_t kRefWithCode = kRefLength + 8;
// Pages written into another page's code ("!RefP:") nest at most this deep.
constexpr int kMaxPageDepth = 8;

std::int16_t I16At(std::string_view bytes, std::size_t at) {
    return std::int16_t(std::uint16_t(static_cast<unsigned char>(bytes[at])) |
                        std::uint16_t(static_cast<unsigned char>(bytes[at + 1]) << 8));
}

void AddSecondary(TExportContext& context, std::int32_t page) {
    if (!context.secondaries) return;
    if (std::find(context.secondaries->begin(), context.secondaries->end(), page) ==
        context.secondaries->end())
        context.secondaries->push_back(page);
}

void AddImage(TExportContext& context, TKYToggetto* object) {
    if (!context.images || !object) return;
    if (std::find(context.images->begin(), context.images->end(), object) == context.images->end())
        context.images->push_back(object);
}

bool IsIdentifierStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentifierPart(char c) {
    return IsIdentifierStart(c) || (c >= '0' && c <= '9');
}

// Words a window variable may not take: the language's own and what the browser's window
// already holds (assigning "location" would leave the page).
constexpr std::array<std::string_view, 64> kTakenNames{
    "break",      "case",      "catch",  "class",    "const",      "continue",  "debugger",
    "default",    "delete",    "do",     "else",     "enum",       "export",    "extends",
    "false",      "finally",   "for",    "function", "if",         "import",    "in",
    "instanceof", "new",       "null",   "return",   "super",      "switch",    "this",
    "throw",      "true",      "try",    "typeof",   "var",        "void",      "while",
    "with",       "yield",     "let",    "static",   "implements", "interface", "package",
    "private",    "protected", "public", "await",    "arguments",  "eval",      "undefined",
    "NaN",        "Infinity",  "window", "self",     "top",        "parent",    "opener",
    "location",   "document",  "name",   "open",     "close",      "status",    "history",
    "navigator"};

}  // namespace

SpecialLink SpecialLink::Read(const TKYToggetto& object) {
    SpecialLink link;
    const RecordView r = object.ReadView();
    link.type = object.Subtype();
    link.action = r.U8(kSpecAction);
    link.asFrameSet = r.U8(kSpecFrame) == 1;
    link.target = r.I32(kSpecTarget);
    link.anchor = r.I32(kSpecAnchor);
    link.name = r.PStr(kSpecName);
    link.object = &object;
    return link;
}

std::optional<std::string> SpecialLink::Features() const {
    if (!object) return std::nullopt;
    Result<std::string> bytes = object->ContentBytes();
    if (!bytes || bytes->size() < kFeatureRecordSize) return std::nullopt;
    return *bytes;
}

std::string CleanWindowName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"')
            out += '\x94';
        else if (c == '\'')
            out += '\x92';
        else if (u < 32 || u == 127 || c == '#' || c == '$' || c == '%' || c == '&' || c == '<' ||
                 c == '>' || c == '\\')
            out += ' ';
        else
            out += c;
    }
    return out;
}

std::string WindowIdentifier(std::string_view name) {
    const std::string cleaned = CleanWindowName(name);
    const bool valid =
        !cleaned.empty() && IsIdentifierStart(cleaned[0]) &&
        std::all_of(cleaned.begin(), cleaned.end(), IsIdentifierPart) &&
        std::find(kTakenNames.begin(), kTakenNames.end(), cleaned) == kTakenNames.end();
    if (valid) return cleaned;
    std::string out = "OrvoW_";
    for (char c : cleaned) out += IsIdentifierPart(c) ? c : '_';
    return out;
}

std::string WindowFeaturesArgument(const std::optional<std::string>& record) {
    if (!record || record->size() < kFeatureRecordSize) return ",''";
    const std::string_view b = *record;
    const std::int16_t top = I16At(b, 0), left = I16At(b, 2), width = I16At(b, 4),
                       height = I16At(b, 6), screenX = I16At(b, 8), screenY = I16At(b, 10);
    std::string values;
    auto add = [&](std::string_view key, int value) {
        if (!values.empty()) values += ',';
        values += std::string(key) + "=" + std::to_string(value);
    };
    if (width != kFeatureNotSet) {
        add("height", height);
        add("width", width);
    }
    if (screenX != kFeatureNotSet) add("screenX", screenX);
    if (top != kFeatureNotSet) add("left", left);
    if (screenX != kFeatureNotSet) add("screenY", screenY);
    if (top != kFeatureNotSet) add("top", top);
    static constexpr std::array<std::pair<const char*, std::size_t>, 8> kFlags{{{"dependent", 13},
                                                                                {"fullscreen", 15},
                                                                                {"location", 16},
                                                                                {"menubar", 17},
                                                                                {"resizable", 18},
                                                                                {"scrollbars", 19},
                                                                                {"status", 20},
                                                                                {"toolbar", 21}}};
    for (const auto& [key, at] : kFlags) add(key, static_cast<unsigned char>(b[at]));
    return ",'" + values + "'";
}

std::string CloseWindowCall(bool asUrl, std::string_view name, std::uint8_t& flags) {
    const std::string cleaned = CleanWindowName(name);
    if (asUrl) {
        flags |= 4;
        return "javascript:OrvoF_close('" + cleaned + "');";
    }
    const std::string variable = WindowIdentifier(name);
    return "\r\n<SCRIPT><!--//\r\n  " + variable + "=open('','" + cleaned + "' );" + "\r\n  " +
           variable + ".close( );" + "\r\n//--></SCRIPT>\r\n";
}

std::string ScriptAddress(std::string_view address) {
    std::string out;
    for (char c : address) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '&') {
            out += "&amp;";
        } else if (u < 32 || u == 127 || c == '\'' || c == '"' || c == '\\' || c == '<' ||
                   c == '>') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", unsigned(u));
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

std::string WindowCall(TKYTtoHtml& exporter, TExportContext& context, int type,
                       const SpecialLink& link, bool withFeatures, bool withAnchor) {
    const std::string name = CleanWindowName(link.name);
    TKYTset& set = *exporter.LinkedKYTset;
    if (CodeKind(link.target) != KindIndex(TOggettiHel::testoHtml)) return {};
    TKYToggetto* page = LivePage(set, CodeIdentifier(link.target));
    if (!page) return {};
    // A page shown alone is its frameless copy, exported with the secondary pages; a
    // secondary page's own links name the main file, as no copy is made for them.
    int mode = 0;
    if (!link.asFrameSet && context.secondaries) {
        mode = 1;
        AddSecondary(context, page->Identifier());
    }
    const std::string file = ScriptAddress(exporter.ObjectFileName(*page, mode));
    std::string out;
    if (type == 0 || type == 3) out += "javascript:";
    if (type == 1) out += "\r\n<SCRIPT>\r\n<!--//\r\n  " + WindowIdentifier(link.name) + "=";
    if (type == 0 || type == 1) out += "OrvoF_open('" + file;
    if (type == 2) out += file;
    if (type == 3) {
        out += "OrvoF_openB('" + file;
        context.scriptFlags |= 16;
    }
    if ((type == 0 || type == 2) && withAnchor && link.anchor >= 0)
        out += "#an" + std::to_string(link.anchor);
    if (type == 0 || type == 1) {
        const std::int32_t current = context.page ? context.page->Identifier() : 0;
        out += "','" + name + "'" +
               WindowFeaturesArgument(withFeatures ? link.Features() : std::nullopt) + ",'Pag" +
               std::to_string(current) + "');";
        context.scriptFlags |= 8;
    }
    if (type == 3) out += "');";
    if (type == 1) out += "\r\n//-->\r\n</SCRIPT>\r\n";
    return out;
}

std::string ResolveCustomCode(TKYTtoHtml& exporter, TExportContext& context,
                              const TKYToggetto& object) {
    return ResolveCustomText(exporter, context, object.AuxiliaryCode(), &object);
}

std::string ResolveCustomText(TKYTtoHtml& exporter, TExportContext& context, std::string_view code,
                              const TKYToggetto* holder) {
    TKYTset& set = *exporter.LinkedKYTset;
    std::string out;
    std::size_t at = 0;
    while (at < code.size()) {
        const std::size_t ref = code.find("!Ref", at);
        if (ref == std::string_view::npos || ref + kRefLength > code.size()) {
            out += code.substr(at);
            break;
        }
        out += code.substr(at, ref - at);
        const char letter = code[ref + 4];
        std::uint32_t value = 0;
        const bool hasCode = code[ref + 5] == ':' &&
                             ParseHex(code.substr(ref + kRefLength, 8), 8, value) == 8 &&
                             ref + kRefWithCode <= code.size();
        if (!hasCode) {
            out += code.substr(ref, kRefLength);
            at = ref + kRefLength;
            continue;
        }
        const std::int32_t reference = std::int32_t(value);
        std::string replacement;
        bool replaced = true;
        switch (letter) {
            case 'I':
            case 'L':
            case 'F': {
                TKYToggetto* target = set.ObjectByCode(reference);
                if (target && !target->IsFree()) {
                    replacement = exporter.ObjectFileName(*target, 0);
                    if (target->Kind() != TOggettiHel::testoHtml) {
                        if (target->Kind() == TOggettiHel::immagineNew) {
                            if (TKYToggetto* picture = set.ObjectByKind(
                                    TOggettiHel::immagine, target->ReadView().I32(kImagePicture)))
                                AddImage(context, picture);
                        } else if (!replacement.empty()) {
                            AddImage(context, target);
                        }
                    }
                }
                break;
            }
            case 'P': {
                TKYToggetto* page = CodeKind(reference) == KindIndex(TOggettiHel::testoHtml)
                                        ? LivePage(set, CodeIdentifier(reference))
                                        : nullptr;
                // A page that is being written (itself, or one that includes it) writes
                // nothing: two pages naming each other would never end.
                if (page && context.pageDepth < kMaxPageDepth &&
                    std::find(context.pagesWritten.begin(), context.pagesWritten.end(),
                              page->Identifier()) == context.pagesWritten.end()) {
                    ++context.pageDepth;
                    context.pagesWritten.push_back(page->Identifier());
                    replacement = exporter.WriteBody(0, context, *page);
                    context.pagesWritten.pop_back();
                    --context.pageDepth;
                }
                break;
            }
            case 'X':
            case 'Y':
                if (holder && holder->Kind() == TOggettiHel::multiMedia) {
                    const RecordView r = holder->ReadView();
                    replacement = std::to_string(r.I16(letter == 'X' ? kMediaWidth : kMediaHeight));
                    if (r.U8(kMediaPercent) == 1) replacement += "%";
                } else {
                    replaced = false;
                }
                break;
            default:
                replaced = false;
        }
        if (replaced) {
            out += replacement;
            at = ref + kRefWithCode;
        } else {
            out += code.substr(ref, kRefLength);
            at = ref + kRefLength;
        }
    }
    return out;
}

std::string CommentText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    // A comment may not start with ">" or "->".
    if (text.starts_with(">") || text.starts_with("->")) out += ' ';
    for (char c : text) {
        // No "--" (nor "<!-", an error for some readers) inside a comment.
        if (c == '-' && !out.empty() && (out.back() == '-' || out.back() == '!')) out += ' ';
        out += c;
    }
    if (!out.empty() && out.back() == '-') out += ' ';
    return out;
}

}  // namespace orvo
