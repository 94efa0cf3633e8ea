// Text files as new pages, plain text as the clipboard stream of markup, and the new pages
// every importer makes.
#include "convert/TextImport.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "base/ByteReader.h"
#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/TextExport.h"
#include "model/ObjectRecord.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"

namespace orvo {

namespace {

constexpr std::string_view kCodeStyleName = "Codice";
constexpr std::string_view kCodeStyleFont = "Courier New";
constexpr std::int16_t kCodeStyleSize = 10;
// A page holding no more than this many bytes of text counts as empty.
constexpr std::int64_t kEmptyPageText = 9;
constexpr std::size_t kMaxFragmentObjects = 0x1000000;

bool AllHex(std::string_view digits) {
    std::uint32_t value = 0;
    return ParseHex(digits, int(digits.size()), value) == int(digits.size());
}

// The "Codice" style, made with its font when the hypertext has none.
std::int32_t CodeStyle(TKYTset& set) {
    if (const TKYToggetto* style = StyleByName(set, kCodeStyleName)) return style->Identifier();
    TKYToggetto& style = CreateStyle(set, kCodeStyleName);
    StyleRecord record(style.Record());
    record.SetFontName(kCodeStyleFont);
    record.SetSize(kCodeStyleSize);
    return style.Identifier();
}

// A reference object of the clipboard's own list, of `subtype`.
std::unique_ptr<TKYToggetto> NewReference(TKYTset& set, std::uint8_t subtype, std::int32_t index) {
    auto object = NewObjectOfKind(TOggettiHel::shortObj, &set);
    object->Clear();
    object->View().SetU8(kRecSubtype, subtype);
    object->SetIdentifier(index);
    return object;
}

// Well-formed UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF) with at least
// one sequence of more than one byte.
bool IsUtf8BeyondAscii(std::string_view text) {
    bool beyond = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t cp = detail::DecodeUtf8(text, i);
        const std::size_t length = i - start;
        if (cp == detail::kBadSequence) return false;
        if (length == 1) continue;
        const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        beyond = true;
    }
    return beyond;
}

}  // namespace

std::string TextFileToCp1252(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) return Utf8ToCp1252(bytes.substr(kByteOrderMark.size()));
    if (IsUtf8BeyondAscii(bytes)) return Utf8ToCp1252(bytes);
    return std::string(bytes);
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.push_back(text.substr(start));
    return lines;
}

std::string EscapeForMarkup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20) out += c;
        }
    }
    return out;
}

std::string EscapeTextLine(std::string_view line) {
    std::string out;
    for (std::size_t tab; (tab = line.find('\t')) != std::string_view::npos;
         line.remove_prefix(tab + 1))
        out += EscapeForMarkup(line.substr(0, tab)) + "        ";
    return out + EscapeForMarkup(line);
}

std::int32_t NewImportedPage(TKYTset& set, std::string_view markup, std::int32_t colour,
                             std::int32_t picture) {
    std::string text(markup);
    text += '\0';
    const auto& pages = set.KindList(TOggettiHel::testoHtml);
    if (pages.size() == 1 && !pages[0]->IsFree() && pages[0]->Content().Size() <= kEmptyPageText) {
        // The only page is as good as empty: it takes the text in its own place.
        TKYToggetto& page = *pages[0];
        PageRecord record(page);
        record.SetBackgroundColour(colour);
        record.SetBackgroundPicture(picture < 0 ? -1 : picture);
        page.SetContent(std::move(text));
        set.SetModified(true);
        return page.Identifier();
    }
    auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
    page->Clear();
    page->TakeIntoUse();
    PageRecord record(*page);
    record.SetBackgroundColour(colour);
    if (picture >= 0) record.SetBackgroundPicture(picture);
    page->SetContent(std::move(text));
    const std::int32_t number = set.Register(std::move(page), pages.empty() ? 0 : -1);
    set.SetModified(true);
    return number;
}

