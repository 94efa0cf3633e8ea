// Opening and storing page texts, and the markup host of an opened text.
#include "model/TextForms.h"

#include <algorithm>
#include <unordered_set>

#include "base/ByteStream.h"
#include "base/Format.h"
#include "model/Entities.h"
#include "model/HeaderRecord.h"
#include "model/KindHooks.h"
#include "model/LegacyText.h"
#include "model/ObjectRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTset.h"

namespace orvo {

namespace {

using K = TOggettiHel;

constexpr std::string_view kEmptyText{"<Z S0 >\0", 8};

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The code of the "<$xxxxxxxx>" at pos, when there is a complete one.
bool CodeAt(std::string_view text, std::size_t pos, std::uint32_t& code) {
    if (pos + 11 > text.size() || text[pos] != '<' || text[pos + 1] != '$' || text[pos + 10] != '>')
        return false;
    for (std::size_t k = 2; k < 10; ++k)
        if (!IsHex(text[pos + k])) return false;
    return ParseHex(text.substr(pos + 2, 8), 8, code) == 8;
}

void WriteCode(std::string& text, std::size_t pos, std::int32_t code) {
    std::string digits = Hex8(std::uint32_t(code));
    if (CodeKind(code) == kPageObjectKind) digits.replace(0, 2, "FF");  // as the writer does
    text.replace(pos + 2, 8, digits);
}

// Kinds whose objects a page text embeds, or (links) refers to with a local code.
bool OpenedKind(int kind) {
    switch (KindOf(kind)) {
        case K::internetLink:
        case K::tabellaHtml:
        case K::speclink:
        case K::shortObj:
        case K::dbloc:
        case K::immagineNew:
        case K::inputStat:
        case K::inputDin:
        case K::bottoneCGI:
        case K::inizioForm:
        case K::multiMedia:
            return true;
        default:
            return false;
    }
}

bool IsLocalLinkKind(K kind) {
    return kind == K::internetLink || kind == K::speclink;
}

std::string ContentOf(const TKYToggetto& object) {
    auto bytes = object.ContentBytes();
    return bytes ? std::move(*bytes) : std::string();
}

void OpenSecondary(TKYTset& set, std::int32_t field, std::int32_t hypertextDefault,
                   std::unique_ptr<TKYTtesto>& target) {
    const std::int32_t id = field == -1 ? hypertextDefault : field;
    if (id < 0) return;
    const TKYToggetto* page = set.ObjectByKind(K::testoHtml, id);
    if (page && !page->IsFree()) target = OpenText(set, *page, true);
}

// Registers a working object and returns its object code; a web link equal to an existing
// link of the hypertext becomes that link.
std::int32_t RegisterWorking(TKYTset& set, std::unique_ptr<TKYToggetto> object) {
    object->SetLocalCode(-1);
    if (object->Kind() == K::internetLink) {
        for (const auto& link : set.KindList(K::internetLink))
            if (link && !link->IsFree() && link->Equals(*object)) return link->Code();
    }
    const K kind = object->Kind();
    const std::int32_t id = set.Register(std::move(object), -1);
    return MakeCode(kind, id);
}

// The complete "<$" codes of a stored text.
void AddCodesOf(std::string_view text, std::unordered_set<std::uint32_t>& codes) {
    for (std::size_t at = text.find("<$"); at != std::string_view::npos;
         at = text.find("<$", at + 2)) {
        std::uint32_t code = 0;
        if (CodeAt(text, at, code)) codes.insert(code);
    }
}

// Frees the objects that the previous stored text of `page` embedded, but for web links and
// for objects that the new text or another page still names (a damaged file or a copy may
// share them): those stay. The special links that the text's working objects name stay too:
// the copies keep naming them once registered.
void FreeEmbeddedObjects(TKYTset& set, const TKYTtesto& text, const TKYToggetto& page,
                         std::string_view previous, std::string_view stored) {
    std::unordered_set<std::uint32_t> candidates;
    AddCodesOf(previous, candidates);
    std::erase_if(candidates, [&](std::uint32_t code) {
        const int kind = int(code >> 24);
        return !OpenedKind(kind) || KindOf(kind) == K::internetLink;
    });
    if (candidates.empty()) return;
    std::unordered_set<std::uint32_t> kept;
    AddCodesOf(stored, kept);
    for (const auto& other : set.KindList(K::testoHtml))
        if (other && other.get() != &page && !other->IsFree()) AddCodesOf(ContentOf(*other), kept);
    std::vector<std::int32_t> keptLinks;
    for (const auto& working : text.pageObjects)
        if (working)
            for (std::int32_t link : LinksNamedBy(*working)) keptLinks.push_back(link);
    for (std::uint32_t code : candidates) {
        if (kept.contains(code)) continue;
        TKYToggetto* object = set.ObjectByCode(std::int32_t(code));
        if (object && object->Registered() && !object->IsFree()) ClearKeeping(*object, keptLinks);
    }
}

// The characters of the first paragraphs of a text, without codes.
std::vector<std::string> PlainParagraphs(std::string_view markup, std::size_t wanted) {
    std::vector<std::string> paragraphs;
    std::size_t p = 0;
    auto afterGt = [&](std::size_t from) {
        const std::size_t gt = markup.find('>', from);
        return gt == std::string_view::npos ? markup.size() : gt + 1;
    };
    while (p < markup.size() && markup[p] != '\0') {
        const char c = markup[p];
        if (c == '<') {
            const char next = p + 1 < markup.size() ? markup[p + 1] : '\0';
            if (next == 'Z') {
                if (paragraphs.size() == wanted) break;
                paragraphs.emplace_back();
                p = afterGt(p);
            } else if (next == 'D' || next == 'F' || next == 'R') {
                p = afterGt(p);
                const std::string closing = {'<', char(next + ('a' - 'A')), '>'};
                const std::size_t end = markup.find(closing, p);
                p = end == std::string_view::npos ? markup.size() : end + 3;
            } else {
                p = afterGt(p);
            }
            continue;
        }
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '&')
            byte = DecodeEntity(markup, p);
        else
            ++p;
        if (byte >= 0x20 && !paragraphs.empty()) paragraphs.back() += char(byte);
    }
    return paragraphs;
}

}  // namespace

