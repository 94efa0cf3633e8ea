// Importing paragraph styles from another hypertext.
#include "app/StyleImportRules.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {
namespace {

// Styles 0 and 1 are the built-in ones every hypertext has.
constexpr std::int32_t kFirstOwnStyle = 2;

bool AlreadyHere(const TKYTset& set, const StyleRecord& style) {
    TKYToggetto* same = StyleByName(set, style.Name());
    return same && StyleRecord(same->Record()).SameFormat(style) &&
           SameText1252(StyleRecord(same->Record()).FontName(), style.FontName());
}

}  // namespace

StyleImportRules::StyleImportRules(TKYTset& set) : set_(set) {}

StyleImportRules::~StyleImportRules() = default;

bool StyleImportRules::Open(const std::string& fileName) {
    offered_.clear();
    fileName_.clear();
    auto other = std::make_unique<TKYTset>(set_.Env(), set_.Messages());
    if (fileName.empty() || !other->LoadFromFile(fileName)) return false;
    other_ = std::move(other);
    fileName_ = fileName;
    for (std::int32_t number = kFirstOwnStyle;; ++number) {
        TKYToggetto* style = StyleByNumber(*other_, number);
        if (!style) break;
        const StyleRecord fields(style->Record());
        OfferedStyle offered;
        offered.name = fields.Name();
        offered.number = number;
        offered.present = AlreadyHere(set_, fields);
        offered.chosen = !offered.present;
        offered_.push_back(std::move(offered));
    }
    return true;
}

void StyleImportRules::Choose(std::size_t index, bool chosen) {
    if (index < offered_.size()) offered_[index].chosen = chosen;
}

void StyleImportRules::ChooseAll(bool chosen) {
    for (OfferedStyle& offered : offered_) offered.chosen = chosen;
}

std::size_t StyleImportRules::ChosenCount() const {
    return std::size_t(std::count_if(offered_.begin(), offered_.end(),
                                     [](const OfferedStyle& o) { return o.chosen; }));
}

std::vector<std::int32_t> StyleImportRules::Import() {
    std::vector<std::int32_t> made;
    if (!other_) return made;
    for (const OfferedStyle& offered : offered_) {
        if (!offered.chosen) continue;
        const TKYToggetto* source = StyleByNumber(*other_, offered.number);
        if (!source) continue;
        TKYToggetto& style = CreateStyle(set_, offered.name);
        // Everything stored from the font name on is the format; the name stays the unique
        // one CreateStyle gave, the origin that of a style made here.
        const auto from = source->Record();
        auto to = style.Record();
        const std::size_t first = kStyleFontName.offset;
        if (from.size() >= kStyleRecordSize && to.size() >= kStyleRecordSize)
            std::copy(from.begin() + std::ptrdiff_t(first),
                      from.begin() + std::ptrdiff_t(kStyleRecordSize),
                      to.begin() + std::ptrdiff_t(first));
        StyleRecord(to).SetOrigin(0);
        const auto& styles = set_.KindList(TOggettiHel::stileParagrafo);
        for (std::size_t i = 0; i < styles.size(); ++i)
            if (styles[i].get() == &style) made.push_back(std::int32_t(i));
    }
    if (!made.empty()) set_.SetModified(true);
    return made;
}

}  // namespace orvo
