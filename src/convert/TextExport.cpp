// The plain text of markup texts and pages, and the text export of pages into one file.
#include "convert/TextExport.h"

#include <algorithm>

#include "base/ByteStream.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/Entities.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"

namespace orvo {

namespace {

// A table whose cells are being read: the boundaries seen so far out of rows x columns.
struct OpenTable {
    std::int64_t cells = 0;
    std::int64_t ended = 0;
    int columns = 1;
};

}  // namespace

std::string ReferenceText(const TKYToggetto& object) {
    if (object.Kind() != TOggettiHel::shortObj) return {};
    const std::uint8_t subtype = object.Subtype();
    if (subtype == kPropertyReferenceSubtype) {
        Result<std::string> name = object.ContentBytes();
        std::string text = name ? *name : std::string();
        text.resize(std::min(text.size(), text.find('\0')));
        return std::string(kPropertyReferencePrefix) + text + "!";
    }
    for (const TextReferenceForm& form : kTextReferenceForms)
        if (form.subtype == subtype)
            return std::string(form.prefix) +
                   Hex8(std::uint32_t(object.ReadView().I32(kShortReference)));
    return {};
}

std::string PlainText(std::string_view m, const TextObjectLookup& lookup) {
    std::vector<OpenTable> tables;
    std::string out;
    out.reserve(m.size());
    bool first = true;  // the next paragraph is the first of the text or of a cell
    std::size_t p = 0;
    const std::size_t n = m.size();
    while (p < n && m[p] != '\0') {
        const char c = m[p];
        if (c == '&') {
            const unsigned char decoded = DecodeEntity(m, p);
            if (decoded >= 0x20) out += char(decoded);
            continue;
        }
        if (c != '<') {
            if (static_cast<unsigned char>(c) >= 0x20) out += c;
            ++p;
            continue;
        }
        const std::size_t gt = m.find('>', p);
        if (gt == std::string_view::npos) break;  // a code cut short ends the text
        const char key = m[p + 1];
        if (key == 'D' || key == 'F' || key == 'R') {
            const std::string end = {'<', char(key + ('a' - 'A')), '>'};
            const std::size_t e = m.find(end, gt + 1);
            if (e == std::string_view::npos) break;
            p = e + end.size();
            continue;
        }
        if (key == 'Z') {
            if (!first && tables.empty()) out += "\r\n";
            first = false;
        } else if (key == 'T') {
            // A boundary with no open table is stray (its table is missing): skipped.
            if (!tables.empty()) {
                OpenTable& table = tables.back();
                out += (table.ended % table.columns + 1 != table.columns) ? "\t" : "\r\n";
                if (++table.ended >= table.cells) tables.pop_back();
                first = true;
            }
        } else if (key == '$') {
            std::uint32_t code = 0;
            const TKYToggetto* object = ParseHex(m.substr(p + 2, 8), 8, code) == 8 && lookup
                                            ? lookup(std::int32_t(code))
                                            : nullptr;
            if (object && object->Kind() == TOggettiHel::tabellaHtml) {
                const RecordView record = object->ReadView();
                OpenTable table;
                table.columns = std::max(1, int(record.U8(kTableColumns)));
                table.cells = std::int64_t(record.U8(kTableRows)) * record.U8(kTableColumns);
                // A table of no cells, or one whose content is not written inline ("<@>"),
                // has no boundaries to wait for.
                if (table.cells > 0 && m.substr(gt + 1, 3) != "<@>") tables.push_back(table);
            } else if (object) {
                out += ReferenceText(*object);
            }
        }
        p = gt + 1;
    }
    return out;
}

TextObjectLookup StoredTextLookup(const TKYTset& set) {
    return [&set](std::int32_t code) -> const TKYToggetto* {
        const TKYToggetto* object = set.ObjectByCode(code);
        return object && !object->IsFree() ? object : nullptr;
    };
}

std::string PageText(const TKYTset& set, std::int32_t number) {
    const TKYToggetto* page = LivePage(set, number);
    if (!page) return {};
    Result<std::string> text = page->ContentBytes();
    if (!text) return {};
    return PlainText(*text, StoredTextLookup(set));
}

Status TKYTtoTxt::ExportText(std::string_view markup, ByteStream& target,
                             const TextObjectLookup& lookup) {
    std::string text = PlainText(markup, lookup);
    text += '\0';
    if (!target.Write(text)) return Fail("write failed");
    return Status::Ok();
}

Status TKYTtoTxt::ExportPages(const std::vector<std::int32_t>& numbers) {
    std::string text;
    const int total = int(numbers.size());
    for (int i = 0; i < total; ++i) {
        text += PageText(*LinkedKYTset, numbers[std::size_t(i)]);
        Progress(i, total, 1);
    }
    if (Result<std::filesystem::path> target = ReplaceableTarget(NativePath(ExportFileName));
        !target)
        return target.failure();
    if (Status written = WriteFileAtomically(NativePath(ExportFileName), text); !written)
        return Fail(written.failure().text + ": " + ExportFileName);
    return Status::Ok();
}

Status TKYTtoTxt::ExportPage(std::int32_t number) {
    return ExportPages({number});
}

}  // namespace orvo
