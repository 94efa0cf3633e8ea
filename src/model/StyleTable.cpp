// Styles of a hypertext: lookup and naming.
#include "model/StyleTable.h"

#include "base/Cp1252.h"
#include "model/StyleRecord.h"
#include "model/uKYTset.h"

namespace orvo {

namespace {

std::string NameOf(const TKYToggetto& style) {
    return style.ReadView().PStr(kStyleName);
}

bool NameInUse(const TKYTset& set, std::string_view name, const TKYToggetto* except) {
    for (const auto& style : set.KindList(TOggettiHel::stileParagrafo))
        if (style && style.get() != except && SameText1252(NameOf(*style), name)) return true;
    return false;
}

std::string Unique(const TKYTset& set, std::string_view name, const TKYToggetto* except) {
    const std::string base(name.substr(0, kStyleNameLength));
    if (!NameInUse(set, base, except)) return base;
    for (long n = 1;; ++n) {
        std::string suffix(1, ' ');
        suffix += std::to_string(n);
        if (suffix.size() >= kStyleNameLength) return base;  // beyond any real document
        const std::string candidate =
            base.substr(0, std::min(base.size(), kStyleNameLength - suffix.size())) + suffix;
        if (!NameInUse(set, candidate, except)) return candidate;
    }
}

}  // namespace

TKYToggetto* StyleByNumber(const TKYTset& set, std::int32_t number) {
    if (number < 0) return nullptr;
    return set.ObjectByKind(TOggettiHel::stileParagrafo, number);
}

TKYToggetto* StyleByName(const TKYTset& set, std::string_view name) {
    for (const auto& style : set.KindList(TOggettiHel::stileParagrafo))
        if (style && SameText1252(NameOf(*style), name)) return style.get();
    return nullptr;
}

std::vector<std::string> StyleNames(const TKYTset& set) {
    std::vector<std::string> names;
    for (const auto& style : set.KindList(TOggettiHel::stileParagrafo))
        names.push_back(style ? NameOf(*style) : std::string());
    return names;
}

std::string UniqueStyleName(const TKYTset& set, std::string_view name) {
    return Unique(set, name, nullptr);
}

TKYToggetto& CreateStyle(TKYTset& set, std::string_view name) {
    auto style = NewObjectOfKind(TOggettiHel::stileParagrafo, &set);
    style->SetKind(TOggettiHel::stileParagrafo);
    StyleRecord record(style->Record());
    record.SetDefaults();
    record.SetName(UniqueStyleName(set, name));
    TKYToggetto& result = *style;
    (void)set.Register(std::move(style), -1);
    return result;
}

void RenameStyle(TKYTset& set, TKYToggetto& style, std::string_view name) {
    StyleRecord record(style.Record());
    std::string stored(name.substr(0, kStyleNameLength));
    if (!SameText1252(record.Name(), stored)) stored = Unique(set, stored, &style);
    record.SetName(stored);
}

std::string StyleEditLabel(std::string_view styleName) {
    return "Modifica stile: " + std::string(styleName);
}

}  // namespace orvo
