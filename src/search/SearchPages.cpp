// The search across the pages of a hypertext.
#include "search/SearchPages.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "convert/TextExport.h"
#include "model/TKYTparag.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "objects/ObjectViews.h"
#include "objects/uKYTtable.h"
#include "platform/FixedMetrics.h"
#include "platform/IClipboard.h"
#include "platform/IScheduler.h"
#include "search/CellSearch.h"
#include "textbox/IBoxHost.h"
#include "textbox/PageEditSession.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxView.h"

namespace orvo {

namespace {

std::size_t HashOf(const std::string& bytes) {
    return std::hash<std::string_view>{}(bytes);
}

}  // namespace

bool TPagesText::Current(const Entry& entry, std::int32_t page) const {
    const TKYToggetto* object = LivePage(set_, page);
    if (!object) return false;
    const ObjectContent& content = object->Content();
    if (content.Size() != entry.size) return false;
    if (const std::string* memory = content.Memory())
        return entry.inMemory && HashOf(*memory) == entry.hash;
    if (entry.inMemory || !content.InDocumentFile()) return false;
    const std::shared_ptr<const DocumentFile> file = entry.file.lock();
    return file && file.get() == content.File() && content.FilePosition() == entry.position;
}

const std::string& TPagesText::Text(std::int32_t page, int options) {
    static const std::string none;
    const TKYToggetto* object = LivePage(set_, page);
    if (!object) {
        pages_.erase(page);
        return none;
    }
    auto found = pages_.find(page);
    if (found == pages_.end() || !Current(found->second, page)) {
        Entry entry;
        const ObjectContent& content = object->Content();
        entry.size = content.Size();
        if (const std::string* memory = content.Memory()) {
            entry.inMemory = true;
            entry.hash = HashOf(*memory);
        } else if (content.InDocumentFile()) {
            entry.file = set_.SharedDocumentStream();
            if (entry.file.lock().get() != content.File()) entry.file.reset();
            entry.position = content.FilePosition();
        }
        entry.text = PageText(set_, page);
        entry.lowered = Lower1252(entry.text);
        found = pages_.insert_or_assign(page, std::move(entry)).first;
    }
    return (options & stMatchCase) ? found->second.text : found->second.lowered;
}

namespace {

bool Occurs(const std::string& text, const std::string& term, int options) {
    const std::string wanted = (options & stMatchCase) ? term : Lower1252(term);
    return FindPrepared(text, wanted, 0, options & stWholeWord, true) != std::string::npos;
}

// The terms after the empty ones moved up.
SearchTerms Shifted(SearchTerms t) {
    if (t.first.empty() && t.second.empty()) {
        t.first = std::move(t.third);
        t.second = std::move(t.fourth);
        t.third.clear();
        t.fourth.clear();
    } else if (t.first.empty()) {
        t.first = std::move(t.second);
        t.second.clear();
    }
    if (t.third.empty() && !t.fourth.empty()) {
        t.third = std::move(t.fourth);
        t.fourth.clear();
    }
    return t;
}

}  // namespace

std::string MatchPageTerms(TPagesText& texts, std::int32_t page, SearchTerms terms, int options) {
    terms = Shifted(std::move(terms));
    if (terms.first.empty() && terms.third.empty()) return {};
    const std::string& text = texts.Text(page, options);
    if (text.empty()) return {};
    if (!terms.first.empty() && Occurs(text, terms.first, options) &&
        (terms.second.empty() || Occurs(text, terms.second, options)))
        return terms.first;
    if (!terms.third.empty() && Occurs(text, terms.third, options) &&
        (terms.fourth.empty() || Occurs(text, terms.fourth, options)))
        return terms.third;
    return {};
}

std::vector<std::int32_t> PagesMatching(TPagesText& texts, const SearchTerms& terms, int options) {
    std::vector<std::int32_t> pages;
    const int count = texts.Set().KindCount(TOggettiHel::testoHtml);
    for (std::int32_t page = 0; page < count; ++page)
        if (!MatchPageTerms(texts, page, terms, options).empty()) pages.push_back(page);
    return pages;
}

std::optional<std::pair<std::int32_t, std::string>> NextPageMatching(TPagesText& texts,
                                                                     std::int32_t after,
                                                                     const SearchTerms& terms,
                                                                     int options) {
    const int count = texts.Set().KindCount(TOggettiHel::testoHtml);
    for (std::int32_t page = std::max(after + 1, 0); page < count; ++page)
        if (std::string term = MatchPageTerms(texts, page, terms, options); !term.empty())
            return std::make_pair(page, std::move(term));
    return std::nullopt;
}

std::vector<TextHit> HitsInPage(TPagesText& texts, std::int32_t page, std::string_view term,
                                int options) {
    std::vector<TextHit> hits;
    if (term.empty()) return hits;
    const std::string& text = texts.Text(page, options);
    const std::string wanted = (options & stMatchCase) ? std::string(term) : Lower1252(term);
    std::int32_t line = 1;
    std::size_t lineStart = 0, counted = 0;
    for (std::size_t at = FindPrepared(text, wanted, 0, options & stWholeWord, true);
         at != std::string::npos;
         at = FindPrepared(text, wanted, at + wanted.size(), options & stWholeWord, true)) {
        for (; counted < at; ++counted)
            if (text[counted] == '\n') {
                ++line;
                lineStart = counted + 1;
            }
        hits.push_back({line, std::int32_t(at - lineStart + 1)});
    }
    return hits;
}

std::vector<KeywordEntry> KeywordList(const TKYTset& set) {
    std::vector<KeywordEntry> list;
    for (int i = 0; i < set.KindCount(TOggettiHel::keyword); ++i) {
        const TKYToggetto* keyword = set.ObjectByKind(TOggettiHel::keyword, i);
        if (keyword && !keyword->IsFree()) list.push_back({i, keyword->Name()});
    }
    return list;
}

std::vector<std::int32_t> PagesWithKeyword(const TKYTset& set, std::int32_t keyword) {
    std::vector<std::int32_t> pages;
    if (keyword < 0) return pages;
    for (int i = 0; i < set.KindCount(TOggettiHel::testoHtml); ++i)
        if (const TKYToggetto* page = LivePage(set, i);
            page && PageRecord::Read(*page).HasKeyword(keyword))
            pages.push_back(i);
    return pages;
}

std::optional<std::size_t> KeywordByPrefix(const std::vector<KeywordEntry>& list,
                                           std::string_view typed) {
    if (typed.empty()) return std::nullopt;
    const std::string prefix = Lower1252(typed);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (Lower1252(list[i].word).starts_with(prefix)) return i;
    return std::nullopt;
}

PagesReplaced ReplaceInPages(TKYTset& set, std::string_view word, std::string_view replacement,
                             int options, const std::vector<std::int32_t>& pages,
                             const std::function<ReplaceAnswer(std::int32_t page)>& ask) {
    PagesReplaced done;
    if (word.empty() || replacement.empty()) return done;
    std::vector<std::int32_t> list = pages;
    if (list.empty())
        for (int i = 0; i < set.KindCount(TOggettiHel::testoHtml); ++i)
            if (LivePage(set, i)) list.push_back(i);
    // Only the pages whose text holds the word are shown.
    TPagesText texts(set);
    const std::string wanted = (options & stMatchCase) ? std::string(word) : Lower1252(word);
    FixedMetrics metrics;
    RecordingBoxHost boxHost(600, 400);
    ManualScheduler scheduler;
    // Tables are shown, so that their cells are searched and changed too.
    ObjectViewHost objects(boxHost, set, set.Messages(), scheduler);
    objects.SetReadOnly(false);
    TKYTboxViewFactory views(metrics, objects);
    HeadlessFrameSet frames;
    ManualSpellPacer spell;
    MemoryClipboard clipboard;
    IBoxInputHost inputHost;
    PageEditSession session(set, set.Messages(), scheduler, clipboard, inputHost);
    TKYTpage surface(set, frames, views, session.Undo(), spell, scheduler);
    surface.SetReadOnly(false);
    for (std::int32_t page : list) {
        if (!LivePage(set, page)) continue;
        // A word that a paragraph break or a cell boundary interrupts is not one hit.
        if (FindPrepared(texts.Text(page, options), wanted, 0, options & stWholeWord, true) ==
            std::string::npos)
            continue;
        TKYTtesto* text = surface.ShowText(page);
        if (!text || !views.Last()) continue;
        session.Forget();
        session.Attach(views.Last()->Box(), *text, page);
        BoxEditing* editing = session.Editing();
        if (!editing) continue;
        TKYTbox& box = views.Last()->Box();
        objects.SetBox(&box);
        TPageSearch search(editing->Text(), views.Last()->Host());
        IMarkupHost& markup = views.Last()->Host();
        TableCellHit cell;
        std::size_t cellAt = 0, cellLength = 0;
        search.selectInCell = [&](TKYTparag& paragraph, std::size_t at, std::size_t length) {
            cell = CellHoldingParagraph(box, paragraph, markup);
            cellAt = at;
            cellLength = length;
            return cell.box != nullptr;
        };
        search.replaceInCell = [&](std::string_view with) -> TKYTparag* {
            if (!cell.box) return nullptr;
            EditContext context(set, *text, set.Messages());
            TKYTTextAttributes attributes(*cell.box, context);
            attributes.Select({cell.index, std::int32_t(cellAt)},
                              {cell.index, std::int32_t(cellAt + cellLength)});
            attributes.ReplaceSelection(with);
            cell.table->LayoutCells(cell.table->LastWidth(), true);
            RelayoutObjectParagraph(box, *cell.table->Object());
            return &cell.box->Paragraph(cell.index);
        };
        std::function<ReplaceAnswer()> askHere;
        if (ask) askHere = [&] { return ask(page); };
        const ReplaceCount count = search.ReplaceAll(word, replacement, options, true, askHere);
        done.replaced += count.replaced;
        if (count.replaced > 0 && surface.CommitText()) ++done.pages;
        session.Detach();
        surface.CloseText();
        if (count.cancelled) {
            done.cancelled = true;
            break;
        }
    }
    return done;
}

}  // namespace orvo
