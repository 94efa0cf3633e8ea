// orvo-cli dump FILE: a hypertext as JSON (header, kind counts, objects, page texts).
#include <ostream>
#include <string>

#include "CliCommand.h"
#include "PageDump.h"
#include "base/Cp1252.h"
#include "model/uKYTset.h"

namespace orvo::cli {
namespace {

// A JSON string of the document's bytes: each byte is the code point of the same number, so
// "\u00e8" is the byte 0xE8. The output stays ASCII.
std::string Json(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out + "\"";
}

int RunDump(CliContext& context) {
    if (context.args.size() != 1) return FailWith(context, "Usage: orvo-cli dump FILE");
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(Utf8ToCp1252(context.args[0]))) return 1;
    const RecordView h = set.HeaderView();
    std::ostream& out = context.out;
    out << "{\n  \"header\": {";
    out << "\"title\": " << Json(h.PStr(kHdrTitle));
    out << ", \"formatVersion\": " << h.I16(kHdrVersion);
    out << ", \"saveCounter\": " << h.I32(kHdrSaveCounter);
    out << ", \"exportPrefix\": " << Json(h.PStr(kHdrExportPrefix));
    out << ", \"authors\": " << Json(h.PStr(kHdrAuthors));
    out << ", \"company\": " << Json(h.PStr(kHdrCompany));
    out << ", \"copyright\": " << Json(h.PStr(kHdrCopyright));
    out << ", \"coverPage\": " << h.I32(kHdrCoverPage);
    out << ", \"contentsPage\": " << h.I32(kHdrContentsPage);
    out << ", \"language\": " << h.U16(kHdrLanguage);
    out << ", \"readOnly\": " << (h.U8(kHdrReadOnly) ? "true" : "false");
    out << ", \"headerPage\": " << h.I32(kHdrHeaderPage);
    out << ", \"footerPage\": " << h.I32(kHdrFooterPage);
    out << "},\n  \"kinds\": [";
    for (int kind = 0; kind < kKindCount; ++kind)
        out << (kind ? ", " : "") << set.KindList(KindOf(kind)).size();
    out << "],\n  \"objects\": [";
    bool first = true;
    for (int kind = 0; kind < kKindCount; ++kind)
        for (const auto& object : set.KindList(KindOf(kind))) {
            out << (first ? "\n    " : ",\n    ") << "{\"kind\": " << kind
                << ", \"id\": " << object->Identifier()
                << ", \"free\": " << (object->IsFree() ? "true" : "false")
                << ", \"name\": " << Json(object->Name());
            if (object->Kind() == TOggettiHel::immagine && !object->IsFree()) {
                const RecordView r = object->ReadView();
                out << ", \"subtype\": " << int(object->Subtype())
                    << ", \"size\": " << r.I32(kPictureSize)
                    << ", \"width\": " << r.I16(kPictureWidth)
                    << ", \"height\": " << r.I16(kPictureHeight);
            }
            out << "}";
            first = false;
        }
    out << "],\n  \"pages\": [";
    first = true;
    for (const auto& page : set.KindList(TOggettiHel::testoHtml)) {
        std::string text;
        if (!page->IsFree()) {
            Result<std::string> bytes = page->ContentBytes();
            if (!bytes) return FailWith(context, "Errore nella lettura file:" + set.KYTFileName());
            text = std::move(*bytes);
        }
        out << (first ? "\n    " : ",\n    ") << "{\"id\": " << page->Identifier()
            << ", \"title\": " << Json(page->Name())
            << ", \"free\": " << (page->IsFree() ? "true" : "false") << ", \"text\": " << Json(text)
            << PageRecordJson(*page, &Json) << "}";
        first = false;
    }
    out << "],\n  \"tree\": " << PageTreeJson(set, &Json);
    out << "\n}\n";
    return 0;
}

const CliRegistration kRegistration{
    {"dump", "prints a hypertext as JSON",
     "Usage: orvo-cli dump FILE\n"
     "Prints the hypertext FILE as JSON: the header, the count of each of the 27 kind lists,\n"
     "every object (kind, id, free, name; for a picture also subtype, size in bytes, width and\n"
     "height) and every page (id, title, free, text). Strings are\n"
     "the document's bytes, each byte written as the code point of the same number (\"\\u00e8\"\n"
     "is the byte 0xE8); \"text\" is the page's stored text as it is in the file; each page also\n"
     "has its record fields. \"tree\" is the page tree: {\"chapter\": title} and {\"page\": id}\n"
     "entries in order, each with its \"level\" (1 below the root).\n",
     &RunDump}};

}  // namespace
}  // namespace orvo::cli