std::int32_t TKYTtoTxt::ImportFiles(const std::vector<std::string>& names, bool /*split*/) {
    ImportedPages.clear();
    const int total = int(names.size());
    for (int i = 0; i < total; ++i) {
        Progress(i, total, 1);
        const std::filesystem::path path = NativePath(names[std::size_t(i)]);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) continue;
        Result<std::string> bytes = ReadFileBytes(path);
        if (!bytes) continue;  // missing or unreadable: skipped without a message
        const std::string text = TextFileToCp1252(*bytes);
        std::string markup;
        markup.reserve(text.size() + 16);
        for (std::string_view line : SplitTextLines(text)) {
            markup += "<Z S0 >";
            markup += EscapeTextLine(line);
        }
        if (!markup.starts_with("<Z S")) markup.insert(0, "<Z S0 >");
        ImportedPages.push_back(NewImportedPage(*LinkedKYTset, markup, ImportColour, ImportImage));
    }
    return ImportedPages.empty() ? 0 : ImportedPages.front();
}

Status TKYTtoTxt::ImportText(std::string_view source, ByteStream& target, int mode,
                             std::int32_t style) {
    TKYTset& set = *LinkedKYTset;
    std::vector<std::string_view> lines = SplitTextLines(source);
    if (lines.empty()) lines.push_back({});
    const std::int32_t number = mode == 1 ? CodeStyle(set) : style;
    const std::string head = "<Z S" + std::to_string(number) + " >";
    std::vector<std::unique_ptr<TKYToggetto>> objects;
    std::string markup;
    for (std::string_view line : lines) {
        markup += head;
        if (mode != 1) {
            markup += EscapeTextLine(line);
            continue;
        }
        std::size_t plain = 0;  // start of the text not yet written
        for (std::size_t i = 0; i < line.size(); ++i) {
            // The list's index must fit the six digits of "<$FF" codes.
            if (line[i] != '!' || objects.size() >= kMaxFragmentObjects) continue;
            std::unique_ptr<TKYToggetto> object;
            std::size_t end = i;
            const std::string_view rest = line.substr(i);
            for (const TextReferenceForm& form : kTextReferenceForms) {
                if (!rest.starts_with(form.prefix) || rest.size() < form.prefix.size() + 8 ||
                    !AllHex(rest.substr(form.prefix.size(), 8)))
                    continue;
                std::uint32_t reference = 0;
                (void)ParseHex(rest.substr(form.prefix.size(), 8), 8, reference);
                object = NewReference(set, form.subtype, std::int32_t(objects.size()));
                object->View().SetI32(kShortReference, std::int32_t(reference));
                end = i + form.prefix.size() + 8;
                break;
            }
            if (!object && rest.starts_with(kPropertyReferencePrefix)) {
                const std::size_t close = rest.find('!', kPropertyReferencePrefix.size());
                if (close != std::string_view::npos) {
                    object =
                        NewReference(set, kPropertyReferenceSubtype, std::int32_t(objects.size()));
                    object->SetContent(std::string(rest.substr(
                        kPropertyReferencePrefix.size(), close - kPropertyReferencePrefix.size())));
                    end = i + close + 1;
                }
            }
            if (!object) continue;  // any other "!" stays text
            markup += EscapeTextLine(line.substr(plain, i - plain));
            markup += "<$FF" + Hex8(std::uint32_t(objects.size())).substr(2) + ">";
            objects.push_back(std::move(object));
            plain = end;
            i = end - 1;
        }
        markup += EscapeTextLine(line.substr(plain));
    }

    std::string out;
    ByteWriter w(out);
    w.I32(1);
    w.I32(0);  // links
    w.I32(0);  // paragraph styles
    w.I32(std::int32_t(objects.size()));
    for (std::size_t i = 0; i < objects.size(); ++i) {
        w.I32(KindIndex(TOggettiHel::shortObj));
        w.I32(std::int32_t(i));
        MemoryStream data;
        if (Status s = objects[i]->WriteToStream(data); !s) return s;
        w.Bytes(data.Bytes());
    }
    w.I32(std::int32_t(lines.size()));
    w.Bytes(markup);
    w.U8(0);
    w.U8(0);
    if (!target.Write(out)) return Fail("write failed");
    return Status::Ok();
}

}  // namespace orvo
