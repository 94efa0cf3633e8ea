// Pages: the page record's fields and the header and footer of a page.
#include "model/uKYTpag.h"

#include <cassert>

#include "model/HeaderRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {

PageRecord::PageRecord(TKYToggetto& page) : bytes_(page.View()) {
    assert(page.Kind() == TOggettiHel::testoHtml);
}

const PageRecord PageRecord::Read(const TKYToggetto& page) {
    return PageRecord(const_cast<TKYToggetto&>(page));
}

std::array<std::int32_t, kPageKeywordCount> PageRecord::Keywords() const {
    std::array<std::int32_t, kPageKeywordCount> keywords{};
    for (int i = 0; i < kPageKeywordCount; ++i) keywords[std::size_t(i)] = Keyword(i);
    return keywords;
}

std::int32_t PageRecord::Keyword(int index) const {
    if (index < 0 || index >= kPageKeywordCount) return -1;
    return bytes_.I32At(kPageKeywords.offset + std::size_t(index) * 4);
}

void PageRecord::SetKeyword(int index, std::int32_t keyword) {
    if (index < 0 || index >= kPageKeywordCount) return;
    bytes_.SetI32At(kPageKeywords.offset + std::size_t(index) * 4, keyword);
}

bool PageRecord::HasKeyword(std::int32_t keyword) const {
    if (keyword < 0) return false;
    for (int i = 0; i < kPageKeywordCount; ++i)
        if (Keyword(i) == keyword) return true;
    return false;
}

bool PageRecord::AddKeyword(std::int32_t keyword) {
    if (keyword < 0 || HasKeyword(keyword)) return false;
    for (int i = 0; i < kPageKeywordCount; ++i) {
        if (Keyword(i) == -1) {
            SetKeyword(i, keyword);
            return true;
        }
    }
    return false;
}

bool PageRecord::RemoveKeyword(std::int32_t keyword) {
    bool removed = false;
    for (int i = 0; i < kPageKeywordCount; ++i) {
        if (keyword >= 0 && Keyword(i) == keyword) {
            SetKeyword(i, -1);
            removed = true;
        }
    }
    return removed;
}

void PageRecord::SetRedirect(std::int16_t seconds, std::int32_t target) {
    bytes_.SetI16(kPageRedirectSeconds, seconds);
    bytes_.SetI32(kPageRedirectTarget, target);
}

std::optional<int> PageRecord::RedirectsAfter() const {
    if (RedirectTarget() < 0 || RedirectSeconds() < 0) return std::nullopt;
    return RedirectSeconds();
}

void PageRecord::SetAlias(std::string_view cp1252) {
    const std::string_view cut = cp1252.substr(0, kPageAliasLength);
    const bool blanksOnly = cut.find_first_not_of(' ') == std::string_view::npos;
    bytes_.SetPStr(kPageAlias, blanksOnly ? std::string_view() : cut);
}

TKYToggetto* LivePage(const TKYTset& set, std::int32_t identifier) {
    TKYToggetto* page = set.ObjectByKind(TOggettiHel::testoHtml, identifier);
    return page && !page->IsFree() ? page : nullptr;
}

namespace {

std::int32_t Resolve(const TKYTset& set, const TKYToggetto& page, std::int32_t chosen,
                     const FieldSpec& hypertextField) {
    if (chosen == kNoHeaderFooter) return -1;
    const std::int32_t identifier =
        chosen == kHypertextHeaderFooter ? set.HeaderView().I32(hypertextField) : chosen;
    if (identifier < 0 || !LivePage(set, identifier)) return -1;
    // A page (or the working copy of it, which keeps its identifier) is never its own header:
    // it would show its own text twice, once from a copy that its edits never reach.
    if (page.Identifier() == identifier) return -1;
    return identifier;
}

}  // namespace

std::int32_t HeaderPageOf(const TKYTset& set, const TKYToggetto& page) {
    return Resolve(set, page, PageRecord::Read(page).Header(), kHdrHeaderPage);
}

std::int32_t FooterPageOf(const TKYTset& set, const TKYToggetto& page) {
    return Resolve(set, page, PageRecord::Read(page).Footer(), kHdrFooterPage);
}

}  // namespace orvo