std::unique_ptr<TKYTtesto> OpenText(TKYTset& set, const TKYToggetto& page, bool isSecondary) {
    auto text = std::make_unique<TKYTtesto>(&set);
    text->Assign(page);
    if (text->TextVersion() == 1) ConvertLegacyPage(set, *text);

    std::string content = ContentOf(*text);
    if (content.empty())
        content.assign(kEmptyText);
    else if (content.back() != '\0')
        content += '\0';

    for (std::size_t pos = content.find("<$"); pos != std::string::npos;
         pos = content.find("<$", pos + 2)) {
        std::uint32_t code = 0;
        if (!CodeAt(content, pos, code) || !OpenedKind(int(code >> 24))) {
            // A code the reader would take for a working one (0xFF, 0x6F) that this opening
            // did not write would bind to the working objects: it becomes a code the reader
            // skips, so no object is named twice.
            std::size_t digits = pos + 2;
            const int kind = CodeKind(std::int32_t(ReferenceValue(content, digits)));
            if (kind == kPageObjectKind || kind == kLocalLinkKind) content[pos + 1] = '_';
            continue;
        }
        const TKYToggetto* original = set.ObjectByCode(std::int32_t(code));
        if (!original) continue;
        auto copy = NewObjectOfKind(original->Kind(), &set);
        copy->Assign(*original);
        copy->SetInHeaderFooter(isSecondary);
        std::int32_t working;
        if (IsLocalLinkKind(copy->Kind())) {
            working = kLocalLinkBase + std::int32_t(text->links.size());
            copy->SetLocalCode(working);
            text->links.push_back(std::move(copy));
        } else {
            working = kPageObjectBase + std::int32_t(text->pageObjects.size());
            text->pageObjects.push_back(std::move(copy));
            text->codePositions.push_back(pos);
        }
        WriteCode(content, pos, working);
        pos += 9;
    }
    text->SetContent(std::move(content));

    if (!isSecondary && page.Kind() == K::testoHtml) {
        const RecordView record = page.ReadView();
        OpenSecondary(set, record.I32(kPageHeader), set.HeaderView().I32(kHdrHeaderPage),
                      text->headerText);
        OpenSecondary(set, record.I32(kPageFooter), set.HeaderView().I32(kHdrFooterPage),
                      text->footerText);
    }
    return text;
}

void StoreText(TKYTset& set, TKYTtesto& text, std::string_view workingMarkup, TKYToggetto& page,
               bool raiseVersionStamp) {
    std::string content(workingMarkup);
    if (content.empty() || content.back() != '\0') content += '\0';

    // The objects of the previous text are freed before the new ones are registered, so that
    // a text stored again keeps its objects' identifiers.
    FreeEmbeddedObjects(set, text, page, ContentOf(page), content);

    std::map<std::uint32_t, std::int32_t> stored;  // working code -> object code
    std::size_t previousCharCode = std::string::npos;
    std::size_t previousCharCodeEnd = std::string::npos;
    for (std::size_t p = content.find('<'); p != std::string::npos; p = content.find('<', p)) {
        std::uint32_t code = 0;
        if (CodeAt(content, p, code)) {
            const int kind = CodeKind(std::int32_t(code));
            if (kind == kLocalLinkKind || kind == kPageObjectKind) {
                auto found = stored.find(code);
                if (found == stored.end()) {
                    auto& list = kind == kLocalLinkKind ? text.links : text.pageObjects;
                    const std::size_t index = code & 0xFFFFFF;
                    if (index < list.size() && list[index])
                        found = stored.emplace(code, RegisterWorking(set, std::move(list[index])))
                                    .first;
                }
                if (found != stored.end()) WriteCode(content, p, found->second);
            }
            p += 11;
            continue;
        }
        if (p + 1 < content.size() && content[p + 1] == 'Y') {
            const std::size_t gt = content.find('>', p);
            if (gt == std::string::npos) break;
            // A character code right after another one: the first can no longer matter.
            if (p == previousCharCodeEnd)
                std::fill(content.begin() + std::ptrdiff_t(previousCharCode),
                          content.begin() + std::ptrdiff_t(previousCharCodeEnd), '\x03');
            previousCharCode = p;
            previousCharCodeEnd = gt + 1;
            p = gt + 1;
            continue;
        }
        ++p;
    }
    text.links.clear();
    text.pageObjects.clear();
    text.codePositions.clear();

    RecordView record = page.View();
    if (raiseVersionStamp) page.SetVersionStamp(set.SaveCounter());
    if (record.PStr(kPageTitle) == kUntitled) {
        const std::string title = TitleFromText(content);
        if (!title.empty()) record.SetPStr(kPageTitle, title);
    }
    record.SetU8(kPageTextVersion, 2);
    page.SetContent(std::move(content));
    set.SetModified(true);
}

std::string TitleFromText(std::string_view markup) {
    const std::vector<std::string> paragraphs = PlainParagraphs(markup, 2);
    auto trimmed = [](std::string s) {
        const std::size_t first = s.find_first_not_of(' ');
        return first == std::string::npos ? std::string() : s.substr(first);
    };
    std::string title = paragraphs.empty() ? std::string() : trimmed(paragraphs[0]);
    if (title.size() <= 5 && paragraphs.size() > 1) title = trimmed(title + " " + paragraphs[1]);
    title = title.substr(0, 35);
    const std::size_t blanks = title.find("   ");
    if (blanks != std::string::npos && blanks > 1) title.resize(blanks);
    return title.substr(0, 71);
}

MemoryTableCells::MemoryTableCells(int rows, int columns)
    : rows_(std::clamp(rows, 0, 255)),
      columns_(std::clamp(columns, 0, kTableMaxColumns)),
      cells_(std::size_t(rows_) * std::size_t(columns_)) {}

const Paragraphs& MemoryTableCells::CellParagraphs(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return none_;
    return cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
}

void MemoryTableCells::SetCellParagraphs(int row, int column, Paragraphs paragraphs) {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return;
    cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)] = std::move(paragraphs);
}

TextMarkupHost::TextMarkupHost(TKYTset& set, TKYTtesto& text, ITextMeasurer& measurer)
    : set_(set), text_(text), measurer_(measurer) {}

IMessages& TextMarkupHost::Messages() {
    return set_.Messages();
}

const TKYToggetto* TextMarkupHost::StyleByNumber(std::int32_t number) {
    return orvo::StyleByNumber(set_, number);
}

TKYToggetto* TextMarkupHost::PageObject(std::int32_t identifier) {
    if (identifier < 0 || std::size_t(identifier) >= text_.pageObjects.size()) return nullptr;
    return text_.pageObjects[std::size_t(identifier)].get();
}

std::int32_t TextMarkupHost::PageObjectIdentifier(const TKYToggetto& object) {
    for (std::size_t i = 0; i < text_.pageObjects.size(); ++i)
        if (text_.pageObjects[i].get() == &object) return std::int32_t(i);
    return 0xFFFFFF;
}

ObjectSize TextMarkupHost::SizeOf(const TKYToggetto& object) {
    if (sizes) return sizes(object);
    if (object.Kind() == K::immagineNew) {
        const RecordView record = object.ReadView();
        return {record.I16(kImageWidth), record.I16(kImageHeight)};
    }
    return {};
}

ITableCells* TextMarkupHost::TableCells(const TKYToggetto& object) {
    if (tables)
        if (ITableCells* given = tables(object)) return given;
    if (object.Kind() != K::tabellaHtml) return nullptr;
    auto& cells = cells_[&object];
    if (!cells) {
        const RecordView record = object.ReadView();
        cells = std::make_unique<MemoryTableCells>(record.U8(kTableRows), record.U8(kTableColumns));
    }
    return cells.get();
}

std::string WorkingMarkupOfPage(TKYTset& set, const TKYToggetto& page, ITextMeasurer& measurer) {
    auto text = OpenText(set, page, false);
    TextMarkupHost host(set, *text, measurer);
    const Paragraphs paragraphs = ReadText(ContentOf(*text), host, 0);
    return WriteText(paragraphs, host);
}

void ReopenAndStorePage(TKYTset& set, TKYToggetto& page, ITextMeasurer& measurer) {
    auto text = OpenText(set, page, false);
    std::string markup;
    {
        TextMarkupHost host(set, *text, measurer);
        const Paragraphs paragraphs = ReadText(ContentOf(*text), host, 0);
        markup = WriteText(paragraphs, host);
    }
    StoreText(set, *text, markup, page, false);
}

void ReopenAndStoreAllPages(TKYTset& set, ITextMeasurer& measurer) {
    const int pages = set.KindCount(K::testoHtml);
    for (int id = 0; id < pages; ++id) {
        TKYToggetto* page = set.ObjectByKind(K::testoHtml, id);
        if (page && !page->IsFree()) ReopenAndStorePage(set, *page, measurer);
    }
}

}  // namespace orvo
